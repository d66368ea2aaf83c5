#include "wavsynth/Score.h"

#include <cmath>
#include <sstream>

#include "common/ToolError.h"

namespace synth {
namespace {

// A comment runs from a '#' at the start of the line or after a space to the line's end
// ('#' inside a word is text, as in "F#4").
void StripComment(std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            line.resize(i);
            return;
        }
    }
}

// Reads a whole token as a number ("0.5", "3/2"); false on anything else.
bool ParseNumber(const std::string& text, double& out) {
    if (text.empty()) return false;
    auto slash = text.find('/');
    if (slash != std::string::npos) {
        double a = 0, b = 0;
        if (!ParseNumber(text.substr(0, slash), a) || !ParseNumber(text.substr(slash + 1), b) ||
            b == 0) {
            return false;
        }
        out = a / b;
        return true;
    }
    size_t used = 0;
    try {
        out = std::stod(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size() && std::isfinite(out);
}

class Parser {
public:
    Parser(const std::string& text, const std::string& source) : m_text(text), m_source(source) {}

    Score Run() {
        std::istringstream in(m_text);
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            StripComment(line);
            std::istringstream words(line);
            std::vector<std::string> w;
            for (std::string s; words >> s;) w.push_back(s);
            if (!w.empty()) Statement(w);
        }
        if (!m_repeats.empty()) {
            m_line = m_repeats.back().line;
            Fail("\"repeat\" is not closed by \"end\"");
        }
        if (m_score.notes.empty()) Fail("the score has no notes", 0);
        return std::move(m_score);
    }

private:
    struct Repeat {
        size_t firstNote;
        double startBeat;
        int count;
        int line;
    };

    [[noreturn]] void Fail(const std::string& message, int line = -1) const {
        throw tools::ToolError(m_source, line < 0 ? m_line : line, message);
    }

    double Number(const std::string& text, const std::string& what, double lo, double hi) const {
        double v = 0;
        if (!ParseNumber(text, v)) Fail(what + ": '" + text + "' is not a number");
        if (v < lo || v > hi) {
            std::ostringstream os;
            os << what << " must be between " << lo << " and " << hi << ", got " << text;
            Fail(os.str());
        }
        return v;
    }

    void Want(const std::vector<std::string>& w, size_t n) const {
        if (w.size() != n) Fail("\"" + w[0] + "\" takes " + std::to_string(n - 1) + " value(s)");
    }

    void Statement(const std::vector<std::string>& w) {
        const std::string& k = w[0];
        if (k == "rate") {
            Want(w, 2);
            m_score.rate = int(Number(w[1], "rate", 8000, 48000));
        } else if (k == "channels") {
            Want(w, 2);
            if (w[1] != "1" && w[1] != "2") Fail("channels must be 1 or 2");
            m_score.channels = w[1] == "1" ? 1 : 2;
        } else if (k == "tempo") {
            Want(w, 2);
            m_score.tempo = Number(w[1], "tempo", 10, 1000);
        } else if (k == "volume") {
            Want(w, 2);
            m_score.volume = Number(w[1], "volume", 0, 10);
        } else if (k == "loop") {
            Want(w, 2);
            if (m_score.lengthSeconds > 0) Fail("a score has either \"loop\" or \"length\"");
            m_score.loopBeats = Number(w[1], "loop length in beats", 0.01, 100000);
        } else if (k == "length") {
            Want(w, 2);
            if (m_score.loopBeats > 0) Fail("a score has either \"loop\" or \"length\"");
            std::string v = w[1];
            bool seconds = !v.empty() && v.back() == 's';
            if (seconds) v.pop_back();
            double n = Number(v, "length", 0.001, 100000);
            m_lengthInBeats = !seconds;
            m_lengthValue = n;
            m_score.lengthSeconds = seconds ? n : n * 60.0 / m_score.tempo;
        } else if (k == "instrument") {
            DefineInstrument(w);
        } else if (k == "part") {
            StartPart(w);
        } else if (k == "notes") {
            if (m_part < 0) Fail("\"notes\" outside a part (start one with \"part\")");
            for (size_t i = 1; i < w.size(); ++i) NoteToken(w[i]);
        } else if (k == "repeat") {
            if (m_part < 0) Fail("\"repeat\" outside a part");
            Want(w, 2);
            int n = int(Number(w[1], "repeat count", 1, 1000));
            m_repeats.push_back({m_score.notes.size(), m_beat, n, m_line});
        } else if (k == "end") {
            Want(w, 1);
            if (m_repeats.empty()) Fail("\"end\" without \"repeat\"");
            CloseRepeat();
        } else {
            Fail("unknown statement \"" + k + "\"");
        }
        // A length in beats follows later tempo changes.
        if (m_lengthInBeats) m_score.lengthSeconds = m_lengthValue * 60.0 / m_score.tempo;
    }

    std::vector<Partial> PartialList(const std::string& text, bool modes) const {
        std::vector<Partial> out;
        std::istringstream in(text);
        std::string item;
        while (std::getline(in, item, ',')) {
            std::vector<std::string> f;
            std::istringstream parts(item);
            for (std::string s; std::getline(parts, s, ':');) f.push_back(s);
            if (f.size() != (modes ? 3u : 2u)) {
                Fail(modes ? "a mode is RATIO:AMP:DECAY, got '" + item + "'"
                           : "a partial is RATIO:AMP, got '" + item + "'");
            }
            Partial p;
            p.ratio = Number(f[0], "frequency ratio", 0.01, 100);
            p.amp = Number(f[1], "amplitude", 0, 10);
            if (modes) p.decay = Number(f[2], "mode decay", 0.0001, 60);
            out.push_back(p);
        }
        if (out.empty()) Fail("empty partial list");
        return out;
    }

    void DefineInstrument(const std::vector<std::string>& w) {
        if (w.size() < 3) Fail("usage: instrument NAME KIND [param=value]...");
        Instrument ins;
        ins.name = w[1];
        for (const auto& existing : m_score.instruments) {
            if (existing.name == ins.name) Fail("instrument \"" + ins.name + "\" defined twice");
        }
        const std::string& kind = w[2];
        if (kind == "pluck") {
            ins.kind = Kind::Pluck;
            ins.attack = 0.002;
            ins.release = 0.8;
        } else if (kind == "bell") {
            ins.kind = Kind::Bell;
            ins.attack = 0.002;
            ins.release = 1.5;
            ins.ring = 1.0;
        } else if (kind == "tone") {
            ins.kind = Kind::Tone;
        } else if (kind == "modal") {
            ins.kind = Kind::Modal;
            ins.attack = 0.0005;
            ins.release = 0.05;
            ins.partials = {{1, 1, 0.03}};
        } else {
            Fail("unknown instrument kind \"" + kind + "\" (pluck, bell, tone or modal)");
        }
        for (size_t i = 3; i < w.size(); ++i) {
            auto eq = w[i].find('=');
            if (eq == std::string::npos) Fail("expected param=value, got '" + w[i] + "'");
            std::string key = w[i].substr(0, eq), val = w[i].substr(eq + 1);
            if (key == "gain")
                ins.gain = Number(val, key, 0, 10);
            else if (key == "pan")
                ins.pan = Number(val, key, -1, 1);
            else if (key == "attack")
                ins.attack = Number(val, key, 0, 60);
            else if (key == "decay")
                ins.decay = Number(val, key, 0, 60);
            else if (key == "sustain")
                ins.sustain = Number(val, key, 0, 1);
            else if (key == "release")
                ins.release = Number(val, key, 0, 60);
            else if (key == "ring")
                ins.ring = Number(val, key, 0, 60);
            else if (key == "feedback" && ins.kind == Kind::Pluck)
                ins.feedback = Number(val, key, 0.5, 1);
            else if (key == "damping" && ins.kind == Kind::Pluck)
                ins.damping = Number(val, key, 0, 1);
            else if (key == "ratio" && ins.kind == Kind::Bell)
                ins.ratio = Number(val, key, 0.01, 100);
            else if (key == "index" && ins.kind == Kind::Bell)
                ins.index = Number(val, key, 0, 100);
            else if (key == "index_decay" && ins.kind == Kind::Bell)
                ins.indexDecay = Number(val, key, 0.001, 60);
            else if (key == "partials" && ins.kind == Kind::Tone)
                ins.partials = PartialList(val, false);
            else if (key == "modes" && ins.kind == Kind::Modal)
                ins.partials = PartialList(val, true);
            else if (key == "noise" && ins.kind == Kind::Modal)
                ins.noise = Number(val, key, 0, 1);
            else if (key == "noise_gain" && ins.kind == Kind::Modal)
                ins.noiseGain = Number(val, key, 0, 10);
            else
                Fail("instrument kind \"" + kind + "\" has no parameter \"" + key + "\"");
        }
        m_score.instruments.push_back(std::move(ins));
    }

    void StartPart(const std::vector<std::string>& w) {
        if (w.size() < 2) Fail("usage: part INSTRUMENT [at=BEAT] [vel=V] [transpose=N]");
        if (!m_repeats.empty()) Fail("\"repeat\" is not closed by \"end\"", m_repeats.back().line);
        m_part = -1;
        for (size_t i = 0; i < m_score.instruments.size(); ++i) {
            if (m_score.instruments[i].name == w[1]) m_part = int(i);
        }
        if (m_part < 0) Fail("unknown instrument \"" + w[1] + "\"");
        ++m_partCount;
        m_beat = 0;
        m_velocity = 1;
        m_transpose = 0;
        m_lastBeats = 1;
        for (size_t i = 2; i < w.size(); ++i) {
            auto eq = w[i].find('=');
            std::string key = w[i].substr(0, eq),
                        val = eq == std::string::npos ? "" : w[i].substr(eq + 1);
            if (key == "at")
                m_beat = Number(val, "at", 0, 100000);
            else if (key == "vel")
                m_velocity = Number(val, "vel", 0, 10);
            else if (key == "transpose")
                m_transpose = Number(val, "transpose", -48, 48);
            else
                Fail("unknown part option \"" + w[i] + "\"");
        }
    }

    void NoteToken(const std::string& token) {
        std::string body = token;
        double velocity = 1;
        if (auto at = body.find('@'); at != std::string::npos) {
            velocity = Number(body.substr(at + 1), "velocity", 0, 10);
            body.resize(at);
        }
        double beats = m_lastBeats;
        if (auto colon = body.find(':'); colon != std::string::npos) {
            beats = Number(body.substr(colon + 1), "duration in beats", 0.001, 10000);
            body.resize(colon);
        }
        m_lastBeats = beats;
        if (body == "r") {
            m_beat += beats;
            return;
        }
        std::istringstream chord(body);
        std::string pitch;
        bool any = false;
        while (std::getline(chord, pitch, '+')) {
            double f = 0;
            if (!ParsePitch(pitch, f))
                Fail("'" + pitch + "' is not a pitch (like C4, F#3, Bb2, m60 or 440hz)");
            NoteEvent n;
            n.beat = m_beat;
            n.beats = beats;
            n.frequency = f * std::pow(2.0, m_transpose / 12.0);
            n.velocity = velocity * m_velocity;
            n.instrument = m_part;
            n.seed =
                uint32_t(m_score.notes.size() * 2654435761u + uint32_t(m_partCount) * 40503u + 1u);
            m_score.notes.push_back(n);
            any = true;
        }
        if (!any) Fail("empty note '" + token + "'");
        m_beat += beats;
    }

    void CloseRepeat() {
        Repeat r = m_repeats.back();
        m_repeats.pop_back();
        const double span = m_beat - r.startBeat;
        const size_t last = m_score.notes.size();
        for (int k = 1; k < r.count; ++k) {
            for (size_t i = r.firstNote; i < last; ++i) {
                NoteEvent n = m_score.notes[i];
                n.beat += span * k;
                n.seed = n.seed * 747796405u + uint32_t(k) * 2891336453u;
                m_score.notes.push_back(n);
            }
        }
        m_beat += span * (r.count - 1);
    }

    const std::string& m_text;
    const std::string& m_source;
    Score m_score;
    int m_line = 0;
    int m_part = -1;
    int m_partCount = 0;
    double m_beat = 0;
    double m_velocity = 1;
    double m_transpose = 0;
    double m_lastBeats = 1;
    bool m_lengthInBeats = false;
    double m_lengthValue = 0;
    std::vector<Repeat> m_repeats;
};

}  // namespace

bool ParsePitch(const std::string& text, double& frequency) {
    if (text.size() > 2 && text.compare(text.size() - 2, 2, "hz") == 0) {
        double f = 0;
        if (!ParseNumber(text.substr(0, text.size() - 2), f) || f < 1 || f > 20000) return false;
        frequency = f;
        return true;
    }
    double midi = 0;
    if (text.size() > 1 && text[0] == 'm') {
        if (!ParseNumber(text.substr(1), midi) || midi < 0 || midi > 127) return false;
    } else {
        static const int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
        if (text.empty() || text[0] < 'A' || text[0] > 'G') return false;
        int semitone = kSemitone[text[0] - 'A'];
        size_t i = 1;
        if (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
            semitone += text[i] == '#' ? 1 : -1;
            ++i;
        }
        std::string octaveText = text.substr(i);
        if (octaveText.empty() || octaveText.size() > 2 || octaveText == "-") return false;
        for (size_t k = 0; k < octaveText.size(); ++k) {
            if (!(std::isdigit(static_cast<unsigned char>(octaveText[k])) ||
                  (k == 0 && octaveText[k] == '-'))) {
                return false;
            }
        }
        int octave = std::stoi(octaveText);
        if (octave < -1 || octave > 9) return false;
        midi = (octave + 1) * 12 + semitone;
    }
    frequency = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    return true;
}

Score ParseScore(const std::string& text, const std::string& sourceName) {
    return Parser(text, sourceName).Run();
}

}  // namespace synth
