// Decoding sound files, and what happens without a file.

#include "SoundRecording.h"
#include "TestHome.h"
#include "core/base/Resources.h"
#include "platform/sound/SoundManager.h"
#include "platform/sound/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>

#include "TestApp.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <vector>

using namespace velmor;
using test::samplesOf;

namespace {

// Qt's audio devices need an application object.
const QCoreApplication& application = test::coreApplication();

SNDFILE* createCaf(const QString& path, int format, int rate, int channels) {
    SF_INFO info{0, rate, channels, SF_FORMAT_CAF | format, 0, 0};
    return sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
}

} // namespace

TEST(SoundDecode, ReadsRateChannelsAndSamplesAndKeepsTheLevelOfFloatFiles) {
    test::TestHome home;
    std::vector<short> pcm;
    for (int frame = 0; frame < 1234; ++frame)
        pcm.insert(pcm.end(), {short(frame * 13 - 8000), short(frame % 2 ? 32767 : -32768)});
    SNDFILE* file = createCaf(home.path() + "/pcm.caf", SF_FORMAT_PCM_16, 44100, 2);
    sf_writef_short(file, pcm.data(), 1234);
    sf_close(file);
    const auto decoded = decodeSoundFile(home.path() + "/pcm.caf");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->sampleRate, 44100);
    EXPECT_EQ(decoded->channels, 2);
    EXPECT_EQ(decoded->frames(), 1234);
    EXPECT_EQ(samplesOf(*decoded), std::vector<qint16>(pcm.begin(), pcm.end()));

    // Half scale stays half scale: not truncated to ±1, not normalised to the peak.
    const float floats[] = {0.5f, -0.25f, 0.0f, -1.0f, 1.5f};
    file = createCaf(home.path() + "/float.caf", SF_FORMAT_FLOAT, 48000, 1);
    sf_writef_float(file, floats, 5);
    sf_close(file);
    const auto decodedFloat = decodeSoundFile(home.path() + "/float.caf");
    ASSERT_TRUE(decodedFloat);
    EXPECT_EQ(samplesOf(*decodedFloat), (std::vector<qint16>{16384, -8192, 0, -32768, 32767}));
}

TEST(SoundDecode, MissingEmptyOrForeignFilesGiveNoSoundAndNoPlayer) {
    test::TestHome home;
    sf_close(createCaf(home.path() + "/empty.caf", SF_FORMAT_PCM_16, 48000, 1));
    test::writeFile(home.path() + "/text.caf", QByteArray("caff, but only in name ").repeated(40));
    for (const char* file : {"/absent.caf", "/empty.caf", "/text.caf", ""}) {
        EXPECT_FALSE(decodeSoundFile(home.path() + file)) << file;
        EXPECT_FALSE(SoundPlayer::open(home.path() + file, 0.5)) << file;
    }

    // The manager then has no players, and playing or previewing does nothing.
    QDir(home.path()).mkpath("resources/sounds");
    test::writeFile(home.path() + "/resources/sounds/stone.caf", QByteArray(4096, '\x7f'));
    setResourcesDir(home.path() + "/resources");
    SoundManager manager([] { return nullptr; });
    for (VelmorSound sound : {VelmorSound::singingBowl, VelmorSound::stone}) {
        manager.prepare(sound, 0.7);
        manager.preview(sound);
        manager.playArrival();
        manager.playDeparture();
        EXPECT_FALSE(manager.arrivalPlayer());
        EXPECT_FALSE(manager.departurePlayer());
    }
    setResourcesDir(QString());
}
