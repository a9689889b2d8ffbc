#include "scene/scene.h"
// STUB: replaced by the meshes work.
void SceneObject::computeNormals(bool) {}
void SceneObject::assignRings(float, Vec3) { maxRing = 0; ringTable.assign(1, Vec3{}); }
