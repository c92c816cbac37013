#include <algorithm>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "preview/preview.h"
#include "workflow/display_settings.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

int SourceCoordinate(int previewPosition, int imageSize) {
  return static_cast<int>(static_cast<int64_t>(imageSize) * previewPosition / kPreviewSize);
}

void LogUnconvertiblePixel(ControlModel& controls, int x, int y, int ix, int iy) {
  controls.ListBox1.items.push_back(" x:" + std::to_string(x) + "  y:" + std::to_string(y) +
                                    "  xs:" + std::to_string(ix) + "  ys:" + std::to_string(iy));
  controls.ListBox1.itemIndex = static_cast<int>(controls.ListBox1.items.size()) - 1;
}

// Each point's neighbours a > i and d > a that are also neighbours of i:
// every triangle of mutually adjacent points, once, from its smallest index.
void FillDomeTriangles(Session& s) {
  const DisplaySettings settings = DisplaySettingsOf(s);
  const auto corner = [&](uint32_t p, int referenceX) {
    const DomePoint& pt = s.dome.points[p];
    double x = PreviewCoordinate(pt.px, s.image.width);
    const double y = PreviewCoordinate(pt.py, s.image.height);
    if (referenceX - x >= 250) {
      x += 500;
    } else if (referenceX - x < -250) {
      x -= 500;
    }
    return FillCorner{x, y, pt.lightR, pt.lightG, pt.lightB};
  };
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& pi = s.dome.points[i];
    const int refX = PreviewCoordinate(pi.px, s.image.width);
    const FillCorner ci{static_cast<double>(refX),
                        static_cast<double>(PreviewCoordinate(pi.py, s.image.height)), pi.lightR,
                        pi.lightG, pi.lightB};
    for (std::size_t ja = 1; ja <= kNeighbourSlots; ++ja) {
      const int32_t a = pi.nb[ja];
      if (a <= static_cast<int32_t>(i)) continue;
      const DomePoint& pa = s.dome.points[static_cast<std::size_t>(a)];
      for (std::size_t jd = 1; jd <= kNeighbourSlots; ++jd) {
        const int32_t d = pa.nb[jd];
        if (d <= a) continue;
        bool adjacentToI = false;
        for (std::size_t k = 1; k <= kNeighbourSlots; ++k) adjacentToI |= pi.nb[k] == d;
        if (!adjacentToI) continue;
        FillTriangle(s.view.background, settings, ci, corner(static_cast<uint32_t>(a), refX),
                     corner(static_cast<uint32_t>(d), refX));
      }
    }
  }
}

struct UnconvertiblePixel {
  int x, y, ix, iy;
};

struct LayerBand {
  int fromRow = 0, toRow = 0;
  float maxSample = 0.0f;
  std::vector<UnconvertiblePixel> unconvertible;
  std::exception_ptr failure;
};

void PaintBand(const Image& img, const DisplaySettings& settings, Bitmap& bmp, LayerBand& band) {
  try {
    float m = band.maxSample;
    for (int y = band.fromRow; y < band.toRow; ++y) {
      const int iy = SourceCoordinate(y, img.height);
      for (int x = 0; x < kPreviewSize; ++x) {
        const int ix = SourceCoordinate(x, img.width);
        const float* p = img.pixels.data() + img.ChannelIndex(ix, iy, 0);
        const float blue = p[0], green = p[1], red = p[2];
        m = std::max({m, red, green, blue});  // a NaN channel never wins
        Rgb colour;
        if (!PreviewColour(red, green, blue, settings, colour))
          band.unconvertible.push_back({x, y, ix, iy});
        bmp.SetPixel(x, y, colour);
      }
    }
    band.maxSample = m;
  } catch (...) {
    band.failure = std::current_exception();
  }
}

}  // namespace

int PreviewCoordinate(int imagePosition, int imageSize) {
  if (imageSize <= 0) return 0;
  const int64_t p = static_cast<int64_t>(imagePosition) * kPreviewSize / imageSize;
  return static_cast<int>(std::min<int64_t>(p, kPreviewSize - 1));
}

void PaintImageLayer(Session& s, ControlModel& controls, float* maxSample) {
  Bitmap& bmp = s.view.background;
  if (s.imageMissing || !s.image.HoldsAllPixels()) {
    bmp.Fill(Rgb{});
    return;
  }
  const DisplaySettings settings = DisplaySettingsOf(s);
  const float start = maxSample != nullptr ? *maxSample : 0.0f;
  // Bands of rows on every core: each writes only its own rows and keeps
  // its own largest sample and unconvertible pixels, merged in row order.
  const int workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  std::vector<LayerBand> bands(static_cast<std::size_t>(workers));
  for (int k = 0; k < workers; ++k) {
    LayerBand& band = bands[static_cast<std::size_t>(k)];
    band.fromRow = kPreviewSize * k / workers;
    band.toRow = kPreviewSize * (k + 1) / workers;
    band.maxSample = start;
  }
  {
    std::vector<std::jthread> threads;
    for (std::size_t k = 1; k < bands.size(); ++k)
      threads.emplace_back([&, k] { PaintBand(s.image, settings, bmp, bands[k]); });
    PaintBand(s.image, settings, bmp, bands[0]);
  }
  float m = start;
  for (const LayerBand& band : bands) {
    if (band.failure) std::rethrow_exception(band.failure);
    m = std::max(m, band.maxSample);
    for (const UnconvertiblePixel& u : band.unconvertible)
      LogUnconvertiblePixel(controls, u.x, u.y, u.ix, u.iy);
  }
  if (maxSample != nullptr) *maxSample = m;
}

void RedrawBackground(Session& s, ControlModel& controls, Host& host) {
  if (s.view.showBackground) {
    PaintImageLayer(s, controls, nullptr);
  } else {
    s.view.background.Fill(Rgb{});
  }
  if (!s.imageMissing) {
    controls.Image1.visible = true;
    controls.Image3.visible = false;
  }
  if (s.dome.pointCount >= 1 && s.view.showFill) FillDomeTriangles(s);
  host.PreviewChanged();
}

}  // namespace halvane
