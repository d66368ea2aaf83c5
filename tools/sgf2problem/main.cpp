// sgf2problem: compiles the SGF problem collections of one course into its problem file.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProblemCompiler.h"

namespace {

constexpr const char* kUsage =
    "usage: sgf2problem --course N [--no-lint] -o OUT.dat SECTION.sgf...\n"
    "\n"
    "Compiles SGF problem collections (one file per section, see\n"
    "docs/formats/problem-sgf.md) into the problem file of course N (1..3),\n"
    "conventionally named N-problem.dat.\n"
    "\n"
    "  --course N   course number 1..3 (sets the section limits)\n"
    "  -o FILE      the problem file to write\n"
    "  --no-lint    skip the course lints below, keep the format's limits (for\n"
    "               test fixtures that hold kinds no course section uses)\n"
    "  --help       show this text\n"
    "\n"
    "Besides the format's limits it lints each source: questions only with kinds\n"
    "that fit them, exactly the section's curriculum count of problems, no shown\n"
    "problems in course 1 and marks only on stones.\n"
    "\n"
    "Errors are printed as file:line: problem N: message; the exit status is\n"
    "1 on any error and nothing is written.\n";

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
        if ((arg == "--course" || arg == "-o") && i + 1 < argc) {
            if (arg == "-o") {
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
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string text;
        if (!ReadFile(inputs[i], text)) {
            errors.push_back(
                {inputs[i], 0, 0, std::string("cannot read: ") + std::strerror(errno)});
            continue;
        }
        sections.push_back(sgf2problem::CompileSectionText(text, inputs[i], course - 1, errors));
        if (lint) sgf2problem::LintSectionText(text, inputs[i], course - 1, errors);
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) {
            std::fprintf(stderr, "sgf2problem: %zu/%zu files compiled\n", i + 1, inputs.size());
        }
    }
    const std::vector<uint8_t> bytes =
        sgf2problem::CourseFileBytes(course - 1, std::move(sections), errors);
    for (const sgf2problem::Diagnostic& d : errors) {
        std::fprintf(stderr, "%s\n", d.Format().c_str());
    }
    if (!errors.empty()) return 1;

    // Written beside the target and renamed into place, so an interrupted run never leaves a
    // half-written file behind.
    const std::string temp = output + ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out || std::rename(temp.c_str(), output.c_str()) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "sgf2problem: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
