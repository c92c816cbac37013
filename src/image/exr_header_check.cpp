#include "image/exr_header_check.h"

#include <OpenEXR/OpenEXRConfig.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace halvane {
namespace {

constexpr int64_t kHeaderStart = 8;         // after the magic number and version
constexpr std::size_t kChannelFields = 16;  // type, linear, 3 reserved, x and y sampling
// OpenEXR 3.1 reads an ID manifest's uncompressed size as 8 bytes, then the
// stated size less 4: it reads on into the next attribute, whose name and size
// then come from the wrong bytes (a forged size there makes it allocate up to
// 2 GB). Such a file cannot be read as written.
constexpr bool kManifestReadPastItsEnd = OPENEXR_VERSION_MAJOR == 3 && OPENEXR_VERSION_MINOR == 1;

// The value sizes of the attribute types the library reads by their type.
const std::map<std::string, int64_t>& FixedSizes() {
  static const std::map<std::string, int64_t> sizes = {
      {"box2i", 16},      {"box2f", 16},   {"chromaticities", 32},
      {"compression", 1}, {"double", 8},   {"envmap", 1},
      {"float", 4},       {"int", 4},      {"keycode", 28},
      {"lineOrder", 1},   {"m33f", 36},    {"m33d", 72},
      {"m44f", 64},       {"m44d", 128},   {"rational", 8},
      {"tiledesc", 9},    {"timecode", 8}, {"v2i", 8},
      {"v2f", 8},         {"v2d", 16},     {"v3i", 12},
      {"v3f", 12},        {"v3d", 24},     {"deepImageState", 1},
  };
  return sizes;
}

int64_t LittleEndian(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}

// A zero-terminated text at `at` of at most `longest` bytes, or nullopt.
std::optional<std::string> TextAt(const std::vector<uint8_t>& bytes, std::size_t& at,
                                  std::size_t longest) {
  std::string text;
  while (at < bytes.size() && bytes[at] != 0) {
    if (text.size() == longest) return std::nullopt;
    text += static_cast<char>(bytes[at++]);
  }
  if (at == bytes.size()) return std::nullopt;
  ++at;
  return text;
}

// The bytes the library reads for a channel list: entries up to an empty
// name. -1 when the list has no end within `value`.
int64_t ChannelListLength(const std::vector<uint8_t>& value) {
  std::size_t at = 0;
  while (true) {
    const auto name = TextAt(value, at, 255);
    if (!name) return -1;
    if (name->empty()) return static_cast<int64_t>(at);
    at += kChannelFields;
    if (at > value.size()) return -1;
  }
}

// The bytes the library reads for a string list: strings, each after its
// length, while fewer than the stated size were read. -1 for a length below
// 0 or past the value.
int64_t StringListLength(const std::vector<uint8_t>& value) {
  const auto size = static_cast<int64_t>(value.size());
  int64_t read = 0;
  while (read < size) {
    if (read + 4 > size) return -1;
    const int64_t length = LittleEndian(value.data() + read);
    read += 4;
    if (length < 0 || length > size - read) return -1;
    read += length;
  }
  return read;
}

// A preview: width and height, then four bytes a pixel.
int64_t PreviewLength(const std::vector<uint8_t>& value) {
  if (value.size() < 8) return -1;
  const auto width = static_cast<uint32_t>(LittleEndian(value.data()));
  const auto height = static_cast<uint32_t>(LittleEndian(value.data() + 4));
  const uint64_t pixels = uint64_t{width} * height;  // below 2^64
  if (pixels > (uint64_t{INT64_MAX} - 8) / 4) return -1;
  return 8 + static_cast<int64_t>(pixels) * 4;
}

class HeaderWalk {
 public:
  HeaderWalk(ByteSource& source, bool longNames)
      : source_(source), longest_(longNames ? 255 : 31), size_(source.Size()) {}

  std::optional<ReadError> Run() {
    int64_t position = kHeaderStart;
    while (true) {
      std::string name, type;
      int64_t valueSize = 0;
      if (auto error = ReadAttributeStart(position, name, type, valueSize)) return error;
      if (name.empty()) return std::nullopt;  // the header's end
      if (valueSize < 0 || valueSize > size_ - position)
        return Damaged("attribute " + name + " of " + std::to_string(valueSize) + " bytes, with " +
                       std::to_string(size_ - position) + " left in the file");
      if (auto error = CheckValue(name, type, position, valueSize)) return error;
      position += valueSize;
    }
  }

 private:
  static ReadError Damaged(const std::string& what) {
    return ReadError{"damaged header (" + what + ")"};
  }

  // Reads the name, the type name and the stated value size at `position`,
  // leaving `position` at the value.
  std::optional<ReadError> ReadAttributeStart(int64_t& position, std::string& name,
                                              std::string& type, int64_t& valueSize) {
    const int64_t available = std::min<int64_t>(size_ - position, 2 * 256 + 4);
    if (available <= 0) return Damaged("it ends before its last attribute");
    std::vector<uint8_t> bytes(static_cast<std::size_t>(available));
    if (!source_.ReadAt(position, bytes)) return ReadError{"the file could not be read"};
    std::size_t at = 0;
    const auto n = TextAt(bytes, at, longest_);
    if (!n) return Damaged("an attribute name without its end");
    name = *n;
    if (name.empty()) return std::nullopt;
    const auto t = TextAt(bytes, at, longest_);
    if (!t || at + 4 > bytes.size()) return Damaged("attribute " + name + " cut short");
    type = *t;
    valueSize = LittleEndian(bytes.data() + at);
    position += static_cast<int64_t>(at) + 4;
    return std::nullopt;
  }

  // The library must read exactly the stated size.
  std::optional<ReadError> CheckValue(const std::string& name, const std::string& type,
                                      int64_t position, int64_t valueSize) {
    int64_t read = valueSize;
    if (const auto fixed = FixedSizes().find(type); fixed != FixedSizes().end()) {
      read = fixed->second;
    } else if (type == "chlist" || type == "stringvector" || type == "preview") {
      std::vector<uint8_t> value(static_cast<std::size_t>(valueSize));
      if (!source_.ReadAt(position, value)) return ReadError{"the file could not be read"};
      read = type == "chlist"         ? ChannelListLength(value)
             : type == "stringvector" ? StringListLength(value)
                                      : PreviewLength(value);
    } else if (type == "floatvector") {
      read = valueSize / 4 * 4;
    } else if (type == "idmanifest") {
      if (kManifestReadPastItsEnd)
        return ReadError{"attribute " + name +
                         " is an ID manifest, which the installed OpenEXR library "
                         "cannot read (it reads 4 bytes past the attribute)"};
      read = valueSize >= 8 ? valueSize : -1;  // an uncompressed size comes first
    }
    if (read != valueSize)
      return Damaged("attribute " + name + " of type " + type + " states " +
                     std::to_string(valueSize) + " bytes for a value of " +
                     (read < 0 ? std::string("no readable length") : std::to_string(read)));
    return std::nullopt;
  }

  ByteSource& source_;
  std::size_t longest_;
  int64_t size_;
};

}  // namespace

std::optional<ReadError> CheckExrHeaderSizes(ByteSource& source, bool longNames) {
  return HeaderWalk(source, longNames).Run();
}

}  // namespace halvane
