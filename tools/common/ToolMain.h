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

// One subcommand of a tool: its name and what it does with the arguments after the name.
struct Command {
    const char* name;
    std::function<int(const std::vector<std::string>&)> run;
};

// The main of a tool with subcommands: no arguments prints the usage to standard error (status
// 2), help prints it to standard output; otherwise runs the named command through RunTool.
int RunCommands(const char* tool, const char* usage, int argc, char** argv,
                const std::vector<Command>& commands);

}  // namespace tools
