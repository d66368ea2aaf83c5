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
    "Judges every problem of the SGF problem collections (docs/formats/problem-sgf.md)\n"
    "the way the program will, with the goal its question sets: liberties, territory and\n"
    "double atari by exact count, reading by GNU Go (Debian package gnugo, run as\n"
    "\"gnugo --mode gtp\"). For sequence problems every legal move at every choice along\n"
    "the correct lines is tried: a move that reaches the goal but is not listed, and a\n"
    "listed move that does not, are findings. Problems no reader can judge are listed as\n"
    "needing a person.\n"
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
    probcheck::Verdicts verdicts;
    for (const std::string& file : files) {
        // GNU Go takes a while per problem: a progress line per collection after a second.
        std::unique_ptr<tools::Progress> progress;
        auto onProblem = [&](size_t done, size_t total) {
            if (!progress) progress = std::make_unique<tools::Progress>("probcheck", file, total);
            progress->Update(done);
        };
        const size_t before = verdicts.findings.size();
        probcheck::VerifyCollection(tools::ReadText(file), file, engine, verdicts, onProblem);
        for (size_t i = before; i < verdicts.findings.size(); ++i)
            std::fprintf(stderr, "%s\n", verdicts.findings[i].Format().c_str());
    }
    // Listed, so that a problem no reader can judge is never mistaken for a passed one.
    for (const auto& u : verdicts.needsPerson)
        std::printf("needs a person: %s\n", u.Format().c_str());
    std::string perKind;
    for (const auto& [kind, n] : verdicts.judged)
        perKind += (perKind.empty() ? "" : ", ") + kind + " " + std::to_string(n);
    const size_t findings = verdicts.findings.size();
    std::printf(
        "probcheck: %d problem%s looked at; judged: %s; %zu need%s a person; %zu finding%s\n",
        verdicts.problems, verdicts.problems == 1 ? "" : "s",
        perKind.empty() ? "none" : perKind.c_str(), verdicts.needsPerson.size(),
        verdicts.needsPerson.size() == 1 ? "s" : "", findings, findings == 1 ? "" : "s");
    return findings == 0 ? 0 : 1;
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
