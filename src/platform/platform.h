// The platform layer: the only code that talks to SDL2, SDL2_mixer and FLTK.
// Plain functions plus a few seams (message-box handler, clock source, exit
// handler, audio backend) that tests replace, so that everything above this
// header runs without a display or a sound card.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// ---- Message boxes ---------------------------------------------------------
enum class Icon { None, Exclamation, Stop, Information, Warning };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// Shows a modal box and returns the answer. On a display: FLTK's message box.
// Without one: "caption: text" on stderr and the default answer (Ok; Yes for
// a Yes/No question).
Answer messageBox(const std::string& text, const std::string& caption, Icon icon,
                  Buttons buttons = Buttons::Ok);

using MessageBoxHandler =
    std::function<Answer(const std::string& text, const std::string& caption, Icon, Buttons)>;
// Replaces the box (tests record calls here); an empty handler restores the default.
void setMessageBoxHandler(MessageBoxHandler handler);

// ---- Window title ------------------------------------------------------------
// Sets the GL window's title; does nothing while no window exists.
void setWindowTitle(const std::string& title);
// The last title set (also while no window exists); for tests.
const std::string& windowTitle();

// ---- Clock -------------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t ticks();
using ClockSource = std::function<uint32_t()>;
// Replaces the millisecond clock; an empty source restores SDL_GetTicks.
void setClockSource(ClockSource source);

// ---- Process exit ------------------------------------------------------------
// Restores the desktop display mode (SDL_Quit) and ends the process.
[[noreturn]] void exitProcess(int code);
using ExitHandler = std::function<void(int code)>;
// Tests and fuzz builds install a handler that throws or reports instead of
// exiting; if the handler returns, the process exits as usual.
void setExitHandler(ExitHandler handler);

}  // namespace platform
