// Where captured frames go: numbered PNG files in a folder, or raw frames
// piped into an ffmpeg process that encodes a video (and muxes the
// soundtrack). Frames arrive as RGB bytes, bottom row first, as GL reads them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct CaptureTarget {
    std::string path;           // output file (.mp4/.mkv/.webm) or an existing folder
    int width = 800;            // 800
    int height = 600;           // 600
    int fps = 60;               // 60
    std::string soundtrack;     // MP3 to mux from `startSeconds`; empty: no audio
    double startSeconds = 0.0;  // 0
};

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // One frame of width*height*3 bytes, bottom row first. False on a write failure.
    virtual bool writeFrame(const uint8_t* rgbBottomUp) = 0;
    // Closes the output (waits for the encoder). False when the output is incomplete.
    virtual bool finish() = 0;
    // Message for the last failure.
    virtual const std::string& error() const = 0;
};

enum class CaptureKind { PngFolder, Video, Unsupported };
CaptureKind captureKind(const std::string& path);

// Opens the sink for the target; nullptr with `error` set when it cannot.
std::unique_ptr<FrameSink> openFrameSink(const CaptureTarget& target, std::string& error);
