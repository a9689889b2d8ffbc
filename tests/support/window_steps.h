// A window system for tests, put in front of SDL's while alive: every step
// goes on to SDL's, is logged by name ("startVideo", "showCursor 0",
// "restoreDesktopMode", ...), and any step can be made to fail. A failing
// set-up step does nothing; a failing release step (or showWindow) still
// does its work and only reports failure, so nothing leaks.
#pragma once

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
    bool logged(const std::string& entry) const {
        for (const std::string& e : log)
            if (e == entry) return true;
        return false;
    }

    bool startVideo() override { return setUp(Step::StartVideo, "startVideo", [&] { return real().startVideo(); }); }
    bool setDisplayMode(int w, int h, int bits) override {
        return setUp(Step::SetDisplayMode, "setDisplayMode", [&] { return real().setDisplayMode(w, h, bits); });
    }
    bool openWindow(const std::string& title, int w, int h, int bits, bool fullscreen) override {
        return setUp(Step::OpenWindow, "openWindow", [&] { return real().openWindow(title, w, h, bits, fullscreen); });
    }
    bool windowTakesGl() override {
        return setUp(Step::WindowTakesGl, "windowTakesGl", [&] { return real().windowTakesGl(); });
    }
    bool requestGlBuffers(int colourBits, int depthBits) override {
        return setUp(Step::RequestGlBuffers, "requestGlBuffers",
                     [&] { return real().requestGlBuffers(colourBits, depthBits); });
    }
    bool loadGl() override { return setUp(Step::LoadGl, "loadGl", [&] { return real().loadGl(); }); }
    bool createGlContext() override {
        return setUp(Step::CreateGlContext, "createGlContext", [&] { return real().createGlContext(); });
    }
    bool makeGlContextCurrent() override {
        return setUp(Step::MakeGlContextCurrent, "makeGlContextCurrent",
                     [&] { return real().makeGlContextCurrent(); });
    }
    bool showWindow() override { return always(Step::ShowWindow, "showWindow", real().showWindow()); }
    void makeWindowed(int w, int h) override {
        log.push_back("makeWindowed");
        real().makeWindowed(w, h);
    }
    void restoreDesktopMode() override {
        log.push_back("restoreDesktopMode");
        real().restoreDesktopMode();
    }
    void showCursor(bool visible) override {
        log.push_back(visible ? "showCursor 1" : "showCursor 0");
        real().showCursor(visible);
    }
    bool releaseGlContext() override {
        return always(Step::ReleaseGlContext, "releaseGlContext", real().releaseGlContext());
    }
    bool deleteGlContext() override {
        return always(Step::DeleteGlContext, "deleteGlContext", real().deleteGlContext());
    }
    bool unloadGl() override { return always(Step::UnloadGl, "unloadGl", real().unloadGl()); }
    bool closeWindow() override { return always(Step::CloseWindow, "closeWindow", real().closeWindow()); }
    bool stopVideo() override { return always(Step::StopVideo, "stopVideo", real().stopVideo()); }

    std::vector<std::string> log;

private:
    static platform::WindowSystem& real() { return platform::sdlWindowSystem(); }

    template <typename Work>
    bool setUp(Step step, const char* name, Work&& work) {
        log.push_back(name);
        return !failing_.count(step) && work();
    }
    bool always(Step step, const char* name, bool result) {
        log.push_back(name);
        return result && !failing_.count(step);
    }

    std::set<Step> failing_;
};
