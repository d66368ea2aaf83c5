#include "wavsynth/Synth.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Small deterministic noise source (xorshift32), values in [-1, 1).
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    double Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return double(m_state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t m_state;
};

// ADSR level at time t (seconds) for a note released at `off`.
double Envelope(const Instrument& ins, double t, double off) {
    auto held = [&ins](double u) {
        if (u < ins.attack) return u / ins.attack;
        u -= ins.attack;
        if (u < ins.decay) return 1.0 - (1.0 - ins.sustain) * (u / ins.decay);
        return ins.sustain;
    };
    double level = t < off ? held(t) : held(off);
    if (t >= off) {
        if (ins.release <= 0) return 0;
        double r = (t - off) / ins.release;
        level = r >= 1 ? 0 : level * (1 - r);
    }
    if (ins.ring > 0) level *= std::exp(-t / ins.ring);
    return level;
}

// Raw (unenveloped) signal of one note, `frames` samples long.
std::vector<double> Voice(const Instrument& ins, const NoteEvent& note, int rate, size_t frames) {
    std::vector<double> out(frames, 0.0);
    const double f = note.frequency;
    Noise noise(note.seed);
    switch (ins.kind) {
        case Kind::Pluck: {
            // Karplus-Strong: a noise burst circulating in a delay line one period long,
            // averaged a little on every trip so the high partials die first. The averaging
            // filter delays by damping/2 samples; a first-order allpass supplies the fraction
            // of a sample that an integer line cannot, so high notes stay in tune.
            const double loopDelay = double(rate) / f - ins.damping / 2;
            size_t period = size_t(std::max(2.0, std::floor(loopDelay - 0.1)));
            const double fraction = std::max(0.1, loopDelay - double(period));
            const double c = (1 - fraction) / (1 + fraction);
            std::vector<double> line(period);
            for (auto& v : line) v = noise.Next();
            double mean = 0;
            for (double v : line) mean += v;
            mean /= double(period);
            for (auto& v : line) v -= mean;  // no DC offset to thump at the start
            const double a = 1 - ins.damping / 2, b = ins.damping / 2;
            double prevOut = 0, prevFiltered = 0, prevAllpass = 0;
            size_t pos = 0;
            for (size_t i = 0; i < frames; ++i) {
                double y = line[pos];
                out[i] = y;
                double filtered = ins.feedback * (a * y + b * prevOut);
                double z = c * filtered + prevFiltered - c * prevAllpass;
                prevOut = y;
                prevFiltered = filtered;
                prevAllpass = z;
                line[pos] = z;
                pos = pos + 1 == period ? 0 : pos + 1;
            }
            break;
        }
        case Kind::Bell: {
            // Two-operator FM; the modulation index fades so the strike is bright, the tail pure.
            for (size_t i = 0; i < frames; ++i) {
                double t = double(i) / rate;
                double index = ins.index * std::exp(-t / ins.indexDecay);
                out[i] = std::sin(kTwoPi * f * t + index * std::sin(kTwoPi * f * ins.ratio * t));
            }
            break;
        }
        case Kind::Tone: {
            double total = 0;
            for (const auto& p : ins.partials) total += p.amp;
            for (size_t i = 0; i < frames; ++i) {
                double t = double(i) / rate;
                double s = 0;
                for (const auto& p : ins.partials) {
                    if (f * p.ratio < rate / 2.0) s += p.amp * std::sin(kTwoPi * f * p.ratio * t);
                }
                out[i] = total > 0 ? s / total : 0;
            }
            break;
        }
        case Kind::Modal: {
            // Struck resonator: damped sine modes plus a short noise burst for the impact.
            double total = 0;
            for (const auto& p : ins.partials) total += p.amp;
            const size_t burst = size_t(ins.noise * rate);
            double lowpassed = 0;
            for (size_t i = 0; i < frames; ++i) {
                double t = double(i) / rate;
                double s = 0;
                for (const auto& p : ins.partials) {
                    if (f * p.ratio < rate / 2.0) {
                        s += p.amp * std::exp(-t / p.decay) * std::sin(kTwoPi * f * p.ratio * t);
                    }
                }
                if (total > 0) s /= total;
                if (i < burst) {
                    lowpassed += 0.5 * (noise.Next() - lowpassed);
                    s += ins.noiseGain * lowpassed * (1.0 - double(i) / double(burst));
                }
                out[i] = s;
            }
            break;
        }
    }
    return out;
}

}  // namespace

size_t NoteFrames(const Score& score, const NoteEvent& note) {
    const Instrument& ins = score.instruments[size_t(note.instrument)];
    double seconds = note.beats * 60.0 / score.tempo + ins.release;
    // The small margin keeps float noise (0.1 + 0.2) from adding a stray frame.
    return size_t(std::ceil(seconds * score.rate - 1e-6));
}

Pcm Render(const Score& score, const std::function<void(size_t, size_t)>& progress) {
    const double framesPerBeat = 60.0 / score.tempo * score.rate;
    const bool looping = score.loopBeats > 0;
    size_t length = 0;
    if (looping) {
        length = size_t(std::lround(score.loopBeats * framesPerBeat));
    } else if (score.lengthSeconds > 0) {
        length = size_t(std::lround(score.lengthSeconds * score.rate));
    } else {
        for (const auto& n : score.notes) {
            length = std::max(length,
                              size_t(std::lround(n.beat * framesPerBeat)) + NoteFrames(score, n));
        }
    }
    length = std::max<size_t>(length, 1);
    const int ch = score.channels;
    std::vector<double> mix(length * size_t(ch), 0.0);

    for (size_t k = 0; k < score.notes.size(); ++k) {
        const NoteEvent& note = score.notes[k];
        const Instrument& ins = score.instruments[size_t(note.instrument)];
        const size_t frames = NoteFrames(score, note);
        const size_t start = size_t(std::lround(note.beat * framesPerBeat));
        const double off = note.beats * 60.0 / score.tempo;
        std::vector<double> voice = Voice(ins, note, score.rate, frames);
        // Equal-power panning keeps a centred voice as loud as a hard-panned one.
        const double angle = (ins.pan + 1) * kTwoPi / 8;
        const double gains[2] = {std::cos(angle), std::sin(angle)};
        const double level = ins.gain * note.velocity;
        for (size_t i = 0; i < frames; ++i) {
            size_t at = start + i;
            if (looping) {
                at %= length;  // tails wrap into the start of the loop
            } else if (at >= length) {
                break;
            }
            double s = voice[i] * Envelope(ins, double(i) / score.rate, off) * level;
            if (ch == 1) {
                mix[at] += s;
            } else {
                mix[at * 2] += s * gains[0];
                mix[at * 2 + 1] += s * gains[1];
            }
        }
        if (progress) progress(k + 1, score.notes.size());
    }

    if (!looping && score.lengthSeconds > 0) {
        // A stated length may cut a sound short; fade the last 5 ms so it does not click.
        size_t fade = std::min(length, size_t(score.rate / 200));
        for (size_t i = 0; i < fade; ++i) {
            double g = double(i) / double(fade);
            for (int c = 0; c < ch; ++c) mix[(length - 1 - i) * size_t(ch) + size_t(c)] *= g;
        }
    }

    Pcm pcm;
    pcm.rate = score.rate;
    pcm.channels = ch;
    pcm.samples.resize(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) {
        double v = std::round(mix[i] * score.volume * 32767.0);
        if (v > 32767 || v < -32768) {
            ++pcm.clipped;
            v = std::clamp(v, -32768.0, 32767.0);
        }
        pcm.samples[i] = int16_t(v);
    }
    return pcm;
}

}  // namespace synth
