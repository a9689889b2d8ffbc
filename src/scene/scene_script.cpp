#include "scene/scene.h"
// STUB: replaced by the scene-script work.
void Scene::loadScene(const std::string&) {}
