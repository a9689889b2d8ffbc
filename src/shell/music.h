// The soundtrack and the show clock. The clock is the platform's millisecond
// counter (replaceable through platform::setClockSource, e.g. by a capture
// mode that steps it by frames) read in one place, updateClock.
#pragma once

#include <cstdint>

extern float demoClock;      // 0; show time in tenths of a second
extern uint32_t clockBase;   // 0; millisecond counter value at show time 0
extern uint32_t musicStream; // 0; handle of the soundtrack stream

// The soundtrack file, relative to the working directory.
constexpr const char* kSoundtrackPath = "data\\music\\drabelfinal.mp3";

// Starts the soundtrack. False (after its message) when the audio library is
// not the expected version; any other failure ends the process.
// `startSeconds` > 0 seeks the stream to that point right after it starts.
bool startMusic(double startSeconds = 0.0);
// Shutdown: frees the stream, then the audio library.
void stopMusic();
// "BASS ERROR" box with the text, releases the audio library and ends the
// process with status 1.
[[noreturn]] void fatalAudioError(const char* text);

// The show clock reads `startTime` (tenths of a second) now. With the
// stepped clock it starts at the first frame of the step at or after
// `startTime`.
void startClock(float startTime = 0.0f);
// Offline rendering: from the next startClock on, the clock runs through the
// frames of a fixed step from 0, steppedClock(0, n, fps), one frame per
// updateClock, whatever the wall clock says. fps 0 returns to the wall clock.
void useSteppedClock(int fps);
// Frames per second of the stepped clock; 0 on the wall clock.
int steppedClockFps();
// The first frame n of a fixed step from 0 whose clock is at or after `time`.
int64_t firstFrameAt(float time, int fps);
// demoClock = (counter - clockBase) read as signed 32 bits, x 0.01.
void updateClock();
// Clock value of frame n of a fixed step of `fps` frames a second that
// starts at `origin` (tenths of a second): origin + n * 10 / fps, worked out
// in double from n (never accumulated) and stored as float. The stepped
// clock, the seek and capture's frame times all use it.
float steppedClock(double origin, int64_t n, int fps);
// The arithmetic of updateClock, for any counter value.
float showTimeAt(uint32_t now, uint32_t base);
