// Compiles arbitrary text as a layout source. A source is either refused with a tool error or
// compiles to a file that the program's layout builder accepts and that the decompiler prints
// back as a source compiling to the very same bytes.
#include <vector>

#include "FuzzSupport.h"
#include "Lib/lyt/layout.h"
#include "common/JsonSource.h"
#include "common/ToolError.h"
#include "lytc/LayoutSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> bytes;
    try {
        bytes = lytc::CompileLayout(tools::JsonSource("fuzz.lyt.json", text));
    } catch (const tools::ToolError&) {
        return 0;
    }
    // Building converts the buffer in place, so it gets a copy.
    std::vector<uint8_t> resident = bytes;
    fuzz::AnyImage resources;
    LYRALib::lytmgr::Layout layout;
    if (!layout.Build(resident.data(), resident.size(), &resources)) __builtin_trap();

    // The compiler's own output always decompiles, and recompiles to the same bytes.
    const std::string printed = lytc::DecompileLayout(bytes, "fuzz.lyt");
    const std::vector<uint8_t> again =
        lytc::CompileLayout(tools::JsonSource("printed.lyt.json", printed));
    if (again != bytes) __builtin_trap();
    return 0;
}
