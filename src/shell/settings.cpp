#include "shell/settings.h"

#include "shell/command_line.h"

Settings settingsFrom(const CommandLine& options) {
    Settings settings;
    if (options.fullscreen) settings.fullscreen = *options.fullscreen;
    if (options.desktopSize) {
        settings.width = 0;
        settings.height = 0;
        settings.bits = 32;
    } else if (options.width > 0) {
        settings.width = options.width;
        settings.height = options.height;
        settings.bits = options.bits;
    }
    if (!options.music) settings.music = false;
    return settings;
}
