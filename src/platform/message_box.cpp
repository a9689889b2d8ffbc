// Modal message boxes: caption, icon, text and OK or Yes/No buttons, the
// first button being the default (Enter). Every box writes "caption: text"
// on stderr; on a display it is then a small FLTK window centred over the
// show's window, without one the default answer. Tests replace the whole
// box with a recording handler.
// A Yes/No box has no way out but its buttons (close box and Escape do
// nothing); an OK box also closes with Escape or the close box.

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace platform {
namespace {

// The seam tests record boxes through; one per process, as the boxes are.
MessageBoxHandler boxHandler;

struct BoxRun {
    Fl_Double_Window* window = nullptr;  // nullptr
    Answer answer = Answer::Ok;          // Ok
    bool closable = true;                // true; OK boxes close with Escape / close box
};

// What a button answers (FLTK's widget argument shares the callback's data
// pointer, so the answer travels with the run).
struct ButtonAction {
    BoxRun* run;
    Answer answer;
};

void onButton(Fl_Widget*, void* data) {
    auto* action = static_cast<ButtonAction*>(data);
    action->run->answer = action->answer;
    action->run->window->hide();
}

void onWindow(Fl_Widget*, void* data) {
    auto* run = static_cast<BoxRun*>(data);
    if (!run->closable) return;
    run->answer = Answer::Ok;
    run->window->hide();
}

// FLTK reads '@' in labels as a symbol escape.
std::string plainLabel(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '@') out += '@';
    }
    return out;
}

void styleIcon(Fl_Box& icon, Icon kind) {
    icon.box(FL_OVAL_BOX);
    icon.labelfont(FL_TIMES_BOLD);
    icon.labelsize(30);
    switch (kind) {
        case Icon::Stop:
            icon.color(FL_RED);
            icon.labelcolor(FL_WHITE);
            icon.label("X");
            break;
        case Icon::Information:
            icon.color(FL_BLUE);
            icon.labelcolor(FL_WHITE);
            icon.label("i");
            break;
        case Icon::Exclamation:
        case Icon::Warning:
            icon.color(FL_YELLOW);
            icon.labelcolor(FL_BLACK);
            icon.label("!");
            break;
        case Icon::None:
            icon.hide();
            break;
    }
}

// Where a box of width x height goes: centred over the show's window, or
// over the screen while there is none.
void centreOverShow(int width, int height, int& x, int& y) {
    int left = 0, top = 0, w = Fl::w(), h = Fl::h();
    if (SDL_Window* show = detail::window()) {
        SDL_GetWindowPosition(show, &left, &top);
        SDL_GetWindowSize(show, &w, &h);
    }
    x = left + (w - width) / 2;
    y = top + (h - height) / 2;
}

Answer fltkBox(const std::string& text, const std::string& caption, Icon icon,
               Buttons buttons) {
    const std::string label = plainLabel(text);
    fl_font(FL_HELVETICA, 14);
    int textW = 0, textH = 0;
    fl_measure(label.c_str(), textW, textH, 0);
    if (textW > 420) {
        textW = 420;
        textH = 0;
        fl_measure(label.c_str(), textW, textH, 0);
    }
    const int margin = 12, iconSize = 48, buttonW = 80, buttonH = 26;
    const int textX = icon == Icon::None ? margin : margin * 2 + iconSize;
    const int bodyH = std::max(textH, iconSize);
    const int buttonCount = buttons == Buttons::YesNo ? 2 : 1;
    // Wide enough for the window manager to show the whole caption beside
    // its icon and buttons (about 120 px of them).
    fl_font(FL_HELVETICA_BOLD, 14);
    const int captionW = static_cast<int>(fl_width(caption.c_str())) + 130;
    const int width = std::max({textX + textW + 8 + margin, buttonCount * (buttonW + margin) + margin, captionW});
    const int height = margin + bodyH + margin + buttonH + margin;

    BoxRun run;
    run.closable = buttons == Buttons::Ok;
    int x = 0, y = 0;
    centreOverShow(width, height, x, y);
    Fl_Double_Window window(x, y, width, height);
    window.copy_label(caption.c_str());
    run.window = &window;
    window.callback(onWindow, &run);

    Fl_Box iconBox(margin, margin, iconSize, iconSize);
    styleIcon(iconBox, icon);
    Fl_Box textBox(textX, margin, textW + 8, bodyH);
    textBox.copy_label(label.c_str());
    textBox.labelfont(FL_HELVETICA);
    textBox.labelsize(14);
    textBox.align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_WRAP);

    const int buttonY = height - margin - buttonH;
    x = width - buttonCount * (buttonW + margin);
    ButtonAction firstAction{&run, buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok};
    ButtonAction noAction{&run, Answer::No};
    Fl_Return_Button first(x, buttonY, buttonW, buttonH, buttons == Buttons::YesNo ? "Yes" : "OK");
    first.callback(onButton, &firstAction);
    Fl_Button no(x + buttonW + margin, buttonY, buttonW, buttonH, "No");
    no.callback(onButton, &noAction);
    if (buttons != Buttons::YesNo) no.hide();
    window.end();

    window.set_modal();
    window.show();
    first.take_focus();
    while (window.shown()) Fl::wait();
    Fl::flush();
    return run.answer;
}

}  // namespace

Answer messageBox(const std::string& text, const std::string& caption, Icon icon,
                  Buttons buttons) {
    if (boxHandler) return boxHandler(text, caption, icon, buttons);
    // Also on a display: a terminal user sees why the show stopped.
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    if (displayAvailable()) return fltkBox(text, caption, icon, buttons);
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

void setMessageBoxHandler(MessageBoxHandler handler) { boxHandler = std::move(handler); }

}  // namespace platform
