// Synthesises the title music as a 16-bit stereo PCM WAV: music_synth out.wav
//
// A gentle 16-bar piece in D with a raised third and a lowered second: a plucked lute carries the
// tune, a reed flute answers in the middle, a plucked drone and a hand drum hold it together. The
// piece is written on a circle: every note that rings past the end of bar 16 is folded back onto
// bar 1, and the reverb runs over two turns of the circle and keeps the second, so the file loops
// without a seam. Everything is computed from fixed seeds: the same source gives the same file.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int RATE = 44100;
constexpr double PI = 3.14159265358979323846;
constexpr int BEAT = RATE * 60 / 90; // 90 beats a minute: 29400 samples
constexpr int EIGHTH = BEAT / 2;
constexpr int BARS = 16;
constexpr int LOOP = BARS * 4 * BEAT; // 1881600 samples, 42.7 s

// Small deterministic noise source (xorshift), so the file does not depend on the library.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    double Next() { // -1 .. 1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

// A stereo loop: every write wraps around its length.
struct Loop {
    std::vector<double> left = std::vector<double>(LOOP, 0.0);
    std::vector<double> right = std::vector<double>(LOOP, 0.0);

    void Add(long position, double value, double pan) {
        const auto i = static_cast<size_t>(((position % LOOP) + LOOP) % LOOP);
        // Constant-power pan, -1 left .. 1 right.
        const double angle = (pan + 1.0) * PI / 4.0;
        left[i] += value * std::cos(angle);
        right[i] += value * std::sin(angle);
    }
};

double MidiToHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// 1 over most of a sound, falling smoothly to 0 over its last quarter, so that no sound stops
// with a step.
double TailFade(long n, long length) {
    const long start = length - length / 4;
    if (n <= start)
        return 1.0;
    const double x = static_cast<double>(n - start) / (length - start);
    return 0.5 + 0.5 * std::cos(PI * std::min(1.0, x));
}

// Plucked string (Karplus-Strong): a noise burst circulating in a tuned, slightly lossy delay line.
struct PluckTone {
    double brightness = 0.5; // 0 dull .. 1 bright excitation
    double sustain = 0.996;  // loss per pass through the line
    double body = 0.35;      // pick position: how much of the hollow, nasal colour
};

void Pluck(Loop& out, long start, int note, double seconds, double amp, double pan,
           const PluckTone& tone, Noise& noise) {
    const double freq = MidiToHz(note);
    const double period = RATE / freq - 0.5; // the averaging filter adds half a sample
    const int size = static_cast<int>(period) + 4;
    std::vector<double> line(static_cast<size_t>(size), 0.0);
    // Excitation: lowpassed noise, then a comb for the pick position.
    double smooth = 0.0;
    const double pickAlpha = 0.15 + 0.8 * tone.brightness;
    for (int i = 0; i < size; ++i) {
        smooth += pickAlpha * (noise.Next() - smooth);
        line[static_cast<size_t>(i)] = smooth;
    }
    const int pick = std::max(1, static_cast<int>(period * tone.body * 0.5));
    for (int i = size - 1; i >= pick; --i)
        line[static_cast<size_t>(i)] -= 0.7 * line[static_cast<size_t>(i - pick)];

    const long length = static_cast<long>(seconds * RATE);
    const long release = RATE / 8;
    int write = 0;
    double previous = 0.0;
    double dc = 0.0;
    for (long n = 0; n < length + release; ++n) {
        // Fractional read 'period' samples back.
        const double back = write - period;
        const double wrapped = back < 0 ? back + size : back;
        const int i0 = static_cast<int>(wrapped);
        const double frac = wrapped - i0;
        const double a = line[static_cast<size_t>(i0 % size)];
        const double b = line[static_cast<size_t>((i0 + 1) % size)];
        const double delayed = a + (b - a) * frac;
        const double value = tone.sustain * 0.5 * (delayed + previous);
        previous = delayed;
        line[static_cast<size_t>(write)] = value;
        write = (write + 1) % size;
        // Remove any offset, then the release ramp.
        dc += 0.001 * (value - dc);
        double env = 1.0;
        if (n < 160) // a 3.6 ms rise takes the edge off the pick's noise burst
            env = n / 160.0;
        if (n > length)
            env = 1.0 - static_cast<double>(n - length) / release;
        out.Add(start + n, (value - dc) * amp * env, pan);
    }
}

// Reed flute: a few harmonics, breath noise, a slow attack and a vibrato that grows.
void Flute(Loop& out, long start, int note, double seconds, double amp, double pan, Noise& noise) {
    const double freq = MidiToHz(note);
    const long length = static_cast<long>(seconds * RATE);
    const long attack = RATE * 9 / 100;
    const long release = RATE / 5;
    double phase = 0.0;
    // Two-pole resonator on the breath noise, tuned to the second harmonic.
    const double r = 0.985;
    const double w = 2.0 * PI * std::min(freq * 2.0, 6000.0) / RATE;
    const double c1 = 2.0 * r * std::cos(w);
    const double c2 = -r * r;
    double y1 = 0.0, y2 = 0.0;
    for (long n = 0; n < length + release; ++n) {
        const double t = static_cast<double>(n) / RATE;
        const double depth = std::min(1.0, std::max(0.0, (t - 0.25) / 0.6)) * 0.006;
        const double vibrato = 1.0 + depth * std::sin(2.0 * PI * 5.2 * t);
        phase += 2.0 * PI * freq * vibrato / RATE;
        double env;
        if (n < attack)
            env = static_cast<double>(n) / attack;
        else if (n < length)
            env = 1.0 - 0.15 * static_cast<double>(n - attack) / std::max(1L, length - attack);
        else
            env = 0.85 * (1.0 - static_cast<double>(n - length) / release);
        const double y = noise.Next() * (1.0 - r) * 4.0 + c1 * y1 + c2 * y2;
        y2 = y1;
        y1 = y;
        const double tone = std::sin(phase) + 0.28 * std::sin(2.0 * phase) +
                            0.1 * std::sin(3.0 * phase) + 0.04 * std::sin(4.0 * phase);
        const double breath = y * (n < attack ? 0.5 : 0.22);
        out.Add(start + n, (tone + breath) * amp * env * env, pan);
    }
}

// Low drum stroke: a thump whose pitch falls, with a soft skin noise.
void Doum(Loop& out, long start, double amp, Noise& noise) {
    const long length = RATE * 12 / 10;
    double phase = 0.0;
    double smooth = 0.0;
    for (long n = 0; n < length; ++n) {
        const double t = static_cast<double>(n) / RATE;
        const double freq = 62.0 + 70.0 * std::exp(-t / 0.035);
        phase += 2.0 * PI * freq / RATE;
        smooth += 0.08 * (noise.Next() - smooth);
        const double v = std::sin(phase) * std::exp(-t / 0.28) + smooth * std::exp(-t / 0.012);
        out.Add(start + n, v * amp * std::min(1.0, n / 40.0) * TailFade(n, length), -0.05);
    }
}

// Rim stroke: a short ringing tap, bright noise through a resonator.
void Tek(Loop& out, long start, double amp, double pan, Noise& noise) {
    const long length = RATE / 7;
    const double r = 0.94;
    const double w = 2.0 * PI * 3100.0 / RATE;
    const double c1 = 2.0 * r * std::cos(w);
    const double c2 = -r * r;
    double y1 = 0.0, y2 = 0.0;
    double phase = 0.0;
    for (long n = 0; n < length; ++n) {
        const double t = static_cast<double>(n) / RATE;
        const double y = noise.Next() * 0.2 + c1 * y1 + c2 * y2;
        y2 = y1;
        y1 = y;
        phase += 2.0 * PI * 720.0 / RATE;
        const double v = y * 0.35 * std::exp(-t / 0.025) + std::sin(phase) * std::exp(-t / 0.03);
        out.Add(start + n, v * amp * std::min(1.0, n / 12.0) * TailFade(n, length), pan);
    }
}

// Finger cymbals: inharmonic partials with long decays.
void Zill(Loop& out, long start, double amp, double pan) {
    constexpr std::array<double, 5> ratio{1.0, 1.47, 2.09, 2.56, 3.21};
    constexpr std::array<double, 5> decay{1.9, 1.3, 0.9, 0.6, 0.4};
    constexpr std::array<double, 5> level{1.0, 0.7, 0.5, 0.35, 0.25};
    const long length = RATE * 4;
    for (long n = 0; n < length; ++n) {
        const double t = static_cast<double>(n) / RATE;
        double v = 0.0;
        for (size_t k = 0; k < ratio.size(); ++k)
            v += level[k] * std::sin(2.0 * PI * 1760.0 * ratio[k] * t) * std::exp(-t / decay[k]);
        out.Add(start + n, v * amp * std::min(1.0, n / 20.0) * TailFade(n, length), pan);
    }
}

// Notes are written in eighths from the start of the loop.
struct Note {
    int at;       // eighth
    int length;   // eighths
    int note;     // MIDI number
    double level; // 0..1
};

// Pitches of the mode: D, E flat, F sharp, G, A, B flat, C.
enum : int {
    D2 = 38,
    A2 = 45,
    C3 = 48,
    D3 = 50,
    Eb3 = 51,
    G3 = 55,
    A3 = 57,
    Bb3 = 58,
    C4 = 60,
    D4 = 62,
    Eb4 = 63,
    Fs4 = 66,
    G4 = 67,
    A4 = 69,
    Bb4 = 70,
    C5 = 72,
    D5 = 74
};

// Builds a line from (pitch, eighths) pairs starting at a bar.
std::vector<Note> Phrase(int bar, std::initializer_list<std::pair<int, int>> notes, double level) {
    std::vector<Note> out;
    int at = bar * 8;
    for (const auto& [pitch, length] : notes) {
        if (pitch > 0)
            out.push_back({at, length, pitch, level});
        at += length;
    }
    return out;
}

void Append(std::vector<Note>& to, const std::vector<Note>& from) {
    to.insert(to.end(), from.begin(), from.end());
}

std::vector<Note> LuteTune() {
    std::vector<Note> tune;
    // A: the tune rises from the home note and settles back on it.
    Append(tune, Phrase(0, {{D4, 2}, {Eb4, 1}, {Fs4, 1}, {G4, 2}, {Fs4, 1}, {Eb4, 1}}, 0.9));
    Append(tune, Phrase(1, {{Fs4, 1}, {G4, 1}, {A4, 2}, {G4, 1}, {Fs4, 1}, {Eb4, 2}}, 0.85));
    Append(tune, Phrase(2, {{D4, 3}, {Eb4, 1}, {Fs4, 2}, {A4, 2}}, 0.9));
    Append(tune, Phrase(3, {{G4, 1}, {Fs4, 1}, {Eb4, 1}, {Fs4, 1}, {D4, 4}}, 0.85));
    // A': an octave reach, answered lower down.
    Append(tune, Phrase(4, {{A4, 2}, {Bb4, 1}, {A4, 1}, {G4, 2}, {Fs4, 2}}, 0.9));
    Append(tune, Phrase(5, {{G4, 1}, {A4, 1}, {Bb4, 1}, {C5, 1}, {D5, 4}}, 0.95));
    Append(tune,
           Phrase(6, {{C5, 1}, {Bb4, 1}, {A4, 1}, {G4, 1}, {Fs4, 2}, {G4, 1}, {Fs4, 1}}, 0.85));
    Append(tune, Phrase(7, {{Eb4, 2}, {Fs4, 1}, {Eb4, 1}, {D4, 4}}, 0.85));
    // Last four bars: the lute doubles the flute an octave lower in short notes.
    Append(tune, Phrase(12, {{Bb3, 3}, {A3, 1}, {G3, 2}, {Eb3, 2}}, 0.6));
    Append(tune, Phrase(14, {{Eb3, 2}, {0, 2}, {G3, 2}, {A3, 2}}, 0.6));
    Append(tune, Phrase(15, {{Fs4, 1}, {Eb4, 1}, {D4, 6}}, 0.75));
    return tune;
}

std::vector<Note> FluteTune() {
    std::vector<Note> tune;
    Append(tune, Phrase(8, {{D5, 4}, {C5, 2}, {Bb4, 2}}, 0.8));
    Append(tune, Phrase(9, {{A4, 6}, {G4, 1}, {A4, 1}}, 0.75));
    Append(tune, Phrase(10, {{Bb4, 2}, {A4, 2}, {G4, 2}, {Fs4, 2}}, 0.75));
    Append(tune, Phrase(11, {{G4, 4}, {A4, 4}}, 0.7));
    Append(tune, Phrase(12, {{Bb4, 3}, {A4, 1}, {G4, 2}, {Eb4, 2}}, 0.7));
    Append(tune, Phrase(13, {{Fs4, 6}, {G4, 1}, {Fs4, 1}}, 0.7));
    Append(tune, Phrase(14, {{Eb4, 2}, {Fs4, 2}, {G4, 2}, {A4, 2}}, 0.65));
    Append(tune, Phrase(15, {{Fs4, 1}, {Eb4, 1}, {D4, 5}}, 0.55));
    return tune;
}

// The root of each bar's harmony.
constexpr std::array<int, BARS> ROOTS{D3,      D3, D3,  D3, D3,      G3 - 12, C3,  D3,
                                      G3 - 12, D3, Eb3, D3, G3 - 12, D3,      Eb3, D3};

void Render(Loop& out) {
    Noise noise(0x5eed1234u);
    const PluckTone lute{0.55, 0.9965, 0.3};
    const PluckTone bass{0.3, 0.998, 0.45};
    const PluckTone drone{0.2, 0.9994, 0.5};

    for (const Note& n : LuteTune())
        Pluck(out, static_cast<long>(n.at) * EIGHTH, n.note, n.length * EIGHTH / double(RATE),
              0.34 * n.level, -0.25, lute, noise);
    for (const Note& n : FluteTune())
        Flute(out, static_cast<long>(n.at) * EIGHTH, n.note, n.length * EIGHTH / double(RATE),
              0.11 * n.level, 0.3, noise);

    for (int bar = 0; bar < BARS; ++bar) {
        const long b = static_cast<long>(bar) * 4 * BEAT;
        const int root = ROOTS[static_cast<size_t>(bar)];
        // Bass: root on beat one, fifth on beat three.
        Pluck(out, b, root, 1.6, 0.3, 0.0, bass, noise);
        Pluck(out, b + 2 * BEAT, root + 7, 1.2, 0.2, 0.05, bass, noise);
        // Drone strings, one a beat: fifth, home, home, low home.
        constexpr std::array<int, 4> droneNotes{A2, D3, D3, D2};
        for (int beat = 0; beat < 4; ++beat)
            Pluck(out, b + beat * BEAT, droneNotes[static_cast<size_t>(beat)], 2.5, 0.12, 0.45,
                  drone, noise);
        // Middle bars: the lute breaks the chord into eighths under the flute.
        if (bar >= 8 && bar < 12) {
            const std::array<int, 8> arp{root + 12, root + 19, root + 24, root + 19,
                                         root + 12, root + 19, root + 24, root + 28};
            for (int e = 0; e < 8; ++e)
                Pluck(out, b + e * EIGHTH, arp[static_cast<size_t>(e)], 0.4, 0.12, -0.35, lute,
                      noise);
        }
        // Hand drum: low, high, -, high, low, -, high, - in eighths; lighter in the middle bars.
        const double drum = (bar >= 8 && bar < 12) ? 0.6 : 1.0;
        Doum(out, b, 0.42 * drum, noise);
        Tek(out, b + EIGHTH, 0.12 * drum, 0.2, noise);
        Tek(out, b + 3 * EIGHTH, 0.14 * drum, 0.2, noise);
        Doum(out, b + 4 * EIGHTH, 0.34 * drum, noise);
        Tek(out, b + 6 * EIGHTH, 0.14 * drum, 0.2, noise);
        if (bar % 4 == 3) { // a small roll into the next phrase
            Tek(out, b + 7 * EIGHTH, 0.08, 0.25, noise);
            Tek(out, b + 7 * EIGHTH + EIGHTH / 2, 0.1, 0.25, noise);
        }
        if (bar % 4 == 0) {
            Zill(out, b, 0.035, 0.5);
            Zill(out, b + EIGHTH / 2, 0.025, 0.55);
        }
    }
}

// A small room: parallel damped combs and two allpasses per side. The input is the loop played
// twice; the second turn, with the tail of the first flowing into it, is what a looping player
// hears.
class Reverb {
public:
    explicit Reverb(int spread) {
        constexpr std::array<int, 4> combs{1557, 1617, 1491, 1422};
        constexpr std::array<int, 2> allpasses{556, 441};
        for (int c : combs)
            combs_.push_back({std::vector<double>(static_cast<size_t>(c + spread), 0.0), 0, 0.0});
        for (int a : allpasses)
            allpasses_.push_back({std::vector<double>(static_cast<size_t>(a + spread), 0.0), 0});
    }
    double Process(double in) {
        double sum = 0.0;
        for (Comb& c : combs_) {
            const double out = c.line[c.pos];
            c.filter = out * 0.7 + c.filter * 0.3;
            c.line[c.pos] = in + c.filter * 0.8;
            c.pos = (c.pos + 1) % c.line.size();
            sum += out;
        }
        for (Allpass& a : allpasses_) {
            const double buffered = a.line[a.pos];
            const double out = buffered - sum;
            a.line[a.pos] = sum + buffered * 0.5;
            a.pos = (a.pos + 1) % a.line.size();
            sum = out;
        }
        return sum;
    }

private:
    struct Comb {
        std::vector<double> line;
        size_t pos;
        double filter;
    };
    struct Allpass {
        std::vector<double> line;
        size_t pos;
    };
    std::vector<Comb> combs_;
    std::vector<Allpass> allpasses_;
};

void AddRoom(Loop& music) {
    Reverb left(0), right(23);
    Loop wet;
    for (int turn = 0; turn < 2; ++turn) {
        for (size_t i = 0; i < static_cast<size_t>(LOOP); ++i) {
            const double l = left.Process(music.left[i] * 0.1);
            const double r = right.Process(music.right[i] * 0.1);
            if (turn == 1) {
                wet.left[i] = l;
                wet.right[i] = r;
            }
        }
    }
    for (size_t i = 0; i < static_cast<size_t>(LOOP); ++i) {
        music.left[i] += 0.6 * wet.left[i];
        music.right[i] += 0.6 * wet.right[i];
    }
}

// Evens out the loudest onsets (where bass, drum and tune strike together) so that the whole
// piece can sit louder: a limiter that looks 2 ms ahead and lets go over about 80 ms. Like the
// reverb it runs two turns round the loop and keeps the second.
void Limit(Loop& music) {
    const size_t n = static_cast<size_t>(LOOP);
    std::vector<double> level(n);
    double peak = 1e-9;
    for (size_t i = 0; i < n; ++i) {
        level[i] = std::max(std::fabs(music.left[i]), std::fabs(music.right[i]));
        peak = std::max(peak, level[i]);
    }
    const double threshold = 0.55 * peak;
    constexpr size_t ahead = RATE / 500;
    std::vector<double> gain(n, 1.0);
    const double release = 1.0 / (0.08 * RATE);
    double g = 1.0;
    for (int turn = 0; turn < 2; ++turn) {
        for (size_t i = 0; i < n; ++i) {
            double coming = 0.0;
            for (size_t k = 0; k < ahead; ++k)
                coming = std::max(coming, level[(i + k) % n]);
            const double target = coming > threshold ? threshold / coming : 1.0;
            g = std::min(target, g + (1.0 - g) * release * 4.0);
            gain[i] = g;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        music.left[i] *= gain[i];
        music.right[i] *= gain[i];
    }
}

void PutLE(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

bool WriteWav(const char* path, const Loop& music) {
    double peak = 1e-9;
    for (size_t i = 0; i < static_cast<size_t>(LOOP); ++i)
        peak = std::max({peak, std::fabs(music.left[i]), std::fabs(music.right[i])});
    const double gain = 0.8 / peak; // leave headroom for the encoder
    const uint32_t dataBytes = static_cast<uint32_t>(LOOP) * 4;
    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    PutLE(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    PutLE(bytes, 16, 4);
    PutLE(bytes, 1, 2); // PCM
    PutLE(bytes, 2, 2); // stereo
    PutLE(bytes, RATE, 4);
    PutLE(bytes, RATE * 4, 4);
    PutLE(bytes, 4, 2);
    PutLE(bytes, 16, 2);
    bytes += "data";
    PutLE(bytes, dataBytes, 4);
    for (size_t i = 0; i < static_cast<size_t>(LOOP); ++i) {
        for (double v : {music.left[i], music.right[i]}) {
            const long s = std::lround(std::max(-1.0, std::min(1.0, v * gain)) * 32767.0);
            PutLE(bytes, static_cast<uint32_t>(static_cast<int16_t>(s)) & 0xffffu, 2);
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: music_synth out.wav\n");
        return 2;
    }
    auto music = std::make_unique<Loop>();
    Render(*music);
    AddRoom(*music);
    Limit(*music);
    if (!WriteWav(argv[1], *music)) {
        std::fprintf(stderr, "music_synth: cannot write %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
