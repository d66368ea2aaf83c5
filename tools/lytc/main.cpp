// lytc: compiles layout sources to layout files and prints layout files back as source.
#include <cstdio>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/JsonSource.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "lytc/AnimationSource.h"
#include "lytc/LayoutSource.h"

namespace {

const char kUsage[] =
    "usage: lytc compile SOURCE.json OUTPUT.lyt\n"
    "       lytc decompile INPUT.lyt [OUTPUT.json]\n"
    "       lytc compile-anim SOURCE.anm.json OUTPUT.anm\n"
    "       lytc decompile-anim INPUT.anm [OUTPUT.anm.json]\n"
    "\n"
    "compile    writes the layout file described by a layout source\n"
    "           (JSON; see docs/formats/layout-source.md).\n"
    "decompile  prints a layout file as source (to standard output without OUTPUT);\n"
    "           compiling that source gives the same bytes again.\n"
    "compile-anim, decompile-anim\n"
    "           the same for animation files (see docs/formats/animation-source.md).\n"
    "\n"
    "Faults are reported as file:line: message; the exit status is then 1.\n";

int Compile(const std::vector<std::string>& args) {
    if (args.size() != 2) throw tools::ToolError("compile needs a source and an output");
    const tools::JsonSource source = tools::JsonSource::Load(args[0]);
    tools::WriteBytes(args[1], lytc::CompileLayout(source));
    return 0;
}

int Decompile(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        throw tools::ToolError("decompile needs an input and at most one output");
    const std::string text = lytc::DecompileLayout(tools::ReadBytes(args[0]), args[0]);
    if (args.size() == 2) {
        tools::WriteText(args[1], text);
    } else {
        std::fputs(text.c_str(), stdout);
    }
    return 0;
}

int CompileAnim(const std::vector<std::string>& args) {
    if (args.size() != 2) throw tools::ToolError("compile-anim needs a source and an output");
    const tools::JsonSource source = tools::JsonSource::Load(args[0]);
    tools::WriteBytes(args[1], lytc::CompileAnimation(source));
    return 0;
}

int DecompileAnim(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2)
        throw tools::ToolError("decompile-anim needs an input and at most one output");
    const std::string text = lytc::DecompileAnimation(tools::ReadBytes(args[0]), args[0]);
    if (args.size() == 2) {
        tools::WriteText(args[1], text);
    } else {
        std::fputs(text.c_str(), stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return tools::RunCommands("lytc", kUsage, argc, argv,
                              {{"compile", Compile},
                               {"decompile", Decompile},
                               {"compile-anim", CompileAnim},
                               {"decompile-anim", DecompileAnim}});
}
