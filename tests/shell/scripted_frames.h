// A real GL context with a scripted clock and scripted window events, for the
// frame skeleton and the loops that run on it. `nextEvent` is polled once per
// frame; each test has a run of its own.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/frame.h"
#include "support/gl_context.h"
#include "window/gl_window.h"

class ScriptedFrames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        glWindow.keyDown.fill(0);
        platform::setClockSource([this] { return now; });
        platform::setEventSource([this](platform::Event& e) { return nextEvent(e); });
    }
    void TearDown() override {
        platform::setClockSource({});
        platform::setEventSource({});
        glWindow.keyDown.fill(0);
    }
    virtual bool nextEvent(platform::Event& e) = 0;

    static platform::Event key(platform::EventKind kind, int code = VK_ESCAPE_CODE) {
        platform::Event e;
        e.kind = kind;
        e.key = code;
        return e;
    }

    TestGlContext gl{64, 48};
    ShowRun run;
    uint32_t now = 0;
};
