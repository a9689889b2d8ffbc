// The soundtrack backend on SDL2_mixer: one MP3 stream at a time, decoded by
// libmpg123 and played on SDL's default audio device. Opening the device is
// the init step (it fails without a sound card unless SDL's dummy or disk
// driver is chosen); a file that is missing or not an MP3 yields no stream,
// so playing handle 0 fails. Releasing is safe in any state.

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/platform.h"

namespace platform {
namespace {

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
        if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, 2, 2048) != 0) return false;
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

    bool streamPlay(uint32_t handle) override {
        if (handle == 0 || handle != handle_ || !music_) return false;
        return Mix_PlayMusic(music_, 0) == 0;
    }

    bool setPosition(uint32_t handle, double seconds) override {
        if (handle == 0 || handle != handle_ || !music_) return false;
        return Mix_SetMusicPosition(seconds) == 0;
    }

    double position(uint32_t handle) override {
        if (handle == 0 || handle != handle_ || !music_) return -1.0;
        return Mix_GetMusicPosition(music_);
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
        if (deviceOpen_) Mix_CloseAudio();
        deviceOpen_ = false;
        if (decodersUp_) Mix_Quit();
        decodersUp_ = false;
        if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemUp_ = false;
    }

private:
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
