#include <gtest/gtest.h>

#include "image/load_step.h"
#include "support/ct_tga_files.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using testing::Bytes;

constexpr const char* kNotFloat = "Input image is not a floating point image!!\n\r\n\r";
constexpr const char* kLowMaximum =
    "Input image has very low maximum luminance, you should consider using "
    "\"4. Luminance increase\"\n\r";

class CtTgaLoad : public ::testing::Test {
 protected:
  void SetUp() override { FormCreate(s, controls, host); }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir.Path(name);
    testing::WriteFile(path, bytes);
    return path;
  }
  // Loads the file and returns the messages the step showed.
  std::vector<std::string> Load(const std::string& path) {
    host.messages.clear();
    host.AnswerDialog(path);
    Button_LoadImageClick(s, controls, host);
    return host.messages;
  }
  static Bytes SmallTarga() {
    return testing::TargaFile({2, 2, 10, 24, false, "", 0, 0, 0}, {0x81, 9, 9, 9, 0x81, 200, 0, 0});
  }
  static Bytes FloatCt(float value) {
    Bytes data;
    for (int i = 0; i < 4; ++i) testing::AppendBigEndianFloat(data, value);
    return testing::CtFile(1, 1, data);
  }

  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
  testing::TempDir dir;
};

TEST_F(CtTgaLoad, IntegerImagesGetTheNotFloatingPointRemark) {
  const std::string both = std::string(kNotFloat) + kLowMaximum;
  EXPECT_EQ(Load(Write("sky.tga", SmallTarga())), std::vector<std::string>{both});
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_EQ(s.image.width, 2);

  EXPECT_EQ(Load(Write("eight.ct", testing::CtFile(1, 1, {255, 0, 0, 0}))),
            std::vector<std::string>{both});
  EXPECT_EQ(Load(Write("sixteen.ct", testing::CtFile(1, 1, Bytes(8, 0xFF)))),
            std::vector<std::string>{both});
  EXPECT_EQ(s.workflowState, 1);
}

TEST_F(CtTgaLoad, FloatCtGetsNoFloatingPointRemark) {
  EXPECT_TRUE(Load(Write("bright.ct", FloatCt(6.0f))).empty());
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_EQ(Load(Write("dim.ct", FloatCt(0.5f))), std::vector<std::string>{kLowMaximum});
}

TEST_F(CtTgaLoad, ExtensionAloneChoosesTheReader) {
  for (const char* name : {"upper.TGA", "mixed.Tga", "my.image.tga"}) {
    EXPECT_EQ(Load(Write(name, SmallTarga())).size(), 1u) << name;
    EXPECT_EQ(s.workflowState, 1) << name;
    EXPECT_FALSE(s.imageMissing) << name;
  }
  EXPECT_TRUE(Load(Write("UPPER.CT", FloatCt(6.0f))).empty());
  EXPECT_EQ(s.workflowState, 1);

  // The content is never sniffed: a Targa file named .ct goes to the CT reader.
  EXPECT_EQ(Load(Write("targa.ct", SmallTarga())),
            std::vector<std::string>{"Image type not supported or not able to read image"});
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_TRUE(s.imageMissing);
}

}  // namespace
}  // namespace halvane
