#include "preview/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace halvane {
namespace {

// libpng reports a failure through this and then jumps back to the setjmp
// in EncodePng; the message is kept for the caller.
struct PngFailure {
  char message[256] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
  std::snprintf(failure->message, sizeof failure->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Encodes `bitmap` into the open `file`. Only trivially destructible objects
// live here, as libpng leaves by a long jump on an error.
bool EncodePng(const Bitmap& bitmap, std::FILE* file, PngFailure& failure) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
               static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < bitmap.height(); ++y)
    png_write_row(png, bitmap.data() + static_cast<std::size_t>(y) * bitmap.bytesPerLine());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  PngFailure failure;
  const bool encoded = EncodePng(bitmap, file, failure);
  errno = 0;
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const int flushError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!encoded) {
    error = failure.message[0] != '\0' ? failure.message : "cannot encode the picture";
    return false;
  }
  if (!flushed || !closed) {
    error = std::strerror(flushError != 0 ? flushError : errno != 0 ? errno : EIO);
    return false;
  }
  return true;
}

}  // namespace halvane
