// Writes small valid files of every kind the readers accept into
// OUT/hdr, OUT/ct, OUT/tga and OUT/exr, as starting points for the fuzzers.
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/ct_tga_files.h"
#include "support/exr_files.h"
#include "support/image_files.h"

namespace {

using namespace halvane::testing;

void Write(const std::filesystem::path& dir, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(dir);
  WriteFile((dir / name).string(), bytes);
}

std::vector<Rgbe> RgbePattern(std::size_t count) {
  std::vector<Rgbe> out;
  for (const Bgra& p : PatternPixels(count, 3))
    out.push_back({p[2], p[1], p[0], static_cast<uint8_t>(120 + p[3] % 20)});
  return out;
}

void WriteRadianceSeeds(const std::filesystem::path& dir) {
  Write(dir, "flat.hdr", FlatRadiance(8, 2, RgbePattern(16)));
  Write(dir, "rle.hdr", RunLengthRadiance(16, 4, RgbePattern(64)));
}

void WriteCtSeeds(const std::filesystem::path& dir) {
  Bytes eight, sixteen, floats;
  for (const Bgra& p : PatternPixels(6, 5)) {
    eight.insert(eight.end(), p.begin(), p.end());
    for (uint8_t v : p) AppendBigEndianWord(sixteen, static_cast<uint16_t>(v * 257));
    for (uint8_t v : p) AppendBigEndianFloat(floats, v / 16.0f);
  }
  Write(dir, "eight.ct", CtFile(3, 2, eight));
  Write(dir, "sixteen.ct", CtFile(3, 2, sixteen));
  Write(dir, "float.ct", CtFile(3, 2, floats));
}

void WriteTargaSeeds(const std::filesystem::path& dir) {
  const auto pixels = PatternPixels(48, 9);
  for (const uint8_t depth : {24, 32}) {
    const std::string d = std::to_string(depth);
    Write(dir, "raw" + d + ".tga",
          TargaFile({8, 6, 2, depth, false, "", 0, 0, 0}, TargaRawPixels(pixels, depth)));
    Write(dir, "raw" + d + "top.tga",
          TargaFile({8, 6, 2, depth, true, "seed", 0, 0, 0}, TargaRawPixels(pixels, depth)));
    Write(dir, "rle" + d + ".tga",
          TargaFile({8, 6, 10, depth, false, "", 0, 0, 0}, TargaRunLengthPixels(pixels, 8, depth)));
    Write(dir, "rle" + d + "map.tga",
          TargaFile({8, 6, 10, depth, true, "", 1, 4, 24}, TargaRunLengthPixels(pixels, 8, depth)));
  }
  // A 16-bit run count that fills the row exactly, within the fuzzing side limit.
  Write(dir, "wide-run.tga",
        TargaFile({256, 1, 10, 24, true, "", 0, 0, 0}, {0x80, 0x01, 0x00, 7, 8, 9}));
}

// Small files of each layout the library writes: every compression, half and
// float, scanlines and tiles, a data window off 0,0, luminance and alpha.
void WriteExrSeeds(const std::filesystem::path& dir) {
  const auto picture = [](int x, int y) {
    return Linear{x * 0.5f + y, 2.0f * y + 0.125f, x == 2 ? -1.0f : 3.0f};
  };
  int n = 0;
  for (const auto compression :
       {Imf::NO_COMPRESSION, Imf::RLE_COMPRESSION, Imf::ZIPS_COMPRESSION, Imf::ZIP_COMPRESSION,
        Imf::PIZ_COMPRESSION, Imf::PXR24_COMPRESSION, Imf::B44_COMPRESSION, Imf::B44A_COMPRESSION,
        Imf::DWAA_COMPRESSION, Imf::DWAB_COMPRESSION})
    for (const bool half : {true, false}) {
      const ExrSpec layout{.width = 9,
                           .height = 5,
                           .compression = compression,
                           .half = half,
                           .tileSize = n % 3 == 0 ? 4 : 0};
      Write(dir, "layout" + std::to_string(n++) + ".exr", ExrFile(layout, picture));
    }
  Write(dir, "window.exr",
        ExrFile({.width = 8, .height = 4, .dataX = -2, .dataY = 1, .dataWidth = 7, .dataHeight = 5},
                picture));
  Write(dir, "grey.exr", ExrFile({.channels = {"Y"}}, picture));
  Write(dir, "alpha.exr", ExrFile({.channels = {"A", "B", "G", "R"}}, picture));
  Write(dir, "scaled.exr",
        ExrFile({.width = 150, .height = 70, .compression = Imf::PIZ_COMPRESSION}, picture));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  WriteRadianceSeeds(out / "hdr");
  WriteCtSeeds(out / "ct");
  WriteTargaSeeds(out / "tga");
  WriteExrSeeds(out / "exr");
  return 0;
}
