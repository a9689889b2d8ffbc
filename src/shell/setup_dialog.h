// The setup dialog shown before anything else: music on/off, full screen
// on/off, one of four screen modes. Writes musicEnabled, fullscreen,
// screenWidth/Height/Bits and setupCancelled. Without a display it returns at
// once and the defaults stand.
#pragma once

void runSetupDialog();
