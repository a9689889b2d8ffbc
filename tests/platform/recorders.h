// Test doubles installed through the platform seams: a message-box handler
// that records every box and answers from a script, and an audio backend
// that records every call and fails where told.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    platform::Icon icon;
    platform::Buttons buttons;
    bool operator==(const RecordedBox&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const RecordedBox& b) {
    return out << b.caption << ": \"" << b.text << "\" icon " << int(b.icon) << " buttons " << int(b.buttons);
}

// Records boxes while alive; answers Yes/No questions from `answers` (Yes
// when empty) and OK boxes with Ok.
class BoxRecorder {
public:
    BoxRecorder() {
        platform::setMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                              platform::Icon icon, platform::Buttons buttons) {
            boxes.push_back({text, caption, icon, buttons});
            if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
            if (answers.empty()) return platform::Answer::Yes;
            platform::Answer a = answers.front();
            answers.pop_front();
            return a;
        });
    }
    ~BoxRecorder() { platform::setMessageBoxHandler({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
    std::deque<platform::Answer> answers;
};

// Records the audio calls by name; each operation can be told to fail.
class AudioRecorder final : public platform::AudioBackend {
public:
    AudioRecorder() { platform::setAudioBackend(this); }
    ~AudioRecorder() override { platform::setAudioBackend(nullptr); }

    uint32_t getVersion() override {
        calls.push_back("getVersion");
        return version;
    }
    bool init(int device, int frequency, uint32_t flags) override {
        calls.push_back("init " + std::to_string(device) + " " + std::to_string(frequency) + " " +
                        std::to_string(flags));
        return !failInit;
    }
    bool start() override {
        calls.push_back("start");
        return true;
    }
    void streamFree(uint32_t handle) override { calls.push_back("streamFree " + std::to_string(handle)); }
    uint32_t streamCreateFile(const std::string& path) override {
        calls.push_back("streamCreateFile " + path);
        return failCreate ? 0 : 7;
    }
    bool streamPlay(uint32_t handle) override {
        calls.push_back("streamPlay " + std::to_string(handle));
        return handle != 0;
    }
    void free() override { calls.push_back("free"); }
    bool setPosition(uint32_t, double seconds) override {
        position = seconds;
        return true;
    }
    bool setPaused(uint32_t, bool p) override {
        paused = p;
        return true;
    }

    std::vector<std::string> calls;
    double position = 0.0;  // the last seek and pause asked for
    bool paused = false;
    uint32_t version = platform::kAudioVersion;
    bool failInit = false;
    bool failCreate = false;
};
