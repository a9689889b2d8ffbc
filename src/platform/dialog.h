// Modal dialogs described by a template, the way a dialog resource describes
// them: a caption, a client size and a list of controls placed in dialog
// units, driven by a message procedure that marks radio buttons and ends the
// dialog through a host. The template and the procedure know no toolkit;
// dialog_fltk.cpp builds the dialog with FLTK.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

enum class ControlKind {
    AutoRadioButton,    // marks itself and clears the others of its group when clicked
    GroupBox,           // engraved frame with its caption in the top edge
    DefaultPushButton,  // Enter presses it
};

struct DialogControl {
    int id = -1;                         // -1 for controls that send nothing
    const char* text = "";
    ControlKind kind = ControlKind::GroupBox;
    bool startsGroup = false;            // first control of a radio group
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
};

struct DialogTemplate {
    const char* caption = "";
    int width = 0, height = 0;           // client size in dialog units
    std::vector<DialogControl> controls; // in tab order
};

// Dialog units to pixels for the dialog font at 96 dpi: 1 horizontal unit =
// 1.75 px, 1 vertical unit = 1.625 px (the toolkit's sans font is wider than
// the 8-point font the units were laid out for, so "800x600x16" keeps clear
// of its frame); `scale` enlarges everything on a high-DPI display. Edges
// are rounded, so neighbours stay apart.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};
PixelRect dialogUnitsToPixels(int x, int y, int width, int height, double scale = 1.0);

// How much larger than at 96 dpi the dialog is drawn: Xft.dpi / 96 when the
// X resources set Xft.dpi above 96 (at most 4), else 1.
double dialogScaleForDpi(double dpi);

enum class DialogMessage {
    InitDialog,  // once, before the dialog is shown
    Command,     // wParam = control id (high 16 bits: notification, 0 for a click)
    Close,       // close box or window-manager close request
    Other,       // anything else the host passes on
};

// Identifier sent with Command when Escape is pressed.
constexpr uintptr_t DIALOG_CANCEL_ID = 2;

// What a message procedure can do to its dialog.
class DialogHost {
public:
    // Marks `checkId` and clears every other radio button with an id in
    // firstId..lastId.
    virtual void checkRadioButton(int firstId, int lastId, int checkId) = 0;
    // Closes the dialog once the current message has been handled.
    virtual void endDialog(int result) = 0;

protected:
    ~DialogHost() = default;
};

// Returns nonzero when it handled the message.
using DialogProc = std::function<int(DialogHost&, DialogMessage, uintptr_t wParam)>;

// Shows the dialog modal and centred on the screen until the procedure ends
// it. Tab goes from radio group to radio group in reading order (to the
// marked button of each) and on to the push button; the arrow keys move the
// mark inside a group, clicking the button they reach. Returns the result given to endDialog, or -1 at once when no display
// can be opened (nothing is shown then).
int runDialog(const DialogTemplate& dialog, const DialogProc& proc);

}  // namespace platform
