#include "image/file_buffer.h"

namespace halvane {

FileBuffer& SharedFileBuffer() {
  static FileBuffer buffer;
  return buffer;
}

}  // namespace halvane
