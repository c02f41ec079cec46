// Checks the sounds soundsynth renders at build time: format, length, level, clean edges and
// the softer departure variants.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct SoundSpec {
    std::string name;
    double minSeconds;
    double maxSeconds;
};
void PrintTo(const SoundSpec& s, std::ostream* out) {
    *out << s.name;
}

struct Audio {
    SF_INFO info{};
    std::vector<double> samples;

    double seconds() const { return double(samples.size()) / info.samplerate; }
    double peak() const {
        double p = 0.0;
        for (double v : samples)
            p = std::max(p, std::abs(v));
        return p;
    }
    double rms() const {
        return std::sqrt(std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0) /
                         double(samples.size()));
    }
    // Seconds until an RMS envelope first reaches half its maximum. The window scales with the
    // sound, so noise in the long wind averages out while short knocks keep ms resolution.
    double attackSeconds() const {
        const std::size_t window =
            std::max(std::size_t(info.samplerate) / 1000, samples.size() / 100);
        std::vector<double> env(samples.size());
        double sum = 0.0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            sum += samples[i] * samples[i];
            if (i >= window)
                sum -= samples[i - window] * samples[i - window];
            env[i] = std::sqrt(std::max(sum, 0.0) / double(window));
        }
        const double half = 0.5 * *std::max_element(env.begin(), env.end());
        const auto it =
            std::find_if(env.begin(), env.end(), [half](double v) { return v >= half; });
        return double(it - env.begin()) / info.samplerate;
    }
};

Audio load(const std::string& fileName) {
    const std::string path = std::string(VELMOR_SOUNDS_DIR) + "/" + fileName;
    Audio audio;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &audio.info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path << ": " << sf_strerror(nullptr);
        return audio;
    }
    audio.samples.resize(std::size_t(audio.info.frames * audio.info.channels));
    EXPECT_EQ(sf_read_double(file, audio.samples.data(), audio.info.frames), audio.info.frames);
    sf_close(file);
    return audio;
}

void expectPlayable(const Audio& a, const SoundSpec& s, bool soft) {
    SCOPED_TRACE(soft ? "soft" : "arrival");
    ASSERT_FALSE(a.samples.empty());
    EXPECT_EQ(a.info.samplerate, 48000);
    EXPECT_EQ(a.info.channels, 1);
    EXPECT_EQ(a.info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_CAF);
    const int subtype = a.info.format & SF_FORMAT_SUBMASK;
    EXPECT_TRUE(subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24) << subtype;
    EXPECT_GE(a.seconds(), s.minSeconds);
    EXPECT_LE(a.seconds(), s.maxSeconds);

    const double peak = a.peak(), rms = a.rms();
    EXPECT_LE(peak, 0.99);
    EXPECT_GE(peak, soft ? 0.2 : 0.5);
    EXPECT_GE(rms, 0.005);
    EXPECT_LE(rms, 0.3);
    // A crest factor near 1 means a clipped or square-like wave; a huge one, a lone spike.
    EXPECT_GE(peak / rms, 2.0);
    EXPECT_LE(peak / rms, 40.0);
    EXPECT_LT(std::abs(a.samples.front()), 1e-3);
    EXPECT_LT(std::abs(a.samples.back()), 1e-3);
    // A DC offset thumps when playback starts or stops.
    const double sum = std::accumulate(a.samples.begin(), a.samples.end(), 0.0);
    EXPECT_LT(std::abs(sum / double(a.samples.size())), 1e-3);
}

class SoundFile : public testing::TestWithParam<SoundSpec> {};

TEST_P(SoundFile, BothVariantsArePlayableAndTheSoftOneHalfAsLoudAndSlower) {
    const SoundSpec& s = GetParam();
    const Audio arrival = load(s.name + ".caf");
    const Audio soft = load(s.name + "-soft.caf");
    expectPlayable(arrival, s, false);
    expectPlayable(soft, s, true);
    ASSERT_FALSE(arrival.samples.empty() || soft.samples.empty());
    const double ratio = soft.peak() / arrival.peak();
    EXPECT_GT(ratio, 0.4);
    EXPECT_LT(ratio, 0.6);
    const double arrivalAttack = arrival.attackSeconds(), softAttack = soft.attackSeconds();
    EXPECT_GT(softAttack, 1.5 * arrivalAttack)
        << "arrival " << arrivalAttack << " s, soft " << softAttack << " s";
    EXPECT_GE(softAttack, 0.01);
}

INSTANTIATE_TEST_SUITE_P(AllSounds, SoundFile,
                         testing::Values(SoundSpec{"singing-bowl", 6.0, 10.0},
                                         SoundSpec{"meditation-bell", 4.0, 6.0},
                                         SoundSpec{"wooden-block", 0.1, 1.0},
                                         SoundSpec{"stone", 0.1, 1.0},
                                         SoundSpec{"wind-pines", 6.0, 8.0}),
                         [](const testing::TestParamInfo<SoundSpec>& param) {
                             std::string name = param.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
