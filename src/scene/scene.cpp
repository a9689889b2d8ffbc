// Scene list growth: objects, omni lights, spot lights and magnets are
// appended in call order with their starting values; lists never shrink.
#include "scene/scene.h"

SceneObject& Scene::addObject() {
    objects.push_back(std::make_unique<SceneObject>());
    return *objects.back();
}

void Scene::addOmniLight(float x, float y, float z, float w, const Color4& ambient,
                         const Color4& diffuse, const Color4& specular, int32_t lightNumber,
                         float flareSize) {
    OmniLight& light = omniLights.emplace_back();
    light.position.setVec3(x, y, z, w);
    light.ambient = ambient;
    light.diffuse = diffuse;
    light.specular = specular;
    light.lightNumber = lightNumber;
    light.flareSize = flareSize;
}

void Scene::addSpotLight(float x, float y, float z, float w, int32_t lightNumber) {
    SpotLight& light = spotLights.emplace_back();
    light.position.setVec3(x, y, z, w);
    light.lightNumber = lightNumber;
}

void Scene::addMagnet(float x, float y, float z, float strength) {
    Magnet& magnet = magnets.emplace_back();
    magnet.setVec3(x, y, z, strength);
}
