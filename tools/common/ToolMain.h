#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tools {

// Runs a tool's body, turning any ToolError (or other failure) into one diagnostic line on
// standard error and exit status 1. Returns the body's own status otherwise.
int RunTool(const char* tool, const std::function<int()>& body);

// True when the arguments ask for help ("-h" or "--help" anywhere).
bool WantsHelp(const std::vector<std::string>& args);

}  // namespace tools
