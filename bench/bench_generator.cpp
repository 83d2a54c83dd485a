// Made tasks: today's task for each of 365 days, and a random task of each
// difficulty for 100 seeds, each timed on its own, as a player waits for
// one. Targets at the 95th percentile: 100 ms for a day's task, 200 ms for
// a difficulty. The counters give the median, the 95th percentile and the
// slowest in milliseconds, and the figures tried and counted on average.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "puzzle/rules/generator.h"
#include "shell/library.h"

namespace {

using namespace vokta;

constexpr int kDays = 365;
constexpr std::uint32_t kSeeds = 100;
const Date kFirstDay{2026, 1, 1};

// Times each request, and reports its spread.
template <typename Requests> void timeEach(benchmark::State& state, const Requests& requests)
{
    const std::set<FigureShape> library = libraryShapes(VOKTA_RESOURCE_DIR "/tasks");
    std::vector<double> milliseconds;
    double candidates = 0;
    double counted = 0;
    for (auto _ : state) {
        milliseconds.clear();
        candidates = counted = 0;
        for (const TaskRequest& request : requests) {
            const auto start = std::chrono::steady_clock::now();
            TaskGenerator generator(request, library);
            while (!generator.work(1000)) {}
            const auto end = std::chrono::steady_clock::now();
            if (!generator.task())
                state.SkipWithError(("no task for " + taskRequestName(request)).c_str());
            milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            candidates += generator.candidates();
            counted += generator.counted();
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const auto at = [&](double share) {
        return milliseconds[static_cast<std::size_t>(share * static_cast<double>(milliseconds.size() - 1))];
    };
    const double count = static_cast<double>(milliseconds.size());
    state.counters["median_ms"] = at(0.5);
    state.counters["p95_ms"] = at(0.95);
    state.counters["slowest_ms"] = milliseconds.back();
    state.counters["tried"] = candidates / count;
    state.counters["counted"] = counted / count;
}

void BM_TodaysTaskOverAYear(benchmark::State& state)
{
    std::vector<TaskRequest> requests;
    for (int day = 0; day < kDays; ++day)
        requests.push_back({.kind = TaskRequest::Kind::Daily, .date = dateOfDay(dayNumber(kFirstDay) + day)});
    timeEach(state, requests);
}
BENCHMARK(BM_TodaysTaskOverAYear)->Iterations(1)->Unit(benchmark::kSecond);

void BM_RandomTaskOverAHundredSeeds(benchmark::State& state)
{
    const Difficulty difficulty = kDifficulties[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(difficultyName(difficulty)));
    std::vector<TaskRequest> requests;
    for (std::uint32_t seed = 0; seed < kSeeds; ++seed)
        requests.push_back({.difficulty = difficulty, .seed = seed});
    timeEach(state, requests);
}
BENCHMARK(BM_RandomTaskOverAHundredSeeds)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
