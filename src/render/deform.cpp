#include "render/render.h"
// STUB
void applyMagnets(const Scene&, MeshVertex&) {}
void restoreMagneticObjects(Scene&) {}
void shiftRings(SceneObject&) {}
void rotateByRing(SceneObject&, MeshVertex&) {}
void setRingAngles(SceneObject&, float, float, float) {}
