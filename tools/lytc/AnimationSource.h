#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/JsonSource.h"

namespace lytc {

// Compiles an animation source (see docs/formats/animation-source.md) to the big-endian
// animation file. Throws ToolError at the line of the first fault.
std::vector<uint8_t> CompileAnimation(const tools::JsonSource& source);

// Prints an animation file as source. The result compiles to the same bytes again; a file
// laid out in a way the source cannot say is refused with a ToolError naming `file`.
std::string DecompileAnimation(std::span<const uint8_t> bytes, const std::string& file);

}  // namespace lytc
