// Checks the sounds soundsynth renders at build time: format, length, level, clean edges and
// the softer departure variants.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSoundsDir = VELMOR_SOUNDS_DIR;

struct SoundSpec {
    std::string name;
    double minSeconds;
    double maxSeconds;
};

const std::vector<SoundSpec> kSounds{
    {"singing-bowl", 6.0, 10.0}, {"meditation-bell", 4.0, 6.0}, {"wooden-block", 0.1, 1.0},
    {"stone", 0.1, 1.0},         {"wind-pines", 6.0, 8.0},
};

struct Variant {
    SoundSpec sound;
    bool soft;

    std::string fileName() const { return sound.name + (soft ? "-soft" : "") + ".caf"; }
};

std::vector<Variant> allVariants() {
    std::vector<Variant> out;
    for (const SoundSpec& s : kSounds) {
        out.push_back({s, false});
        out.push_back({s, true});
    }
    return out;
}

std::string testName(std::string name) {
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

struct Audio {
    SF_INFO info{};
    std::vector<double> samples;

    double seconds() const { return static_cast<double>(samples.size()) / info.samplerate; }
};

Audio load(const fs::path& path) {
    Audio audio;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &audio.info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path << ": " << sf_strerror(nullptr);
        return audio;
    }
    audio.samples.resize(static_cast<std::size_t>(audio.info.frames * audio.info.channels));
    const sf_count_t got = sf_read_double(file, audio.samples.data(), audio.info.frames);
    sf_close(file);
    EXPECT_EQ(got, audio.info.frames) << path;
    return audio;
}

double peakOf(const std::vector<double>& x) {
    double peak = 0.0;
    for (double v : x) {
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

double rmsOf(const std::vector<double>& x) {
    double sum = 0.0;
    for (double v : x) {
        sum += v * v;
    }
    return std::sqrt(sum / static_cast<double>(x.size()));
}

// Seconds until an RMS envelope first reaches half its maximum. The window scales with the
// sound, so noise in the long wind averages out while short knocks keep ms resolution.
double attackSeconds(const Audio& a) {
    const std::size_t window =
        std::max(static_cast<std::size_t>(a.info.samplerate) / 1000, a.samples.size() / 100);
    std::vector<double> env(a.samples.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < a.samples.size(); ++i) {
        sum += a.samples[i] * a.samples[i];
        if (i >= window) {
            sum -= a.samples[i - window] * a.samples[i - window];
        }
        env[i] = std::sqrt(std::max(sum, 0.0) / static_cast<double>(window));
    }
    const double half = 0.5 * peakOf(env);
    const auto it = std::find_if(env.begin(), env.end(), [half](double v) { return v >= half; });
    return static_cast<double>(std::distance(env.begin(), it)) / a.info.samplerate;
}

class SoundFile : public testing::TestWithParam<Variant> {};

TEST_P(SoundFile, IsMonoCafAt48kHzWithDesignedLength) {
    const Variant& v = GetParam();
    const Audio a = load(kSoundsDir / v.fileName());
    ASSERT_FALSE(a.samples.empty());
    EXPECT_EQ(a.info.samplerate, 48000);
    EXPECT_EQ(a.info.channels, 1);
    EXPECT_EQ(a.info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_CAF);
    const int subtype = a.info.format & SF_FORMAT_SUBMASK;
    EXPECT_TRUE(subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24) << subtype;
    EXPECT_GE(a.seconds(), v.sound.minSeconds);
    EXPECT_LE(a.seconds(), v.sound.maxSeconds);
}

TEST_P(SoundFile, HasSafeLevelAndSilentEdges) {
    const Variant& v = GetParam();
    const Audio a = load(kSoundsDir / v.fileName());
    ASSERT_FALSE(a.samples.empty());
    const double peak = peakOf(a.samples);
    const double rms = rmsOf(a.samples);
    EXPECT_LE(peak, 0.99);
    EXPECT_GE(peak, v.soft ? 0.2 : 0.5);
    EXPECT_GE(rms, 0.005);
    EXPECT_LE(rms, 0.3);
    // A crest factor near 1 means a clipped or square-like wave; a huge one, a lone spike.
    EXPECT_GE(peak / rms, 2.0);
    EXPECT_LE(peak / rms, 40.0);
    EXPECT_LT(std::abs(a.samples.front()), 1e-3);
    EXPECT_LT(std::abs(a.samples.back()), 1e-3);
    // A DC offset thumps when playback starts or stops.
    double sum = 0.0;
    for (double x : a.samples) {
        sum += x;
    }
    EXPECT_LT(std::abs(sum / static_cast<double>(a.samples.size())), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(AllSounds, SoundFile, testing::ValuesIn(allVariants()),
                         [](const testing::TestParamInfo<Variant>& param) {
                             return testName(param.param.sound.name +
                                             (param.param.soft ? "_soft" : ""));
                         });

class SoftVariant : public testing::TestWithParam<SoundSpec> {};

TEST_P(SoftVariant, IsAboutHalfAsLoudAndRisesMoreSlowly) {
    const SoundSpec& s = GetParam();
    const Audio arrival = load(kSoundsDir / (s.name + ".caf"));
    const Audio soft = load(kSoundsDir / (s.name + "-soft.caf"));
    ASSERT_FALSE(arrival.samples.empty());
    ASSERT_FALSE(soft.samples.empty());

    const double ratio = peakOf(soft.samples) / peakOf(arrival.samples);
    EXPECT_GT(ratio, 0.4);
    EXPECT_LT(ratio, 0.6);

    const double arrivalAttack = attackSeconds(arrival);
    const double softAttack = attackSeconds(soft);
    EXPECT_GT(softAttack, 1.5 * arrivalAttack)
        << "arrival " << arrivalAttack << " s, soft " << softAttack << " s";
    EXPECT_GE(softAttack, 0.01);
}

INSTANTIATE_TEST_SUITE_P(AllSounds, SoftVariant, testing::ValuesIn(kSounds),
                         [](const testing::TestParamInfo<SoundSpec>& param) {
                             return testName(param.param.name);
                         });

} // namespace
