#include "shell/timeline.h"
// STUB: replaced by the timeline work.
static uint32_t randState = 1;
int showRand() { randState = randState * 214013u + 2531011u; return static_cast<int>((randState >> 16) & 0x7fff); }
void resetShowRand(uint32_t state) { randState = state; }
void fillDustField(Show&) {}
void runTimeline(Show&) {}
