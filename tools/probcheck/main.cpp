// probcheck: checks the problems of SGF problem collections with GNU Go over GTP.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "probcheck/GtpEngine.h"
#include "probcheck/ProblemVerify.h"

namespace {

const char kUsage[] =
    "usage: probcheck [--gnugo PATH] FILE.sgf...\n"
    "\n"
    "Plays every problem of the SGF problem collections (docs/formats/problem-sgf.md)\n"
    "against GNU Go (Debian package gnugo, run as \"gnugo --mode gtp\"): setup stones and\n"
    "every move must be legal; where a problem has a goal (marked stones to capture or to\n"
    "save, or the captions \"capture\" and \"live\"), every correct line must reach it\n"
    "against GNU Go's best defence and no wrong try may.\n"
    "\n"
    "--gnugo PATH  the GNU Go program (default: gnugo on PATH, else /usr/games/gnugo).\n"
    "\n"
    "Each suspicious problem is printed as file:line: problem N: message on standard\n"
    "error; the exit status is then 1. A summary line goes to standard output. This is\n"
    "an authoring aid, not a build step.\n";

int Run(const std::vector<std::string>& args) {
    std::string gnugo;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--gnugo") {
            if (i + 1 == args.size()) throw tools::ToolError("--gnugo needs a path");
            gnugo = args[++i];
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty()) throw tools::ToolError("no SGF file given");
    if (gnugo.empty()) gnugo = probcheck::FindGnuGo();
    if (gnugo.empty()) throw tools::ToolError("GNU Go is not installed (Debian package gnugo)");
    probcheck::GtpEngine engine({gnugo, "--mode", "gtp", "--quiet", "--level", "10"});
    int problems = 0;
    size_t suspicious = 0;
    std::vector<probcheck::Suspicion> unchecked;
    for (const std::string& file : files) {
        // GNU Go takes a while per problem: a progress line per collection after a second.
        std::unique_ptr<tools::Progress> progress;
        auto onProblem = [&](size_t done, size_t total) {
            if (!progress) progress = std::make_unique<tools::Progress>("probcheck", file, total);
            progress->Update(done);
        };
        for (const auto& s : probcheck::VerifyCollection(tools::ReadText(file), file, engine,
                                                         problems, &unchecked, onProblem)) {
            std::fprintf(stderr, "%s\n", s.Format().c_str());
            ++suspicious;
        }
    }
    // Listed, so that a problem the engine cannot judge is never mistaken for a passed one.
    for (const auto& u : unchecked) std::printf("unchecked: %s\n", u.Format().c_str());
    std::printf("probcheck: %d problem%s looked at, %zu unchecked, %zu finding%s\n", problems,
                problems == 1 ? "" : "s", unchecked.size(), suspicious, suspicious == 1 ? "" : "s");
    return suspicious == 0 ? 0 : 1;
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
    return tools::RunTool("probcheck", [&] { return Run(args); });
}
