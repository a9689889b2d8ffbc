// What a soundtrack file is, from its bytes alone: an MP3 (MPEG audio
// frames, after an optional ID3v2 tag) with its length, sample rate and
// whether its frames run to the end of the file, or another kind of file
// that the show cannot play, named by its signature (Ogg, WAV, FLAC, MP4,
// text). Nothing is decoded: the frame headers are walked, every read
// inside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>

enum class SoundKind { Mp3, Ogg, Wav, Flac, Mp4, Text, Unknown };

struct SoundProbe {
    SoundKind kind = SoundKind::Unknown;  // Unknown
    double seconds = 0.0;    // 0; MP3: the length its frames add up to
    int sampleRate = 0;      // 0; MP3: of its first frame, in Hz
    int64_t frames = 0;      // 0; MP3: frames walked
    size_t damagedAt = 0;    // 0; MP3: first byte that is no frame before the end (0: none)
    double secondsBeforeDamage = 0.0;  // 0; MP3: the length of the frames before it
};

// The file's kind, and for an MP3 what its frames say.
SoundProbe probeSound(const uint8_t* data, size_t size);
// "an MP3 file", "an Ogg file", ... "a text file", "no sound file the show knows".
const char* soundKindText(SoundKind kind);
// The file-size cap of the probe's reader: far above an MP3 of the show's length.
constexpr size_t kSoundFileCap = size_t{256} << 20;
