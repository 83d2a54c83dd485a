#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/routing.h"
#include "puzzle/controller/selection.h"
#include "puzzle/rules/solver.h"
#include "puzzle/rules/task_file.h"
#include "shell/messages.h"
#include "test_game.h"

namespace vokta {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

void appendFloat(Bytes& bytes, float value)
{
    unsigned char raw[4];
    std::memcpy(raw, &value, 4);
    bytes.insert(bytes.end(), raw, raw + 4);
}

Bytes header(int major, int pieces, int cells)
{
    return {static_cast<unsigned char>(major), 5, static_cast<unsigned char>(pieces),
            static_cast<unsigned char>(cells)};
}

Bytes cubeCells(int count)
{
    Bytes bytes;
    for (int k = 0; k < count; ++k) {
        const Vec3 cell = kBuiltInTask[static_cast<std::size_t>(k % kMaxCells)] + kBuiltInTaskPosition;
        appendFloat(bytes, cell.x);
        appendFloat(bytes, cell.y);
        appendFloat(bytes, cell.z);
    }
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

#ifndef _WIN32
// Runs what in a child process and answers its result: as the unprivileged
// user "nobody" (so that permissions count even for root), or with files
// limited to fileSizeLimit bytes, as on a full disk.
bool inChild(const std::function<bool()>& what, bool asNobody, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    const pid_t child = fork();
    if (child == 0) {
        if (asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        if (fileSizeLimit != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        _exit(what() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

class TaskFiles : public testing::GameFixture {
protected:
    TaskFiles()
    {
        folder_ = fs::temp_directory_path() /
            ("vokta-task-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~TaskFiles() override
    {
        // Everything writable again first: Windows deletes no read-only file.
        std::error_code ignored;
        fs::permissions(folder_, fs::perms::owner_all, ignored);
        for (fs::recursive_directory_iterator entry(folder_, ignored), end; !ignored && entry != end;
             entry.increment(ignored))
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }

    std::string path(const char* name) const { return (folder_ / name).string(); }

    std::string write(const char* name, const Bytes& bytes) const
    {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }

    static Bytes read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void solve(Cell shift = {})
    {
        for (int p = 0; p < kPieceTotal; ++p) {
            piece(p).offsets = kBuiltInSolution[static_cast<std::size_t>(p)].offsets;
            piece(p).position = kBuiltInSolution[static_cast<std::size_t>(p)].position + shift;
            piece(p).falling = false;
        }
    }

    // Everything a task file could change: the state, and the figure and colours on show.
    std::pair<GameState, std::string> snapshot()
    {
        std::string shown = std::to_string(game.view.taskFigure->frame()->visuals().size());
        for (const auto& view : game.view.pieces)
            shown += "," + std::to_string(view->colour());
        return {game.state, shown};
    }

    fs::path folder_;
};

TEST_F(TaskFiles, TheSolvedCubeIsWrittenAs328BytesOfItsCellsInPieceOrder)
{
    // Standing anywhere, the shape is shifted back to the middle: the mean
    // cube position, truncated to tens.
    solve({30, -20, 0});
    const std::string file = path("solved.tsk");
    ASSERT_FALSE(writeTaskFile(game.state, file));
    Bytes expected = header(1, 7, 27);
    for (int p = 0; p < kPieceTotal; ++p) {
        for (int c = 0; c < (p == 0 ? 3 : 4); ++c) {
            const Vec3 cell =
                toVec3(kBuiltInSolution[p].position + kBuiltInSolution[p].offsets[static_cast<std::size_t>(c)]);
            appendFloat(expected, cell.x);
            appendFloat(expected, cell.y);
            appendFloat(expected, cell.z);
        }
    }
    EXPECT_EQ(read(file), expected);
    EXPECT_EQ(read(file).size(), 328u);

    // Written over a longer file, the file is the new one, no longer.
    write("longer.tsk", Bytes(1000, 0xAB));
    ASSERT_FALSE(writeTaskFile(game.state, path("longer.tsk")));
    EXPECT_EQ(read(path("longer.tsk")), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2) << "no temporary file left";

#ifndef _WIN32
    // Saved through a link, the file it points to is written and the link
    // stays. (Windows lets only administrators make links.)
    fs::create_symlink("longer.tsk", folder_ / "link.tsk");
    write("longer.tsk", Bytes(1000, 0xAB));
    ASSERT_FALSE(writeTaskFile(game.state, path("link.tsk")));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.tsk"));
    EXPECT_EQ(read(path("longer.tsk")), expected);
#endif
}

TEST_F(TaskFiles, AFivePieceTaskKeepsItsCountsAndItsCellsComeBackWhereTheyWere)
{
    game.state.pieceCount = 5;
    solve();
    ASSERT_FALSE(writeTaskFile(game.state, path("five.tsk")));
    const TaskFileRead read = readTaskFile(path("five.tsk"));
    ASSERT_TRUE(read.task);
    EXPECT_EQ(read.task->pieceCount, 5);
    EXPECT_EQ(read.task->cellCount, 19);
    ASSERT_TRUE(loadTask(game, ChosenFile{path("five.tsk")}));
    EXPECT_EQ(game.state.pieceCount, 5);
    EXPECT_EQ(game.state.cellCount, 19);
    EXPECT_EQ(game.state.figure.position, (Vec3{0, 0, 0}));
    // The five pieces' cubes, through the figure: the cells of piece 1 start at cell 3.
    EXPECT_EQ(game.state.figure.cells[3], toVec3(kBuiltInSolution[1].position));
    EXPECT_TRUE(piece(0).falling) << "the pieces were scattered afresh";
}

TEST_F(TaskFiles, TheReaderTakesWhatTheFormatAllowsAndRefusesTheRest)
{
    const Bytes cube = cubeCells(27);
    const struct {
        const char* name;
        Bytes bytes;
        bool accepted;
        int pieces;
        int cells;
        TaskFileError::Kind kind;
        const char* detail;
    } table[] = {
        {"current", header(1, 7, 27) + cube, true, 7, 27, {}, ""},
        {"version 0, no header", cube, true, 7, 27, {}, ""},
        {"version 0 with bytes after", cube + Bytes(50, 7), true, 7, 27, {}, ""},
        {"bytes after the cells", header(1, 7, 27) + cube + Bytes(9, 1), true, 7, 27, {}, ""},
        {"version -1", header(0xFF, 7, 27) + cube, true, 7, 27, {}, ""},
        {"minor version is not read", Bytes{1, 99, 7, 27} + cube, true, 7, 27, {}, ""},
        {"negative cell count", header(1, 7, 0x80), true, 7, -128, {}, ""},
        {"no cells", header(1, 3, 0), true, 3, 0, {}, ""},
        {"newer", header(2, 7, 27) + cube, false, 0, 0, TaskFileError::Kind::NewerVersion, "version 2"},
        {"empty", {}, false, 0, 0, TaskFileError::Kind::Damaged, "it is empty"},
        {"header cut", Bytes{1, 5, 7}, false, 0, 0, TaskFileError::Kind::Damaged, "it ends within its header"},
        {"cells cut", header(1, 7, 27) + cubeCells(26), false, 0, 0, TaskFileError::Kind::Damaged,
         "it holds 316 of the 328 bytes its 27 cells need"},
        {"version 0 cut", cubeCells(26), false, 0, 0, TaskFileError::Kind::Damaged,
         "of the 324 bytes its 27 cells need"},
        {"eight pieces", header(1, 8, 27) + cube, false, 0, 0, TaskFileError::Kind::Damaged, "asks for 8 pieces"},
        {"28 cells", header(1, 7, 28) + cube + cubeCells(1), false, 0, 0, TaskFileError::Kind::Damaged,
         "it has 28 cells, and a task has at most 27"},
        {"infinity", header(1, 7, 1) + Bytes{0, 0, 0x80, 0x7F} + Bytes(8, 0), false, 0, 0, TaskFileError::Kind::Damaged,
         "cell 1 has a coordinate that is no number"},
    };
    for (const auto& row : table) {
        const TaskFileRead read = readTaskFile(write("case.tsk", row.bytes));
        EXPECT_EQ(read.task.has_value(), row.accepted) << row.name << ": " << taskFileProblem(read.error);
        if (read.task) {
            EXPECT_EQ(read.task->pieceCount, row.pieces) << row.name;
            EXPECT_EQ(read.task->cellCount, row.cells) << row.name;
            EXPECT_EQ(read.task->cells.size(), static_cast<std::size_t>(std::max(row.cells, 0))) << row.name;
        } else {
            EXPECT_EQ(read.error.kind, row.kind) << row.name;
            EXPECT_NE(taskFileProblem(read.error).find(row.detail), std::string::npos)
                << row.name << ": " << taskFileProblem(read.error);
            EXPECT_EQ(read.error.path, path("case.tsk"));
        }
    }
}

TEST_F(TaskFiles, ARefusedFileChangesNothingAndIsReportedOnce)
{
    tick(3);
    selectPiece(game, 2);
    game.state.taskCompleted = true;
    const auto before = snapshot();
    const std::string missing = path("missing.tsk");
    for (const std::string& file : {write("newer.tsk", header(3, 7, 27) + cubeCells(27)),
                                    write("cut.tsk", header(1, 7, 27)), missing, folder_.string()}) {
        shell.errors.clear();
        OnCommand(game, Command::Load, ChosenFile{file});
        EXPECT_EQ(snapshot(), before) << file;
        ASSERT_EQ(shell.errors.size(), 1u) << file;
        EXPECT_EQ(shell.errors[0].path, file);
    }
    EXPECT_EQ(describeTaskFileError(shell.errors[0]).text,
              "The task file " + folder_.string() + " cannot be read: it is a folder, not a file.");
    const Notice version =
        describeTaskFileError({TaskFileError::Kind::NewerVersion, TaskFileError::Problem::Version, "x.tsk", {}, 3});
    EXPECT_EQ(version.caption, "Version Error");
    EXPECT_EQ(version.text, "x.tsk:\nIncompatible version.\nPlease refresh the game.");
    EXPECT_EQ(version.icon, Notice::Icon::Warning);

    // A cancelled dialog arms the test all the same.
    OnCommand(game, Command::Load, std::nullopt);
    EXPECT_FALSE(game.state.taskCompleted);
}

TEST_F(TaskFiles, AFailedSaveLeavesTheOldFileAsItWasAndSaysWhy)
{
    solve();
    const Bytes old(40, 0x11);
    const std::string readOnly = write("old.tsk", old);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const struct {
        std::string file;
        const char* detail;
    } table[] = {
        {readOnly, "the file is read-only"},
        {folder_.string(), "a folder of that name is in the way"},
        {path("no-such-folder/task.tsk"), "No such file or directory"},
    };
    for (const auto& row : table) {
        shell.errors.clear();
        OnCommand(game, Command::Save, ChosenFile{row.file});
        ASSERT_EQ(shell.errors.size(), 1u) << row.file;
        EXPECT_EQ(shell.errors[0].kind, TaskFileError::Kind::NotSaved);
        EXPECT_EQ(taskFileProblem(shell.errors[0]), row.detail);
    }
    EXPECT_EQ(read(readOnly), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1) << "no temporary file left";

#ifndef _WIN32
    // A folder that cannot be written, and a disk with room for 100 bytes
    // (as another user and with a file size limit, which only POSIX offers).
    const std::string inLocked = write("locked/old.tsk", old);
    fs::permissions(folder_ / "locked",
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec);
    const std::string full = write("full.tsk", old);
    const auto refusedAs = [this](const std::string& file, const char* detail) {
        return [this, file, detail] {
            const std::optional<TaskFileError> error = writeTaskFile(game.state, file);
            return error && error->kind == TaskFileError::Kind::NotSaved && taskFileProblem(*error) == detail;
        };
    };
    EXPECT_TRUE(inChild(refusedAs(inLocked, "Permission denied"), true));
    EXPECT_TRUE(inChild(refusedAs(full, "File too large"), false, 100));
    EXPECT_EQ(read(inLocked), old);
    EXPECT_EQ(read(full), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "locked"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 3) << "no temporary file left";
#endif
    // The game goes on: the next save where it can be written works.
    EXPECT_FALSE(writeTaskFile(game.state, path("after.tsk")));
}

}  // namespace
}  // namespace vokta
