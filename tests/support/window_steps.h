// A window system for tests, put in front of SDL's while alive: every step
// goes on to SDL's, is logged by name ("startVideo", "showCursor 0",
// "restoreDesktopMode", ...), and any step can be made to fail. A failing
// set-up step does nothing; a failing release step (or showWindow) still
// does its work and only reports failure, so nothing leaks.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

enum class Step {
    StartVideo, SetDisplayMode, OpenWindow, WindowTakesGl, RequestGlBuffers, LoadGl, CreateGlContext,
    MakeGlContextCurrent, ShowWindow, ReleaseGlContext, DeleteGlContext, UnloadGl, CloseWindow, StopVideo,
};

class WindowSteps final : public platform::WindowSystem {
public:
    WindowSteps() { platform::setWindowSystem(this); }
    ~WindowSteps() override { platform::setWindowSystem(nullptr); }
    WindowSteps(const WindowSteps&) = delete;
    WindowSteps& operator=(const WindowSteps&) = delete;

    void fail(Step step) { failing_.insert(step); }
    void clearFailures() { failing_.clear(); }
    bool logged(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }

    // Set-up steps: a failing one does nothing.
    bool startVideo() override { return setUp(Step::StartVideo, [&] { return real().startVideo(); }); }
    bool setDisplayMode(int w, int h, int bits) override {
        if (refuseSizes && w > 0) return setUp(Step::SetDisplayMode, [] { return false; });
        return setUp(Step::SetDisplayMode, [&] { return real().setDisplayMode(w, h, bits); });
    }
    bool openWindow(const std::string& title, int w, int h, int bits, bool fullscreen) override {
        return setUp(Step::OpenWindow, [&] { return real().openWindow(title, w, h, bits, fullscreen); });
    }
    bool windowTakesGl() override { return setUp(Step::WindowTakesGl, [&] { return real().windowTakesGl(); }); }
    bool requestGlBuffers(int colour, int depth) override {
        return setUp(Step::RequestGlBuffers, [&] { return real().requestGlBuffers(colour, depth); });
    }
    bool loadGl() override { return setUp(Step::LoadGl, [&] { return real().loadGl(); }); }
    bool createGlContext() override { return setUp(Step::CreateGlContext, [&] { return real().createGlContext(); }); }
    bool makeGlContextCurrent() override {
        return setUp(Step::MakeGlContextCurrent, [&] { return real().makeGlContextCurrent(); });
    }
    // Steps that cannot fail, logged.
    void makeWindowed(int w, int h) override { log.push_back("makeWindowed"), real().makeWindowed(w, h); }
    void restoreDesktopMode() override { log.push_back("restoreDesktopMode"), real().restoreDesktopMode(); }
    void showCursor(bool visible) override {
        log.push_back(visible ? "showCursor 1" : "showCursor 0"), real().showCursor(visible);
    }
    // Release steps (and showWindow): the work is done, a failure only reported.
    bool showWindow() override { return always(Step::ShowWindow, real().showWindow()); }
    bool releaseGlContext() override { return always(Step::ReleaseGlContext, real().releaseGlContext()); }
    bool deleteGlContext() override { return always(Step::DeleteGlContext, real().deleteGlContext()); }
    bool unloadGl() override { return always(Step::UnloadGl, real().unloadGl()); }
    bool closeWindow() override { return always(Step::CloseWindow, real().closeWindow()); }
    bool stopVideo() override { return always(Step::StopVideo, real().stopVideo()); }

    std::vector<std::string> log;
    bool refuseSizes = false;  // false; setDisplayMode refuses every size but the desktop's own (0 x 0)

private:
    static platform::WindowSystem& real() { return platform::sdlWindowSystem(); }

    static const char* name(Step step) {
        static const char* const names[] = {
            "startVideo", "setDisplayMode", "openWindow", "windowTakesGl", "requestGlBuffers", "loadGl",
            "createGlContext", "makeGlContextCurrent", "showWindow", "releaseGlContext", "deleteGlContext",
            "unloadGl", "closeWindow", "stopVideo"};
        return names[static_cast<int>(step)];
    }
    template <typename Work>
    bool setUp(Step step, Work&& work) {
        log.push_back(name(step));
        return !failing_.count(step) && work();
    }
    bool always(Step step, bool result) {
        log.push_back(name(step));
        return result && !failing_.count(step);
    }

    std::set<Step> failing_;
};
