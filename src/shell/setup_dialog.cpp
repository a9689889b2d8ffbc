// The setup dialog: its layout and its message procedure. Each click on a
// radio button writes the matching choice at once; the push button (or
// Enter) starts the show with whatever the settings hold, Escape is ignored,
// and closing the dialog marks them cancelled. The starting marks
// show the choices in force (defaults changed by the command line included),
// so what is marked is what plays.
#include "shell/setup_dialog.h"

#include "shell/settings.h"

using platform::ControlKind;
using platform::DialogMessage;

const platform::DialogTemplate& setupDialogTemplate() {
    static const platform::DialogTemplate dialog{
        "Tamsk Orbelune Setup",
        111,
        82,
        {
            {IDC_FULLSCREEN_ON, "On", ControlKind::AutoRadioButton, true, 57, 12, 21, 10},
            {IDC_FULLSCREEN_OFF, "Off", ControlKind::AutoRadioButton, false, 80, 12, 20, 10},
            {IDC_MUSIC_ON, "On", ControlKind::AutoRadioButton, true, 4, 12, 20, 10},
            {IDC_MUSIC_OFF, "Off", ControlKind::AutoRadioButton, false, 25, 12, 22, 10},
            {-1, "Music", ControlKind::GroupBox, false, 2, 4, 50, 21},
            {-1, "Fullscreen", ControlKind::GroupBox, false, 55, 4, 51, 21},
            {IDC_MODE_800x600x32, "800x600x32", ControlKind::AutoRadioButton, true, 4, 37, 44, 10},
            {IDC_MODE_800x600x16, "800x600x16", ControlKind::AutoRadioButton, false, 55, 37, 47, 10},
            {IDC_MODE_640x480x32, "640x480x32", ControlKind::AutoRadioButton, false, 4, 47, 44, 10},
            {IDC_MODE_640x480x16, "640x480x16", ControlKind::AutoRadioButton, false, 55, 47, 46, 10},
            {-1, "Resolution", ControlKind::GroupBox, false, 2, 27, 104, 33},
            {IDC_START, "Tamsk : Orbelune", ControlKind::DefaultPushButton, false, 16, 63, 79, 14},
        },
    };
    return dialog;
}

namespace {

void setMode(Settings& settings, int32_t width, int32_t height, int32_t bits) {
    settings.width = width;
    settings.height = height;
    settings.bits = bits;
}

// The mode button of the mode in force; 0 (nothing marked) for any other.
int modeInForce(const Settings& settings) {
    const struct {
        int id, width, height, bits;
    } modes[] = {{IDC_MODE_800x600x32, 800, 600, 32},
                 {IDC_MODE_800x600x16, 800, 600, 16},
                 {IDC_MODE_640x480x32, 640, 480, 32},
                 {IDC_MODE_640x480x16, 640, 480, 16}};
    for (const auto& m : modes)
        if (settings.width == m.width && settings.height == m.height && settings.bits == m.bits) return m.id;
    return 0;
}

}  // namespace

int setupDialogProc(Settings& settings, platform::DialogHost& dialog, DialogMessage message, uintptr_t wParam) {
    switch (message) {
    case DialogMessage::InitDialog:
        dialog.checkRadioButton(IDC_MUSIC_ON, IDC_MUSIC_OFF, settings.music ? IDC_MUSIC_ON : IDC_MUSIC_OFF);
        dialog.checkRadioButton(IDC_FULLSCREEN_ON, IDC_FULLSCREEN_OFF,
                                settings.fullscreen ? IDC_FULLSCREEN_ON : IDC_FULLSCREEN_OFF);
        dialog.checkRadioButton(IDC_MODE_800x600x32, IDC_MODE_640x480x16, modeInForce(settings));
        return 1;
    case DialogMessage::Command:
        switch (wParam) {
        case IDC_MUSIC_ON: settings.music = true; break;
        case IDC_MUSIC_OFF: settings.music = false; break;
        case IDC_FULLSCREEN_ON: settings.fullscreen = true; break;
        case IDC_FULLSCREEN_OFF: settings.fullscreen = false; break;
        case IDC_MODE_800x600x32: setMode(settings, 800, 600, 32); break;
        case IDC_MODE_800x600x16: setMode(settings, 800, 600, 16); break;
        case IDC_MODE_640x480x32: setMode(settings, 640, 480, 32); break;
        case IDC_MODE_640x480x16: setMode(settings, 640, 480, 16); break;
        case IDC_START: dialog.endDialog(0); break;
        default: break;
        }
        return 1;
    case DialogMessage::Close:
        dialog.endDialog(0);
        settings.cancelled = true;
        return 1;
    case DialogMessage::Other: break;
    }
    return 0;
}

void runSetupDialog(Settings& settings) {
    platform::runDialog(setupDialogTemplate(), [&settings](platform::DialogHost& dialog, DialogMessage message,
                                                           uintptr_t wParam) {
        return setupDialogProc(settings, dialog, message, wParam);
    });
}
