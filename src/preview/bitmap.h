#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halvane {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A 24-bit picture with the few drawing operations the preview needs. Rows are
// stored top to bottom, three bytes per pixel in the order red, green, blue.
// Drawing outside the picture is clipped.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height) { Resize(width, height); }

  void Resize(int width, int height);
  void Release() { Resize(0, 0); }

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return data_.empty(); }
  const uint8_t* data() const { return data_.data(); }
  uint8_t* data() { return data_.data(); }
  int bytesPerLine() const { return width_ * 3; }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb c);
  void Fill(Rgb c);
  // Fills columns x0..x1-1 and rows y0..y1-1.
  void FillRect(int x0, int y0, int x1, int y1, Rgb c);
  // A dotted line from (x0, y0) towards (x1, y1), end point excluded; the gaps
  // stay transparent.
  void DottedLine(int x0, int y0, int x1, int y1, Rgb c);
  // Writes digits with the built-in font, top-left corner at (x, y), on an
  // opaque background of the text's cell size.
  void TextOut(int x, int y, const std::string& digits, Rgb ink, Rgb background);

  static int TextWidth(const std::string& digits);
  static int TextHeight();

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> data_;
};

}  // namespace halvane
