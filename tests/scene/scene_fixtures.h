// Test fixtures for scene loading: a scratch folder, recorded message boxes
// and an exit handler that throws ProcessExit instead of ending the process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "scene/scene_script.h"

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("orbelune-scene-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
        resetLightCounter();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Absolute path of `name` inside the scratch folder.
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }
    std::string writeText(const std::string& name, const std::string& text) {
        std::filesystem::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return path(name);
    }

    BoxRecorder recorder;
    ExitCatcher exits;
    std::vector<RecordedBox>& boxes = recorder.boxes;

private:
    std::filesystem::path dir_;
};

// Changes the working directory for the lifetime of the guard.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};
