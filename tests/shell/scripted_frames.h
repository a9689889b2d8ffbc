// A real GL context with a scripted clock and scripted window events, for the
// frame skeleton and the loops that run on it. `nextEvent` is polled once per
// frame; the process-wide show state is reset around every test.
#pragma once

#include <gtest/gtest.h>

#include <limits>

#include "platform/platform.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/settings.h"
#include "support/gl_context.h"
#include "window/gl_window.h"

class ScriptedFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        resetShared();
        platform::setClockSource([this] { return now; });
        platform::setEventSource([this](platform::Event& e) { return nextEvent(e); });
    }
    void TearDown() override {
        platform::setClockSource({});
        platform::setEventSource({});
        resetShared();
    }
    static void resetShared() {
        quitRequested = false;
        glWindow.keyDown.fill(0);
        showEndLimit = std::numeric_limits<float>::infinity();
    }
    virtual bool nextEvent(platform::Event& e) = 0;

    static platform::Event key(platform::EventKind kind, int code = VK_ESCAPE_CODE) {
        platform::Event e;
        e.kind = kind;
        e.key = code;
        return e;
    }

    TestGlContext gl{64, 48};
    uint32_t now = 0;
};
