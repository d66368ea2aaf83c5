// t2gpack: packs files into a .T2G archive, lists one, or extracts one.
#include <cstdio>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "t2gpack/Extract.h"
#include "t2gpack/PackInputs.h"
#include "t2gpack/T2GArchive.h"

namespace {

const char kUsage[] =
    "usage: t2gpack create [--long] ARCHIVE INPUT...\n"
    "       t2gpack list ARCHIVE\n"
    "       t2gpack extract ARCHIVE FOLDER\n"
    "\n"
    "INPUT is one of:\n"
    "  NAME=PATH     the file PATH stored under the entry name NAME\n"
    "  FOLDER        every regular file of FOLDER, in name order, under its own name\n"
    "  FILE.pack     a manifest: one \"PATH\" or \"NAME = PATH\" per line, '#' comments\n"
    "  FILE          the file stored under its own name\n"
    "\n"
    "Names are printable ASCII, at most 51 characters, unique without regard to case.\n"
    "The short form (24-byte names) is written unless --long is given or a name is longer\n"
    "than 23 characters. Stored sizes are padded to a multiple of 4 with zero bytes.\n";

int Create(const std::vector<std::string>& args) {
    bool forceLong = false;
    std::vector<std::string> rest;
    for (const auto& a : args) {
        if (a == "--long") {
            forceLong = true;
        } else if (a.size() > 1 && a[0] == '-') {
            throw tools::ToolError("unknown option " + a);
        } else {
            rest.push_back(a);
        }
    }
    if (rest.size() < 2) throw tools::ToolError("create needs an archive and at least one input");
    std::vector<std::string> inputs(rest.begin() + 1, rest.end());
    std::vector<t2g::PackEntry> entries;
    {
        tools::Progress progress("t2gpack", "inputs", inputs.size());
        for (size_t i = 0; i < inputs.size(); ++i) {
            auto more = t2g::CollectInputs({inputs[i]});
            entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                           std::make_move_iterator(more.end()));
            progress.Update(i + 1);
        }
    }
    auto archive = t2g::BuildArchive(entries, forceLong);
    tools::WriteBytes(rest[0], archive);
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) throw tools::ToolError("list needs exactly one archive");
    auto bytes = tools::ReadBytes(args[0]);
    std::fputs(t2g::FormatListing(t2g::ReadArchive(bytes, args[0])).c_str(), stdout);
    return 0;
}

int Extract(const std::vector<std::string>& args) {
    if (args.size() != 2) throw tools::ToolError("extract needs an archive and a folder");
    auto bytes = tools::ReadBytes(args[0]);
    auto info = t2g::ReadArchive(bytes, args[0]);
    t2g::ExtractArchive(bytes, info, args[1], args[0]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return tools::RunCommands("t2gpack", kUsage, argc, argv,
                              {{"create", Create}, {"list", List}, {"extract", Extract}});
}
