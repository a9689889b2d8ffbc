// Soundtrack synthesis. Each section is a whole number of bars (its tempo is
// stretched a few percent to fit), so every section change falls on a
// downbeat exactly at a scene change. Instruments render note by note into
// a dry bus, a reverb send and an echo bus; the mix is normalised to a fixed
// peak below full scale. Everything is computed from fixed data and a fixed
// noise generator, so the output is the same on every run.
#include "content/music.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "content/rng.h"

namespace content {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// White noise in -1..1 from the generator's fixed sequence.
class Noise {
public:
    explicit Noise(uint32_t seed) : rng_(seed ? seed : 1u) {}
    float next() { return static_cast<float>(rng_.next() >> 8) / 8388608.0f - 1.0f; }

private:
    Rng rng_;
};

// Saw with polyBLEP edges (little aliasing).
float polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return static_cast<float>(t + t - t * t - 1.0);
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return static_cast<float>(t * t + t + t + 1.0);
    }
    return 0.0f;
}

struct Saw {
    double phase = 0;
    float next(double hz) {
        const double dt = hz / kSampleRate;
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
        return static_cast<float>(2.0 * phase - 1.0) - polyBlep(phase, dt);
    }
};

// Zero-delay state-variable low-pass.
struct LowPass {
    float ic1 = 0, ic2 = 0;
    float g = 0.1f, k = 1.4f;
    void set(double hz, float resonanceK) {
        g = static_cast<float>(std::tan(std::numbers::pi * std::min(hz, kSampleRate * 0.45) / kSampleRate));
        k = resonanceK;
    }
    float process(float v0) {
        const float a1 = 1.0f / (1.0f + g * (g + k));
        const float a2 = g * a1;
        const float a3 = g * a2;
        const float v3 = v0 - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        return v2;
    }
};

struct Buses {
    size_t n;
    std::vector<float> dryL, dryR, revL, revR, echoL, echoR;
    explicit Buses(size_t samples)
        : n(samples), dryL(n), dryR(n), revL(n), revR(n), echoL(n), echoR(n) {}
    // Adds a stereo sample at `at` to the dry, reverb-send or echo bus.
    void dry(size_t at, float l, float r) {
        dryL[at] += l;
        dryR[at] += r;
    }
    void reverb(size_t at, float l, float r) {
        revL[at] += l;
        revR[at] += r;
    }
    void echo(size_t at, float l, float r) {
        echoL[at] += l;
        echoR[at] += r;
    }
};

size_t sampleAt(double seconds) { return static_cast<size_t>(std::llround(seconds * kSampleRate)); }

// Calls voice(at, i, t) for the `len` samples of a sound starting at sample
// s0, cut off at the end of the buses: `at` is the bus index, i and t (in
// seconds) count from the sound's start.
template <typename Voice>
void eachSample(const Buses& b, size_t s0, size_t len, Voice voice) {
    for (size_t i = 0; i < len && s0 + i < b.n; ++i) voice(s0 + i, i, static_cast<double>(i) / kSampleRate);
}

// Equal-power pan gains for pan in -1..1.
std::array<float, 2> panGains(float pan) {
    const double a = (pan + 1.0) * 0.25 * std::numbers::pi;
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

// ---- Instruments ------------------------------------------------------------------

void kick(Buses& b, double t0, float gain) {
    double phase = 0;
    Noise noise(0xC1C1);
    eachSample(b, sampleAt(t0), sampleAt(0.45), [&](size_t at, size_t, double t) {
        const double hz = 46.0 + 120.0 * std::exp(-t * 32.0);
        phase += hz / kSampleRate;
        const float body = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-t * 6.5));
        const float click = noise.next() * static_cast<float>(std::exp(-t * 400.0)) * 0.25f;
        const float v = (body + click) * gain;
        b.dry(at, v, v);
    });
}

void snare(Buses& b, double t0, float gain, uint32_t seed) {
    Noise noise(seed);
    float lp = 0;
    double phase = 0;
    eachSample(b, sampleAt(t0), sampleAt(0.3), [&](size_t at, size_t, double t) {
        phase += 190.0 / kSampleRate;
        const float n = noise.next();
        lp += 0.35f * (n - lp);
        const float hiss = (n - lp * 0.6f) * static_cast<float>(std::exp(-t * 15.0));
        const float tone = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-t * 28.0)) * 0.6f;
        const float v = (hiss * 0.7f + tone) * gain;
        b.dry(at, v * 0.95f, v);
        b.reverb(at, v * 0.25f, v * 0.25f);
    });
}

void hat(Buses& b, double t0, float gain, bool open, uint32_t seed) {
    const double decay = open ? 10.0 : 55.0;
    Noise noise(seed);
    float lp = 0;
    const auto pan = panGains(0.25f);
    eachSample(b, sampleAt(t0), sampleAt(open ? 0.5 : 0.12), [&](size_t at, size_t, double t) {
        const float n = noise.next();
        lp += 0.6f * (n - lp);
        const float v = (n - lp) * static_cast<float>(std::exp(-t * decay)) * gain;
        b.dry(at, v * pan[0], v * pan[1]);
    });
}

void crash(Buses& b, double t0, float gain, uint32_t seed) {
    Noise nl(seed), nr(seed + 77);
    float lpl = 0, lpr = 0;
    eachSample(b, sampleAt(t0), sampleAt(2.5), [&](size_t at, size_t, double t) {
        const float env = static_cast<float>(std::exp(-t * 1.6) * (1.0 - std::exp(-t * 400.0))) * gain;
        const float a = nl.next(), c = nr.next();
        lpl += 0.5f * (a - lpl);
        lpr += 0.5f * (c - lpr);
        b.dry(at, (a - lpl) * env, (c - lpr) * env);
        b.reverb(at, (a - lpl) * env * 0.3f, (c - lpr) * env * 0.3f);
    });
}

// A pad voice: two detuned saws per side through a slowly moving low-pass.
void padNote(Buses& b, double t0, double dur, double note, float gain, float cutoff, uint32_t seed) {
    const double attack = 0.6, release = 1.2;
    const size_t s0 = sampleAt(t0);
    const size_t len = sampleAt(dur + release);
    const size_t held = sampleAt(dur);
    const double hz = midiHz(note);
    const double detune[2][2] = {{-0.11, 0.05}, {-0.05, 0.11}};  // semitones
    Noise seedNoise(seed);
    for (int side = 0; side < 2; ++side) {
        Saw saws[2];
        for (Saw& s : saws) s.phase = (seedNoise.next() + 1.0) * 0.5;
        const double hz0 = hz * std::pow(2.0, detune[side][0] / 12.0);
        const double hz1 = hz * std::pow(2.0, detune[side][1] / 12.0);
        LowPass lp;
        std::vector<float>& dry = side == 0 ? b.dryL : b.dryR;
        std::vector<float>& rev = side == 0 ? b.revL : b.revR;
        eachSample(b, s0, len, [&](size_t at, size_t i, double t) {
            if (i % 32 == 0) {
                const double songTime = static_cast<double>(at) / kSampleRate;
                lp.set(cutoff * (1.0 + 0.35 * std::sin(songTime * 0.7 + side)), 1.2f);
            }
            double env = std::min(1.0, t / attack);
            if (i >= held) env *= std::exp(-(t - dur) * 4.0 / release);
            const float v = lp.process(saws[0].next(hz0) + saws[1].next(hz1)) * static_cast<float>(env) * gain;
            dry[at] += v;
            rev[at] += v * 0.5f;
        });
    }
}

// A bass note: saw and sub sine through a low-pass that closes quickly.
void bassNote(Buses& b, double t0, double dur, double note, float gain, float bright) {
    const size_t held = sampleAt(dur);
    const double hz = midiHz(note);
    Saw saw;
    double sub = 0;
    LowPass lp;
    eachSample(b, sampleAt(t0), sampleAt(dur + 0.08), [&](size_t at, size_t i, double t) {
        if (i % 16 == 0) lp.set(180.0 + bright * 1400.0 * std::exp(-t * 9.0), 0.9f);
        sub += hz / kSampleRate;
        double env = std::min(1.0, t / 0.004) * (0.75 + 0.25 * std::exp(-t * 6.0));
        if (i >= held) env *= std::exp(-(t - dur) * 60.0);
        const float v = (lp.process(saw.next(hz)) * 0.8f + static_cast<float>(std::sin(kTwoPi * sub)) * 0.6f) *
                        static_cast<float>(env) * gain;
        b.dry(at, v, v);
    });
}

// An arpeggio pluck, sent to the echo bus.
void pluck(Buses& b, double t0, double note, float gain, float pan) {
    const double hz = midiHz(note);
    Saw a, c;
    c.phase = 0.37;
    LowPass lp;
    const auto g = panGains(pan);
    eachSample(b, sampleAt(t0), sampleAt(0.35), [&](size_t at, size_t i, double t) {
        if (i % 16 == 0) lp.set(600.0 + 3200.0 * std::exp(-t * 18.0), 1.0f);
        const float env = static_cast<float>(std::min(1.0, t / 0.002) * std::exp(-t * 11.0)) * gain;
        const float v = lp.process(a.next(hz) * 0.6f + c.next(hz * 1.004) * 0.4f) * env;
        b.dry(at, v * g[0], v * g[1]);
        b.echo(at, v * g[0] * 0.6f, v * g[1] * 0.6f);
    });
}

// The lead: saw and square with a delayed vibrato.
void leadNote(Buses& b, double t0, double dur, double note, float gain) {
    const double release = 0.25;
    const size_t held = sampleAt(dur);
    const double hz = midiHz(note);
    Saw s1, s2, s3;
    s2.phase = 0.5;
    s3.phase = 0.21;
    LowPass lp;
    lp.set(2600.0, 1.1f);
    eachSample(b, sampleAt(t0), sampleAt(dur + release), [&](size_t at, size_t i, double t) {
        const double vib = 1.0 + 0.004 * std::min(1.0, std::max(0.0, (t - 0.18) * 3.0)) * std::sin(kTwoPi * 5.2 * t);
        const double f = hz * vib;
        const float square = s1.next(f) - s2.next(f);
        const float saw = s3.next(f * 1.003);
        double env = std::min(1.0, t / 0.015) * (0.8 + 0.2 * std::exp(-t * 5.0));
        if (i >= held) env *= std::exp(-(t - dur) * 5.0 / release);
        const float v = lp.process(square * 0.45f + saw * 0.4f) * static_cast<float>(env) * gain;
        b.dry(at, v * 0.9f, v);
        b.reverb(at, v * 0.45f, v * 0.45f);
        b.echo(at, v * 0.2f, v * 0.2f);
    });
}

// ---- Effects -----------------------------------------------------------------------

struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
    explicit Comb(size_t len) : buf(len) {}
    float process(float in, float feedback, float damp) {
        const float out = buf[pos];
        store = out * (1 - damp) + store * damp;
        buf[pos] = in + store * feedback;
        if (++pos == buf.size()) pos = 0;
        return out;
    }
};

struct AllPass {
    std::vector<float> buf;
    size_t pos = 0;
    explicit AllPass(size_t len) : buf(len) {}
    float process(float in) {
        const float bufOut = buf[pos];
        const float out = -in + bufOut;
        buf[pos] = in + bufOut * 0.5f;
        if (++pos == buf.size()) pos = 0;
        return out;
    }
};

void reverb(const std::vector<float>& in, std::vector<float>& out, size_t spread, float wet) {
    const size_t combLens[] = {1116, 1188, 1277, 1356, 1422, 1491};
    const size_t apLens[] = {556, 441, 341};
    std::vector<Comb> combs;
    for (size_t l : combLens) combs.emplace_back(l + spread);
    std::vector<AllPass> aps;
    for (size_t l : apLens) aps.emplace_back(l + spread);
    for (size_t i = 0; i < in.size(); ++i) {
        const float x = in[i] * 0.12f;
        float s = 0;
        for (Comb& c : combs) s += c.process(x, 0.84f, 0.3f);
        for (AllPass& a : aps) s = a.process(s);
        out[i] += s * wet;
    }
}

// Ping-pong echo: left feeds right and back.
void pingPong(const std::vector<float>& inL, const std::vector<float>& inR, std::vector<float>& outL,
              std::vector<float>& outR, size_t delay, float feedback) {
    std::vector<float> dl(delay), dr(delay);
    size_t pos = 0;
    for (size_t i = 0; i < inL.size(); ++i) {
        const float l = dl[pos], r = dr[pos];
        outL[i] += l;
        outR[i] += r;
        dl[pos] = inR[i] + r * feedback;
        dr[pos] = inL[i] + l * feedback;
        if (++pos == delay) pos = 0;
    }
}

// ---- Arrangement -------------------------------------------------------------------

struct Chord {
    std::array<int, 3> notes;  // pad voicing (MIDI)
    int bass;                  // bass root (MIDI)
    int scaleRoot;             // degree of A minor the chord stands on
};

const Chord kChords[] = {
    {{57, 60, 64}, 45, 0},  // A minor
    {{57, 60, 65}, 41, 5},  // F
    {{55, 60, 64}, 48, 2},  // C
    {{55, 59, 62}, 43, 6},  // G
    {{55, 59, 64}, 40, 4},  // E minor
    {{57, 62, 65}, 38, 3},  // D minor
};

// A-minor scale steps.
int scaleNote(int base, int degree) {
    static const int steps[7] = {0, 2, 3, 5, 7, 8, 10};
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int d = degree - octave * 7;
    return base + 12 * octave + steps[d];
}

struct MotifNote {
    int step;    // 16th within the bar
    int length;  // 16ths
    int degree;  // scale steps above the chord's root
};
using Motif = std::vector<MotifNote>;

const Motif kMotifs[] = {
    {{0, 4, 4}, {4, 2, 2}, {6, 2, 0}, {8, 6, 2}, {14, 2, 4}},
    {{0, 3, 0}, {3, 3, 2}, {6, 2, 4}, {8, 4, 7}, {12, 4, 4}},
    {{0, 8, 2}, {8, 4, 4}, {12, 4, 1}},
    {{0, 12, 4}, {12, 4, 2}},
    {{0, 2, 7}, {2, 2, 6}, {4, 2, 4}, {6, 2, 2}, {8, 4, 4}, {12, 2, 2}, {14, 2, 0}},
};

struct Section {
    double start, end;
    int bars;
    std::array<int, 4> progression;
    float pad, bass, arp, lead, drums;
    const char* kickPattern;
    const char* snarePattern;
    const char* hatPattern;   // 'x' closed, 'o' open
    const char* bassPattern;  // 'x' root, 'o' octave up, 'f' fifth
    int motifA, motifB;       // -1: no lead
    int leadBase;             // MIDI note of the lead's A
    int drumsFromBar, leadFromBar, arpFromBar, bassFromBar;
};

const Section kSections[] = {
    // Title: pads, then the arpeggio, a heartbeat kick at the end.
    {0.0, 20.5, 10, {0, 1, 2, 3}, 1.0f, 0.7f, 0.5f, 0.0f, 0.6f,
     "x...............", "................", "................", "x.......x.......", -1, -1, 69, 8, 99, 4, 6},
    // Garden and first credits.
    {20.5, 46.3, 13, {0, 1, 2, 3}, 0.85f, 0.9f, 0.45f, 0.7f, 0.85f,
     "x...x...x...x...", "....x.......x...", "..x...x...x...x.", "x.x.x.x.x.x.x.x.", 0, 2, 69, 0, 5, 0, 0},
    // Tunnel flight.
    {46.3, 76.3, 15, {1, 3, 4, 0}, 0.7f, 1.0f, 0.5f, 0.95f, 1.0f,
     "x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.xo", "x.xox.xox.xox.xo", 1, 4, 69, 0, 2, 0, 0},
    // Sparks round the light.
    {76.3, 102.8, 13, {0, 1, 2, 3}, 0.7f, 1.0f, 0.4f, 0.9f, 1.0f,
     "x.....x...x.....", "....x.......x..x", "xxxxxxxxxxxxxxxx", "x..x..x.x..x..x.", 4, 0, 69, 0, 1, 0, 0},
    // Chrome and sand: half time, wide pads.
    {102.8, 131.0, 14, {5, 3, 2, 0}, 1.15f, 0.8f, 0.65f, 0.6f, 0.75f,
     "x.........x.....", "........x.......", "..x...x...x...x.", "x.......x...f...", 3, 2, 69, 0, 4, 0, 0},
    // Magnets and vortex: darker, driving sixteenths.
    {131.0, 157.5, 13, {0, 1, 5, 4}, 0.8f, 1.05f, 0.35f, 0.8f, 1.0f,
     "x..x..x.x..x..x.", "....x.......x...", "x.x.x.x.x.x.x.xo", "xxxoxxxoxxxoxxxo", 2, 1, 57, 0, 2, 0, 0},
    // Fountain: bright and full.
    {157.5, 184.0, 13, {1, 3, 4, 0}, 0.8f, 1.0f, 0.5f, 1.0f, 1.0f,
     "x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.x.", "x.xox.xox.xox.xo", 0, 4, 81, 0, 0, 0, 0},
    // Stars: spacious, building towards the end.
    {184.0, 217.8, 17, {5, 3, 2, 0}, 1.0f, 0.85f, 0.75f, 0.75f, 0.8f,
     "x.......x.......", "............x...", "..x...x...x...x.", "x.......x.......", 3, 0, 69, 8, 4, 0, 2},
    // Ending: three bars, then a held A minor chord that fades.
    {217.8, 231.0, 6, {0, 1, 2, 0}, 1.0f, 0.8f, 0.55f, 0.7f, 0.6f,
     "x...x...x...x...", "................", "..x...x...x...x.", "x...x...x...x...", 3, 2, 69, 0, 0, 0, 0},
};

void renderSection(Buses& b, const Section& s, size_t index, bool nextHasDrums) {
    const double bar = (s.end - s.start) / s.bars;
    const double step = bar / 16.0;
    const bool ending = index + 1 == std::size(kSections);
    const int playedBars = ending ? 3 : s.bars;
    if (index > 0) crash(b, s.start, 0.22f * s.drums, 900u + static_cast<uint32_t>(index));
    uint32_t seed = 1000u * static_cast<uint32_t>(index + 1);
    for (int barIndex = 0; barIndex < playedBars; ++barIndex) {
        const double t = s.start + barIndex * bar;
        const Chord& chord = kChords[s.progression[static_cast<size_t>(barIndex % 4)]];
        for (int note : chord.notes) padNote(b, t, bar, note, 0.05f * s.pad, 1100.0f, ++seed);
        padNote(b, t, bar, chord.bass + 12, 0.035f * s.pad, 700.0f, ++seed);
        const bool lastBar = barIndex == s.bars - 1;
        for (int k = 0; k < 16; ++k) {
            const double ts = t + k * step;
            if (barIndex >= s.drumsFromBar) {
                if (s.kickPattern[k] == 'x') kick(b, ts, 0.62f * s.drums);
                if (s.snarePattern[k] == 'x') snare(b, ts, 0.34f * s.drums, ++seed);
                if (s.hatPattern[k] == 'x') hat(b, ts, (k % 4 == 2 ? 0.11f : 0.07f) * s.drums, false, ++seed);
                if (s.hatPattern[k] == 'o') hat(b, ts, 0.08f * s.drums, true, ++seed);
            }
            if (lastBar && nextHasDrums && k >= 8)
                snare(b, ts, (0.08f + 0.025f * (k - 8)) * std::max(s.drums, 0.6f), ++seed);
            if (barIndex >= s.bassFromBar && s.bassPattern[k] != '.') {
                int note = chord.bass;
                if (s.bassPattern[k] == 'o') note += 12;
                if (s.bassPattern[k] == 'f') note += 7;
                int len = 1;
                while (k + len < 16 && s.bassPattern[k + len] == '.' && len < 4) ++len;
                bassNote(b, ts, step * len * 0.9, note, 0.24f * s.bass, index == 5 ? 0.6f : 1.0f);
            }
            if (barIndex >= s.arpFromBar && s.arp > 0) {
                const int order[4] = {0, 1, 2, 1};
                const int note = chord.notes[static_cast<size_t>(order[k % 4])] + 12 + (k >= 8 ? 12 : 0) * (barIndex % 2);
                pluck(b, ts, note, 0.075f * s.arp, k % 2 ? 0.45f : -0.45f);
            }
        }
        if (s.motifA >= 0 && barIndex >= s.leadFromBar) {
            const Motif& m = kMotifs[(barIndex % 2 == 0) ? s.motifA : s.motifB];
            for (const MotifNote& n : m) {
                const int note = scaleNote(s.leadBase, chord.scaleRoot + n.degree);
                leadNote(b, t + n.step * step, n.length * step * 0.92, note, 0.085f * s.lead);
            }
        }
    }
    if (ending) {
        // The final chord, held to the end.
        const double t = s.start + playedBars * bar;
        const double hold = s.end - t - 1.2;
        for (int note : {57, 60, 64, 69}) padNote(b, t, hold, note, 0.06f, 1300.0f, ++seed);
        padNote(b, t, hold, 45, 0.05f, 600.0f, ++seed);
        bassNote(b, t, 1.5, 33, 0.2f, 0.5f);
        kick(b, t, 0.5f);
        crash(b, t, 0.18f, 1999u);
        leadNote(b, t, 3.0, 76, 0.06f);
    }
}

}  // namespace

const std::vector<double>& sectionBoundaries() {
    static const std::vector<double> b = [] {
        std::vector<double> v;
        for (const Section& s : kSections) v.push_back(s.start);
        v.push_back(kSections[std::size(kSections) - 1].end);
        return v;
    }();
    return b;
}

StereoAudio renderSoundtrack() {
    const size_t n = sampleAt(kSoundtrackSeconds);
    Buses b(n);
    for (size_t i = 0; i < std::size(kSections); ++i) {
        const bool nextHasDrums = i + 1 < std::size(kSections) && kSections[i + 1].drumsFromBar == 0;
        renderSection(b, kSections[i], i, nextHasDrums);
    }
    StereoAudio out;
    out.left = b.dryL;
    out.right = b.dryR;
    reverb(b.revL, out.left, 0, 0.9f);
    reverb(b.revR, out.right, 23, 0.9f);
    pingPong(b.echoL, b.echoR, out.left, out.right, sampleAt(0.375), 0.4f);

    // Fade in over the first half second and out over the last three.
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double g = std::min(1.0, t / 0.5);
        if (t > kSoundtrackSeconds - 3.0) g *= std::max(0.0, (kSoundtrackSeconds - t) / 3.0);
        out.left[i] *= static_cast<float>(g);
        out.right[i] *= static_cast<float>(g);
    }
    float peak = 0;
    for (size_t i = 0; i < n; ++i) peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
    const float gain = peak > 0 ? 0.89f / peak : 1.0f;  // about -1 dB below full scale
    for (size_t i = 0; i < n; ++i) {
        out.left[i] *= gain;
        out.right[i] *= gain;
    }
    return out;
}

}  // namespace content
