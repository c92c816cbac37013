#include <iostream>
#include <string>
#include <vector>

#include "base/output_file.h"
#include "batch/options.h"
#include "batch/output_paths.h"
#include "batch/pipeline.h"

int main(int argc, char** argv) {
  using namespace halvane;
  RemoveTemporaryOutputsOnSignals();
  BatchOptions options;
  std::string error;
  const std::vector<std::string> args(argv + 1, argv + argc);
  switch (ParseBatchOptions(args, options, error)) {
    case ParseResult::kHelp:
      std::cout << BatchUsage();
      return kExitDone;
    case ParseResult::kUsageError:
      std::cerr << "halvane-batch: " << error << "\n" << BatchUsage();
      return kExitUsage;
    case ParseResult::kRun:
      break;
  }
  if (const int code = CheckOutputPaths(options, std::cerr); code != kExitDone) return code;
  try {
    return RunPipeline(options, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "halvane-batch: internal error: " << e.what() << '\n';
    return kExitInternalError;
  }
}
