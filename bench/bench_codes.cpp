// Task codes: writing and reading the codes of the library's 46 tasks, and
// reading the longest code there can be. Target: under 10 us a code, far
// below anything a player could notice when a link opens.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "puzzle/rules/task_code.h"
#include "puzzle/rules/task_library.h"

namespace {

using namespace vokta;

std::vector<Task> libraryTasks()
{
    std::ifstream file(VOKTA_RESOURCE_DIR "/tasks/index.txt");
    const std::string index{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<Task> tasks;
    for (const IndexLine& line : parseLibraryIndex(index)) {
        const TaskFileRead read = readTaskFile(VOKTA_RESOURCE_DIR "/tasks/" + line.field(IndexField::File));
        if (read.task)
            tasks.push_back(*read.task);
    }
    return tasks;
}

void BM_EncodeLibraryTaskCodes(benchmark::State& state)
{
    const std::vector<Task> tasks = libraryTasks();
    for (auto _ : state) {
        for (const Task& task : tasks)
            benchmark::DoNotOptimize(encodeTaskCode(task));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tasks.size()));
}
BENCHMARK(BM_EncodeLibraryTaskCodes)->Unit(benchmark::kMicrosecond);

void BM_DecodeLibraryTaskCodes(benchmark::State& state)
{
    std::vector<std::string> codes;
    for (const Task& task : libraryTasks())
        codes.push_back(*encodeTaskCode(task).code);
    for (auto _ : state) {
        for (const std::string& code : codes)
            benchmark::DoNotOptimize(decodeTaskCode(code));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(codes.size()));
}
BENCHMARK(BM_DecodeLibraryTaskCodes)->Unit(benchmark::kMicrosecond);

// 27 cells listed in the widest box a task file allows: 282 letters.
void BM_DecodeTheLongestCode(benchmark::State& state)
{
    Task task{kPieceTotal, kMaxCells, {{-1.0e6f, -1.0e6f, -1.0e6f}}};
    for (int k = 1; k < kMaxCells; ++k)
        task.cells.push_back({1.0e6f, 1.0e6f, 1.0e6f - 10.0f * static_cast<float>(k)});
    const std::string code = *encodeTaskCode(task).code;
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeTaskCode(code));
}
BENCHMARK(BM_DecodeTheLongestCode)->Unit(benchmark::kMicrosecond);

}  // namespace
