// The bench: the whole show played headless at a fixed frame step with no
// output, timing every frame. Each presented frame ends with glFinish so the
// time between two frames is what the software rasteriser really spent on
// it. The report (JSON on stdout) gives per section and in total the frame
// count, frames per second, median and 99th-percentile frame time, plus the
// start-up time (process start to the first presented frame) and the peak
// resident memory.
#include "capture/bench_run.h"

#include "platform/gl.h"
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <vector>

#include "capture/offline_run.h"
#include "shell/app.h"
#include "shell/json_writer.h"
#include "shell/schedule.h"
#include "shell/settings.h"

namespace {

using Clock = std::chrono::steady_clock;

const Clock::time_point processStart = Clock::now();

struct FrameTime {
    float ms;
    uint8_t section;
};

void writeStats(JsonWriter& json, std::vector<float>& ms) {
    double sum = 0.0;
    for (float v : ms) sum += v;
    json.value("frames", static_cast<int64_t>(ms.size()));
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * (ms.size() - 1) + 0.5))]; };
    json.value("fps", sum > 0.0 ? 1000.0 * static_cast<double>(ms.size()) / sum : 0.0)
        .value("meanMs", sum / static_cast<double>(ms.size()))
        .value("medianMs", static_cast<double>(at(0.5)))
        .value("p99Ms", static_cast<double>(at(0.99)))
        .value("maxMs", static_cast<double>(ms.back()));
}

}  // namespace

int runBench(const CommandLine& options) {
    const CommandLine run = offlineOptions(options);
    const OfflineSpan span = offlineSpan(run);

    std::vector<FrameTime> frames;
    frames.reserve(static_cast<size_t>(span.frameCount()) + 16);
    Clock::time_point last{};
    double startupMs = -1.0;
    const ShowDriver driver = offlineDriver(run, [&](float) {
        glFinish();
        Clock::time_point now = Clock::now();
        if (startupMs < 0.0) {
            startupMs = std::chrono::duration<double, std::milli>(now - processStart).count();
        } else if (frames.size() < frames.capacity()) {
            float ms = std::chrono::duration<float, std::milli>(now - last).count();
            // The frame just finished was drawn with the clock of the
            // previous step; attribute it to that frame's section.
            frames.push_back({ms, static_cast<uint8_t>(sectionAt(span.frameClock(static_cast<int64_t>(frames.size()) + 1)))});
        }
        last = now;
        return true;
    });
    const int status = runShow(run, driver);
    if (status != 0) return status;
    const Settings settings = settingsFrom(run);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    JsonWriter json(std::cout);
    json.beginObject()
        .value("width", settings.width)
        .value("height", settings.height)
        .value("fpsStep", run.fps)
        .value("startupMs", startupMs)
        .value("peakRssMiB", static_cast<double>(usage.ru_maxrss) / 1024.0);
    json.beginArray("sections");
    std::vector<float> all;
    for (size_t s = 0; s < kSectionCount; ++s) {
        std::vector<float> ms;
        for (const FrameTime& f : frames)
            if (f.section == s) ms.push_back(f.ms);
        all.insert(all.end(), ms.begin(), ms.end());
        json.beginObject().value("section", static_cast<int>(s) + 1);
        writeStats(json, ms);
        json.endObject();
    }
    json.endArray().beginObject("total");
    writeStats(json, all);
    json.endObject().endObject();
    return 0;
}
