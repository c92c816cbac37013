#include <gtest/gtest.h>
#include <png.h>

#include <limits>
#include <memory>
#include <tuple>

#include "preview/dome_fill.h"
#include "preview/overlay.h"
#include "preview/png_writer.h"
#include "support/image_files.h"
#include "support/optimize_fixtures.h"
#include "support/session_fixture.h"
#include "workflow/redraw.h"
#include "workflow/view_settings.h"

namespace halvane {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kGrey{60, 60, 60};  // the background of the overlay tests

// The layer on plain data: a 500 x 500 image unless a test says otherwise.
class PreviewLayer : public ::testing::Test {
 protected:
  PreviewLayer() {
    view.background.Resize(kPreviewSize, kPreviewSize);
    view.background.Fill(kGrey);
    view.showPoints = true;
    image.width = image.height = kPreviewSize;
  }

  uint32_t AddPoint(int px, int py, bool used = true) {
    DomePoint& p = dome.points[++dome.pointCount];
    std::tie(p.px, p.py, p.used, p.lightR) = std::tuple(px, py, used, 1.0f);
    return dome.pointCount;
  }
  void Link(uint32_t a, uint32_t b) { testing::Link(dome, a, b); }
  int32_t Overlay(bool hideLines = false, bool collapseNumbers = false) {
    return DrawPointOverlay(view, dome, image, {hideLines, collapseNumbers, 1, dome.pointCount},
                            *record);
  }
  Rgb At(int x, int y) const { return view.preview.Pixel(x, y); }

  std::unique_ptr<Dome> domeHolder = std::make_unique<Dome>();
  Dome& dome = *domeHolder;
  std::unique_ptr<SearchResult> record = std::make_unique<SearchResult>();
  Image image;
  ViewState view;
};

TEST_F(PreviewLayer, LinesAcrossTheSeamLeaveAtBothEdges) {
  Link(AddPoint(10, 100), AddPoint(490, 100));
  view.showLines = true;
  view.showPoints = false;
  Overlay();
  int left = 0, middle = 0, right = 0;
  for (int x = 0; x < 500; ++x) (x <= 10 ? left : x >= 490 ? right : middle) += At(x, 100) == kRed;
  EXPECT_TRUE(left > 0 && right > 0 && middle == 0) << left << " " << middle << " " << right;
}

// Numbered are the dimmest and brightest fifth, on a background by half; the
// number's cell starts at the point, over its marker.
TEST_F(PreviewLayer, NumbersTheDimmestAndBrightestFifthOrTheCollapseLevelsAtTheirPoints) {
  for (int i = 0; i < 100; ++i) AddPoint(20 + (i % 10) * 45, 20 + (i / 10) * 45);
  view.showPointNr = true;
  EXPECT_EQ(Overlay(), 100);
  for (uint32_t i = 1; i <= 100; ++i) {
    const int x = dome.points[i].px, y = dome.points[i].py;
    const int farX = x + Bitmap::TextWidth(std::to_string(i)) - 1;
    const int farY = y + Bitmap::TextHeight() - 1;
    if (i >= 20 && i <= 80) {
      EXPECT_EQ(At(farX, farY), kGrey) << i;
      continue;
    }
    const Rgb cell = i < 50 ? Rgb{0, 0, 0} : Rgb{100, 100, 100};
    EXPECT_EQ(At(x, y), cell) << i;
    EXPECT_EQ(At(farX, farY), cell) << i;
    EXPECT_EQ(At(farX + 1, farY), kGrey) << i;
    EXPECT_EQ(At(farX, farY + 1), kGrey) << i;
  }
  // A collapse level replaces the index: the top stroke of a yellow "3".
  record->decision[1] = 3;
  view.showCollapseNr = true;
  Overlay(true, true);
  for (int x = 21; x < 26; ++x) EXPECT_EQ(At(x, 21), kYellow) << x;
}

TEST_F(PreviewLayer, MarkersStayInsideThePicture) {
  std::tie(image.width, image.height) = std::pair(4000, 2000);
  AddPoint(3999, 1000);
  AddPoint(0, 0, false);
  view.showUnused = true;
  EXPECT_EQ(Overlay(), 1);
  // Column 3999 maps to 499; the marker is clamped to 497 and covers 496..498.
  EXPECT_EQ((std::vector{At(496, 250), At(498, 250), At(499, 250)}),
            (std::vector{kYellow, kYellow, kGrey}));
  EXPECT_EQ(At(1, 1), (Rgb{150, 0, 0}));
  view.showUnused = false;
  Overlay();
  EXPECT_EQ(At(1, 1), kGrey);
}

TEST_F(PreviewLayer, FillsFollowTheLightColour) {
  const uint32_t a = AddPoint(100, 100), b = AddPoint(200, 100), c = AddPoint(150, 200);
  for (auto [p, q] : {std::pair{a, b}, {a, c}, {b, c}}) Link(p, q);
  Bitmap& fill = view.background;
  fill.Fill(Rgb{});
  FillDomeTriangles(fill, dome, image, DisplaySettings{0.0f, 1.0f, false, true});
  EXPECT_EQ((std::vector{fill.Pixel(150, 140), fill.Pixel(20, 20), fill.Pixel(150, 230)}),
            (std::vector{Rgb{230, 0, 0}, Rgb{}, Rgb{}}));
}

// The file's pixels, decoded by libpng, must be the bitmap's.
TEST_F(PreviewLayer, PngHoldsTheBitmapsPixels) {
  Bitmap bitmap(3, 2);
  for (int i = 0; i < 6; ++i)
    bitmap.SetPixel(i % 3, i / 3, Rgb{uint8_t(40 * i), uint8_t(255 - i), uint8_t(i * i)});
  testing::TempDir dir;
  std::string error;
  ASSERT_TRUE(WritePng(bitmap, dir.Path("p.png"), error)) << error;
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&png, dir.Path("p.png").c_str()));
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
  ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr));
  EXPECT_TRUE(png.width == 3 && png.height == 2);
  EXPECT_EQ(pixels, std::vector<uint8_t>(bitmap.data(), bitmap.data() + 18));
  EXPECT_FALSE(WritePng(bitmap, dir.Path("no/p.png"), error));
  EXPECT_EQ(error, "no such folder");
}

// The redraws of the window, through the session.
class PreviewRedraw : public testing::SessionTest {};

TEST_F(PreviewRedraw, RedrawsWithoutAUsableImageNeverReadPixels) {
  // Before any load: 10 x 10, no pixels.
  controls.CheckDisplaybackground.checked = true;
  ApplyBackgroundSettings(s, controls, host);
  EXPECT_TRUE(s.view.background.Pixel(250, 250) == Rgb{} && controls.Image3.visible);
  // After a failed load: 500 x 500 with a pixel array that is too small,
  // read neither with the missing flag set nor with it clear.
  s.image.width = s.image.height = 500;
  s.image.pixels.assign(3, 1.0f);
  for (bool missing : {true, false}) {
    s.imageMissing = missing;
    ApplyBackgroundSettings(s, controls, host);
    EXPECT_EQ(s.view.background.Pixel(499, 499), Rgb{});
  }
}

// The picture is painted in bands of rows on several threads; what cannot be
// shown is magenta and still logged in row order, and the largest sample found.
TEST_F(PreviewRedraw, ImageLayerLogsUnconvertiblePixelsAndOverlayCountsUsedPoints) {
  UseUniformImage(500, 500, 0.5f);
  s.image.pixels[s.image.ChannelIndex(7, 480, 1)] = std::numeric_limits<float>::quiet_NaN();
  s.image.pixels[s.image.ChannelIndex(3, 10, 0)] = std::numeric_limits<float>::quiet_NaN();
  s.image.pixels[s.image.ChannelIndex(250, 260, 2)] = 4.0f;
  float largest = 0.25f;
  PaintImageLayer(s, controls, &largest);
  EXPECT_EQ(largest, 4.0f);
  EXPECT_EQ(controls.ListBox1.items,
            (std::vector<std::string>{" x:3  y:10  xs:3  ys:10", " x:7  y:480  xs:7  ys:480"}));
  EXPECT_EQ(s.view.background.Pixel(3, 10), kMagenta);
  EXPECT_EQ(s.view.background.Pixel(7, 480), kMagenta);

  s.dome.pointCount = 2;
  s.dome.points[2].used = true;
  RedrawDome(s, controls, host);
  EXPECT_EQ(controls.LabelMaxpoint.caption, "2 Pnts (1 used) ");
  EXPECT_EQ(s.statistics.usedPointCount, 1);
  EXPECT_EQ(&ShownPreview(s, controls), &s.view.preview);
}

TEST_F(PreviewRedraw, ViewRangeControlsKeepMinimumBelowMaximum) {
  UseUniformImage(500, 500, 0.0f);
  using Change = void (*)(Session&, ControlModel&, Host&);
  const std::tuple<int, int, Change, int, int> changes[] = {
      {5, 3, &ChangeViewMinimum, 5, 6},
      {0, 0, &ChangeViewMaximum, 0, 1},
      {10, 50, &ShiftViewRangeUp, 10, 50},  // the maximum is at its limit
      {10, 50, &ShiftViewRangeDown, 9, 49},
      {0, 1, &ShiftViewRangeDown, 0, 1}};
  for (auto [lo, hi, change, wantLo, wantHi] : changes) {
    std::tie(controls.SpinViewMin.value, controls.SpinViewMax.value) = std::pair{lo, hi};
    change(s, controls, host);
    EXPECT_EQ(std::pair(controls.SpinViewMin.value, controls.SpinViewMax.value),
              std::pair(wantLo, wantHi))
        << lo << ".." << hi;
    EXPECT_EQ(s.view.viewMin, static_cast<float>(wantLo));
    EXPECT_EQ(s.view.viewMax, static_cast<float>(wantHi));
  }
}

}  // namespace
}  // namespace halvane
