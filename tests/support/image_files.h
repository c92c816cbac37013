#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

// A standard Radiance header ("#?RADIANCE", FORMAT line, empty line,
// "-Y h +X w") padded with a comment so that every file passes the 200-byte
// minimum.
std::string RadianceHeaderText(int width, int height);

// Pixels row by row, top row first.
Bytes FlatRadiance(int width, int height, const std::vector<Rgbe>& pixels);
// Run-length scanlines: each channel row as runs of equal bytes (runs longer
// than 2) and literal stretches.
Bytes RunLengthRadiance(int width, int height, const std::vector<Rgbe>& pixels);
// A header followed by the given pixel bytes.
Bytes RadianceWithData(int width, int height, const Bytes& data);

}  // namespace halvane::testing
