// Frame sinks for capture. The PNG folder sink writes frame_000000.png,
// frame_000001.png, ... (top row first). The video sink starts ffmpeg in its
// own process group (so a Ctrl+C aimed at us does not cut the encoder short),
// feeds it raw RGB frames on a pipe and lets ffmpeg flip them upright; the
// soundtrack, when given, is muxed from the same start time and the output
// ends with the shorter stream.
//
// The video sink hands frames to a writer thread through a ring of three
// frame buffers allocated once: the show renders the next frame while the
// writer feeds ffmpeg the last ones, and the renderer waits only when all
// three are still unwritten. Rendering and encoding then share the cores
// instead of taking turns.
#include "capture/frame_sink.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "assets/png_write.h"

extern char** environ;

namespace {

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

class PngFolderSink final : public FrameSink {
public:
    explicit PngFolderSink(const CaptureTarget& t) : target_(t) {}
    bool writeFrame(const uint8_t* rgb) override {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06d.png", frame_++);
        std::string path = (std::filesystem::path(target_.path) / name).string();
        if (!writePng(path, rgb, target_.width, target_.height)) {
            error_ = "cannot write " + path;
            return false;
        }
        return true;
    }
    bool finish() override { return error_.empty(); }
    const std::string& error() const override { return error_; }

private:
    CaptureTarget target_;
    int frame_ = 0;
    std::string error_;
};

class FfmpegSink final : public FrameSink {
public:
    ~FfmpegSink() override { finish(); }

    bool start(const CaptureTarget& t) {
        target_ = t;
        frameBytes_ = static_cast<size_t>(t.width) * static_cast<size_t>(t.height) * 3;
        std::string size = std::to_string(t.width) + "x" + std::to_string(t.height);
        std::string ext = lowerExtension(t.path);
        std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                         "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size,
                                         "-r", std::to_string(t.fps), "-i", "-"};
        bool audio = !t.soundtrack.empty();
        if (audio) {
            char start[32];
            std::snprintf(start, sizeof start, "%.3f", t.startSeconds);
            args.insert(args.end(), {"-ss", start, "-i", t.soundtrack});
        }
        args.insert(args.end(), {"-map", "0:v"});
        if (audio) args.insert(args.end(), {"-map", "1:a"});
        args.insert(args.end(), {"-vf", "vflip"});
        if (ext == ".webm") {
            args.insert(args.end(), {"-c:v", "libvpx-vp9", "-b:v", "0", "-crf", "32", "-row-mt", "1",
                                     "-deadline", "realtime", "-cpu-used", "8"});
            if (audio) args.insert(args.end(), {"-c:a", "libopus", "-b:a", "160k"});
        } else {
            args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18",
                                     "-pix_fmt", "yuv420p"});
            if (audio) args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
        }
        if (audio) args.push_back("-shortest");
        args.push_back(t.path);

        int fds[2];
        if (pipe(fds) != 0) {
            error_ = std::string("cannot create a pipe: ") + std::strerror(errno);
            return false;
        }
        fcntl(fds[1], F_SETFD, FD_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attr, 0);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int rc = posix_spawnp(&pid_, "ffmpeg", &actions, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        close(fds[0]);
        if (rc != 0) {
            close(fds[1]);
            pid_ = -1;
            error_ = "cannot start ffmpeg (is it installed?): " + std::string(std::strerror(rc));
            return false;
        }
        signal(SIGPIPE, SIG_IGN);
        pipe_ = fds[1];
        for (std::vector<uint8_t>& slot : slots_) slot.resize(frameBytes_);
        writer_ = std::thread([this] { writeLoop(); });
        return true;
    }

    bool writeFrame(const uint8_t* rgb) override {
        if (pipe_ < 0) return false;
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queued_ < kSlots || failed_; });
        if (failed_) {
            error_ = "ffmpeg stopped taking frames";
            return false;
        }
        // The writer only reads the queued slots, so this one is ours to fill.
        const size_t slot = (next_ + queued_) % kSlots;
        lock.unlock();
        std::memcpy(slots_[slot].data(), rgb, frameBytes_);
        lock.lock();
        ++queued_;
        changed_.notify_all();
        return true;
    }

    bool finish() override {
        if (writer_.joinable()) {
            {
                std::lock_guard lock(mutex_);
                closing_ = true;
            }
            changed_.notify_all();
            writer_.join();
            if (failed_ && error_.empty()) error_ = "ffmpeg stopped taking frames";
        }
        if (pipe_ >= 0) {
            close(pipe_);
            pipe_ = -1;
        }
        if (pid_ > 0) {
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            pid_ = -1;
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                if (error_.empty()) error_ = "ffmpeg failed to write " + target_.path;
            }
        }
        return error_.empty();
    }

    const std::string& error() const override { return error_; }

private:
    // Writes the queued frames in order until finish() asks it to stop and
    // the queue is empty, or until ffmpeg stops reading.
    void writeLoop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return queued_ > 0 || closing_; });
            if (queued_ == 0) return;
            const uint8_t* frame = slots_[next_].data();
            lock.unlock();
            const bool written = writeAll(frame);
            lock.lock();
            if (!written) {
                failed_ = true;
                changed_.notify_all();
                return;
            }
            next_ = (next_ + 1) % kSlots;
            --queued_;
            changed_.notify_all();
        }
    }

    bool writeAll(const uint8_t* rgb) const {
        size_t done = 0;
        while (done < frameBytes_) {
            ssize_t n = write(pipe_, rgb + done, frameBytes_ - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    static constexpr size_t kSlots = 3;

    CaptureTarget target_;
    size_t frameBytes_ = 0;
    int pipe_ = -1;
    pid_t pid_ = -1;
    std::string error_;

    std::array<std::vector<uint8_t>, kSlots> slots_;
    std::thread writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;     // the oldest queued slot, written next
    size_t queued_ = 0;   // frames handed over and not yet written
    bool closing_ = false;
    bool failed_ = false;
};

}  // namespace

CaptureKind captureKind(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return CaptureKind::PngFolder;
    std::string ext = lowerExtension(path);
    if (ext == ".mp4" || ext == ".mkv" || ext == ".webm") return CaptureKind::Video;
    return CaptureKind::Unsupported;
}

std::unique_ptr<FrameSink> openFrameSink(const CaptureTarget& target, std::string& error) {
    if (target.width <= 0 || target.height <= 0 || target.fps <= 0) {
        error = "capture size and frame rate must be positive";
        return nullptr;
    }
    switch (captureKind(target.path)) {
        case CaptureKind::PngFolder:
            return std::make_unique<PngFolderSink>(target);
        case CaptureKind::Video: {
            auto sink = std::make_unique<FfmpegSink>();
            if (!sink->start(target)) {
                error = sink->error();
                return nullptr;
            }
            return sink;
        }
        case CaptureKind::Unsupported:
            break;
    }
    error = "capture target must be an existing folder or a .mp4, .mkv or .webm file: " + target.path;
    return nullptr;
}
