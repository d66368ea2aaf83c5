#pragma once

#include <string>

namespace platform {

// Whether `dir` is a folder this process may create files in.
bool WritableDirectory(const std::string& dir);

}  // namespace platform
