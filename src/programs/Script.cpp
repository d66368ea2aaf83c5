#include "programs/Script.h"

#include <charconv>
#include <sstream>

namespace headless {
namespace {

bool ToInt(const std::string& word, int& value) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end;
}

struct Syntax {
    const char* word;
    ScriptCommand::Kind kind;
    // Argument shapes: "ms", "xy", "dxy" (delta x y), "code", "name", "pane", "yn", "".
    const char* args;
};

constexpr Syntax kSyntax[] = {
    {"wait", ScriptCommand::Kind::Wait, "ms"},
    {"click", ScriptCommand::Kind::Click, "xy"},
    {"press", ScriptCommand::Kind::Press, "xy"},
    {"release", ScriptCommand::Kind::Release, "xy"},
    {"move", ScriptCommand::Kind::Move, "xy"},
    {"rclick", ScriptCommand::Kind::RightClick, "xy"},
    {"dclick", ScriptCommand::Kind::DoubleClick, "xy"},
    {"wheel", ScriptCommand::Kind::Wheel, "dxy"},
    {"key", ScriptCommand::Kind::Key, "code"},
    {"shot", ScriptCommand::Kind::Shot, "name"},
    {"answer", ScriptCommand::Kind::Answer, "yn"},
    {"close", ScriptCommand::Kind::Close, "yn"},
    {"quit", ScriptCommand::Kind::Quit, ""},
    {"tap", ScriptCommand::Kind::Tap, "pane"},
    {"where", ScriptCommand::Kind::Where, "pane"},
};

bool ParseLine(const std::vector<std::string>& words, ScriptCommand& cmd, std::string& why) {
    const Syntax* syntax = nullptr;
    for (const Syntax& s : kSyntax)
        if (words[0] == s.word) syntax = &s;
    if (syntax == nullptr) {
        why = "unknown command '" + words[0] + "'";
        return false;
    }
    cmd.kind = syntax->kind;
    const std::string shape = syntax->args;
    const size_t wanted =
        shape == "ms" || shape == "code" || shape == "name" || shape == "pane" || shape == "yn" ? 1
        : shape == "xy"                                                                         ? 2
        : shape == "dxy"                                                                        ? 3
                                                                                                : 0;
    if (words.size() - 1 != wanted) {
        why = "'" + words[0] + "' takes " + std::to_string(wanted) + " argument(s)";
        return false;
    }
    auto number = [&](size_t i, int& v, const char* what) {
        if (ToInt(words[i], v)) return true;
        why = std::string("malformed ") + what + " '" + words[i] + "'";
        return false;
    };
    if (shape == "ms") {
        if (!number(1, cmd.value, "milliseconds")) return false;
        if (cmd.value < 0) return why = "negative wait", false;
    } else if (shape == "code") {
        if (!number(1, cmd.value, "key code")) return false;
    } else if (shape == "xy") {
        if (!number(1, cmd.x, "x") || !number(2, cmd.y, "y")) return false;
    } else if (shape == "dxy") {
        if (!number(1, cmd.value, "delta") || !number(2, cmd.x, "x") || !number(3, cmd.y, "y"))
            return false;
    } else if (shape == "name") {
        cmd.name = words[1];
        if (cmd.name.find('/') != std::string::npos) return why = "shot names are plain", false;
    } else if (shape == "pane") {
        // Pane names are at most 16 printable characters in a layout.
        cmd.name = words[1];
        if (cmd.name.size() > 16) return why = "pane names have at most 16 characters", false;
    } else if (shape == "yn") {
        if (words[1] != "yes" && words[1] != "no") return why = "expected yes or no", false;
        cmd.yes = words[1] == "yes";
    }
    if ((shape == "xy" || shape == "dxy") &&
        (cmd.x < 0 || cmd.x >= 1024 || cmd.y < 0 || cmd.y >= 768)) {
        why = "position outside the 1024 x 768 screen";
        return false;
    }
    return true;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string w; words >> w;) parts.push_back(w);
        if (parts.empty()) continue;
        ScriptCommand cmd;
        cmd.line = number;
        std::string why;
        if (!ParseLine(parts, cmd, why)) {
            error = std::to_string(number) + ": " + why;
            return false;
        }
        out.push_back(std::move(cmd));
    }
    return true;
}

}  // namespace headless
