// Runs against a real PipeWire with its session manager (WirePlumber), which screencast.sh
// starts on a runtime folder of its own. A screen cast looks to the graph like what the test
// makes here: a video source that is no device, and a stream that records it.
#include "platform/screencast/PipeWireScreenCast.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>

#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace velmor;

namespace {

// A video stream on a loop of its own: the portal's screen-cast source, or its recorder.
class VideoStream {
public:
    VideoStream(bool source, const char* name) {
        loop_ = pw_thread_loop_new(name, nullptr);
        pw_thread_loop_start(loop_);
        pw_thread_loop_lock(loop_);
        context_ = pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0);
        core_ = pw_context_connect(context_, nullptr, 0);
        pw_properties* props =
            pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY,
                              source ? "Source" : "Capture", PW_KEY_NODE_NAME, name, nullptr);
        if (source)
            pw_properties_set(props, PW_KEY_MEDIA_CLASS, "Video/Source");
        else
            pw_properties_set(props, PW_KEY_TARGET_OBJECT, "velmor-test-cast");
        stream_ = pw_stream_new(core_, name, props);
        uint8_t buffer[1024];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof(buffer));
        spa_video_info_raw info{};
        info.format = SPA_VIDEO_FORMAT_RGBx;
        info.size = SPA_RECTANGLE(64, 48);
        info.framerate = SPA_FRACTION(5, 1);
        const spa_pod* params[] = {
            spa_format_video_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
        pw_stream_connect(
            stream_, source ? PW_DIRECTION_OUTPUT : PW_DIRECTION_INPUT, PW_ID_ANY,
            pw_stream_flags(source ? PW_STREAM_FLAG_DRIVER : PW_STREAM_FLAG_AUTOCONNECT), params,
            1);
        pw_thread_loop_unlock(loop_);
    }
    ~VideoStream() {
        pw_thread_loop_lock(loop_);
        pw_stream_destroy(stream_);
        pw_core_disconnect(core_);
        pw_thread_loop_unlock(loop_);
        pw_thread_loop_stop(loop_);
        pw_context_destroy(context_);
        pw_thread_loop_destroy(loop_);
    }
    bool ok() const { return core_ && stream_; }

private:
    pw_thread_loop* loop_;
    pw_context* context_;
    pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
};

} // namespace

TEST(PipeWireScreenCast, ARecordedVideoSourceThatIsNoDeviceIsAScreenCast) {
    PipeWireScreenCast cast;
    EXPECT_TRUE(QTest::qWaitFor([&] { return cast.isActive() == false; }, 10000))
        << "no PipeWire: run through screencast.sh";

    VideoStream source(true, "velmor-test-cast");
    ASSERT_TRUE(source.ok());
    {
        VideoStream recorder(false, "velmor-test-recorder");
        ASSERT_TRUE(recorder.ok());
        EXPECT_TRUE(QTest::qWaitFor([&] { return cast.isActive() == true; }, 10000));
    }
    // The source offered but no longer recorded is no cast.
    EXPECT_TRUE(QTest::qWaitFor([&] { return cast.isActive() == false; }, 10000));

    // No PipeWire there: a known no.
    PipeWireScreenCast nowhere("velmor-no-such-remote");
    EXPECT_EQ(nowhere.isActive(), false);
}

int main(int argc, char** argv) {
    pw_init(&argc, &argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
