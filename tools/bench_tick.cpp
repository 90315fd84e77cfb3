// zova-bench: one portable tick of the scene (clear, 30 balls drawn, collided, steered, moved)
// beside a plain memset of the same canvas bytes and beside the tick drawn with the
// straightforward per-pixel rasteriser, at three screen sizes. A summary of the ratios follows
// the table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/raster_image.h"
#include "scene/ball_table.h"
#include "scene/frame_step.h"
#include "scene/random.h"
#include "scene/scene_start.h"

namespace {

struct Size {
    int32_t width;
    int32_t height;
};

constexpr Size Sizes[] = {{640, 480}, {1920, 1080}, {3840, 2160}};
constexpr uint32_t BenchSeed = 20240601;
// Balls start beyond the corners; after this many ticks the scene is in its wandering state.
constexpr int WarmUpTicks = 200;

std::string SizeName(const Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// A canvas and the scene state after warming up, restored before each measured tick so that
// every tick draws the same representative picture.
struct Scene {
    RasterImage canvas;
    BallTable table{};
    uint32_t state = 0;
    int onCanvas = 0;

    explicit Scene(const Size& size) {
        canvas.Create(size.width, size.height, 24);
        BallCount = MaxBalls;
        RandomState = BenchSeed;
        PlaceBalls(size.width, size.height);
        for (int tick = 0; tick < WarmUpTicks; ++tick) StepScene(canvas, size.width, size.height);
        table = Balls;
        state = RandomState;
        for (int i = 0; i < MaxBalls; ++i) {
            onCanvas += table.posX[i] >= 0 && table.posX[i] < size.width && table.posY[i] >= 0 &&
                        table.posY[i] < size.height;
        }
    }
    void Restore() {
        Balls = table;
        RandomState = state;
    }
};

std::map<std::string, std::unique_ptr<Scene>>& Scenes() {
    static std::map<std::string, std::unique_ptr<Scene>> scenes;
    return scenes;
}

Scene& SceneFor(const Size& size) {
    auto& slot = Scenes()[SizeName(size)];
    if (!slot) slot = std::make_unique<Scene>(size);
    return *slot;
}

void SetCounters(benchmark::State& state, const Size& size) {
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(size.width) * size.height,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

// The table copy (under 2 KB) stays inside the timing: it costs far less than PauseTiming would.
void TickBenchmark(benchmark::State& state, Size size,
                   void (*step)(RasterImage&, int32_t, int32_t)) {
    Scene& scene = SceneFor(size);
    for (auto _ : state) {
        scene.Restore();
        step(scene.canvas, size.width, size.height);
        benchmark::ClobberMemory();
    }
    state.counters["balls on canvas"] = scene.onCanvas;
    SetCounters(state, size);
}

void MemsetBenchmark(benchmark::State& state, Size size) {
    Scene& scene = SceneFor(size);
    uint8_t* bytes = scene.canvas.RowPointer(size.height - 1);
    const size_t count = static_cast<size_t>(scene.canvas.Stride()) * size.height;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bytes);
        std::memset(bytes, 0, count);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * count);
    SetCounters(state, size);
}

// The usual console table, then tick / memset and straightforward / tick per size.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            times_[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-12s %14s %14s %8s %16s %8s\n", "size", "tick", "memset", "ratio",
                    "straightforward", "speedup");
        for (const Size& size : Sizes) {
            const std::string name = SizeName(size);
            const double tick = Median("Tick/" + name);
            const double clear = Median("Memset/" + name);
            const double reference = Median("Straightforward/" + name);
            if (tick <= 0) continue;
            std::printf("%-12s %11.1f us %11.1f us %8.2f %13.1f us %8.1f\n", name.c_str(), tick,
                        clear, clear > 0 ? tick / clear : 0.0, reference,
                        reference > 0 ? reference / tick : 0.0);
        }
    }

  private:
    double Median(const std::string& name) {
        auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) return 0;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, std::vector<double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Size& size : Sizes) {
        const std::string name = SizeName(size);
        benchmark::RegisterBenchmark(("Tick/" + name).c_str(), TickBenchmark, size, StepScene)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Memset/" + name).c_str(), MemsetBenchmark, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Straightforward/" + name).c_str(), TickBenchmark, size,
                                     StepSceneReference)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
