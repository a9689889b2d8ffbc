#include "shell/frame.h"
// STUB: replaced by the foundation work.
void runSceneLoop(const SceneLoop&) {}
void setProjection(int) {}
