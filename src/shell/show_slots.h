// The ten scene records in slot order: the script each is loaded from and
// the roll (degrees) set right after loading (0: none).
#pragma once

#include "shell/timeline.h"

struct SceneSlot {
    Scene Show::*scene;
    const char* script;
    int roll;
};

inline constexpr SceneSlot kSceneSlots[] = {
    {&Show::scene, "data\\script\\scene.dat", 10},
    {&Show::scene2, "data\\script\\scene2.dat", 18},
    {&Show::scene3, "data\\script\\scene3.dat", 0},
    {&Show::scene4, "data\\script\\scene4.dat", 30},
    {&Show::scene5, "data\\script\\scene5.dat", 0},
    {&Show::scene6, "data\\script\\scene6.dat", 25},
    {&Show::scene7, "data\\script\\scene7.dat", 0},
    {&Show::scene8, "data\\script\\scene8.dat", 15},
    {&Show::scene10, "data\\script\\scene10.dat", 0},
    {&Show::scene11, "data\\script\\scene11.dat", 15},
};
