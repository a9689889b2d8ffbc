#include "render/render.h"
// STUB: replaced by the rendering work.
void drawScene(Scene&) {}
void beginSceneFrame(Scene&) {}
void endSceneFrame(Scene&) {}
void applyObjectSettings(SceneObject&) {}
