#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tools {

// UTF-8 source text in the program's Shift_JIS code page (932); nothing when a character has
// no code there or the input is not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace tools
