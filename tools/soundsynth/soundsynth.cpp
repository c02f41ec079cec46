// Build-time synthesiser for Velmor's arrival and departure sounds.
//
// Usage: soundsynth OUTDIR
//
// Every sound is rendered from fixed parameters and fixed noise seeds, so two builds produce
// byte-identical files.

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// ln(1000): a T60 decay falls by 60 dB.
constexpr double kLn1000 = 6.907755278982137;

constexpr double kArrivalPeak = 0.7;    // about -3 dBFS
constexpr double kDeparturePeak = 0.35; // a further -6 dB

using Signal = std::vector<double>;

std::size_t samplesFor(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kRate));
}

double timeOf(std::size_t i) {
    return static_cast<double>(i) / kRate;
}

// splitmix64: the same sequence on every platform, unlike the std distributions.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state_(seed) {}

    // Uniform in [-1, 1).
    double next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
    }

private:
    std::uint64_t state_;
};

// Trapezoidal state-variable filter: stays stable and smooth while its cutoff moves per sample.
class Svf {
public:
    struct Out {
        double low;
        double band; // unity gain at the centre frequency
        double high;
    };

    Out process(double x, double cutoffHz, double q) {
        const double g = std::tan(kPi * cutoffHz / kRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = x - ic2_;
        const double v1 = a1 * ic1_ + a2 * v3;
        const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
        ic1_ = 2.0 * v1 - ic1_;
        ic2_ = 2.0 * v2 - ic2_;
        return {v2, k * v1, x - k * v1 - v2};
    }

private:
    double ic1_ = 0.0;
    double ic2_ = 0.0;
};

struct Mode {
    double freqHz;
    double amp;
    double t60;
};

// Sine phase so every mode starts from zero: the strike itself never clicks.
void addModes(Signal& out, const std::vector<Mode>& modes, double startSec = 0.0) {
    const std::size_t start = samplesFor(startSec);
    for (const Mode& m : modes) {
        const double decay = std::exp(-kLn1000 / (m.t60 * kRate));
        double env = m.amp;
        for (std::size_t i = start; i < out.size(); ++i) {
            out[i] += env * std::sin(kTwoPi * m.freqHz * timeOf(i - start));
            env *= decay;
        }
    }
}

// A band-limited, exponentially decaying noise burst: the contact noise of a strike.
void addBurst(Signal& out, Noise& noise, double startSec, double tauSec, double amp, double lowHz,
              double highHz) {
    Svf hp;
    Svf lp;
    const std::size_t start = samplesFor(startSec);
    const std::size_t len = std::min(out.size() - start, samplesFor(tauSec * 12.0));
    for (std::size_t i = 0; i < len; ++i) {
        const double x = noise.next() * amp * std::exp(-timeOf(i) / tauSec);
        out[start + i] += lp.process(hp.process(x, lowHz, 0.707).high, highHz, 0.707).low;
    }
}

// Raised-cosine rise: a gentle strike for arrivals, a slow bloom for departures.
void shapeAttack(Signal& s, double seconds) {
    const std::size_t n = std::min(s.size(), samplesFor(seconds));
    for (std::size_t i = 0; i < n; ++i) {
        s[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(n));
    }
}

// Cosine fade over the last stretch, so long ringing tails end naturally rather than abruptly.
void taperTail(Signal& s, double seconds) {
    const std::size_t n = std::min(s.size(), samplesFor(seconds));
    const std::size_t from = s.size() - n;
    for (std::size_t i = 0; i < n; ++i) {
        s[from + i] *=
            0.5 + 0.5 * std::cos(kPi * static_cast<double>(i + 1) / static_cast<double>(n));
    }
}

void lowPass(Signal& s, double cutoffHz) {
    Svf f;
    for (double& x : s) {
        x = f.process(x, cutoffHz, 0.707).low;
    }
}

void highPass(Signal& s, double cutoffHz) {
    Svf f;
    for (double& x : s) {
        x = f.process(x, cutoffHz, 0.707).high;
    }
}

// Shared finish: strip DC and rumble, guarantee silent edges, then set the level.
void finish(Signal& s, bool soft) {
    highPass(s, 40.0);
    shapeAttack(s, 0.002);
    taperTail(s, 0.04);
    s.front() = 0.0;
    s.back() = 0.0;
    double peak = 0.0;
    for (double x : s) {
        peak = std::max(peak, std::abs(x));
    }
    const double gain = (soft ? kDeparturePeak : kArrivalPeak) / peak;
    for (double& x : s) {
        x *= gain;
    }
}

// A bowl's modes are split into close doublets by its slight asymmetry; the split is the beat.
struct Doublet {
    double ratio;
    double beatHz;
    double amp;
    double t60;
};

void addDoublets(Signal& out, double f0, const std::vector<Doublet>& ds, double tilt) {
    std::vector<Mode> modes;
    double weight = 1.0;
    for (const Doublet& d : ds) {
        const double f = f0 * d.ratio;
        // Unequal halves keep the beat a sway rather than a full tremolo.
        modes.push_back({f - d.beatHz / 2.0, 0.58 * d.amp * weight, d.t60});
        modes.push_back({f + d.beatHz / 2.0, 0.42 * d.amp * weight, d.t60 * 0.93});
        weight *= tilt;
    }
    addModes(out, modes);
}

Signal singingBowl(bool soft) {
    Signal s(samplesFor(9.0), 0.0);
    // Higher modes ring shorter, so the tone darkens and warms as it fades.
    addDoublets(s, 220.0,
                {
                    {1.000, 1.1, 1.00, 11.0},
                    {2.710, 1.7, 0.40, 7.0},
                    {5.130, 2.3, 0.15, 4.0},
                    {8.240, 2.8, 0.055, 2.0},
                    {11.86, 3.0, 0.02, 1.1},
                },
                soft ? 0.65 : 1.0);
    // Leather mallet: a faint, dull thud rather than a ping.
    Noise noise(0x5EED0001);
    addBurst(s, noise, 0.0, 0.004, soft ? 0.04 : 0.12, 200.0, 1800.0);
    shapeAttack(s, soft ? 0.07 : 0.006);
    taperTail(s, 2.5);
    return s;
}

Signal meditationBell(bool soft) {
    Signal s(samplesFor(5.0), 0.0);
    const double f0 = 740.0;
    addDoublets(s, f0,
                {
                    {1.000, 0.8, 1.00, 5.5},
                    {2.320, 1.3, 0.36, 3.4},
                    {4.250, 1.9, 0.14, 1.8},
                    {6.630, 2.4, 0.045, 0.8},
                },
                soft ? 0.6 : 1.0);
    // A quiet hum an octave down gives the bright bell some body.
    addModes(s, {{f0 * 0.5, 0.10, 5.0}});
    Noise noise(0x5EED0002);
    addBurst(s, noise, 0.0, 0.0012, soft ? 0.02 : 0.08, 1500.0, 5000.0);
    shapeAttack(s, soft ? 0.035 : 0.001);
    taperTail(s, 1.5);
    return s;
}

Signal woodenBlock(bool soft) {
    Signal s(samplesFor(0.45), 0.0);
    const double tilt = soft ? 0.55 : 1.0;
    // The hollow cavity gives one strong resonance; the body adds warmth below it.
    addModes(s, {
                    {420.0, 0.28, 0.14},
                    {850.0, 1.00, 0.25},
                    {1730.0, 0.26 * tilt, 0.12},
                    {2960.0, 0.09 * tilt * tilt, 0.06},
                });
    Noise noise(0x5EED0003);
    addBurst(s, noise, 0.0, 0.002, soft ? 0.25 : 0.7, 500.0, 3500.0);
    shapeAttack(s, soft ? 0.025 : 0.0005);
    return s;
}

Signal stone(bool soft) {
    Signal s(samplesFor(0.25), 0.0);
    const double tilt = soft ? 0.55 : 1.0;
    // Dense stone rings higher and dies faster than wood.
    const std::vector<Mode> modes{
        {690.0, 0.22, 0.07},
        {1480.0, 0.70, 0.10},
        {2310.0, 1.00 * tilt, 0.08},
        {3270.0, 0.45 * tilt, 0.05},
        {4620.0, 0.15 * tilt * tilt, 0.03},
    };
    addModes(s, modes);
    Noise noise(0x5EED0004);
    addBurst(s, noise, 0.0, 0.0007, soft ? 0.3 : 1.0, 1200.0, 6000.0);
    // The loose stone rebounds once, a little later and much quieter.
    std::vector<Mode> rebound = modes;
    for (Mode& m : rebound) {
        m.amp *= 0.18;
        m.freqHz *= 1.013;
    }
    addModes(s, rebound, 0.021);
    addBurst(s, noise, 0.021, 0.0005, soft ? 0.06 : 0.2, 1200.0, 6000.0);
    shapeAttack(s, soft ? 0.03 : 0.0);
    return s;
}

Signal windInPines(bool soft) {
    const double len = 7.0;
    Signal s(samplesFor(len), 0.0);
    Noise noise(0x5EED0005);
    Svf body;
    Svf needles;
    const double rise = soft ? 3.0 : 0.8;
    const double fall = 3.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        // Overall swell: rise, a short crest, then a long settle.
        double swell = 1.0;
        if (t < rise) {
            swell = 0.5 - 0.5 * std::cos(kPi * t / rise);
        } else if (t > len - fall) {
            swell = 0.5 + 0.5 * std::cos(kPi * (t - (len - fall)) / fall);
        }
        // Incommensurate slow sines, phased for a crest near 2.5 s, a lull, then a
        // smaller second breath.
        const double gust = 0.5 + 0.22 * std::sin(kTwoPi * 0.13 * t + 5.105) +
                            0.16 * std::sin(kTwoPi * 0.29 * t + 3.927) +
                            0.10 * std::sin(kTwoPi * 0.47 * t);
        const double energy = swell * gust;
        // Stronger gusts sound higher, as moving air does.
        const double bodyHz = 260.0 + 520.0 * energy;
        const double needleHz = 1600.0 + 900.0 * energy;
        const double roar = body.process(noise.next(), bodyHz, 0.9).band;
        const double hiss = needles.process(noise.next(), needleHz, 1.4).band;
        s[i] = swell * (0.6 + 0.6 * gust) * (roar + 0.35 * energy * hiss);
    }
    // Keep the hiss soft: nothing sharp up where the ear is most sensitive to it.
    lowPass(s, 3500.0);
    return s;
}

struct Sound {
    const char* name;
    Signal (*render)(bool soft);
};

constexpr Sound kSounds[] = {
    {"singing-bowl", singingBowl}, {"meditation-bell", meditationBell},
    {"wooden-block", woodenBlock}, {"stone", stone},
    {"wind-pines", windInPines},
};

bool writeCaf(const std::filesystem::path& path, const Signal& s) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_CAF | SF_FORMAT_PCM_24;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "soundsynth: cannot write %s: %s\n", path.c_str(),
                     sf_strerror(nullptr));
        return false;
    }
    const auto frames = static_cast<sf_count_t>(s.size());
    const bool wrote = sf_write_double(file, s.data(), frames) == frames;
    const std::string writeError = wrote ? "" : sf_strerror(file);
    const int closed = sf_close(file);
    if (!wrote || closed != 0) {
        std::fprintf(stderr, "soundsynth: cannot write %s: %s\n", path.c_str(),
                     wrote ? sf_error_number(closed) : writeError.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundsynth OUTDIR\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "soundsynth: cannot create %s: %s\n", outDir.c_str(),
                     ec.message().c_str());
        return 1;
    }
    for (const Sound& sound : kSounds) {
        for (const bool soft : {false, true}) {
            Signal s = sound.render(soft);
            finish(s, soft);
            const std::string file = std::string(sound.name) + (soft ? "-soft" : "") + ".caf";
            if (!writeCaf(outDir / file, s)) {
                return 1;
            }
        }
    }
    return 0;
}
