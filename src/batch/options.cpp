#include "batch/options.h"

#include <functional>

namespace halvane {
namespace {

// One command-line option: its names, whether it takes a value, and how it
// is applied. Applying returns an error text, empty when the value is fine.
struct OptionSpec {
  std::vector<std::string> names;
  const char* valueName;  // null for a switch
  std::function<std::string(BatchOptions&, const std::string&)> apply;
};

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = {
      {{"-v", "--verbose"}, nullptr,
       [](BatchOptions& o, const std::string&) {
         o.verbose = true;
         return std::string();
       }},
      {{"--preview"}, "OUT.png",
       [](BatchOptions& o, const std::string& v) {
         o.previewPath = v;
         return std::string();
       }},
  };
  return table;
}

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& spec : OptionTable())
    for (const std::string& n : spec.names)
      if (n == name) return &spec;
  return nullptr;
}

}  // namespace

std::string BatchUsage() {
  return "usage: halvane-batch IMAGE [options]\n"
         "  Loads IMAGE (.hdr, .ct or .tga) the way the window's step 1 does.\n"
         "  -v, --verbose        print the log lines\n"
         "  --preview OUT.png    write the preview picture\n"
         "  -h, --help           show this text\n"
         "exit status: 0 done, 1 the image cannot be read, 2 usage error,\n"
         "             3 an output file cannot be written\n";
}

ParseResult ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                              std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") return ParseResult::kHelp;
    if (arg.size() > 1 && arg[0] == '-') {
      std::string name = arg, value;
      bool inlineValue = false;
      if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
        inlineValue = true;
      }
      const OptionSpec* spec = FindOption(name);
      if (spec == nullptr) {
        error = "unknown option " + name;
        return ParseResult::kUsageError;
      }
      if (spec->valueName != nullptr && !inlineValue) {
        if (i + 1 >= args.size()) {
          error = name + " needs a value (" + spec->valueName + ")";
          return ParseResult::kUsageError;
        }
        value = args[++i];
      } else if (spec->valueName == nullptr && inlineValue) {
        error = name + " takes no value";
        return ParseResult::kUsageError;
      }
      if (std::string problem = spec->apply(options, value); !problem.empty()) {
        error = name + ": " + problem;
        return ParseResult::kUsageError;
      }
      continue;
    }
    if (!options.image.empty()) {
      error = "more than one image given: " + arg;
      return ParseResult::kUsageError;
    }
    options.image = arg;
  }
  if (options.image.empty()) {
    error = "no image given";
    return ParseResult::kUsageError;
  }
  return ParseResult::kRun;
}

}  // namespace halvane
