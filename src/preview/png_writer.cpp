#include "preview/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "base/output_file.h"

namespace halvane {
namespace {

// Where libpng's output goes and why it stopped: libpng reports a failure
// through OnPngError and then jumps back to the setjmp in Encode.
struct PngTarget {
  std::string* bytes = nullptr;
  char message[256] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* target = static_cast<PngTarget*>(png_get_error_ptr(png));
  std::snprintf(target->message, sizeof target->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Appends encoded bytes; a failing allocation becomes a libpng error once
// the exception is over, as the jump must not cross a catch handler.
void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* target = static_cast<PngTarget*>(png_get_io_ptr(png));
  bool appended = false;
  try {
    target->bytes->append(reinterpret_cast<const char*>(data), length);
    appended = true;
  } catch (const std::bad_alloc&) {
  }
  if (!appended) png_error(png, "not enough memory");
}

void OnPngFlush(png_structp) {}

// Encodes `bitmap` into `target`. Only trivially destructible objects live
// here, as libpng leaves by a long jump on an error.
bool Encode(const Bitmap& bitmap, PngTarget& target) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &target, OnPngError, OnPngWarning);
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
  png_set_write_fn(png, &target, OnPngWrite, OnPngFlush);
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

bool EncodePng(const Bitmap& bitmap, std::string& bytes, std::string& error) {
  bytes.clear();
  PngTarget target;
  target.bytes = &bytes;
  if (Encode(bitmap, target)) return true;
  error = target.message[0] != '\0' ? target.message : "cannot encode the picture";
  return false;
}

bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error) {
  std::string bytes;
  if (!EncodePng(bitmap, bytes, error)) return false;
  if (const auto failure = WriteOutputFile(path, bytes)) {
    error = failure->reason;
    return false;
  }
  return true;
}

}  // namespace halvane
