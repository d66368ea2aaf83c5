// datacheck: reads a built data set with the program's own readers and lists every gap.
#include <cstdio>
#include <string>
#include <vector>

#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "datacheck/DataCheck.h"

namespace {

const char kUsage[] =
    "usage: datacheck ROOT [--only ARCHIVE...]\n"
    "\n"
    "Checks the data set under ROOT/DATA (ROOT is the program's folder) the way the\n"
    "program reads it: every archive, layout, pane and pane kind, texture, font, sound,\n"
    "lesson and problem file the screens ask for, and that every archive entry decodes.\n"
    "\n"
    "--only ARCHIVE...  check only these archives (names such as F_1, COMMON, TEXT; the\n"
    "                   list ends at the next option or at --); sounds, lessons and problems\n"
    "                   are then skipped. Other names are checked as plain archives.\n"
    "\n"
    "Each gap is printed as file: message on standard error; the exit status is then 1.\n"
    "A summary line goes to standard output.\n";

int Run(const std::vector<std::string>& args) {
    datacheck::Options options;
    bool rootGiven = false, inOnly = false, onlyGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--only") {
            inOnly = onlyGiven = true;
        } else if (a == "--") {
            inOnly = false;
        } else if (a.rfind("--", 0) == 0) {
            throw tools::ToolError("unknown option " + a);
        } else if (inOnly) {
            options.only.push_back(a);
        } else if (!rootGiven) {
            options.root = a;
            rootGiven = true;
        } else {
            throw tools::ToolError("more than one ROOT given");
        }
    }
    if (!rootGiven) throw tools::ToolError("no ROOT given");
    if (onlyGiven && options.only.empty()) throw tools::ToolError("--only needs archive names");
    for (const std::string& name : options.only)
        if (name.empty() || name.find_first_of("/\\.:") != std::string::npos)
            throw tools::ToolError("\"" + name + "\" is not an archive name");

    datacheck::Totals totals;
    const auto gaps = datacheck::CheckDataSet(options, totals);
    for (const auto& gap : gaps)
        std::fprintf(stderr, "%s: %s\n", gap.file.c_str(), gap.message.c_str());
    std::printf("datacheck: %d archives, %d entries, %d files checked; %zu gap%s\n",
                totals.archives, totals.entries, totals.files, gaps.size(),
                gaps.size() == 1 ? "" : "s");
    return gaps.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (tools::WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return tools::RunTool("datacheck", [&] { return Run(args); });
}
