#pragma once

#include "assets/diagnostic.h"

// Loads the texture list, then puts the GL into the base state every drawing
// operation starts from. False when the textures failed (their records in
// `report`).
bool setupGlState(Diagnostics& report);
// The state part of setupGlState alone (tests and tools that bring their own
// textures).
void applyBaseGlState();
