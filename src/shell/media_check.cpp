// Wording of the soundtrack, picture and script-tail findings. Commands
// quoted in hints use forward slashes, as a shell on Linux wants them.
#include "shell/media_check.h"

#include <cstdio>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "assets/picture_probe.h"
#include "assets/sound_probe.h"
#include "scene/scene_script.h"
#include "shell/music.h"
#include "shell/schedule.h"

namespace {

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", s);
    return text;
}

}  // namespace

void checkSoundtrack(DataCheckReport& report) {
    const std::string name = kSoundtrackPath;
    const FileBytes file = readFileBounded(resolveDataPath(kSoundtrackPath), kSoundFileCap, OverCap::ReadPrefix);
    if (!file.ok() || file.bytes.empty()) {
        report.problem(name + ": the soundtrack is missing or empty");
        return;
    }
    const SoundProbe sound = probeSound(file.bytes.data(), file.bytes.size());
    const char* original = sound.kind == SoundKind::Ogg    ? "original.ogg"
                           : sound.kind == SoundKind::Wav  ? "original.wav"
                           : sound.kind == SoundKind::Flac ? "original.flac"
                           : sound.kind == SoundKind::Mp4  ? "original.m4a"
                                                           : "original";
    const std::string convert = std::string(" Convert it: ffmpeg -i ") + original +
                                " -codec:a libmp3lame -b:a 192k -ar 44100 " + withSlashes(name);
    if (sound.kind != SoundKind::Mp3) {
        const std::string what = sound.kind == SoundKind::Unknown
                                     ? "holds no MP3 frames: it is damaged, or no sound file"
                                     : std::string("is ") + soundKindText(sound.kind) + ", not an MP3";
        report.problem(name + ": " + what + "; the show plays MP3 only and stops on \"Can't play stream\"." +
                       (sound.kind == SoundKind::Text ? "" : convert));
        return;
    }
    const double showSeconds = kShowEnd / 10.0;
    report.summary.push_back(name + ": MP3, " + seconds(sound.seconds) + ", " + std::to_string(sound.sampleRate) +
                             " Hz");
    if (sound.damagedAt != 0)
        report.warning(name + ": byte " + std::to_string(sound.damagedAt) + " (after " +
                       seconds(sound.secondsBeforeDamage) + ") is no MP3 frame: the file is damaged there and "
                       "the sound skips; encode it again");
    if (sound.seconds + 0.05 < showSeconds)
        report.warning(name + ": it is " + seconds(sound.seconds) + " long, shorter than the show's " +
                       seconds(showSeconds) + ": the show and its captures go silent after " +
                       seconds(sound.seconds) + " (a capture that starts later has no sound at all)");
    if (sound.sampleRate < 32000)
        report.warning(name + ": its sample rate is " + std::to_string(sound.sampleRate) +
                       " Hz, which sounds dull: encode it at 44100 Hz (ffmpeg ... -ar 44100)");
}

void checkPicture(const std::string& where, const std::string& entry, const RgbImage& image,
                  DataCheckReport& report) {
    const FileBytes file = readFileBounded(resolveDataPath(entry), kBitmapFileCap);
    const AlphaCoverage alpha = bitmapAlpha(file.bytes.data(), file.bytes.size());
    if (alpha.notOpaque > 0)
        report.warning(where + std::to_string(alpha.notOpaque) + " of its " + std::to_string(alpha.pixels) +
                       " pixels are transparent or partly so, but the show ignores alpha: they show their own "
                       "colour (often white or black). Flatten it: convert " + withSlashes(entry) +
                       " -background black -alpha remove BMP3:" + withSlashes(entry));
    if (image.width > kLargeTextureSide || image.height > kLargeTextureSide) {
        const uint64_t mib = (textureBytes(image.width, image.height) + (uint64_t{1} << 19)) >> 20;
        report.note(where + std::to_string(image.width) + "x" + std::to_string(image.height) + " takes about " +
                    std::to_string(mib) + " MiB as a texture with its mipmaps; " +
                    std::to_string(kLargeTextureSide) + "x" + std::to_string(kLargeTextureSide) +
                    " is plenty at 800x600: convert " + withSlashes(entry) + " -resize " +
                    std::to_string(kLargeTextureSide) + "x" + std::to_string(kLargeTextureSide) + " BMP3:" +
                    withSlashes(entry));
    }
}

void checkScriptTail(const std::string& script, DataCheckReport& report) {
    const FileBytes file = readFileBounded(resolveDataPath(script), kScriptFileCap);
    if (!file.ok()) return;
    const auto tail =
        textAfterEof(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    if (!tail) return;
    report.warning(script + ": line " + std::to_string(tail->first.number) + " \"" + tail->first.text + "\"" +
                   (tail->lines > 1 ? " and " + std::to_string(tail->lines - 1) + " more lines" : "") +
                   " after the EOF line (line " + std::to_string(tail->eofLine) +
                   ") are ignored: move them above it");
}
