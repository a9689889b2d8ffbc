// Capture: the stepped clock, the real program writing a video with ffmpeg
// and a folder of PNG frames, every rate sampling the one show stepped 60
// times a second (the 60-fps frames among those of 120 and 30 frames a
// second, byte for byte), and exact seek (a part started anywhere holds the
// frames of a capture from 0, byte for byte, at 2 and at 120 frames a second).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "capture/frame_sink.h"
#include "capture/offline_run.h"
#include "shell/show_clock.h"
#include "support/scratch_folder.h"
#include "tools/png_read.h"

namespace fs = std::filesystem;

namespace {

std::string run(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) output.append(buf, n);
    int rc = pclose(pipe);
    status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

std::string program() {
    return std::string("'") + ORBELUNE_PROGRAM + "' --data '" + fs::path(ORBELUNE_DATA_DIR).parent_path().string() + "'";
}

// Each frame's clock is computed from its number, never accumulated (where
// the first frame lies is held by the exact-seek comparison below).
TEST(Capture, SteppedClockFollowsTheFrameNumber) {
    for (double startSeconds : {0.0, 46.3, 157.5}) {
        for (int fps : {24, 30, 60}) {
            CommandLine options;
            options.startSeconds = startSeconds;
            options.fps = fps;
            const OfflineSpan span = offlineSpan(options);
            ShowClock clock(fps);
            clock.start(static_cast<float>(startSeconds * 10.0));
            for (int64_t n = 1; n <= 2000; ++n) {
                clock.update();
                ASSERT_EQ(clock.now(), span.frameClock(n)) << "frame " << n << " at " << fps << " fps";
            }
        }
    }
}

TEST(Capture, VideoHasTheFramesAndTheSoundtrack) {
    const fs::path video = fs::temp_directory_path() / "orbelune-capture-test.mp4";
    fs::remove(video);
    int status = 0;
    std::string output = run(program() + " --capture '" + video.string() + "' --mode 160x120 --start 20 --end 22", status);
    ASSERT_EQ(status, 0) << output;
    std::string probe = run("ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames -of csv=p=0 '" +
                                video.string() + "'",
                            status);
    ASSERT_EQ(status, 0) << probe;
    EXPECT_NE(probe.find("video,120"), std::string::npos) << probe;
    EXPECT_NE(probe.find("audio"), std::string::npos) << probe;
    fs::remove(video);
}

// The video sink queues frames for its writer thread: they must reach the
// encoder whole and in order, and an encoder that stops reading must turn
// into a failed write, not a hang.
TEST(Capture, VideoSinkKeepsFrameOrderAndReportsADeadEncoder) {
    const ScratchFolder scratch("orbelune-capture-sink-");
    const int side = 32, frames = 12;
    CaptureTarget target;
    target.path = (scratch.root() / "order.mkv").string();
    target.width = target.height = side;
    target.fps = 10;
    std::string error;
    std::unique_ptr<FrameSink> sink = openFrameSink(target, error);
    ASSERT_TRUE(sink) << error;
    std::vector<uint8_t> frame(size_t(side) * side * 3);
    for (int i = 0; i < frames; ++i) {
        std::fill(frame.begin(), frame.end(), static_cast<uint8_t>(20 * i));
        ASSERT_TRUE(sink->writeFrame(frame.data())) << sink->error();
    }
    ASSERT_TRUE(sink->finish()) << sink->error();
    int status = 0;
    const std::string raw = (scratch.root() / "order.gray").string();
    const std::string output = run("ffmpeg -v error -i '" + target.path + "' -f rawvideo -pix_fmt gray '" + raw + "'", status);
    ASSERT_EQ(status, 0) << output;
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t plane = size_t(side) * side;
    ASSERT_EQ(bytes.size(), plane * frames);
    for (size_t i = 0; i < size_t(frames); ++i)
        EXPECT_NEAR(static_cast<uint8_t>(bytes[i * plane + plane / 2]), 20.0 * double(i), 8.0) << "frame " << i;

    // ffmpeg cannot create a file in a folder that does not exist: it exits,
    // the pipe breaks, and a later write (or the finish) says so.
    target.path = (scratch.root() / "missing" / "dead.mp4").string();
    sink = openFrameSink(target, error);
    ASSERT_TRUE(sink) << error;
    bool failed = false;
    for (int i = 0; i < 400 && !failed; ++i) failed = !sink->writeFrame(frame.data());
    failed = !sink->finish() || failed;
    EXPECT_TRUE(failed);
    EXPECT_FALSE(sink->error().empty());
}

TEST(Capture, ClearMessagesWhenItCannotWrite) {
    int status = 0;
    // ffmpeg not on the PATH.
    std::string output = run("PATH=/nonexistent " + program() + " --capture /tmp/orbelune-none.mp4 --end 0.1", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("cannot start ffmpeg"), std::string::npos) << output;
    // Neither a folder nor a video name.
    output = run(program() + " --capture /tmp/orbelune-none.avi --end 0.1", status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("existing folder or a .mp4, .mkv or .webm file"), std::string::npos) << output;
}

// Exact seek: a capture that starts inside a section, or just after a
// section boundary, writes byte for byte the frames that one capture of the
// whole show from 0 holds at the same times (particles, counters, flashes,
// title and credits, lights and all).
TEST(Capture, StartAnywhereGivesTheFramesOfACaptureFromZero) {
    const ScratchFolder scratch("orbelune-capture-seek-");
    const fs::path whole = scratch.root() / "whole";
    fs::create_directories(whole);
    const std::string common = " --mode 96x72 --fps 2";
    int status = 0;
    std::string output = run(program() + " --capture '" + whole.string() + "'" + common, status);
    ASSERT_EQ(status, 0) << output;
    const std::string starts[] = {
        // inside each section
        "16", "37", "61", "93", "121", "150", "179", "205", "226",
        // the first frame at 2 frames a second after each boundary
        "20.5", "46.5", "76.5", "103", "131", "157.5", "184", "218",
    };
    int compared = 0;
    for (const std::string& start : starts) {
        SCOPED_TRACE("--start " + start);
        const fs::path part = scratch.root() / ("from" + start);
        fs::create_directories(part);
        const double end = std::stod(start) + 1.0;  // two frames
        output = run(program() + " --capture '" + part.string() + "'" + common + " --start " + start + " --end " +
                         std::to_string(end),
                     status);
        ASSERT_EQ(status, 0) << output;
        const auto first = static_cast<int>(std::lround(std::stod(start) * 2.0));
        for (int i = 0; i < 2; ++i) {
            char a[32], b[32];
            std::snprintf(a, sizeof a, "frame_%06d.png", i);
            std::snprintf(b, sizeof b, "frame_%06d.png", first + i);
            PngPicture got, want;
            ASSERT_TRUE(readPng((part / a).string(), got)) << a;
            ASSERT_TRUE(readPng((whole / b).string(), want)) << b;
            EXPECT_TRUE(got.rgb == want.rgb) << "frame " << i << " differs from " << b;
            ++compared;
        }
        EXPECT_FALSE(fs::exists(part / "frame_000002.png"));  // the end is not captured
    }
    EXPECT_EQ(compared, 34);
}

// The frames of a capture into a fresh folder under `root`, in order.
std::vector<std::vector<uint8_t>> captureFrames(const fs::path& root, int fps, const std::string& start,
                                                const std::string& end) {
    const fs::path folder = root / (std::to_string(fps) + "-" + start);
    fs::create_directories(folder);
    int status = 0;
    const std::string output = run(program() + " --capture '" + folder.string() + "' --mode 160x120 --fps " +
                                       std::to_string(fps) + " --start " + start + " --end " + end,
                                   status);
    EXPECT_EQ(status, 0) << output;
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0;; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06d.png", i);
        PngPicture picture;
        if (!readPng((folder / name).string(), picture)) break;
        frames.push_back(std::move(picture.rgb));
    }
    return frames;
}

// Half a second across the sparks' end, of the magnets (vortex, magnets,
// spinning objects) and across the fountain's end: at 120 frames a second
// every other frame is the 60-fps frame and most of the ones between are
// new pictures (not the one held at a section change, nor those under the
// white flash that opens a section); at 30 every frame is every second
// 60-fps frame.
TEST(Capture, EveryRateSamplesTheShowSteppedSixtyTimesASecond) {
    const ScratchFolder scratch("orbelune-capture-rates-");
    const std::pair<std::string, std::string> spans[] = {{"102.6", "103.1"}, {"150", "150.5"}, {"183.8", "184.3"}};
    for (const auto& [start, end] : spans) {
        SCOPED_TRACE("--start " + start);
        const auto at60 = captureFrames(scratch.root(), 60, start, end);
        const auto at120 = captureFrames(scratch.root(), 120, start, end);
        const auto at30 = captureFrames(scratch.root(), 30, start, end);
        ASSERT_EQ(at60.size(), 30u);
        ASSERT_EQ(at120.size(), 60u);
        ASSERT_EQ(at30.size(), 15u);
        int between = 0;
        for (size_t i = 0; i < at60.size(); ++i) {
            EXPECT_TRUE(at120[2 * i] == at60[i]) << "120-fps frame " << 2 * i << " is not 60-fps frame " << i;
            if (i + 1 < at60.size()) between += at120[2 * i + 1] != at60[i] && at120[2 * i + 1] != at60[i + 1];
        }
        EXPECT_GE(between, 24);
        for (size_t i = 0; i < at30.size(); ++i)
            EXPECT_TRUE(at30[i] == at60[2 * i]) << "30-fps frame " << i << " is not 60-fps frame " << 2 * i;
    }
}

// At 120 frames a second a capture started at 0.5 s holds the frames of one
// from 0, and one started among the sparks those of one started a quarter
// second earlier.
TEST(Capture, StartAnywhereHoldsAtAHundredAndTwentyFramesASecond) {
    const ScratchFolder scratch("orbelune-capture-seek120-");
    const auto fromZero = captureFrames(scratch.root(), 120, "0", "1");
    const auto fromHalf = captureFrames(scratch.root(), 120, "0.5", "1");
    ASSERT_EQ(fromZero.size(), 120u);
    ASSERT_EQ(fromHalf.size(), 60u);
    for (size_t i = 0; i < fromHalf.size(); ++i) EXPECT_TRUE(fromHalf[i] == fromZero[60 + i]) << "frame " << i;
    const auto earlier = captureFrames(scratch.root(), 120, "92.75", "93.25");
    const auto later = captureFrames(scratch.root(), 120, "93", "93.25");
    ASSERT_EQ(later.size(), 30u);
    ASSERT_EQ(earlier.size(), 60u);
    for (size_t i = 0; i < later.size(); ++i) EXPECT_TRUE(later[i] == earlier[30 + i]) << "frame " << i;
}

}  // namespace
