#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/JsonSource.h"

namespace lytc {

// Compiles a layout source (see docs/formats/layout-source.md) to the big-endian layout file.
// Throws ToolError at the line of the first fault.
std::vector<uint8_t> CompileLayout(const tools::JsonSource& source);

// Prints a layout file as source; compiling the result gives the same bytes again for every
// file this compiler writes. Throws ToolError naming `file` for what the source cannot express
// or what lies outside the file.
std::string DecompileLayout(std::span<const uint8_t> bytes, const std::string& file);

}  // namespace lytc
