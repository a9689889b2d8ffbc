#include "shell/settings.h"

int32_t screenWidth = 800;
int32_t screenHeight = 600;
int32_t screenBits = 32;
bool musicEnabled = true;
bool setupCancelled = false;
bool quitRequested = false;
int32_t timelineFrames = 0;
