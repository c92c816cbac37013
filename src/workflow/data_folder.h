#pragma once

#include <filesystem>
#include <optional>

namespace halvane {

// The folder of the sample data, looked up at run time: the HALVANE_DATA_DIR
// variable, then `share/halvane` of an install beside the program's folder,
// then the source tree's `data/` when the program runs from a build folder
// inside it. Empty when none of them exists.
std::optional<std::filesystem::path> FindDataFolder(const std::filesystem::path& programFolder);

}  // namespace halvane
