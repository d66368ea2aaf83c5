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

}  // namespace tools
