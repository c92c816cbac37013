#include <iostream>
#include <string>
#include <vector>

#include "base/output_file.h"
#include "batch/image_runs.h"
#include "batch/options.h"
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
    case ParseResult::kVersion:
      std::cout << "halvane-batch " << HALVANE_VERSION << '\n';
      return kExitDone;
    case ParseResult::kUsageError:
      std::cerr << "halvane-batch: " << error << "\nTry 'halvane-batch --help'.\n";
      return kExitUsage;
    case ParseResult::kRun:
      break;
  }
  try {
    return RunImages(options, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "halvane-batch: internal error: " << e.what() << '\n';
    return kExitInternalError;
  }
}
