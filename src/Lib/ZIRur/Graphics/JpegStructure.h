#pragma once

#include <cstdint>
#include <span>

namespace gfx {

// Whether a JPEG stream is whole: start of image, marker segments that fit in the data, scans
// whose entropy-coded data ends at a marker, and an end-of-image marker before the data ends.
// The JPEG decoder behind the image library spins forever on a stream that runs out before
// its end marker, so only whole streams are handed to it.
bool JpegComplete(std::span<const uint8_t> data);

}  // namespace gfx
