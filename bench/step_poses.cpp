// What a picture between two steps costs the show's own code, on the
// bundled show at the magnets (the largest pose: the vortex object's
// vertices) and the sparks (full particle pools): one step of the section
// (its motion and the pose it leaves) against the blend of two poses into
// the show and the newest written back, as a frame between two steps does
// besides drawing. Both are timed in the thread's CPU time, which other
// work on the machine does not stretch; the counter blendPerStep is the
// ratio of the two, blendUs the blend's CPU microseconds per frame.
#include <benchmark/benchmark.h>

#include <time.h>

#include <memory>

#include "assets/data_path.h"
#include "shell/frame.h"
#include "shell/startup.h"
#include "shell/timeline.h"

namespace {

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct LoadedShow {
    std::unique_ptr<Show> show = std::make_unique<Show>();
    Timeline timeline{*show};

    explicit LoadedShow(float at) {
        setDataFolder(ORBELUNE_BENCH_DATA);
        Diagnostics report;
        loadShowScenes(*show, report);
        startShowState(*show, timeline);
        stepTo(timeline, at);
    }
};

void poseCost(benchmark::State& state, float at) {
    LoadedShow loaded(at);
    Timeline& timeline = loaded.timeline;
    TimelineState fades;  // the fades' few values: the timeline's own are not touched
    StepPoses poses(*loaded.show, fades);
    poses.capture(timeline.clock(), timeline.section());
    double stepping = 0.0, blending = 0.0;
    float c = timeline.clock();
    for (auto _ : state) {
        const double start = cpuSeconds();
        c = stepClock(firstFrameAt(c, kStepRate) + 1);
        timeline.step(c);
        timeline.finish();
        const double stepped = cpuSeconds();
        poses.capture(c, timeline.section());
        const double captured = cpuSeconds();
        poses.blend(poses.pose(1), poses.pose(0), 0.5f);
        poses.restore();
        const double blended = cpuSeconds();
        stepping += stepped - start;
        blending += blended - captured;
    }
    state.counters["blendPerStep"] = blending / stepping;
    state.counters["blendUs"] = benchmark::Counter(blending * 1e6, benchmark::Counter::kAvgIterations);
}

void magnets(benchmark::State& state) { poseCost(state, 1400.0f); }
void sparks(benchmark::State& state) { poseCost(state, 900.0f); }
BENCHMARK(magnets)->Iterations(600);
BENCHMARK(sparks)->Iterations(600);

}  // namespace

BENCHMARK_MAIN();
