#pragma once

#include <string>
#include <vector>

namespace halvane {

struct BatchOptions {
  std::string image;
  bool verbose = false;
  std::string previewPath;
};

enum class ParseResult { kRun, kHelp, kUsageError };

// Reads the command line into `options`; on a usage error `error` says why.
ParseResult ParseBatchOptions(const std::vector<std::string>& args, BatchOptions& options,
                              std::string& error);

// The usage text printed for --help and after a usage error.
std::string BatchUsage();

}  // namespace halvane
