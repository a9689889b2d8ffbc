#include "render/render.h"
// STUB
void setupOmniLight(const OmniLight&) {}
void setupSpotLight(SpotLight&) {}
void drawBillboard(const Vec3&, float) {}
