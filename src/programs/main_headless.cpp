// The headless program: the real program on a virtual clock, driven by an input script.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/Memory.h"
#include "programs/HeadlessDriver.h"
#include "programs/Script.h"

namespace {

const char kUsage[] =
    "usage: stonewell-headless --script FILE [--root DIR] [--shots DIR] [--trace FILE]\n"
    "                          [--max-ms N] [--memory-every N]\n"
    "Runs the program without a window on a virtual clock, feeding it the script's input.\n"
    "  --script FILE  input script (see README: headless program)\n"
    "  --root DIR     folder holding DATA/ (default: the current directory)\n"
    "  --shots DIR    where 'shot NAME' writes NAME.png (default: the current directory)\n"
    "  --trace FILE   trace output (default: standard output)\n"
    "  --max-ms N     end the run after N ms of virtual time (default 600000)\n"
    "  --memory-every N  trace 'memory RSS HEAP' (resident size, heap in use; KiB) every N ms\n"
    "                 of virtual time\n";

bool ParseMs(const std::string& option, const std::string& text, uint64_t& out) {
    char* end = nullptr;
    const unsigned long long ms = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0') {
        std::cerr << "stonewell-headless: malformed " << option << " '" << text << "'\n";
        return false;
    }
    out = ms;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    platform::TuneMemoryAllocator();
    headless::RunOptions options;
    std::string scriptPath, tracePath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "stonewell-headless: " << arg << " needs a value\n" << kUsage;
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--script")
            scriptPath = value();
        else if (arg == "--root")
            options.root = value();
        else if (arg == "--shots")
            options.shotsDir = value();
        else if (arg == "--trace")
            tracePath = value();
        else if (arg == "--max-ms") {
            if (!ParseMs(arg, value(), options.maxMs)) return 2;
        } else if (arg == "--memory-every") {
            if (!ParseMs(arg, value(), options.memoryEveryMs)) return 2;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "stonewell-headless: unknown option '" << arg << "'\n" << kUsage;
            return 2;
        }
    }
    if (scriptPath.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    std::ifstream in(scriptPath);
    if (!in) {
        std::cerr << "stonewell-headless: cannot read " << scriptPath << "\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    options.scriptName = scriptPath;
    std::vector<headless::ScriptCommand> script;
    std::string error;
    if (!headless::ParseScript(text.str(), script, error)) {
        std::cerr << scriptPath << ":" << error << "\n";
        return 2;
    }

    std::ofstream traceFile;
    if (!tracePath.empty()) {
        // Binary: the same bytes on every system, lines ending in "\n" alone.
        traceFile.open(tracePath, std::ios::trunc | std::ios::binary);
        if (!traceFile) {
            std::cerr << "stonewell-headless: cannot write " << tracePath << "\n";
            return 2;
        }
    }
    std::ostream& trace = tracePath.empty() ? std::cout : traceFile;
    return headless::RunHeadless(options, script, trace);
}
