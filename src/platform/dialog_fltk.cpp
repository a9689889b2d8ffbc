// Builds a templated dialog with FLTK and runs it modally: group boxes as
// engraved frames with their caption in the top edge, each radio group in a
// group of its own so its buttons exclude only each other, the default push
// button as a return button. Clicks reach the message procedure as Command
// messages with the control id, Escape as Command with the cancel id, the
// close box as Close. The X display is opened here first, so that a missing
// display is reported back instead of ending the process inside FLTK.
#include "platform/dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace platform {

PixelRect dialogUnitsToPixels(int x, int y, int width, int height) {
    const auto px = [](int units) { return static_cast<int>(std::lround(units * 1.5)); };
    const auto py = [](int units) { return static_cast<int>(std::lround(units * 1.625)); };
    PixelRect r;
    r.x = px(x);
    r.y = py(y);
    r.width = px(x + width) - r.x;
    r.height = py(y + height) - r.y;
    return r;
}

namespace {

constexpr int kEdge = 2;          // sunken client edge around the controls
constexpr int kTextSize = 11;     // captions and the push button
constexpr int kRadioTextSize = 10;  // keeps "800x600x32" inside its 66 px

// Frame with the caption set into its top line.
class GroupFrame : public Fl_Widget {
public:
    GroupFrame(int x, int y, int w, int h, const char* caption) : Fl_Widget(x, y, w, h, caption) {
        labelsize(kTextSize);
    }

protected:
    void draw() override {
        fl_font(labelfont(), labelsize());
        const int textHeight = fl_height();
        const int lineY = y() + textHeight / 2;
        draw_box(FL_ENGRAVED_FRAME, x(), lineY, w(), h() - (lineY - y()), color());
        const char* text = label();
        if (text == nullptr || *text == '\0') return;
        const int textWidth = static_cast<int>(fl_width(text));
        fl_color(parent() ? parent()->color() : color());
        fl_rectf(x() + 6, y(), textWidth + 4, textHeight);
        fl_color(labelcolor());
        fl_draw(text, x() + 8, y() + textHeight - fl_descent());
    }
};

// The default push button: Enter presses it (as a return button), drawn
// with the dark outer frame of a default button instead of the return arrow,
// which would not fit beside the caption.
class DefaultButton : public Fl_Return_Button {
public:
    DefaultButton(int x, int y, int w, int h, const char* caption) : Fl_Return_Button(x, y, w, h, caption) {}

protected:
    void draw() override {
        Fl_Button::draw();
        fl_color(FL_FOREGROUND_COLOR);
        fl_rect(x(), y(), w(), h());
    }
};

class FltkDialog final : public DialogHost {
public:
    FltkDialog(const DialogTemplate& dialog, const DialogProc& proc) : proc_(proc) { build(dialog); }

    int run() {
        send(DialogMessage::InitDialog, 0);
        if (!ended_) {
            window_->show();
            // Keyboard focus starts on the default button, not on a radio
            // button that Space would then click.
            if (defaultButton_ != nullptr) defaultButton_->take_focus();
            while (!ended_ && window_->shown()) Fl::wait();
        }
        window_->hide();
        Fl::flush();
        return result_;
    }

    void checkRadioButton(int firstId, int lastId, int checkId) override {
        for (auto& [id, button] : radios_)
            if (id >= firstId && id <= lastId) button->value(id == checkId ? 1 : 0);
    }

    void endDialog(int result) override {
        result_ = result;
        ended_ = true;
    }

private:
    struct Binding {
        FltkDialog* dialog;
        uintptr_t id;
    };

    void send(DialogMessage message, uintptr_t wParam) { proc_(*this, message, wParam); }

    static void onControl(Fl_Widget*, void* data) {
        const auto* binding = static_cast<Binding*>(data);
        binding->dialog->send(DialogMessage::Command, binding->id);
    }

    static void onWindow(Fl_Widget*, void* data) {
        auto* dialog = static_cast<FltkDialog*>(data);
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
            dialog->send(DialogMessage::Command, DIALOG_CANCEL_ID);
        else
            dialog->send(DialogMessage::Close, 0);
    }

    void bind(Fl_Widget* widget, int id) {
        bindings_.push_back(std::make_unique<Binding>(Binding{this, static_cast<uintptr_t>(id)}));
        widget->callback(onControl, bindings_.back().get());
    }

    static PixelRect place(const DialogControl& c) {
        PixelRect r = dialogUnitsToPixels(c.x, c.y, c.width, c.height);
        r.x += kEdge;
        r.y += kEdge;
        return r;
    }

    void build(const DialogTemplate& dialog) {
        const PixelRect client = dialogUnitsToPixels(0, 0, dialog.width, dialog.height);
        const int w = client.width + 2 * kEdge;
        const int h = client.height + 2 * kEdge;
        window_ = std::make_unique<Fl_Double_Window>((Fl::w() - w) / 2, (Fl::h() - h) / 2, w, h,
                                                     dialog.caption);
        window_->box(FL_DOWN_BOX);
        window_->size_range(w, h, w, h);
        window_->callback(onWindow, this);
        window_->set_modal();

        // Frames first, so that the buttons inside them are drawn on top.
        for (const DialogControl& c : dialog.controls) {
            if (c.kind != ControlKind::GroupBox) continue;
            const PixelRect r = place(c);
            new GroupFrame(r.x, r.y, r.width, r.height, c.text);
        }

        // Radio groups: a group starts at a control marked as a group start
        // and runs to the next one; only its radio buttons exclude each other.
        const auto& controls = dialog.controls;
        std::vector<int> groupOf(controls.size(), 0);
        int groups = 0;
        for (size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].startsGroup) ++groups;
            groupOf[i] = groups;
        }
        std::vector<Fl_Group*> radioGroups(static_cast<size_t>(groups) + 1, nullptr);
        for (int g = 0; g <= groups; ++g) radioGroups[static_cast<size_t>(g)] = radioGroup(controls, groupOf, g);

        for (size_t i = 0; i < controls.size(); ++i) {
            const DialogControl& c = controls[i];
            const PixelRect r = place(c);
            if (c.kind == ControlKind::DefaultPushButton) {
                auto* button = new DefaultButton(r.x, r.y, r.width, r.height, c.text);
                button->labelsize(kTextSize);
                defaultButton_ = button;
                bind(button, c.id);
            } else if (c.kind == ControlKind::AutoRadioButton) {
                auto* button = new Fl_Round_Button(r.x, r.y, r.width, r.height, c.text);
                button->type(FL_RADIO_BUTTON);
                button->labelsize(kRadioTextSize);
                button->when(FL_WHEN_RELEASE_ALWAYS);
                radioGroups[static_cast<size_t>(groupOf[i])]->add(button);
                radios_.emplace_back(c.id, button);
                bind(button, c.id);
            }
        }
        window_->end();
    }

    // An empty, frameless group around the radio buttons of group g.
    static Fl_Group* radioGroup(const std::vector<DialogControl>& controls, const std::vector<int>& groupOf,
                                int g) {
        int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;
        for (size_t k = 0; k < controls.size(); ++k) {
            if (groupOf[k] != g || controls[k].kind != ControlKind::AutoRadioButton) continue;
            const PixelRect r = place(controls[k]);
            left = std::min(left, r.x);
            top = std::min(top, r.y);
            right = std::max(right, r.x + r.width);
            bottom = std::max(bottom, r.y + r.height);
        }
        if (right == 0) return nullptr;
        auto* group = new Fl_Group(left, top, right - left, bottom - top);
        group->box(FL_NO_BOX);
        group->end();
        return group;
    }

    const DialogProc& proc_;
    std::unique_ptr<Fl_Double_Window> window_;
    Fl_Button* defaultButton_ = nullptr;
    std::vector<std::pair<int, Fl_Button*>> radios_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    bool ended_ = false;
    int result_ = 0;
};

// Opens the display for FLTK unless it is open already; false without one.
bool haveDisplay() {
    if (fl_display != nullptr) return true;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    fl_open_display(display);
    return true;
}

}  // namespace

int runDialog(const DialogTemplate& dialog, const DialogProc& proc) {
    if (!haveDisplay()) return -1;
    FltkDialog fltkDialog(dialog, proc);
    return fltkDialog.run();
}

}  // namespace platform
