// Feeds arbitrary bytes to the task-file reader. A refused file names itself
// and the problem; an accepted one, written back as the writer writes tasks,
// reads back to the very same task.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "puzzle/rules/task_file.h"
#include "shell/messages.h"

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "task file: %s\n", what);
    std::abort();
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vokta::TaskFileRead read = vokta::decodeTask(std::span(data, size), "fuzz.tsk");
    if (!read.task) {
        const vokta::Notice notice = vokta::describeTaskFileError(read.error);
        if (notice.text.find("fuzz.tsk") == std::string::npos || vokta::taskFileProblem(read.error).empty() ||
            notice.caption.empty())
            fail("refused without naming the file and the problem");
        return 0;
    }
    const vokta::Task& task = *read.task;
    if (task.pieceCount > 7 || task.cellCount > 27 ||
        task.cells.size() != static_cast<std::size_t>(std::max(task.cellCount, 0)))
        fail("accepted counts the game cannot hold");
    const std::vector<unsigned char> written = vokta::encodeTask(task);
    const vokta::TaskFileRead again = vokta::decodeTask(written, "again.tsk");
    if (!again.task || again.task->pieceCount != task.pieceCount || again.task->cellCount != task.cellCount ||
        again.task->cells.size() != task.cells.size())
        fail("written back, it reads as another task");
    for (std::size_t k = 0; k < task.cells.size(); ++k) {
        const vokta::Vec3 a = task.cells[k];
        const vokta::Vec3 b = again.task->cells[k];
        if (!sameBits(a.x, b.x) || !sameBits(a.y, b.y) || !sameBits(a.z, b.z))
            fail("written back, a cell moved");
    }
    return 0;
}
