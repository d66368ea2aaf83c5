#include "MonkeyScript.h"

#include <random>
#include <sstream>

namespace monkey {
namespace {

class Writer {
public:
    explicit Writer(uint64_t seed) : m_random(seed) {}

    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    int X() { return Between(0, 1023); }
    int Y() { return Between(0, 767); }

    // Mostly short pauses, like a person; now and then a long one that lets timers and
    // animations run out.
    void Pause() {
        const int roll = Between(0, 99);
        Wait(roll < 70 ? Between(30, 600) : roll < 95 ? Between(600, 4000) : Between(4000, 30000));
    }
    void Wait(int ms) {
        m_out << "wait " << ms << '\n';
        m_elapsed += uint64_t(ms);
    }
    void Line(const std::string& text) { m_out << text << '\n'; }

    // One gesture: a command plus the waits it implies.
    void Gesture() {
        const int x = X(), y = Y();
        const int roll = Between(0, 99);
        if (roll < 45) {
            m_out << "click " << x << ' ' << y << '\n';
            m_elapsed += 50;
        } else if (roll < 55) {  // hold: press, keep the button down, release in place
            m_out << "press " << x << ' ' << y << '\n';
            Wait(Between(300, 3000));
            m_out << "release " << x << ' ' << y << '\n';
        } else if (roll < 65) {  // drag: press, a few moves, release elsewhere
            m_out << "press " << x << ' ' << y << '\n';
            for (int i = Between(1, 6); i > 0; --i) {
                Wait(Between(16, 120));
                m_out << "move " << X() << ' ' << Y() << '\n';
            }
            Wait(Between(16, 120));
            m_out << "release " << X() << ' ' << Y() << '\n';
        } else if (roll < 72) {
            m_out << "move " << x << ' ' << y << '\n';
        } else if (roll < 80) {
            m_out << "wheel " << (Between(0, 1) ? 120 : -120) * Between(1, 3) << ' ' << x << ' '
                  << y << '\n';
        } else if (roll < 86) {
            m_out << "rclick " << x << ' ' << y << '\n';
        } else if (roll < 91) {  // a double click: a click, then the second press at once
            m_out << "click " << x << ' ' << y << '\n';
            m_elapsed += 50;
            Wait(Between(20, 150));
            m_out << "dclick " << x << ' ' << y << '\n';
            Wait(Between(20, 80));
            m_out << "release " << x << ' ' << y << '\n';
        } else if (roll < 96) {
            m_out << "key 13\n";
            m_elapsed += 20;
        } else {
            Line("close no");
        }
    }

    uint64_t Elapsed() const { return m_elapsed; }
    std::string Text() const { return m_out.str(); }

private:
    std::mt19937_64 m_random;
    std::ostringstream m_out;
    uint64_t m_elapsed = 0;
};

}  // namespace

std::string GenerateScript(const Options& options) {
    Writer w(options.seed);
    w.Line("# monkey seed " + std::to_string(options.seed));
    w.Line("answer no");
    while (w.Elapsed() < options.virtualMs) {
        w.Gesture();
        w.Pause();
    }
    return w.Text();
}

}  // namespace monkey
