// The layers of src/ may include only themselves and the layers below them,
// so the architecture cannot erode one convenient include at a time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace halvane {
namespace {

const std::map<std::string, std::set<std::string>>& AllowedIncludes() {
  static const std::map<std::string, std::set<std::string>> allowed = [] {
    std::map<std::string, std::set<std::string>> layers;
    layers["base"] = {"base"};
    layers["image"] = {"base", "image"};
    layers["dome"] = {"base", "image", "dome"};
    layers["optimize"] = {"base", "image", "dome", "optimize"};
    layers["rig"] = {"base", "image", "dome", "optimize", "rig"};
    layers["preview"] = {"base", "image", "dome", "optimize", "preview"};
    layers["workflow"] = {"base", "image", "dome", "optimize", "rig", "preview", "workflow"};
    layers["app"] = layers["workflow"];
    layers["app"].insert("app");
    layers["batch"] = layers["workflow"];
    layers["batch"].insert("batch");
    return layers;
  }();
  return allowed;
}

TEST(Layering, EveryFileIncludesOnlyItsOwnLayerAndThoseBelow) {
  const std::filesystem::path src = HALVANE_SOURCE_DIR "/src";
  const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
  std::size_t filesRead = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    const std::string layer = entry.path().parent_path().filename().string();
    const auto allowed = AllowedIncludes().find(layer);
    ASSERT_NE(allowed, AllowedIncludes().end()) << "a folder no layer rule knows: " << layer;
    std::ifstream file(entry.path());
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
      std::smatch match;
      if (!std::regex_search(line, match, include)) continue;
      EXPECT_TRUE(allowed->second.count(match[1].str()))
          << entry.path().string() << ":" << number << " (" << layer << ") includes " << line;
    }
    ++filesRead;
  }
  EXPECT_GT(filesRead, 50u);
}

}  // namespace
}  // namespace halvane
