#include "scene/scene.h"
// STUB: replaced by the meshes work.
void Scene::load3ds(const std::string&, float, bool) {}
