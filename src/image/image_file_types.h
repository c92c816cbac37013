#pragma once

#include <span>
#include <string>
#include <string_view>

#include "image/readers.h"

namespace halvane {

// One kind of image file the program reads. The extension alone decides the
// reader; the content is never sniffed.
struct ImageFileType {
  std::string_view extension;  // upper case, with the dot: ".HDR"
  std::string_view pattern;    // for the open dialog: "*.hdr"
  std::string_view description;
  ImageReader read;
  // Whether files over the load step's file size limit are refused unread.
  bool sizeLimited;
  // For a size-limited kind whose reader scales down: the picture size from
  // the header, so that a file over the limit is read only when it will be
  // scaled down. Null for the others.
  OrError<ImageSize> (*pictureSize)(ByteSource& source);
};

// Every readable kind, in the order the open dialog lists them.
std::span<const ImageFileType> ImageFileTypes();
// The kind whose extension `path` has, or null.
const ImageFileType* ImageFileTypeOf(const std::string& path);
// The open dialog's filter: all kinds together, then each kind, as
// "description|patterns|..." pairs.
std::string ImageOpenFilter();

// Upper-cases a..z and the Latin-1 letters ä, ö, ü; other bytes unchanged.
std::string UpperCase(std::string text);
// The text from the last "." to the end, upper-cased; empty without a ".".
std::string FileExtension(const std::string& path);

}  // namespace halvane
