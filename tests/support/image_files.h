#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/readers.h"

namespace halvane::testing {

// A folder under the system's temporary folder, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

using Bytes = std::vector<uint8_t>;
using Rgbe = std::array<uint8_t, 4>;  // red, green, blue mantissas, exponent

void WriteFile(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
Bytes ReadFileBytes(const std::string& path);

// A standard Radiance header ("#?RADIANCE", a comment that makes every file
// pass the 200-byte minimum, FORMAT line, empty line, "-Y h +X w") followed by
// the given pixel bytes.
Bytes RadianceWithData(int width, int height, const Bytes& data);
// Pixels row by row, top row first.
Bytes FlatRadiance(int width, int height, const std::vector<Rgbe>& pixels);
// Run-length scanlines: each channel row as runs of equal bytes (runs longer
// than 2) and literal stretches.
Bytes RunLengthRadiance(int width, int height, const std::vector<Rgbe>& pixels);
// One such scanline, marker included, appended to `out`.
void AppendRunLengthScanline(const std::vector<Rgbe>& pixels, Bytes& out);

// Reads `bytes` with `reader` from memory, and once more in blocks of 5 bytes
// when the picture is small; the two must agree in every bit.
ReadOutcome ReadBytes(ImageReader reader, const Bytes& bytes, const ImageLimits& limits = {});
// The result of a read that must succeed; throws (failing the test) with
// the reason otherwise.
ReadResult Decoded(ReadOutcome outcome);
// The reason of a read that must fail; "read" when it succeeded.
template <typename T>
std::string Reason(const OrError<T>& outcome) {
  const auto* error = std::get_if<ReadError>(&outcome);
  return error != nullptr ? error->reason : "read";
}

}  // namespace halvane::testing
