// Test fixtures for scene loading: a scratch folder and recorded message
// boxes (the loaders' records shown as the show shows them); the
// one-triangle mesh the mesh tests write.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "scene/scene_script.h"
#include "support/scratch_folder.h"
#include "writers/tds_writer.h"

// A right triangle in the z = 0 plane, corners counter-clockwise from +z,
// `offset` along x, with texture coordinates at its corners.
inline tds::TdsObject triangle(float offset = 0.0f) {
    tds::TdsObject object;
    object.vertices = {{offset, 0, 0}, {offset + 1, 0, 0}, {offset, 1, 0}};
    object.faces = {{0, 1, 2}};
    object.uv = {{0, 0}, {1, 0}, {0, 1}};
    return object;
}

class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override { resetLightCounter(); }

    // Absolute path of `name` inside the scratch folder.
    std::string path(const std::string& name) const { return (dir() / name).string(); }
    const std::filesystem::path& dir() const { return folder_.root(); }
    std::string writeText(const std::string& name, const std::string& text) { return folder_.write(name, text); }

    BoxRecorder recorder;
    std::vector<RecordedBox>& boxes = recorder.boxes;

private:
    ScratchFolder folder_{"orbelune-scene-"};
};
