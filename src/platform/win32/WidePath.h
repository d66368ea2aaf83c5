// Paths are UTF-8 strings everywhere in the program; Windows takes them as UTF-16.
#pragma once

#include <string>

namespace platform {

// The UTF-16 form of a UTF-8 path for the wide Windows calls; empty when it is not UTF-8.
std::wstring WidePath(const std::string& utf8);

}  // namespace platform
