#include "image/exr_layout.h"

#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfTileDescription.h>
#include <OpenEXR/ImfVersion.h>

#include <algorithm>

#include "image/exr_header_check.h"

namespace halvane {
namespace {

// Tiles of all levels: an offset table of at most 16 MB.
constexpr int64_t kMostTiles = int64_t{1} << 21;

int LinesPerChunk(const Imf::Header& header) {
  if (header.hasTileDescription()) return static_cast<int>(header.tileDescription().ySize);
  switch (header.compression()) {
    case Imf::ZIP_COMPRESSION:
    case Imf::PXR24_COMPRESSION:
      return 16;
    case Imf::PIZ_COMPRESSION:
    case Imf::B44_COMPRESSION:
    case Imf::B44A_COMPRESSION:
    case Imf::DWAA_COMPRESSION:
      return 32;
    case Imf::DWAB_COMPRESSION:
      return 256;
    default:
      return 1;
  }
}

OrError<int> ReadVersion(ExrSourceStream& in) {
  char start[8];
  in.read(start, 8);
  if (!Imf::isImfMagic(start)) return ReadError{"not an OpenEXR file (no magic number)"};
  const int version = static_cast<int>(static_cast<uint32_t>(static_cast<uint8_t>(start[4])) |
                                       static_cast<uint32_t>(static_cast<uint8_t>(start[5])) << 8 |
                                       static_cast<uint32_t>(static_cast<uint8_t>(start[6])) << 16 |
                                       static_cast<uint32_t>(static_cast<uint8_t>(start[7])) << 24);
  if (Imf::isMultiPart(version)) return ReadError{"multi-part files are not read"};
  if (Imf::isNonImage(version)) return ReadError{"deep pictures are not read"};
  return version;
}

std::string ChannelNames(const Imf::ChannelList& list) {
  std::string names;
  int count = 0;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (++count > 8) return names + ", ...";
    names += (names.empty() ? "" : ", ") + std::string(it.name());
  }
  return names.empty() ? "none" : names;
}

OrError<std::vector<ExrChannel>> ChooseChannels(const Imf::ChannelList& list) {
  std::vector<std::string> names;
  if (list.findChannel("R") && list.findChannel("G") && list.findChannel("B")) {
    names = {"B", "G", "R"};
  } else if (list.findChannel("Y")) {
    if (list.findChannel("RY") || list.findChannel("BY"))
      return ReadError{"luminance-chroma pictures (Y, RY, BY) are not read"};
    names = {"Y"};
  } else {
    return ReadError{"no R, G, B or Y channels (it has " + ChannelNames(list) + ")"};
  }
  std::vector<ExrChannel> channels;
  for (const std::string& name : names) {
    const Imf::Channel* c = list.findChannel(name);
    if (c->xSampling != 1 || c->ySampling != 1)
      return ReadError{"subsampled channel " + name + " is not read"};
    channels.push_back({name, c->type});
  }
  return channels;
}

// Refuses tiled files whose offset tables alone would be huge.
std::optional<ReadError> CheckTiles(const Imf::Header& header) {
  if (!header.hasTileDescription()) return std::nullopt;
  const Imf::TileDescription& t = header.tileDescription();
  if (t.xSize < 1 || t.ySize < 1) return ReadError{"invalid tile size"};
  const Imath::Box2i& data = header.dataWindow();
  if (WidthOf(data) < 1 || HeightOf(data) < 1) return std::nullopt;  // the library refuses it
  const int64_t levels = t.mode == Imf::ONE_LEVEL ? 1 : t.mode == Imf::MIPMAP_LEVELS ? 2 : 4;
  const int64_t across = (WidthOf(data) + t.xSize - 1) / t.xSize;
  const int64_t down = (HeightOf(data) + t.ySize - 1) / t.ySize;
  if (across * down * levels > kMostTiles)
    return ReadError{"too many tiles (" + std::to_string(across) + " x " + std::to_string(down) +
                     ")"};
  return std::nullopt;
}

}  // namespace

OrError<ExrLayout> ReadExrLayout(ExrSourceStream& in, ByteSource& source) {
  auto version = ReadVersion(in);
  if (auto* error = std::get_if<ReadError>(&version)) return *error;
  if (auto error =
          CheckExrHeaderSizes(source, (std::get<int>(version) & Imf::LONG_NAMES_FLAG) != 0))
    return *error;
  Imf::Header header;
  header.readFrom(in, std::get<int>(version));
  ExrLayout layout;
  layout.display = header.displayWindow();
  layout.data = header.dataWindow();
  const int64_t width = WidthOf(layout.display), height = HeightOf(layout.display);
  if (width < 1 || height < 1) return ReadError{"image has no pixels (display window)"};
  if (width > INT32_MAX / 4 || height > INT32_MAX / 4)
    return ReadError{"display window too large (" + std::to_string(width) + " x " +
                     std::to_string(height) + ")"};
  auto channels = ChooseChannels(header.channels());
  if (auto* error = std::get_if<ReadError>(&channels)) return *error;
  layout.channels = std::move(std::get<std::vector<ExrChannel>>(channels));
  if (auto error = CheckTiles(header)) return *error;
  layout.linesPerChunk = std::max(1, LinesPerChunk(header));
  return layout;
}

}  // namespace halvane
