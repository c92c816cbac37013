#pragma once

#include <optional>

#include "image/byte_source.h"
#include "image/readers.h"

namespace halvane {

// Walks an OpenEXR header's attributes, starting after the magic number and
// version, the way the OpenEXR library reads them. The library allocates
// what an attribute states (its size, a preview's pixels, a string list's
// strings) before it finds the file too short for it, and it reads a known
// type's value by its type, whatever size the file states. This refuses any
// statement beyond the file's end and any value whose stated size differs
// from what the library reads, so the library's reading stays where the
// walk checked it and a damaged header cannot make it ask for gigabytes.
std::optional<ReadError> CheckExrHeaderSizes(ByteSource& source, bool longNames);

}  // namespace halvane
