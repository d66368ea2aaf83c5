#pragma once

#include <string>

#include "lytc/BinarySource.h"

namespace lytc {

// Writes a decompiled source with two-space indentation; arrays of plain values, and arrays
// of those (key lists), stay on one line, so sources read like the hand-written ones.
void PrintSource(const BinarySource::Json& v, int indent, std::string& out);

}  // namespace lytc
