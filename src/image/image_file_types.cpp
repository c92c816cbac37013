#include "image/image_file_types.h"

#include <array>

namespace halvane {
namespace {

constexpr std::array<ImageFileType, 4> kImageFileTypes{{
    {".CT", "*.ct", "Mental Images .ct (8bit, 16bit and float)", ReadCt, true, nullptr},
    {".TGA", "*.tga", "Targa .tga (8bit)", ReadTga, true, nullptr},
    {".HDR", "*.hdr", "Radiance .hdr (float)", ReadHdr, true, ReadHdrSize},
    {".EXR", "*.exr", "OpenEXR .exr (half and float)", ReadExr, false, nullptr},
}};

}  // namespace

std::span<const ImageFileType> ImageFileTypes() {
  return kImageFileTypes;
}

const ImageFileType* ImageFileTypeOf(const std::string& path) {
  const std::string extension = FileExtension(path);
  for (const ImageFileType& type : kImageFileTypes)
    if (type.extension == extension) return &type;
  return nullptr;
}

std::string ImageOpenFilter() {
  std::string commaSeparated, semicolonSeparated, each;
  for (const ImageFileType& type : kImageFileTypes) {
    const std::string pattern(type.pattern);
    commaSeparated += (commaSeparated.empty() ? "" : ",") + pattern;
    semicolonSeparated += (semicolonSeparated.empty() ? "" : ";") + pattern;
    each += "|" + std::string(type.description) + "|" + pattern;
  }
  return commaSeparated + "|" + semicolonSeparated + each;
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
      c = static_cast<char>(u - 32);
    } else if (u == 0xE4 || u == 0xF6 || u == 0xFC) {  // ä ö ü in Latin-1
      c = static_cast<char>(u - 32);
    }
  }
  return text;
}

std::string FileExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : UpperCase(path.substr(dot));
}

}  // namespace halvane
