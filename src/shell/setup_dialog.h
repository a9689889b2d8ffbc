// The setup dialog shown before anything else: music on/off, full screen
// on/off, one of four screen modes, written into the run's settings (closing
// it marks them cancelled). Without a display it returns at once and the
// settings stand.
#pragma once

#include <cstdint>

#include "platform/dialog.h"
#include "shell/settings.h"

void runSetupDialog(Settings& settings);

// Control ids of the dialog.
enum SetupControl : int {
    IDC_START = 1001,          // "Tamsk : Orbelune"
    IDC_MUSIC_ON = 1018,
    IDC_MUSIC_OFF = 1019,
    IDC_FULLSCREEN_ON = 1021,
    IDC_FULLSCREEN_OFF = 1022,
    IDC_MODE_800x600x32 = 1038,
    IDC_MODE_800x600x16 = 1039,
    IDC_MODE_640x480x32 = 1040,
    IDC_MODE_640x480x16 = 1041,
};

// The dialog's layout, in dialog units.
const platform::DialogTemplate& setupDialogTemplate();

// The dialog's message procedure: marks the starting choices, writes the
// settings on each click, starts on the push button, cancels on
// close. Returns 1 for a handled message, 0 otherwise.
int setupDialogProc(Settings& settings, platform::DialogHost& dialog, platform::DialogMessage message,
                    uintptr_t wParam);
