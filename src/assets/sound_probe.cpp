// The MP3 frame walk: an MPEG audio frame starts with 11 set sync bits and a
// header naming version, layer, bit rate, sample rate and padding, which
// give the frame's length in bytes and its number of samples. The walk
// starts at the first header followed by two more valid ones (within the
// first 64 KiB after a tag), steps from frame to frame, and stops at the end
// or at bytes that are no frame header, from where it looks for the next
// run of frames as a decoder does; a trailing ID3v1 or APE tag is not
// damage. Free-format frames (bit-rate index 0) are not walked.
#include "assets/sound_probe.h"

#include <cstring>

namespace {

struct FrameHeader {
    size_t length = 0;  // bytes, header included
    int samples = 0;
    int sampleRate = 0;
};

constexpr int kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG 1, layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG 1, layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG 1, layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG 2 and 2.5, layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG 2 and 2.5, layers II, III
};
constexpr int kSampleRates[4][3] = {
    {11025, 12000, 8000},   // MPEG 2.5
    {0, 0, 0},              // reserved
    {22050, 24000, 16000},  // MPEG 2
    {44100, 48000, 32000},  // MPEG 1
};

bool frameAt(const uint8_t* data, size_t size, size_t at, FrameHeader& frame) {
    if (size < 4 || at > size - 4) return false;
    const uint8_t* h = data + at;
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return false;
    const int version = (h[1] >> 3) & 3, layer = (h[1] >> 1) & 3;  // layer 3 = I, 2 = II, 1 = III
    const int rateIndex = h[2] >> 4, srIndex = (h[2] >> 2) & 3, padding = (h[2] >> 1) & 1;
    if (version == 1 || layer == 0 || srIndex == 3 || rateIndex == 0 || rateIndex == 15) return false;
    const bool mpeg1 = version == 3;
    const int table = mpeg1 ? 3 - layer : layer == 3 ? 3 : 4;
    const int64_t bitRate = int64_t{kBitRates[table][rateIndex]} * 1000;
    frame.sampleRate = kSampleRates[version][srIndex];
    if (layer == 3) {
        frame.samples = 384;
        frame.length = static_cast<size_t>((12 * bitRate / frame.sampleRate + padding) * 4);
    } else {
        frame.samples = layer == 1 && !mpeg1 ? 576 : 1152;
        frame.length = static_cast<size_t>(frame.samples / 8 * bitRate / frame.sampleRate + padding);
    }
    return frame.length > 4;
}

bool startsWith(const uint8_t* data, size_t size, size_t at, const char* text) {
    const size_t n = std::strlen(text);
    return at <= size && size - at >= n && std::memcmp(data + at, text, n) == 0;
}

// The first bytes are UTF-8 text: no control characters but tabs and line
// ends, every byte above 0x7F part of a well-formed sequence.
bool looksLikeText(const uint8_t* data, size_t size) {
    const size_t n = size < 512 ? size : 512;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = data[i];
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
        if (c < 0x80) continue;
        const size_t more = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
        if (more == 0) return false;
        for (size_t k = 1; k <= more && i + k < n; ++k)
            if ((data[i + k] & 0xC0) != 0x80) return false;
        i += more;
    }
    return n > 0;
}

// Bytes of an ID3v2 tag at the start (0 without one).
size_t id3Length(const uint8_t* data, size_t size) {
    if (!startsWith(data, size, 0, "ID3") || size < 10) return 0;
    const size_t body = size_t{data[6] & 0x7Fu} << 21 | size_t{data[7] & 0x7Fu} << 14 |
                        size_t{data[8] & 0x7Fu} << 7 | size_t{data[9] & 0x7Fu};
    return 10 + body + (data[5] & 0x10 ? 10 : 0);
}

// The first byte in [from, limit) where three valid frames follow one
// another, or `size` when there is none.
size_t findFrames(const uint8_t* data, size_t size, size_t from, size_t limit) {
    FrameHeader frame, next;
    for (size_t at = from; at < size && at < limit; ++at) {
        if (frameAt(data, size, at, frame) && frameAt(data, size, at + frame.length, next) &&
            frameAt(data, size, at + frame.length + next.length, next))
            return at;
    }
    return size;
}

}  // namespace

SoundProbe probeSound(const uint8_t* data, size_t size) {
    SoundProbe probe;
    if (startsWith(data, size, 0, "OggS")) probe.kind = SoundKind::Ogg;
    else if (startsWith(data, size, 0, "RIFF") && startsWith(data, size, 8, "WAVE")) probe.kind = SoundKind::Wav;
    else if (startsWith(data, size, 0, "fLaC")) probe.kind = SoundKind::Flac;
    else if (startsWith(data, size, 4, "ftyp")) probe.kind = SoundKind::Mp4;
    if (probe.kind != SoundKind::Unknown) return probe;

    const size_t tag = id3Length(data, size);
    size_t at = findFrames(data, size, tag, tag + (size_t{64} << 10));
    FrameHeader frame;
    if (at >= size) {
        if (tag == 0 && looksLikeText(data, size)) probe.kind = SoundKind::Text;
        return probe;
    }
    frameAt(data, size, at, frame);
    probe.kind = SoundKind::Mp3;
    probe.sampleRate = frame.sampleRate;
    int64_t samples = 0;
    for (;;) {
        while (frameAt(data, size, at, frame) && frame.length <= size - at) {
            samples += frame.samples;
            ++probe.frames;
            at += frame.length;
        }
        // A trailing tag, or a last frame cut short by a few bytes (normal
        // at an encoder's end), is no damage; anything else is, and the
        // decoder picks up the frames after it.
        if (startsWith(data, size, at, "TAG") || startsWith(data, size, at, "APETAGEX") ||
            startsWith(data, size, at, "LYRICS") || size - at <= 1024)
            break;
        if (probe.damagedAt == 0) {
            probe.damagedAt = at;
            probe.secondsBeforeDamage = static_cast<double>(samples) / probe.sampleRate;
        }
        at = findFrames(data, size, at + 1, size);
        if (at >= size) break;
    }
    probe.seconds = static_cast<double>(samples) / probe.sampleRate;
    return probe;
}

const char* soundKindText(SoundKind kind) {
    switch (kind) {
        case SoundKind::Mp3: return "an MP3 file";
        case SoundKind::Ogg: return "an Ogg file";
        case SoundKind::Wav: return "a WAV file";
        case SoundKind::Flac: return "a FLAC file";
        case SoundKind::Mp4: return "an MP4 (AAC) file";
        case SoundKind::Text: return "a text file";
        case SoundKind::Unknown: break;
    }
    return "no sound file the show knows";
}
