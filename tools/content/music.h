// The soundtrack: a 231-second piece synthesized from code (drums, bass, pads,
// an arpeggio and a lead) whose sections change exactly at the show's scene
// changes, plus its MP3 encoding.
#pragma once

#include <cstdint>
#include <vector>

namespace content {

constexpr int kSampleRate = 44100;
constexpr double kSoundtrackSeconds = 231.0;

struct StereoAudio {
    int sampleRate = kSampleRate;  // 44100
    std::vector<float> left;       // -1..1
    std::vector<float> right;      // -1..1
};

// Section boundaries in seconds: 0, 20.5, 46.3, ..., 231.0.
const std::vector<double>& sectionBoundaries();

// Renders the whole piece; peaks are normalised below full scale.
StereoAudio renderSoundtrack();

// Encodes to MP3 (CBR at the given bit rate, joint stereo) with libmp3lame.
// Empty on encoder failure.
std::vector<uint8_t> encodeMp3(const StereoAudio& audio, int kbps);

}  // namespace content
