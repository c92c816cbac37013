#include "preview/bitmap.h"

#include <algorithm>
#include <cstdlib>

#include "preview/digit_font.h"

namespace halvane {

void Bitmap::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  data_.assign(static_cast<std::size_t>(width_) * height_ * 3, 0);
}

Rgb Bitmap::Pixel(int x, int y) const {
  if (!Contains(x, y)) return Rgb{};
  const uint8_t* p = data_.data() + (static_cast<std::size_t>(y) * width_ + x) * 3;
  return Rgb{p[0], p[1], p[2]};
}

void Bitmap::SetPixel(int x, int y, Rgb c) {
  if (!Contains(x, y)) return;
  uint8_t* p = data_.data() + (static_cast<std::size_t>(y) * width_ + x) * 3;
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

void Bitmap::Fill(Rgb c) {
  FillRect(0, 0, width_, height_, c);
}

void Bitmap::FillRect(int x0, int y0, int x1, int y1, Rgb c) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) SetPixel(x, y, c);
}

void Bitmap::DottedLine(int x0, int y0, int x1, int y1, Rgb c) {
  // Bresenham's walk; three pixels drawn, three left out.
  constexpr int kDot = 3;
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (int step = 0; x0 != x1 || y0 != y1; ++step) {
    if ((step / kDot) % 2 == 0) SetPixel(x0, y0, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

int Bitmap::TextWidth(const std::string& digits) {
  return static_cast<int>(digits.size()) * kGlyphAdvance + 1;
}

int Bitmap::TextHeight() {
  return kGlyphCellHeight;
}

void Bitmap::TextOut(int x, int y, const std::string& digits, Rgb ink, Rgb background) {
  FillRect(x, y, x + TextWidth(digits), y + TextHeight(), background);
  int penX = x + 1;
  for (char ch : digits) {
    const uint8_t* rows = GlyphRows(ch);
    if (rows != nullptr) {
      for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < kGlyphWidth; ++col)
          if (rows[row] & (0x10 >> col)) SetPixel(penX + col, y + 1 + row, ink);
    }
    penX += kGlyphAdvance;
  }
}

}  // namespace halvane
