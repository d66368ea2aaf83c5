#pragma once

#include <string>

namespace lytc {

// UTF-8 -> UTF-16 (surrogate pairs above U+FFFF); false on malformed input.
bool Utf8ToUtf16(const std::string& in, std::u16string& out);
// UTF-16 -> UTF-8; false on an unpaired surrogate.
bool Utf16ToUtf8(const std::u16string& in, std::string& out);

}  // namespace lytc
