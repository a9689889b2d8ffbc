// Builds a templated dialog with FLTK and runs it modally: group boxes as
// engraved frames with their caption in the top edge, each radio group in a
// group of its own so its buttons exclude only each other, the default push
// button as a return button. Clicks reach the message procedure as Command
// messages with the control id, Escape as Command with the cancel id, the
// close box as Close. The keyboard works as in a classic dialog: Tab visits
// each radio group once (its marked button) in reading order, then the push
// button; an arrow key moves the mark inside a group and clicks the button it
// reaches. On a display whose Xft.dpi is above 96 everything is drawn larger
// by that ratio. The X display is opened here first, so that a missing
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
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace platform {

PixelRect dialogUnitsToPixels(int x, int y, int width, int height, double scale) {
    const auto px = [scale](int units) { return static_cast<int>(std::lround(units * 1.75 * scale)); };
    const auto py = [scale](int units) { return static_cast<int>(std::lround(units * 1.625 * scale)); };
    PixelRect r;
    r.x = px(x);
    r.y = py(y);
    r.width = px(x + width) - r.x;
    r.height = py(y + height) - r.y;
    return r;
}

double dialogScaleForDpi(double dpi) {
    if (!(dpi > 96.0)) return 1.0;
    return std::min(dpi / 96.0, 4.0);
}

namespace {

constexpr int kEdge = 2;          // sunken client edge around the controls (at 96 dpi)
constexpr int kCaptionSize = 14;  // the window manager's caption font, about (at 96 dpi)
constexpr int kCaptionRoom = 130; // its icon and buttons beside the caption, about (at 96 dpi)
constexpr int kTextSize = 11;     // captions and the push button (at 96 dpi)
constexpr int kRadioTextSize = 11;  // radio labels (at 96 dpi)

// Xft.dpi from the display's X resources; 96 when unset or unreadable.
double displayDpi() {
    const char* resources = fl_display ? XResourceManagerString(fl_display) : nullptr;
    if (resources == nullptr) return 96.0;
    const char* at = std::strstr(resources, "Xft.dpi:");
    if (at == nullptr) return 96.0;
    const double dpi = std::strtod(at + 8, nullptr);
    return dpi > 0.0 && dpi < 10000.0 ? dpi : 96.0;
}

int scaled(int size, double scale) { return static_cast<int>(std::lround(size * scale)); }

// Frame with the caption set into its top line.
class GroupFrame : public Fl_Widget {
public:
    GroupFrame(int x, int y, int w, int h, const char* caption, int textSize) : Fl_Widget(x, y, w, h, caption) {
        labelsize(textSize);
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
        const int inset = labelsize() / 2 + 1;  // the caption sits in the line, clear of the corner
        fl_rectf(x() + inset, y(), textWidth + 4, textHeight);
        fl_color(labelcolor());
        fl_draw(text, x() + inset + 2, y() + textHeight - fl_descent());
    }
};

class FltkDialog;
// Keys a classic dialog handles itself (Tab, Shift+Tab, arrows); true when
// the dialog took the key.
bool dialogKey(FltkDialog& dialog, Fl_Widget& from, int key);

// The default push button: Enter presses it (as a return button), drawn
// with the dark outer frame of a default button instead of the return arrow,
// which would not fit beside the caption.
class DefaultButton : public Fl_Return_Button {
public:
    DefaultButton(int x, int y, int w, int h, const char* caption, FltkDialog& dialog)
        : Fl_Return_Button(x, y, w, h, caption), dialog_(dialog) {}

    int handle(int event) override;

protected:
    void draw() override {
        Fl_Button::draw();
        fl_color(FL_FOREGROUND_COLOR);
        fl_rect(x(), y(), w(), h());
    }

private:
    FltkDialog& dialog_;
};

class RadioButton : public Fl_Round_Button {
public:
    RadioButton(int x, int y, int w, int h, const char* caption, FltkDialog& dialog)
        : Fl_Round_Button(x, y, w, h, caption), dialog_(dialog) {}

    int handle(int event) override {
        if (event == FL_KEYBOARD && dialogKey(dialog_, *this, Fl::event_key())) return 1;
        return Fl_Round_Button::handle(event);
    }

private:
    FltkDialog& dialog_;
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

    PixelRect place(const DialogControl& c) const {
        PixelRect r = dialogUnitsToPixels(c.x, c.y, c.width, c.height, scale_);
        r.x += scaled(kEdge, scale_) + inset_;
        r.y += scaled(kEdge, scale_);
        return r;
    }

    void build(const DialogTemplate& dialog) {
        scale_ = dialogScaleForDpi(displayDpi());
        const PixelRect client = dialogUnitsToPixels(0, 0, dialog.width, dialog.height, scale_);
        const int framed = client.width + 2 * scaled(kEdge, scale_);
        // Wide enough for the window manager to show the whole caption beside
        // its icon and buttons; the controls stay together in the middle.
        fl_font(FL_HELVETICA_BOLD, scaled(kCaptionSize, scale_));
        const int captionW = static_cast<int>(fl_width(dialog.caption)) + scaled(kCaptionRoom, scale_);
        const int w = std::max(framed, captionW);
        inset_ = (w - framed) / 2;
        const int h = client.height + 2 * scaled(kEdge, scale_);
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
            new GroupFrame(r.x, r.y, r.width, r.height, c.text, scaled(kTextSize, scale_));
        }

        // Radio groups: a group starts at a control marked as a group start
        // and runs to the next one; only its radio buttons exclude each other.
        const auto& controls = dialog.controls;
        std::vector<size_t> groupOf(controls.size(), 0);
        size_t groupCount = 0;
        for (size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].startsGroup) ++groupCount;
            groupOf[i] = groupCount;
        }
        // Each group's radio buttons in reading order (top to bottom, left to
        // right), and the groups in the reading order of their first button:
        // widgets are made in that order, which is also FLTK's focus order.
        std::vector<std::vector<size_t>> members(groupCount + 1);
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i].kind == ControlKind::AutoRadioButton) members[groupOf[i]].push_back(i);
        const auto readsBefore = [&](size_t a, size_t b) {
            return std::pair(controls[a].y, controls[a].x) < std::pair(controls[b].y, controls[b].x);
        };
        for (auto& m : members) std::sort(m.begin(), m.end(), readsBefore);
        std::erase_if(members, [](const std::vector<size_t>& m) { return m.empty(); });
        std::sort(members.begin(), members.end(),
                  [&](const auto& a, const auto& b) { return readsBefore(a.front(), b.front()); });

        for (const std::vector<size_t>& group : members) {
            Fl_Group* holder = radioGroup(controls, group);
            groups_.emplace_back();
            for (size_t i : group) {
                const DialogControl& c = controls[i];
                const PixelRect r = place(c);
                auto* button = new RadioButton(r.x, r.y, r.width, r.height, c.text, *this);
                button->type(FL_RADIO_BUTTON);
                button->labelsize(scaled(kRadioTextSize, scale_));
                button->when(FL_WHEN_RELEASE_ALWAYS);
                holder->add(button);
                radios_.emplace_back(c.id, button);
                groups_.back().push_back(button);
                bind(button, c.id);
            }
        }
        for (const DialogControl& c : controls) {
            if (c.kind != ControlKind::DefaultPushButton) continue;
            const PixelRect r = place(c);
            auto* button = new DefaultButton(r.x, r.y, r.width, r.height, c.text, *this);
            button->labelsize(scaled(kTextSize, scale_));
            defaultButton_ = button;
            bind(button, c.id);
        }
        window_->end();
    }

    // An empty, frameless group around the given radio buttons.
    Fl_Group* radioGroup(const std::vector<DialogControl>& controls, const std::vector<size_t>& group) const {
        int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;
        for (size_t k : group) {
            const PixelRect r = place(controls[k]);
            left = std::min(left, r.x);
            top = std::min(top, r.y);
            right = std::max(right, r.x + r.width);
            bottom = std::max(bottom, r.y + r.height);
        }
        auto* holder = new Fl_Group(left, top, right - left, bottom - top);
        holder->box(FL_NO_BOX);
        holder->end();
        return holder;
    }

public:
    // Tab and Shift+Tab: the next or previous stop (each radio group's
    // marked button, then the push button), wrapping. Arrows inside a radio
    // group: the next or previous button of the group, wrapping, marked and
    // clicked.
    bool key(Fl_Widget& from, int key) {
        const bool back = key == FL_Left || key == FL_Up || (key == FL_Tab && Fl::event_shift());
        if (key == FL_Tab) {
            const size_t stops = groups_.size() + (defaultButton_ ? 1 : 0);
            if (stops == 0) return false;
            size_t at = groups_.size();  // the push button
            for (size_t g = 0; g < groups_.size(); ++g)
                if (std::find(groups_[g].begin(), groups_[g].end(), &from) != groups_[g].end()) at = g;
            const size_t next = (at + (back ? stops - 1 : 1)) % stops;
            focusStop(next);
            return true;
        }
        if (key != FL_Left && key != FL_Right && key != FL_Up && key != FL_Down) return false;
        for (const std::vector<Fl_Button*>& group : groups_) {
            const auto it = std::find(group.begin(), group.end(), &from);
            if (it == group.end()) continue;
            const size_t n = group.size();
            const size_t index = static_cast<size_t>(it - group.begin());
            Fl_Button* target = group[(index + (back ? n - 1 : 1)) % n];
            for (Fl_Button* b : group) b->value(b == target ? 1 : 0);
            target->take_focus();
            target->do_callback();
            return true;
        }
        return false;
    }

private:
    void focusStop(size_t stop) {
        if (stop >= groups_.size()) {
            if (defaultButton_) defaultButton_->take_focus();
            return;
        }
        const std::vector<Fl_Button*>& group = groups_[stop];
        Fl_Button* target = group.front();
        for (Fl_Button* b : group)
            if (b->value()) target = b;
        target->take_focus();
    }

    const DialogProc& proc_;
    std::unique_ptr<Fl_Double_Window> window_;
    double scale_ = 1.0;
    int inset_ = 0;  // 0; pixels left of the controls beyond the edge (a caption wider than they are)
    Fl_Button* defaultButton_ = nullptr;
    std::vector<std::pair<int, Fl_Button*>> radios_;
    std::vector<std::vector<Fl_Button*>> groups_;  // radio buttons by group, in reading order
    std::vector<std::unique_ptr<Binding>> bindings_;
    bool ended_ = false;
    int result_ = 0;
};

bool dialogKey(FltkDialog& dialog, Fl_Widget& from, int key) { return dialog.key(from, key); }

int DefaultButton::handle(int event) {
    if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab && dialogKey(dialog_, *this, FL_Tab)) return 1;
    return Fl_Return_Button::handle(event);
}

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
