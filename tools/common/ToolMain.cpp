#include "common/ToolMain.h"

#include <cstdio>
#include <exception>

#include "common/ToolError.h"

namespace tools {

int RunTool(const char* tool, const std::function<int()>& body) {
    try {
        return body();
    } catch (const ToolError& e) {
        if (e.file().empty()) {
            std::fprintf(stderr, "%s: error: %s\n", tool, e.what());
        } else {
            std::fprintf(stderr, "%s\n", e.Describe().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: error: %s\n", tool, e.what());
    }
    return 1;
}

bool WantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args) {
        if (a == "-h" || a == "--help") return true;
    }
    return false;
}

int RunCommands(const char* tool, const char* usage, int argc, char** argv,
                const std::vector<Command>& commands) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || WantsHelp(args)) {
        std::fputs(usage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    return RunTool(tool, [&] {
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        for (const Command& command : commands)
            if (args[0] == command.name) return command.run(rest);
        throw ToolError("unknown command '" + args[0] + "' (see --help)");
    });
}

}  // namespace tools
