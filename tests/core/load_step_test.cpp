#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "image/image_file_types.h"
#include "support/ct_tga_files.h"
#include "support/exr_files.h"
#include "support/session_fixture.h"
#include "workflow/load_image.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::Rgbe;

constexpr const char* kFailure = "Image type not supported or not able to read image";
constexpr const char* kNotFloat = "Input image is not a floating point image!!\n\r\n\r";
constexpr const char* kLowMaximum =
    "Input image has very low maximum luminance, you should consider using "
    "\"4. Luminance increase\"\n\r";
// 2^(e-136) * m = 8 gives 8^(1/2.2) = 2.57 after the power; 128 * 2^3 = 1024
// gives 23.4.
constexpr Rgbe kDim{128, 128, 128, 131};
constexpr Rgbe kBright{128, 128, 128, 139};

class LoadStep : public testing::SessionTest {
 protected:
  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir.Path(name);
    testing::WriteFile(path, bytes);
    return path;
  }
  std::string WriteSky(const std::string& name, Rgbe pixel = kBright) {
    return Write(name, testing::RunLengthRadiance(20, 10, std::vector<Rgbe>(200, pixel)));
  }
  // Loads the file and returns the messages the step showed.
  std::vector<std::string> Load(const std::optional<std::string>& answer) {
    host.messages.clear();
    host.AnswerDialog(answer);
    outcome = LoadImage(s, controls, host);
    return host.messages;
  }
  std::string LastLog() const { return controls.ListBox1.items.back(); }

  static Bytes FloatCt(float value) {
    Bytes data;
    for (int i = 0; i < 4; ++i) testing::AppendBigEndianFloat(data, value);
    return testing::CtFile(1, 1, data);
  }

  testing::TempDir dir;
  StepOutcome outcome;
};

TEST_F(LoadStep, SuccessfulLoadResetsTheSession) {
  s.dome.pointCount = 42;
  s.results.count = 7;
  MarkStepDone(controls, 5);
  controls.GridOptimized.SetRowCount(4);
  controls.GridOptimized.Cell(1, 1) = "   89";
  const std::string path = WriteSky("sky.HDR");
  EXPECT_TRUE(Load(path).empty());  // floating point and bright enough
  EXPECT_TRUE(outcome.done());

  // The dialog offers .exr after today's three types, whose entries stay as they were.
  EXPECT_EQ(host.lastFilter,
            "*.ct,*.tga,*.hdr,*.exr|*.ct;*.tga;*.hdr;*.exr|"
            "Mental Images .ct (8bit, 16bit and float)|*.ct|Targa .tga (8bit)|*.tga|"
            "Radiance .hdr (float)|*.hdr|OpenEXR .exr (half and float)|*.exr");
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_EQ(s.imageFileName, path);
  EXPECT_EQ(s.image.width, 20);
  EXPECT_TRUE(s.dome.pointCount == 0 && s.results.count == 0);
  EXPECT_EQ(controls.EditImagename.text, path);
  EXPECT_EQ(controls.ListBox1.items,
            std::vector<std::string>{"12:34:56:  File loaded (\"" + path + "\")."});
  EXPECT_EQ(controls.StatusBar1.panels,
            (std::array<std::string, 3>{"File loaded.", "", "\"" + path + "\""}));
  EXPECT_EQ(controls.PanelSt[1].color, kPanelDoneColor);
  EXPECT_TRUE(controls.GridOptimized.rowCount == 2 && controls.GridOptimized.Cell(1, 1).empty());

  // Cancelling the dialog reads the same file again.
  Load(std::nullopt);
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_EQ(controls.ListBox1.items.size(), 2u);
}

TEST_F(LoadStep, ClosingRemarksForIntegerAndDimImages) {
  const std::vector<std::string> both{std::string(kNotFloat) + kLowMaximum};
  const std::vector<std::string> dim{kLowMaximum};
  EXPECT_EQ(Load(WriteSky("dim.hdr", kDim)), dim);
  EXPECT_EQ(Load(Write("sky.Tga", testing::TargaFile({2, 2, 10, 24, false, "", 0, 0, 0},
                                                     {0x81, 9, 9, 9, 0x81, 200, 0, 0}))),
            both);
  EXPECT_EQ(Load(Write("eight.ct", testing::CtFile(1, 1, {255, 0, 0, 0}))), both);
  EXPECT_EQ(Load(Write("sixteen.ct", testing::CtFile(1, 1, Bytes(8, 0xFF)))), both);
  EXPECT_TRUE(Load(Write("bright.CT", FloatCt(6.0f))).empty());
  EXPECT_EQ(Load(Write("dim.ct", FloatCt(0.5f))), dim);
  EXPECT_EQ(s.workflowState, 1);
}

TEST_F(LoadStep, MissingFileResetsAndSaysWhy) {
  Load(WriteSky("sky.hdr"));
  const std::string gone = dir.Path("gone.hdr");
  EXPECT_TRUE(Load(gone).empty());
  EXPECT_EQ(outcome.status, StepStatus::kFailed);
  EXPECT_EQ(outcome.message, "Cannot read \"" + gone + "\": no such file");
  EXPECT_EQ(LastLog(), "12:34:56:  " + outcome.message);
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_EQ(controls.EditImagename.text, "");
  EXPECT_TRUE(controls.Image3.visible);

  const std::string longName = dir.Path(std::string(300, 'n') + ".hdr");
  EXPECT_TRUE(Load(longName).empty());
  EXPECT_EQ(outcome.message, "Cannot read \"" + longName + "\": name too long");

  // With no name at all nothing is logged.
  EXPECT_TRUE(Load(std::nullopt).empty());
  EXPECT_EQ(outcome.status, StepStatus::kNotRun);
  EXPECT_EQ(controls.ListBox1.items.size(), 3u);
}

// The picture keeps its filler rows, and the log says where the file ended.
TEST_F(LoadStep, AFileThatEndsEarlyIsLoadedAndLogged) {
  Bytes data = testing::FlatRadiance(8, 400, std::vector<Rgbe>(8 * 37, kBright));
  data.resize(data.size() + 5, 7);
  const std::string path = Write("cut.hdr", data);
  Load(path);
  EXPECT_TRUE(outcome.done());
  EXPECT_EQ(s.image.height, 400);
  EXPECT_EQ(LastLog(), "12:34:56:  The file ends after row 37 of 400; the rest is filler.");
}

TEST_F(LoadStep, UnreadableFilesGiveTheOneMessageAndTheirReason) {
  std::filesystem::create_directory(dir.Path("folder.hdr"));
  // The content is never sniffed: a Radiance file named otherwise is refused.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {WriteSky("picture"), "not a .ct, .tga, .hdr or .exr file"},
      {WriteSky("picture.exr"), "not an OpenEXR file (no magic number)"},
      {WriteSky("picture.ct"), "fit no bit depth"},
      {Write("empty.hdr", {}), "shorter than 200 bytes"},
      {Write("garbage.hdr", Bytes(1000, 0xFF)), "no empty line ends the header"},
      {dir.Path("folder.hdr"), ": is a folder"}};
  for (const auto& [path, reason] : cases) {
    s.dome.pointCount = 5;
    EXPECT_EQ(Load(path), std::vector<std::string>{kFailure}) << path;
    EXPECT_EQ(outcome.status, StepStatus::kFailed);
    EXPECT_NE(outcome.message.find(reason), std::string::npos) << outcome.message;
    EXPECT_EQ(LastLog(), "12:34:56:  " + outcome.message);
    EXPECT_EQ(s.workflowState, 0);
    EXPECT_TRUE(s.imageMissing);
    EXPECT_EQ(s.image.width, 500);
    EXPECT_EQ(s.dome.pointCount, 5u);  // a failed load keeps the points
    EXPECT_EQ(controls.EditImagename.text, "");
  }
}

TEST_F(LoadStep, LargerPicturesLoadScaledDownWhenTheUserAgrees) {
  const std::string path = WriteSky("wide.hdr");
  Write("wide.hdr", testing::RunLengthRadiance(4001, 8, std::vector<Rgbe>(4001 * 8, kBright)));
  const std::string question =
      "The image is 4001 x 8 pixels; the largest Halvane works on is 4000. Load it at 2001 x 4?";

  host.answerYes = false;
  EXPECT_EQ(Load(path), std::vector<std::string>{kFailure});
  EXPECT_EQ(host.questions, std::vector<std::string>{question});
  EXPECT_EQ(outcome.message,
            "Cannot read \"" + path + "\": image too large (4001 x 8, largest 4000 x 4000)");
  EXPECT_EQ(s.workflowState, 0);

  host.answerYes = true;
  controls.StatusBar1.panels[2] = "before";
  std::vector<std::string> shown;
  host.onEvents = [&] { shown.push_back(controls.StatusBar1.panels[2]); };
  EXPECT_TRUE(Load(path).empty());
  EXPECT_TRUE(outcome.done());
  EXPECT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(s.image.width, 2001);
  EXPECT_EQ(s.image.height, 4);
  EXPECT_EQ(LastLog(),
            "12:34:56:  File loaded (\"" + path + "\") at 2001 x 4, scaled down from 4001 x 8.");
  // The rows read showed while loading; the gauge is back at 0.
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), "Reading the image... 100%");
  EXPECT_EQ(controls.GaugeOpt2.progress, 0);
  EXPECT_EQ(controls.StatusBar1.panels[2], "\"" + path + "\"");
}

TEST_F(LoadStep, TheFileSizeLimitKeepsOnlyForPicturesThatFit) {
  // Files padded to the size, written without holding their pixels.
  const std::string tga =
      Write("large.tga", testing::TargaFile({4000, 2999, 2, 24, false, "", 0, 0, 0}));
  std::filesystem::resize_file(tga, 36'000'000);
  EXPECT_EQ(testing::Decoded(ReadImageFile(tga)).image.height, 2999);
  std::filesystem::resize_file(tga, 36'000'001);
  EXPECT_EQ(testing::Reason(ReadImageFile(tga)), "file larger than 36,000,000 bytes");
  const std::string fits = Write("fits.hdr", testing::RadianceWithData(4000, 2300, {}));
  const std::string wide = Write("wide.hdr", testing::RadianceWithData(4001, 2300, {}));
  std::filesystem::resize_file(fits, 36'800'400);
  std::filesystem::resize_file(wide, 36'809'600);
  EXPECT_EQ(
      testing::Reason(ReadImageFile(fits, {.scaleDown = [](const ScalePlan&) { return true; }})),
      "file larger than 36,000,000 bytes");
  EXPECT_EQ(testing::Reason(ReadImageFile(wide)), "file larger than 36,000,000 bytes");
  host.answerYes = true;
  Load(wide);
  EXPECT_TRUE(outcome.done()) << outcome.message;
  EXPECT_EQ(s.image.width, 2001);
  EXPECT_EQ(s.image.height, 1150);

  // OpenEXR files have no size limit.
  const std::string exr = dir.Path("big.exr");
  testing::WriteExrFile(exr,
                        {.width = 2400,
                         .height = 1000,
                         .compression = Imf::NO_COMPRESSION,
                         .half = false,
                         .channels = {"R", "G", "B", "A"}},
                        [](int, int) {
                          return testing::Linear{8, 8, 8};
                        });
  ASSERT_GT(std::filesystem::file_size(exr), 36'000'000u);
  Load(exr);
  EXPECT_TRUE(outcome.done()) << outcome.message;
}

TEST_F(LoadStep, OpenExrFilesLoadAndTheirDamageIsReportedInTheLibrarysWords) {
  const float nan = std::nanf("");
  const auto picture = [nan](int x, int) {
    return testing::Linear{x == 3 ? nan : 100.0f, 100, 100};
  };
  const Bytes file = testing::ExrFile({.width = 16, .height = 8}, picture);
  const std::string path = Write("sky.EXR", file);
  EXPECT_TRUE(Load(path).empty());  // floating point and bright
  EXPECT_EQ(controls.ListBox1.items,
            (std::vector<std::string>{
                "12:34:56:  File loaded (\"" + path + "\").",
                "12:34:56:  Replaced 8 values that were negative or not a number by 0."}));

  // A cut file gives the one message; the reason is the library's (ExrReader.CutAnd...).
  EXPECT_EQ(Load(Write("cut.exr", Bytes(file.begin(), file.end() - 20))),
            std::vector<std::string>{kFailure});
}

TEST_F(LoadStep, PreviewSamplesNearestLowerPixel) {
  // A 1000 x 2 image whose even columns are bright and odd columns black:
  // the preview uses columns 0, 2, 4, ... and shows no black.
  std::vector<Rgbe> px;
  for (int i = 0; i < 2000; ++i) px.push_back(i % 2 == 0 ? Rgbe{128, 128, 128, 129} : Rgbe{});
  Load(Write("stripes.hdr", testing::RunLengthRadiance(1000, 2, px)));
  ASSERT_EQ(s.workflowState, 1);
  for (int x = 0; x < 500; ++x) ASSERT_EQ(s.view.background.Pixel(x, 0), (Rgb{230, 230, 230})) << x;
  EXPECT_EQ(s.view.background.Pixel(499, 499), (Rgb{230, 230, 230}));
}

}  // namespace
}  // namespace halvane
