#include <gtest/gtest.h>

#include <filesystem>

#include "image/load_step.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using testing::Rgbe;

constexpr const char* kFailure = "Image type not supported or not able to read image";

class LoadStep : public ::testing::Test {
 protected:
  void SetUp() override { FormCreate(s, controls, host); }

  std::string WriteImage(const std::string& name, int w, int h, Rgbe pixel) {
    const std::string path = dir.Path(name);
    testing::WriteFile(path, testing::RunLengthRadiance(
                                 w, h, std::vector<Rgbe>(static_cast<std::size_t>(w * h), pixel)));
    return path;
  }

  void Load(const std::optional<std::string>& answer) {
    host.AnswerDialog(answer);
    Button_LoadImageClick(s, controls, host);
  }

  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
  testing::TempDir dir;
};

// 2^(e-136) * m = 8 gives 8^(1/2.2) = 2.57 after the power; 128 * 2^3 = 1024
// gives 23.4.
constexpr Rgbe kDim{128, 128, 128, 131};
constexpr Rgbe kBright{128, 128, 128, 139};

TEST_F(LoadStep, SuccessfulLoadResetsTheSession) {
  s.dome.pointCount = 42;
  s.results.count = 7;
  MarkStepDone(controls, 5);
  const std::string path = WriteImage("sky.HDR", 20, 10, kBright);
  Load(path);

  EXPECT_EQ(host.lastFilter, kOpenImageFilter);
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_FALSE(s.imageMissing);
  EXPECT_EQ(s.imageFileName, path);
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_EQ(s.results.count, 0);
  EXPECT_EQ(s.sampling.clampLum, 150.0f);
  EXPECT_EQ(controls.EditImagename.text, path);
  ASSERT_EQ(controls.ListBox1.items.size(), 1u);
  EXPECT_EQ(controls.ListBox1.items[0], "12:34:56:  File loaded (\"" + path + "\").");
  EXPECT_EQ(controls.ListBox1.itemIndex, 0);
  EXPECT_EQ(controls.StatusBar1.panels[0], "File loaded.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_EQ(controls.StatusBar1.panels[2], "\"" + path + "\"");
  EXPECT_TRUE(controls.LabelSt[1].bold);
  EXPECT_EQ(controls.PanelSt[1].color, kPanelDoneColor);
  for (int i = 2; i <= 8; ++i) EXPECT_EQ(controls.PanelSt[i].color, kPanelColor) << i;
  EXPECT_TRUE(controls.CheckDisplaybackground.checked);
  EXPECT_TRUE(controls.Image1.visible);
  EXPECT_FALSE(controls.Image3.visible);
  EXPECT_TRUE(controls.Button_LoadImage.enabled);
  EXPECT_TRUE(host.messages.empty());  // floating point and bright enough
}

TEST_F(LoadStep, ClosingRemarkForLowMaximum) {
  Load(WriteImage("dim.hdr", 20, 10, kDim));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "Input image has very low maximum luminance, you should consider using "
            "\"4. Luminance increase\"\n\r");
}

TEST_F(LoadStep, FirstLoadShowsTheImageWithoutPointBoxes) {
  Load(WriteImage("sky.hdr", 20, 10, kBright));
  EXPECT_TRUE(controls.CheckDisplaybackground.checked);
  EXPECT_FALSE(controls.CheckDisplayPoints.checked);
  EXPECT_FALSE(controls.CheckDisplay_unused.checked);
  EXPECT_TRUE(s.view.showBackground);
  EXPECT_FALSE(s.view.showPoints);
}

TEST_F(LoadStep, LoadingEmptiesTheResultTable) {
  controls.GridOptimized.SetRowCount(4);
  controls.GridOptimized.Cell(1, 1) = "   89";
  Load(WriteImage("sky.hdr", 20, 10, kBright));
  EXPECT_EQ(controls.GridOptimized.rowCount, 2);
  EXPECT_EQ(controls.GridOptimized.Cell(1, 1), "");
  EXPECT_EQ(controls.GridOptimized.Cell(0, 0), "Nb.");
}

TEST_F(LoadStep, CancelReadsTheSameFileAgain) {
  const std::string path = WriteImage("sky.hdr", 20, 10, kBright);
  Load(path);
  Load(std::nullopt);
  EXPECT_EQ(s.workflowState, 1);
  ASSERT_EQ(controls.ListBox1.items.size(), 2u);
  EXPECT_EQ(controls.ListBox1.items[1], controls.ListBox1.items[0]);
}

TEST_F(LoadStep, MissingFileResetsSilently) {
  Load(WriteImage("sky.hdr", 20, 10, kBright));
  Load(dir.Path("gone.hdr"));
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_EQ(controls.EditImagename.text, "");
  EXPECT_FALSE(controls.Image1.visible);
  EXPECT_TRUE(controls.Image3.visible);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(controls.ButtonOptimize.enabled);
}

TEST_F(LoadStep, ExtensionChoosesTheReader) {
  EXPECT_EQ(FileExtension("picture.Hdr"), ".HDR");
  EXPECT_EQ(FileExtension("my.image.tga"), ".TGA");
  EXPECT_EQ(FileExtension("noextension"), "");
  for (const char* name : {"picture.hdr", "PICTURE.HDR", "picture.Hdr"}) {
    Load(WriteImage(name, 20, 10, kBright));
    EXPECT_EQ(s.workflowState, 1) << name;
  }
  for (const char* name : {"picture", "picture.exr"}) {
    host.messages.clear();
    s.dome.pointCount = 5;
    Load(WriteImage(name, 20, 10, kBright));
    EXPECT_EQ(s.workflowState, 0) << name;
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kFailure);
    EXPECT_TRUE(s.imageMissing);
    EXPECT_EQ(s.image.width, 500);
    EXPECT_EQ(s.dome.pointCount, 5u);  // a failed load keeps the points
    EXPECT_EQ(controls.EditImagename.text, "");
  }
}

TEST_F(LoadStep, UnreadableFilesGiveTheOneMessage) {
  const std::string empty = dir.Path("empty.hdr");
  testing::WriteFile(empty, {});
  const std::string garbage = dir.Path("garbage.hdr");
  testing::WriteText(garbage, std::string(1000, '\xff'));
  const std::string folder = dir.Path("folder.hdr");
  std::filesystem::create_directory(folder);
  for (const std::string& path : {empty, garbage, folder}) {
    host.messages.clear();
    Load(path);
    EXPECT_EQ(s.workflowState, 0) << path;
    EXPECT_EQ(host.messages, std::vector<std::string>{kFailure}) << path;
  }
}

TEST_F(LoadStep, PreviewSamplesNearestLowerPixel) {
  // A 1000 x 2 image whose even columns are bright and odd columns black:
  // the preview uses columns 0, 2, 4, ... and shows no black.
  const int w = 1000;
  std::vector<Rgbe> px;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < w; ++x) px.push_back(x % 2 == 0 ? Rgbe{128, 128, 128, 129} : Rgbe{});
  const std::string path = dir.Path("stripes.hdr");
  testing::WriteFile(path, testing::RunLengthRadiance(w, 2, px));
  Load(path);
  ASSERT_EQ(s.workflowState, 1);
  for (int x = 0; x < 500; ++x) ASSERT_EQ(s.view.background.Pixel(x, 0), (Rgb{230, 230, 230})) << x;
  EXPECT_EQ(s.view.background.Pixel(499, 499), (Rgb{230, 230, 230}));
}

}  // namespace
}  // namespace halvane
