#pragma once

#include <string>

#include "../../tools/common/ToolError.h"

namespace tooltest {

// The diagnostic `run` throws as printed, or `success` when it throws none.
template <typename Run>
std::string ErrorOf(Run run, const char* success = "(no error)") {
    try {
        run();
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return success;
}

}  // namespace tooltest
