#include "batch/options.h"

#include <functional>

#include "batch/option_values.h"
#include "batch/output_pattern.h"
#include "rig/script_kind.h"

namespace halvane {
namespace {

// Applies an option's value; returns an error text, empty when it is fine.
using Apply = std::function<std::string(BatchOptions&, const std::string&)>;

// One command-line option: its names, whether it takes a value, and how it
// is applied.
struct OptionSpec {
  std::vector<std::string> names;
  const char* valueName;  // null for a switch
  Apply apply;
};

Apply Switch(bool BatchOptions::*member) {
  return [member](BatchOptions& o, const std::string&) {
    o.*member = true;
    return std::string();
  };
}

Apply Path(std::string BatchOptions::*member) {
  return [member](BatchOptions& o, const std::string& v) {
    o.*member = v;
    return std::string();
  };
}

// A whole number in lo..hi, into an int or an optional int.
template <typename Member>
Apply Whole(Member BatchOptions::*member, int lo, int hi) {
  return [=](BatchOptions& o, const std::string& v) {
    int value = 0;
    std::string e = ParseWholeNumber(v, lo, hi, value);
    if (e.empty()) o.*member = value;
    return e;
  };
}

Apply Field(std::optional<std::string> BatchOptions::*member) {
  return [member](BatchOptions& o, const std::string& v) {
    std::string text;
    std::string e = ParseFieldValue(v, text);
    if (e.empty()) o.*member = text;
    return e;
  };
}

Apply Track(std::optional<int> BatchOptions::*member, int divisor, int lo, int hi) {
  return [=](BatchOptions& o, const std::string& v) {
    int position = 0;
    std::string e = ParseTrackValue(v, divisor, lo, hi, position);
    if (e.empty()) o.*member = position;
    return e;
  };
}

std::string ApplyLumColor(BatchOptions& o, const std::string& v) {
  std::array<int, 3> positions{};
  std::size_t start = 0;
  for (int k = 0; k < 3; ++k) {
    const std::size_t comma = v.find(',', start);
    if ((k < 2) != (comma != std::string::npos)) return "'" + v + "' is not R,G,B";
    const std::string part = v.substr(start, k < 2 ? comma - start : std::string::npos);
    if (std::string e = ParseTrackValue(part, 20, 10, 20, positions[k]); !e.empty()) return e;
    start = comma + 1;
  }
  o.lumColor = positions;
  return {};
}

std::string ApplyOutput(BatchOptions& o, const std::string& v) {
  if (!ScriptKindForPath(v))
    return "'" + v + "' must end in .mel (Maya), .vbs (XSI), .usda (USD) or .py (Blender)";
  o.outputs.push_back(v);
  return {};
}

std::string ApplyMayaRenderer(BatchOptions& o, const std::string& v) {
  if (v == "mentalray") {
    o.mayaRenderer = MayaRenderer::MentalRay;
  } else if (v == "arnold") {
    o.mayaRenderer = MayaRenderer::Arnold;
  } else {
    return "'" + v + "' is not mentalray or arnold";
  }
  return {};
}

std::string ApplyTimeLimit(BatchOptions& o, const std::string& v) {
  long long milliseconds = 0;
  if (std::string e = ParseScaledDecimal(v, 3, milliseconds); !e.empty()) return e;
  if (milliseconds == 0) return "'" + v + "' is not above 0";
  o.timeLimitMs = milliseconds;
  return {};
}

std::string ApplyLetter(BatchOptions& o, const std::string& v) {
  if (v.size() != 1 || v[0] < 'A' || v[0] > 'Z') return "'" + v + "' is not a letter A..Z";
  o.letter = v[0];
  return {};
}

std::string ApplyMethod(BatchOptions& o, const std::string& v) {
  if (v != "seed" && v != "median-cut") return "'" + v + "' is not seed or median-cut";
  o.medianCut = v == "median-cut";
  return {};
}

std::string ApplyLights(BatchOptions& o, const std::string& v) {
  for (int count : {8, 16, 32, 64, 128})
    if (v == std::to_string(count)) {
      o.lights = count;
      return {};
    }
  return "'" + v + "' is not 8, 16, 32, 64 or 128";
}

// Options that only one method takes; empty when the combination is fine.
std::string MethodConflict(const std::vector<std::string>& args, const BatchOptions& o) {
  auto given = [&args](const char* name) {
    for (const std::string& a : args)
      if (a == name || a.rfind(std::string(name) + "=", 0) == 0) return true;
    return false;
  };
  if (o.sunThreshold && !o.sun) return "--sun-threshold needs --sun";
  if (!o.medianCut) return given("--lights") ? "--lights needs --method median-cut" : "";
  for (const char* name : {"--row", "--reduce", "--collapse-group", "--collapse-threshold"})
    if (given(name)) return std::string(name) + " does not go with --method median-cut";
  return {};
}

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = {
      {{"-v", "--verbose"}, nullptr, Switch(&BatchOptions::verbose)},
      {{"--fit"}, nullptr, Switch(&BatchOptions::fit)},
      {{"--preview"}, "OUT.png", Path(&BatchOptions::previewPath)},
      {{"--points-csv"}, "FILE", Path(&BatchOptions::pointsCsvPath)},
      {{"--resolution"}, "3|4", Whole(&BatchOptions::resolution, 3, 4)},
      {{"--black"}, "V", Field(&BatchOptions::black)},
      {{"--white"}, "V", Field(&BatchOptions::white)},
      {{"--clamp"}, "V", Field(&BatchOptions::clamp)},
      {{"--increase"}, nullptr, Switch(&BatchOptions::increase)},
      {{"--lum-iterations"}, "N", Whole(&BatchOptions::lumIterations, 1, 9)},
      {{"--lum-value"}, "V", Track(&BatchOptions::lumValue, 10, 10, 80)},
      {{"--lum-power"}, "V", Track(&BatchOptions::lumPower, 10, 5, 40)},
      {{"--lum-color"}, "R,G,B", ApplyLumColor},
      {{"--lum-tolerance"}, "V", Field(&BatchOptions::lumTolerance)},
      {{"--lum-tolerance-neighbour"}, "V", Field(&BatchOptions::lumToleranceNeighbour)},
      {{"--no-optimize"}, nullptr, Switch(&BatchOptions::noOptimize)},
      {{"--threshold"}, "V", Field(&BatchOptions::threshold)},
      {{"--max-reduction"}, "N", Whole(&BatchOptions::maxReduction, 3, 6)},
      {{"--level1-points"}, "N", Whole(&BatchOptions::level1Points, 100, 1000)},
      {{"--level1-max-lights"}, "N", Whole(&BatchOptions::level1MaxLights, 20, 150)},
      {{"--halt-after-level1"}, nullptr, Switch(&BatchOptions::haltAfterLevel1)},
      {{"--time-limit"}, "SECONDS", ApplyTimeLimit},
      {{"--threads"}, "N", Whole(&BatchOptions::threads, 0, 256)},
      {{"--row"}, "N", Whole(&BatchOptions::row, 1, 100)},
      {{"--table"}, nullptr, Switch(&BatchOptions::table)},
      {{"--reduce"}, "V", Track(&BatchOptions::reduce, 100, 20, 200)},
      {{"--collapse-group"}, "N", Whole(&BatchOptions::collapseGroup, 2, 7)},
      {{"--collapse-threshold"}, "V", Field(&BatchOptions::collapseThreshold)},
      {{"-o", "--output"}, "FILE", ApplyOutput},
      {{"--maya-renderer"}, "R", ApplyMayaRenderer},
      {{"--distance"}, "N", Whole(&BatchOptions::distance, 5, 10000)},
      {{"--letter"}, "L", ApplyLetter},
      {{"-q", "--quiet"}, nullptr, Switch(&BatchOptions::quiet)},
      {{"--strict"}, nullptr, Switch(&BatchOptions::strict)},
      {{"--linear"}, nullptr, Switch(&BatchOptions::linear)},
      {{"--sun"}, nullptr, Switch(&BatchOptions::sun)},
      {{"--sun-threshold"}, "N", Whole(&BatchOptions::sunThreshold, 0, 100000)},
      {{"--error"}, nullptr, Switch(&BatchOptions::printError)},
      {{"--method"}, "M", ApplyMethod},
      {{"--lights"}, "N", ApplyLights},
  };
  return table;
}

// --json takes FILE.json as its value when the next argument is one, so
// that "--json a.hdr" still reads a.hdr as an image.
bool IsJsonFileName(const std::string& arg) {
  return arg.size() > 5 && arg.compare(arg.size() - 5, 5, ".json") == 0 && arg[0] != '-';
}

std::size_t ApplyJson(BatchOptions& o, const std::vector<std::string>& args, std::size_t i) {
  o.json = true;
  if (i + 1 < args.size() && IsJsonFileName(args[i + 1])) o.jsonPath = args[++i];
  return i;
}

// A usage problem of the options as a whole, empty when there is none.
std::string CombinationProblem(const BatchOptions& o) {
  if (o.images.empty()) return "no image given";
  if (o.json && o.table) return "--json and --table exclude each other";
  return OutputPatternProblem(o);
}

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& option : OptionTable())
    for (const std::string& n : option.names)
      if (n == name) return &option;
  return nullptr;
}

}  // namespace

std::string BatchUsage() {
  return "usage: halvane-batch IMAGE... [options]\n"
         "  Runs the window's steps on each IMAGE (.hdr, .exr, .ct or .tga):\n"
         "  load -> start points -> colour application -> [highlight increase] -> [optimization]\n"
         "  -> choose --row -> [reduce lights] -> [collapse lights] -> export to every -o file\n"
         "\n"
         "  -o, --output FILE          write the rig; repeatable. .mel: Maya, .vbs: XSI,\n"
         "                             .usda: USD stage, .py: Blender script\n"
         "                             In every output name {stem} stands for the image's\n"
         "                             name without folder and extension; with more than one\n"
         "                             IMAGE every output name must hold it (rigs/{stem}.usda)\n"
         "  --maya-renderer R          what .mel files are for: mentalray (default) or arnold\n"
         "  --fit                      load an image wider or taller than 4000 pixels\n"
         "                             halved until it fits (else it is refused)\n"
         "  --resolution 3|4           analyse resolution: 162 or 642 points (default 4)\n"
         "  --black V --white V        black and white point (defaults 0 and 1)\n"
         "  --clamp V                  clamp luminance (default 99)\n"
         "  --linear                   \"Linear light\": sample linear radiance, not the\n"
         "                             values the reader raised to 1/2.2\n"
         "  --sun                      \"Sun as a directional light\": the brightest compact\n"
         "                             region becomes one light, out of the dome's picture\n"
         "  --sun-threshold N          luminance the sun's pixels are above, 0..100000\n"
         "                             (default 0: 50 times the mean luminance)\n"
         "  --increase                 run the highlight increase\n"
         "  --lum-iterations N         increase steps, 1..9 (default 6)\n"
         "  --lum-value V              1.0..8.0 in steps of 0.1 (default 3.0)\n"
         "  --lum-power V              0.5..4.0 in steps of 0.1 (default 2.0)\n"
         "  --lum-color R,G,B          each 0.50..1.00 in steps of 0.05 (default 1,0.9,0.65)\n"
         "  --lum-tolerance V  --lum-tolerance-neighbour V   (default: the proposed texts)\n"
         "  --no-optimize              export after the colour steps (every point a light)\n"
         "  --threshold V              collapse threshold (default: the proposed text)\n"
         "  --max-reduction N          3..6 (default 5)\n"
         "  --level1-points N          100..1000 (default 275)\n"
         "  --level1-max-lights N      20..150 (default 50)\n"
         "  --halt-after-level1        stop the optimization after level 1\n"
         "  --time-limit SECONDS       stop the optimization once the run has taken SECONDS,\n"
         "                             as Abort does; the results so far are used\n"
         "  --threads N                search threads, 0..256 (default 0: one per core;\n"
         "                             1: sequential); the results are the same for any N\n"
         "  --row N                    the result row chosen after the run, 1..100 (default 1)\n"
         "  --method M                 seed (default): the collapse search; median-cut:\n"
         "                             regions of equal energy, one light each\n"
         "  --lights N                 median cut row: 8, 16, 32 (default), 64 or 128 lights\n"
         "  --reduce V                 \"Reduce lights\" below V, 0.20..2.00\n"
         "  --collapse-group N         \"Collapse lights\": smallest group, 2..7\n"
         "  --collapse-threshold V     \"Collapse lights\": luminance tolerance\n"
         "  --distance N               XSI light distance, 5..10000 (default 100)\n"
         "  --letter L                 light name letter A..Z for every -o file. Without it\n"
         "                             each image gets one letter drawn from a hash of its\n"
         "                             file's bytes, used for all its outputs, so the same\n"
         "                             image gives the same files every run\n"
         "  --table                    print the result table (tab-separated)\n"
         "  --error                    print the exported rig's error: the relative RMS\n"
         "                             difference of its diffuse light from the image's,\n"
         "                             over all surface orientations, after the best scale\n"
         "  --json [FILE.json]         describe each image and its rig as one JSON document\n"
         "                             on standard output, or in FILE.json (schema:\n"
         "                             halvane-batch.schema.json); not with --table\n"
         "  --points-csv FILE          write every point's values as CSV\n"
         "  --preview FILE.png         write the preview picture\n"
         "  -v, --verbose              print the log lines; the progress shows on a terminal\n"
         "                             as one line updated in place, elsewhere only with -v,\n"
         "                             as a line per change\n"
         "  -q, --quiet                print messages only when the run fails\n"
         "  --strict                   fail (exit 1) when the image file ends early or the\n"
         "                             time limit is reached\n"
         "  --                         ends the options: IMAGE may start with '-'\n"
         "  -h, --help                 show this text\n"
         "  --version                  show the version\n"
         "  Decimal values V go into five-character fields: 0.00..99.99, two decimals.\n"
         "exit status: 0 done, 1 the image cannot be read (with --strict also: ends\n"
         "             early, time limit reached), 2 usage error (also a value the run\n"
         "             cannot use, an output that is the image or another output),\n"
         "             3 an output file cannot be written, 4 an internal error (a fault\n"
         "             of the program; please report it). With several images: the\n"
         "             highest of theirs\n";
}

ParseResult ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                              std::string& error) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && (arg == "-h" || arg == "--help")) return ParseResult::kHelp;
    if (!optionsEnded && arg == "--version") return ParseResult::kVersion;
    if (!optionsEnded && arg == "--json") {
      i = ApplyJson(options, args, i);
      continue;
    }
    if (!optionsEnded && arg.rfind("--json=", 0) == 0) {
      options.json = true;
      options.jsonPath = arg.substr(7);
      continue;
    }
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      std::string name = arg, value;
      bool inlineValue = false;
      if (const std::size_t eq = arg.find('=');
          arg.rfind("--", 0) == 0 && eq != std::string::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
        inlineValue = true;
      }
      const OptionSpec* option = FindOption(name);
      if (option == nullptr) {
        error = "unknown option " + name;
        return ParseResult::kUsageError;
      }
      if (option->valueName != nullptr && !inlineValue) {
        if (i + 1 >= args.size()) {
          error = name + " needs a value (" + option->valueName + ")";
          return ParseResult::kUsageError;
        }
        value = args[++i];
      } else if (option->valueName == nullptr && inlineValue) {
        error = name + " takes no value";
        return ParseResult::kUsageError;
      }
      if (std::string problem = option->apply(options, value); !problem.empty()) {
        error = name + ": " + problem;
        return ParseResult::kUsageError;
      }
      continue;
    }
    options.images.push_back(arg);
  }
  error = CombinationProblem(options);
  if (error.empty()) error = MethodConflict(args, options);
  if (!error.empty()) return ParseResult::kUsageError;
  if (options.images.size() == 1) options.image = options.images.front();
  return ParseResult::kRun;
}

}  // namespace halvane
