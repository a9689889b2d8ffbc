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

#include "shell/app.h"
#include "shell/json_writer.h"
#include "shell/schedule.h"
#include "shell/settings.h"

namespace {

// The bench's start-up time counts from the program's start.
const std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();

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

BenchTimes::BenchTimes(const CommandLine& run) : run_(run), span_(offlineSpan(run)) {
    frames_.reserve(static_cast<size_t>(span_.frameCount()) + 16);
}

bool BenchTimes::presented() {
    glFinish();
    const Clock::time_point now = Clock::now();
    if (startupMs_ < 0.0) {
        startupMs_ = std::chrono::duration<double, std::milli>(now - processStart).count();
    } else if (frames_.size() < frames_.capacity()) {
        const float ms = std::chrono::duration<float, std::milli>(now - last_).count();
        // The frame just finished was drawn with the clock of the
        // previous step; attribute it to that frame's section.
        const float clock = span_.frameClock(static_cast<int64_t>(frames_.size()) + 1);
        frames_.push_back({ms, static_cast<uint8_t>(sectionAt(clock))});
    }
    last_ = now;
    return true;
}

void BenchTimes::write(std::ostream& out) const {
    const Settings settings = settingsFrom(run_);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    JsonWriter json(out);
    json.beginObject()
        .value("width", settings.width)
        .value("height", settings.height)
        .value("fpsStep", run_.fps)
        .value("startupMs", startupMs_)
        .value("peakRssMiB", static_cast<double>(usage.ru_maxrss) / 1024.0);
    json.beginArray("sections");
    std::vector<float> all;
    for (size_t s = 0; s < kSectionCount; ++s) {
        std::vector<float> ms;
        for (const FrameTime& f : frames_)
            if (f.section == s) ms.push_back(f.ms);
        all.insert(all.end(), ms.begin(), ms.end());
        json.beginObject().value("section", static_cast<int>(s) + 1);
        writeStats(json, ms);
        json.endObject();
    }
    json.endArray().beginObject("total");
    writeStats(json, all);
    json.endObject().endObject();
}

int runBench(const CommandLine& options) {
    const CommandLine run = offlineOptions(options);
    BenchTimes times(run);
    const int status = runShow(run, offlineDriver(run, [&times](float) { return times.presented(); }));
    if (status == 0) times.write(std::cout);
    return status;
}
