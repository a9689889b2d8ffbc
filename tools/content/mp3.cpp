// MP3 encoding of the soundtrack with libmp3lame: constant bit rate, joint
// stereo, no tags, so the same samples always give the same bytes.
#include <lame/lame.h>

#include <algorithm>
#include <cmath>

#include "content/music.h"

namespace content {

std::vector<uint8_t> encodeMp3(const StereoAudio& audio, int kbps) {
    lame_global_flags* lame = lame_init();
    if (!lame) return {};
    lame_set_in_samplerate(lame, audio.sampleRate);
    lame_set_out_samplerate(lame, audio.sampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return {};
    }
    const size_t total = std::min(audio.left.size(), audio.right.size());
    constexpr size_t kChunk = 8192;
    std::vector<short> l(kChunk), r(kChunk);
    std::vector<uint8_t> out;
    std::vector<unsigned char> buf(kChunk * 5 / 4 + 7200);
    bool ok = true;
    for (size_t pos = 0; pos < total && ok; pos += kChunk) {
        const size_t n = std::min(kChunk, total - pos);
        for (size_t i = 0; i < n; ++i) {
            l[i] = static_cast<short>(std::lround(std::clamp(audio.left[pos + i], -1.0f, 1.0f) * 32767.0f));
            r[i] = static_cast<short>(std::lround(std::clamp(audio.right[pos + i], -1.0f, 1.0f) * 32767.0f));
        }
        const int written = lame_encode_buffer(lame, l.data(), r.data(), static_cast<int>(n), buf.data(),
                                               static_cast<int>(buf.size()));
        if (written < 0) ok = false;
        else out.insert(out.end(), buf.begin(), buf.begin() + written);
    }
    if (ok) {
        const int written = lame_encode_flush(lame, buf.data(), static_cast<int>(buf.size()));
        if (written < 0) ok = false;
        else out.insert(out.end(), buf.begin(), buf.begin() + written);
    }
    lame_close(lame);
    if (!ok) out.clear();
    return out;
}

}  // namespace content
