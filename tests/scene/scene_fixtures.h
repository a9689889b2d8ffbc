// Test fixtures for scene loading: a scratch folder, recorded message boxes
// and an exit handler that throws ProcessExit instead of ending the process.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "scene/scene_script.h"
#include "support/scratch_folder.h"

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override { resetLightCounter(); }

    // Absolute path of `name` inside the scratch folder.
    std::string path(const std::string& name) const { return (dir() / name).string(); }
    const std::filesystem::path& dir() const { return folder_.root(); }
    std::string writeText(const std::string& name, const std::string& text) { return folder_.write(name, text); }

    BoxRecorder recorder;
    ExitCatcher exits;
    std::vector<RecordedBox>& boxes = recorder.boxes;

private:
    ScratchFolder folder_{"orbelune-scene-"};
};
