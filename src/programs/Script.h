#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// One input-script command, already checked.
struct ScriptCommand {
    enum class Kind {
        Wait,
        Click,
        Press,
        Release,
        Move,
        RightClick,
        DoubleClick,
        Wheel,
        Key,
        Shot,
        Answer,
        Close,
        Quit,
        // A click at the centre of a pane, found by name when it falls due.
        Tap,
        // Traces where a pane is on screen.
        Where,
    };
    Kind kind = Kind::Wait;
    int line = 0;
    // Wait: milliseconds; Wheel: delta; Key: code.
    int value = 0;
    int x = 0;
    int y = 0;
    // Shot: file stem; Tap, Where: pane name.
    std::string name;
    // Answer, Close: yes (true) or no.
    bool yes = true;
};

// Parses a script. On the first bad line returns false with "LINE: message" in `error`.
bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error);

}  // namespace headless
