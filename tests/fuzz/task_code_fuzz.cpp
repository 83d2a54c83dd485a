// Feeds arbitrary bytes to the task-code reader and writer. Read as a code,
// the bytes open no task, or a task of at most 27 cells that its pieces can
// fill, whose own code opens it again. Read as a figure (a piece count,
// then each cell's x, y and z as 16-bit numbers of cells), it has a code
// exactly when its pieces can fill it, and that code opens the same figure.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <tuple>

#include "puzzle/rules/task_code.h"

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "task code: %s\n", what);
    std::abort();
}

std::vector<vokta::Vec3> sorted(std::vector<vokta::Vec3> cells)
{
    std::sort(cells.begin(), cells.end(),
              [](vokta::Vec3 a, vokta::Vec3 b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
    return cells;
}

int cellsOfPieces(int pieceCount)
{
    return pieceCount <= 0 ? 0 : 4 * pieceCount - 1;
}

// The code opens exactly task's figure for task's pieces.
void expectOpens(const std::string& code, const vokta::Task& task)
{
    if (code.size() > vokta::kLongestTaskCode)
        fail("a code longer than the longest");
    const vokta::TaskCodeRead read = vokta::decodeTaskCode(code);
    if (!read.task)
        fail("a written code is refused");
    if (read.task->pieceCount != task.pieceCount || sorted(read.task->cells) != sorted(task.cells))
        fail("a written code opens another task");
}

void readAsCode(const uint8_t* data, size_t size)
{
    const vokta::TaskCodeRead read = vokta::decodeTaskCode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.task)
        return;
    const vokta::Task& task = *read.task;
    if (task.cells.size() > 27 || task.cellCount != static_cast<int>(task.cells.size()) || task.pieceCount < 1 ||
        task.pieceCount > 7 || task.cellCount > cellsOfPieces(task.pieceCount) || task.cells.empty())
        fail("opened a task the game cannot hold");
    const vokta::TaskCodeWrite written = vokta::encodeTaskCode(task);
    if (!written.code)
        fail("an opened task has no code");
    expectOpens(*written.code, task);
}

void readAsFigure(const uint8_t* data, size_t size)
{
    constexpr std::size_t kCellBytes = 6;
    if (size == 0)
        return;
    vokta::Task task;
    task.pieceCount = static_cast<int8_t>(data[0]);
    for (std::size_t at = 1; at + kCellBytes <= size; at += kCellBytes) {
        float coordinates[3];
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const auto units = static_cast<int16_t>(data[at + 2 * axis] | data[at + 2 * axis + 1] << 8);
            coordinates[axis] = 10.0f * static_cast<float>(units);
        }
        task.cells.push_back({coordinates[0], coordinates[1], coordinates[2]});
    }
    task.cellCount = static_cast<int>(task.cells.size());
    const std::vector<vokta::Vec3> cells = sorted(task.cells);
    const bool repeats = std::adjacent_find(cells.begin(), cells.end()) != cells.end();
    const bool fits = task.pieceCount >= 1 && task.pieceCount <= 7 && !cells.empty() &&
        task.cellCount <= cellsOfPieces(task.pieceCount) && !repeats;
    const vokta::TaskCodeWrite written = vokta::encodeTaskCode(task);
    if (written.code.has_value() != fits)
        fail(fits ? "a figure its pieces fill has no code" : "a figure its pieces cannot fill has a code");
    if (written.code)
        expectOpens(*written.code, task);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readAsCode(data, size);
    readAsFigure(data, size);
    return 0;
}
