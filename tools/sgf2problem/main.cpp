// sgf2problem: compiles the SGF problem collections of one course into its problem file.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ProblemCompiler.h"
#include "RepeatLint.h"

namespace {

constexpr const char* kUsage =
    "usage: sgf2problem --course N [--no-lint] [--lint-warn RULE]... -o OUT.dat\n"
    "                   [--comments COMMENTS.dat] SECTION.sgf...\n"
    "\n"
    "Compiles SGF problem collections (one file per section, see\n"
    "docs/formats/problem-sgf.md) into the problem file of course N (1..3),\n"
    "conventionally named N-problem.dat, and optionally its explanation file\n"
    "(hints and comments, docs/formats/problem-comment.md), N-comment.dat.\n"
    "\n"
    "  --course N   course number 1..3 (sets the section limits)\n"
    "  -o FILE      the problem file to write\n"
    "  --comments FILE\n"
    "               also write the explanation file\n"
    "  --no-lint    skip the course lints below, keep the format's limits (for\n"
    "               test fixtures that hold kinds no course section uses)\n"
    "  --lint-warn RULE\n"
    "               report that lint rule's findings as warnings that do not\n"
    "               fail (rule: explain)\n"
    "  --help       show this text\n"
    "\n"
    "Besides the format's limits it lints each source: questions only with kinds\n"
    "that fit them, exactly the section's curriculum count of problems, no shown\n"
    "problems in course 1, marks only on stones and (rule explain) a hint in\n"
    "every problem, a comment on every correct line and wrong try, CR and CW on\n"
    "every ox, number and texts problem. Across the files of course 1, a problem\n"
    "of a review section (chapter 6) must not repeat the opening position of\n"
    "any other problem, turned, mirrored, moved or in swapped colours.\n"
    "\n"
    "Errors are printed as file:line: problem N: message; the exit status is\n"
    "1 on any error and nothing is written.\n";

// Writes beside the target and renames into place, so an interrupted run never leaves a
// half-written file behind.
bool WriteAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "sgf2problem: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    int course = 0;
    bool lint = true;
    std::string output;
    std::string comments;
    std::set<std::string> warnOnly;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--no-lint") {
            lint = false;
            continue;
        }
        if ((arg == "--course" || arg == "-o" || arg == "--comments" || arg == "--lint-warn") &&
            i + 1 < argc) {
            if (arg == "--comments") {
                comments = argv[++i];
            } else if (arg == "--lint-warn") {
                warnOnly.insert(argv[++i]);
            } else if (arg == "-o") {
                output = argv[++i];
            } else {
                const std::string v = argv[++i];
                course = (v == "1" || v == "2" || v == "3") ? v[0] - '0' : -1;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "sgf2problem: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        } else {
            inputs.push_back(arg);
        }
    }
    if (course < 1 || output.empty() || inputs.empty()) {
        std::fprintf(stderr, "sgf2problem: need --course 1..3, -o and at least one file\n%s",
                     kUsage);
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    std::vector<sgf2problem::ProblemPosition> positions;
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string text;
        if (!ReadFile(inputs[i], text)) {
            errors.push_back(
                {inputs[i], 0, 0, std::string("cannot read: ") + std::strerror(errno)});
            continue;
        }
        sections.push_back(sgf2problem::CompileSectionText(text, inputs[i], course - 1, errors));
        if (lint) {
            sgf2problem::LintSectionText(text, inputs[i], course - 1, errors);
            try {
                const auto found =
                    sgf2problem::SectionPositions(sgf::ParseCollection(text), inputs[i]);
                positions.insert(positions.end(), found.begin(), found.end());
            } catch (const sgf::SyntaxError&) {
                // Reported by the compiler.
            }
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
            std::fprintf(stderr, "sgf2problem: %zu/%zu files compiled\n", i + 1, inputs.size());
        }
    }
    if (lint) sgf2problem::LintRepeatedPositions(positions, course - 1, errors);
    const std::vector<uint8_t> bytes = sgf2problem::CourseFileBytes(course - 1, sections, errors);
    bool failed = false;
    for (const sgf2problem::Diagnostic& d : errors) {
        const bool warning = !d.rule.empty() && warnOnly.contains(d.rule);
        std::fprintf(stderr, "%s%s\n", warning ? "warning: " : "", d.Format().c_str());
        failed = failed || !warning;
    }
    if (failed) return 1;
    if (!comments.empty() && !WriteAtomically(comments, sgf2problem::CommentFileBytes(
                                                            course - 1, std::move(sections)))) {
        return 1;
    }
    return WriteAtomically(output, bytes) ? 0 : 1;
}
