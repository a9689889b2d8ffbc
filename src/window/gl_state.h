#pragma once

// Loads the texture list, then puts the GL into the base state every drawing
// operation starts from. False when the textures failed (already reported).
bool setupGlState();
// The state part of setupGlState alone (tests and tools that bring their own
// textures).
void applyBaseGlState();
