#include "scene/scene.h"
// STUB: replaced by the meshes work.
SceneObject& Scene::addObject() { objects.push_back(std::make_unique<SceneObject>()); return *objects.back(); }
void Scene::addOmniLight(float, float, float, float, const Color4&, const Color4&, const Color4&, int32_t, float) {}
void Scene::addSpotLight(float, float, float, float, int32_t) {}
void Scene::addMagnet(float, float, float, float) {}
