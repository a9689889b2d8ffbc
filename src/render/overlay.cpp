#include "render/render.h"
// STUB
void drawOverlay(int32_t, float) {}
void drawOverlayAt(int32_t, float, float, float) {}
