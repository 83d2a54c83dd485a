// Reading the game's model file, which happens for every scene object loaded
// from it; the whole read should stay well under 200 microseconds.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "render/model/xfile.h"

namespace {

// vokta.x is copied beside the executables at build time.
std::string modelPath()
{
    char exe[4096];
    const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0)
        return "vokta.x";
    std::string path(exe, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + "vokta.x";
}

void BM_ModelParseFromMemory(benchmark::State& state)
{
    std::ifstream in(modelPath(), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    if (!vokta::xfile::parse(text, "vokta.x").document) {
        state.SkipWithError("vokta.x is missing or does not parse");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(vokta::xfile::parse(text, "vokta.x"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ModelParseFromMemory)->Unit(benchmark::kMicrosecond);

void BM_ModelLoadFile(benchmark::State& state)
{
    const std::string path = modelPath();
    if (!vokta::xfile::loadFile(path).document) {
        state.SkipWithError("vokta.x is missing or does not parse");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(vokta::xfile::loadFile(path));
}
BENCHMARK(BM_ModelLoadFile)->Unit(benchmark::kMicrosecond);

}  // namespace
