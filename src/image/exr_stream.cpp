#include "image/exr_stream.h"

#include <span>

#include <OpenEXR/Iex.h>

namespace halvane {

ExrSourceStream::ExrSourceStream(ByteSource& source)
    : Imf::IStream(source.Name().c_str()), source_(source) {}

bool ExrSourceStream::read(char c[], int n) {
  const auto size = static_cast<uint64_t>(source_.Size());
  if (n < 0 || position_ > size || static_cast<uint64_t>(n) > size - position_)
    throw Iex::InputExc("unexpected end of file");
  if (!source_.ReadAt(
          static_cast<int64_t>(position_),
          std::span<uint8_t>(reinterpret_cast<uint8_t*>(c), static_cast<std::size_t>(n))))
    throw Iex::InputExc("the file could not be read");
  position_ += static_cast<uint64_t>(n);
  return position_ < size;
}

}  // namespace halvane
