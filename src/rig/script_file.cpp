#include "rig/script_file.h"

#include "base/output_file.h"

namespace halvane {

std::string WriteFailureText(const std::string& path, const std::string& reason) {
  return "Cannot write \"" + path + "\": " + reason;
}

std::string WriteFileReplacing(const std::string& path, std::string_view text) {
  if (const auto error = WriteOutputFile(path, text)) return WriteFailureText(path, error->reason);
  return {};
}

}  // namespace halvane
