// The life of the show: setup dialog, window, loading, the frames and the
// orderly end.
#pragma once

#include "shell/command_line.h"
#include "shell/show_driver.h"

constexpr const char* kShowTitle = "vantrel :: tamsk orbelune";

// Start-up, show and shutdown with the options already parsed (the data
// folder already chosen), run as the driver says (the default: a person
// watches). 0 after the show or a cancelled setup, 1 after a failure to
// start (its boxes shown).
int runShow(const CommandLine& options, const ShowDriver& driver = {});
