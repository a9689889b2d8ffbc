// The title's camera path and lights, which the ending plays again.
#pragma once

#include "scene/scene.h"

// The title picture, faded in and out over the title and shown again at the end.
inline constexpr int kTitlePicture = 19;

// scene3's camera at time t of the path (the clock in the title, the time
// since the ending's start in the ending) and its two lights.
void placeTitleCamera(double t, Scene& scene3);
