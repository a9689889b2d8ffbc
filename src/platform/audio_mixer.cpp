// The soundtrack backend on SDL2_mixer: one MP3 stream at a time, decoded by
// libmpg123 and played on SDL's default audio device. Opening the device is
// the init step (it fails without a sound card unless SDL's dummy or disk
// driver is chosen); a file that is missing or not an MP3 yields no stream,
// so playing handle 0 fails. Releasing is safe in any state.
//
// What is heard: the mixer's post-mix hook (on the audio thread) counts the
// sample frames of music handed to the device since the stream was started
// or moved, and when; the position is that count, less the device's
// buffers still to play, plus the time since the last hand-over (at most
// one buffer, so a starved audio thread shows as music that stands still).
// A move pauses the music around the seek so that no buffer mixed from the
// new place is counted from the old one.

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <mutex>

#include "platform/platform.h"

namespace platform {
namespace {

// Buffers of sound between the mixer's hand-over and the speaker: the one
// just mixed and on average half of one more waiting in the device
// (measured on PulseAudio's null sink against a recording of its monitor,
// scripts/av-check; SDL does not report it).
constexpr double kBuffersInFlight = 1.5;

// The music handed to the device, written by the audio thread.
struct HandedMusic {
    std::mutex lock;
    double origin = 0.0;  // 0; seconds into the stream of the first frame counted
    int64_t frames = 0;   // 0; sample frames of music handed over since
    uint64_t stamp = 0;   // 0; performance counter at the last hand-over
    bool known = false;   // false; the origin is where the stream really started
};

class MixerAudio final : public AudioBackend {
public:
    uint32_t getVersion() override { return kAudioVersion; }

    bool init(int /*device*/, int frequency, uint32_t /*flags*/) override {
        if (deviceOpen_) return true;
        if (!subsystemUp_) {
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
            subsystemUp_ = true;
        }
        if (!decodersUp_) {
            Mix_Init(MIX_INIT_MP3);  // a missing decoder shows up as a stream that won't load
            decodersUp_ = true;
        }
        if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, 2, kBufferFrames) != 0) return false;
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        rate_ = std::max(rate, 1);
        frameBytes_ = std::max(channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8), 1);
        Mix_SetPostMix(countHanded, this);
        deviceOpen_ = true;
        return true;
    }

    bool start() override { return deviceOpen_; }

    void streamFree(uint32_t handle) override {
        if (handle == 0 || handle != handle_ || !music_) return;
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
        handle_ = 0;
    }

    uint32_t streamCreateFile(const std::string& path) override {
        if (!deviceOpen_) return 0;
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        if (!music) return 0;
        streamFree(handle_);
        music_ = music;
        handle_ = nextHandle_++;
        if (nextHandle_ == 0) nextHandle_ = 1;
        return handle_;
    }

    bool streamPlay(uint32_t handle) override { return streamPlayFrom(handle, 0.0); }

    bool streamPlayFrom(uint32_t handle, double seconds) override {
        if (handle == 0 || handle != handle_ || !music_) return false;
        restartCount(seconds, true);  // nothing is counted before the music plays
        if (Mix_FadeInMusicPos(music_, 0, 0, seconds) == 0) return true;
        // A place the stream cannot go to: from its start, its position unknown.
        restartCount(0.0, false);
        return seconds > 0.0 && Mix_PlayMusic(music_, 0) == 0;
    }

    bool setPosition(uint32_t handle, double seconds) override {
        if (handle == 0 || handle != handle_ || !music_) return false;
        const bool paused = Mix_PausedMusic() != 0;
        Mix_PauseMusic();
        const bool moved = Mix_SetMusicPosition(seconds) == 0;
        if (moved) restartCount(seconds, true);
        if (!paused) Mix_ResumeMusic();
        return moved;
    }

    double position(uint32_t handle) override {
        if (handle == 0 || handle != handle_ || !music_ || !Mix_PlayingMusic()) return -1.0;
        // The mixer's own lock is taken and left before ours: the audio
        // thread holds it while it takes ours.
        const bool paused = Mix_PausedMusic() != 0;
        std::lock_guard<std::mutex> hold(handed_.lock);
        if (!handed_.known) return -1.0;
        const double buffer = static_cast<double>(kBufferFrames) / rate_;
        double since = 0.0;
        if (handed_.frames > 0 && !paused) {
            since = static_cast<double>(SDL_GetPerformanceCounter() - handed_.stamp) /
                    static_cast<double>(SDL_GetPerformanceFrequency());
            since = std::clamp(since, 0.0, buffer);
        }
        const double played = static_cast<double>(handed_.frames) / rate_ - kBuffersInFlight * buffer + since;
        return handed_.origin + std::max(played, 0.0);
    }

    bool setPaused(uint32_t handle, bool paused) override {
        if (handle == 0 || handle != handle_ || !music_) return false;
        if (paused)
            Mix_PauseMusic();
        else
            Mix_ResumeMusic();
        return true;
    }

    void free() override {
        streamFree(handle_);
        if (deviceOpen_) {
            Mix_SetPostMix(nullptr, nullptr);
            Mix_CloseAudio();
        }
        deviceOpen_ = false;
        if (decodersUp_) Mix_Quit();
        decodersUp_ = false;
        if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemUp_ = false;
    }

private:
    static constexpr int kBufferFrames = 2048;

    // The post-mix hook: runs on the audio thread after each buffer is mixed.
    static void countHanded(void* data, Uint8* /*stream*/, int bytes) {
        auto* self = static_cast<MixerAudio*>(data);
        if (!Mix_PlayingMusic() || Mix_PausedMusic()) return;
        std::lock_guard<std::mutex> hold(self->handed_.lock);
        self->handed_.frames += bytes / self->frameBytes_;
        self->handed_.stamp = SDL_GetPerformanceCounter();
    }

    void restartCount(double seconds, bool known) {
        std::lock_guard<std::mutex> hold(handed_.lock);
        handed_.origin = seconds;
        handed_.frames = 0;
        handed_.known = known;
    }

    HandedMusic handed_;
    int rate_ = 44100;           // 44100; the device's sample frames a second
    int frameBytes_ = 4;         // 4; bytes of one sample frame
    bool subsystemUp_ = false;   // false
    bool decodersUp_ = false;    // false
    bool deviceOpen_ = false;    // false
    Mix_Music* music_ = nullptr; // nullptr
    uint32_t handle_ = 0;        // 0; handle of music_
    uint32_t nextHandle_ = 1;    // 1
};

// SDL2_mixer has one mixer per process; tests put a backend of their own
// in front of it.
MixerAudio mixer;
AudioBackend* current = &mixer;

}  // namespace

AudioBackend& audio() { return *current; }

void setAudioBackend(AudioBackend* backend) { current = backend ? backend : &mixer; }

}  // namespace platform
