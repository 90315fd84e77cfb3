// zova-bench: the saver's tick (last tick's balls cleared, 30 balls drawn, collided, steered,
// moved) beside the straightforward tick (whole canvas cleared, every ball drawn with the
// per-pixel rasteriser) and a plain memset of the canvas, at three screen sizes, all in one run.
// A summary of the ratios follows the table.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "raster/raster_image.h"
#include "reference/straightforward.h"
#include "scene/frame_step.h"
#include "scene/scene.h"

namespace {

struct Size {
    int32_t width;
    int32_t height;
};

constexpr Size Sizes[] = {{640, 480}, {1920, 1080}, {3840, 2160}};
constexpr uint32_t BenchSeed = 20240601;

std::string SizeName(const Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

int BallsOnCanvas(const Scene& scene) {
    int count = 0;
    for (int i = 0; i < MaxBalls; ++i) {
        const BallTable& b = scene.balls;
        count +=
            b.posX[i] >= 0 && b.posX[i] < scene.width && b.posY[i] >= 0 && b.posY[i] < scene.height;
    }
    return count;
}

// A canvas and a busy scene state, restored before each measured tick so that every tick draws
// the same picture. Balls start beyond the corners, up to three quarters of the canvas away, so
// the warm-up grows with the canvas; after it, the state with the most balls in view within the
// next 200 ticks is kept.
struct BenchScene {
    RasterImage canvas;
    Scene scene;
    Scene kept;
    int onCanvas = -1;

    explicit BenchScene(const Size& size) {
        canvas.Create(size.width, size.height, 24);
        StartScene(&scene, size.width, size.height, MaxBalls, BenchSeed);
        const int warmUp = 200 * size.width / 640;
        for (int tick = 0; tick < warmUp + 200; ++tick) {
            if (tick >= warmUp && BallsOnCanvas(scene) > onCanvas) {
                onCanvas = BallsOnCanvas(scene);
                kept = scene;
            }
            StepScene(&scene, canvas, nullptr);
        }
    }
    // Every measured tick starts from the kept state, so each draws the same picture and clears
    // the same rectangles.
    Scene& Restore() {
        scene = kept;
        return scene;
    }
};

std::map<std::string, std::unique_ptr<BenchScene>>& Scenes() {
    static std::map<std::string, std::unique_ptr<BenchScene>> scenes;
    return scenes;
}

BenchScene& SceneFor(const Size& size) {
    auto& slot = Scenes()[SizeName(size)];
    if (!slot) slot = std::make_unique<BenchScene>(size);
    return *slot;
}

void SetCounters(benchmark::State& state, const Size& size) {
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(size.width) * size.height,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

// The table copy (under 2 KB) stays inside the timing: it costs far less than PauseTiming would.
void TickBenchmark(benchmark::State& state, Size size, void (*step)(Scene&, RasterImage&)) {
    BenchScene& scene = SceneFor(size);
    for (auto _ : state) {
        step(scene.Restore(), scene.canvas);
        benchmark::ClobberMemory();
    }
    state.counters["balls on canvas"] = scene.onCanvas;
    SetCounters(state, size);
}

void QuietTick(Scene& scene, RasterImage& canvas) { StepScene(&scene, canvas, nullptr); }

void MemsetBenchmark(benchmark::State& state, Size size) {
    BenchScene& scene = SceneFor(size);
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
    explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                times_[name].push_back(run.GetAdjustedCPUTime());
            } else if (run.aggregate_name == "median") {
                medians_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        // CPU time: on a shared machine wall time also counts the other processes.
        std::printf("\nCPU time per frame (median of repetitions)\n");
        std::printf("%-12s %11s %16s %11s %16s %13s\n", "size", "tick", "straightforward", "memset",
                    "straightforward/", "tick/memset");
        std::printf("%-12s %11s %16s %11s %16s\n", "", "", "", "", "tick");
        for (const Size& size : Sizes) {
            const std::string name = SizeName(size);
            const double tick = Median("Tick/" + name);
            const double memset = Median("Memset/" + name);
            const double reference = Median("Straightforward/" + name);
            if (tick <= 0 || memset <= 0) continue;
            std::printf("%-12s %8.1f us %13.1f us %8.1f us %16.1f %13.2f\n", name.c_str(), tick,
                        reference, memset, reference / tick, tick / memset);
        }
    }

  private:
    double Median(const std::string& name) {
        const auto median = medians_.find(name);
        if (median != medians_.end()) return median->second;
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) return 0;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, double> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Size& size : Sizes) {
        const std::string name = SizeName(size);
        benchmark::RegisterBenchmark(("Tick/" + name).c_str(), TickBenchmark, size, QuietTick)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Memset/" + name).c_str(), MemsetBenchmark, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Straightforward/" + name).c_str(), TickBenchmark, size,
                                     StepSceneReference)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Colour only for a terminal, so that saved output stays plain text.
    SummaryReporter reporter(isatty(STDOUT_FILENO) == 1 ? benchmark::ConsoleReporter::OO_Defaults
                                                        : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
