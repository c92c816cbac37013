// The one translation unit that compiles the stb_image decoders, which the
// benchmarks time beside ours as a reference.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
