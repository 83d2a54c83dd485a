#include "puzzle/rules/task_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

#include "platform/files.h"

namespace vokta {

namespace {

constexpr int kVersion0Pieces = 7;
constexpr int kVersion0Cells = 27;
// The writer's shift divides the summed cube positions by this, whatever the
// number of pieces: the mean position of 27 cubes, truncated to tens.
constexpr int kShiftDivisor = 270;
// The most a task file can hold that the game reads.
constexpr std::size_t kLongestTaskFile = kTaskHeaderBytes + kMaxCells * kTaskCellBytes;

using Problem = TaskFileError::Problem;

TaskFileError damaged(const std::string& path, Problem problem, long number = 0, long limit = 0, long count = 0)
{
    return {TaskFileError::Kind::Damaged, problem, path, {}, number, limit, count};
}

TaskFileError unreadable(const std::string& path, int error)
{
    return {TaskFileError::Kind::Unreadable, Problem::System, path, std::strerror(error)};
}

float floatAt(const unsigned char* bytes)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void appendFloat(std::vector<unsigned char>& bytes, float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<unsigned char>(bits >> shift));
}

// Reads up to the longest task file; bytes beyond it are never looked at.
std::optional<TaskFileError> readHead(const std::string& path, std::vector<unsigned char>& bytes)
{
    std::error_code error;
    if (std::filesystem::is_directory(pathFromUtf8(path), error))
        return TaskFileError{TaskFileError::Kind::Unreadable, Problem::Folder, path, {}};
    std::FILE* file = openFile(path, "rb");
    if (!file)
        return unreadable(path, errno);
    bytes.resize(kLongestTaskFile);
    const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed)
        return unreadable(path, readError);
    bytes.resize(count);
    return std::nullopt;
}

// Truncation toward zero, saturating where an int ends.
int truncateToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483520.0f)
        return 2147483520;
    if (value <= -2147483520.0f)
        return -2147483520;
    return static_cast<int>(value);
}

}  // namespace

TaskFileRead readTaskFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (std::optional<TaskFileError> error = readHead(path, bytes))
        return {std::nullopt, *error};
    return decodeTask(bytes, path);
}

TaskFileRead decodeTask(std::span<const unsigned char> bytes, const std::string& path)
{
    if (bytes.empty())
        return {std::nullopt, damaged(path, Problem::Empty)};

    const auto major = static_cast<signed char>(bytes[0]);
    if (major > kTaskFileMajorVersion)
        return {std::nullopt, {TaskFileError::Kind::NewerVersion, Problem::Version, path, {}, major}};

    Task task;
    std::size_t offset = 0;
    if (major == 0) {
        task.pieceCount = kVersion0Pieces;
        task.cellCount = kVersion0Cells;
    } else {
        if (bytes.size() < kTaskHeaderBytes)
            return {std::nullopt, damaged(path, Problem::HeaderCut)};
        task.pieceCount = static_cast<signed char>(bytes[2]);
        task.cellCount = static_cast<signed char>(bytes[3]);
        offset = kTaskHeaderBytes;
    }
    if (task.pieceCount > kPieceTotal)
        return {std::nullopt, damaged(path, Problem::TooManyPieces, task.pieceCount, kPieceTotal)};
    if (task.cellCount > kMaxCells)
        return {std::nullopt, damaged(path, Problem::TooManyCells, task.cellCount, kMaxCells)};
    const std::size_t cells = task.cellCount > 0 ? static_cast<std::size_t>(task.cellCount) : 0;
    const std::size_t needed = offset + cells * kTaskCellBytes;
    if (bytes.size() < needed) {
        return {std::nullopt,
                damaged(path, Problem::CellsCut, static_cast<long>(bytes.size()), static_cast<long>(needed),
                        static_cast<long>(cells))};
    }
    for (std::size_t k = 0; k < cells; ++k) {
        const unsigned char* record = bytes.data() + offset + k * kTaskCellBytes;
        const Vec3 cell{floatAt(record), floatAt(record + 4), floatAt(record + 8)};
        if (!std::isfinite(cell.x) || !std::isfinite(cell.y) || !std::isfinite(cell.z))
            return {std::nullopt, damaged(path, Problem::NotANumber, static_cast<long>(k + 1))};
        if (std::abs(cell.x) > kFarthestCell || std::abs(cell.y) > kFarthestCell || std::abs(cell.z) > kFarthestCell)
            return {std::nullopt,
                    damaged(path, Problem::FarAway, static_cast<long>(k + 1), static_cast<long>(kFarthestCell))};
        task.cells.push_back(cell);
    }
    return {task, {}};
}

void applyTask(GameState& state, const Task& task)
{
    const std::size_t taken = std::min(task.cells.size(), state.figure.cells.size());
    std::copy_n(task.cells.begin(), taken, state.figure.cells.begin());
    state.figure.position = {};
    state.figure.shown = true;
    state.pieceCount = task.pieceCount;
    state.cellCount = task.cellCount;
}

Task taskFromPieces(const GameState& state)
{
    float sumX = 0.0f;
    float sumY = 0.0f;
    for (int p = 0; p < state.inPlay(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            sumX += static_cast<float>(state.piece(p).cube(c).x);
            sumY += static_cast<float>(state.piece(p).cube(c).y);
        }
    }
    const float shiftX = static_cast<float>(truncateToInt(sumX) / kShiftDivisor * 10);
    const float shiftY = static_cast<float>(truncateToInt(sumY) / kShiftDivisor * 10);

    Task task;
    task.pieceCount = state.pieceCount;
    task.cellCount = 4 * state.pieceCount - 1;
    for (int p = 0; p < state.inPlay(); ++p) {
        for (int c = 0; c < cubeCount(p); ++c) {
            const Vec3 cube = toVec3(state.piece(p).cube(c));
            task.cells.push_back({cube.x - shiftX, cube.y - shiftY, cube.z});
        }
    }
    return task;
}

Task builtInTask()
{
    Task task;
    task.pieceCount = kPieceTotal;
    task.cellCount = kMaxCells;
    for (const Vec3& cell : kBuiltInTask)
        task.cells.push_back(cell + kBuiltInTaskPosition);
    return task;
}

std::uint64_t taskKey(const Task& task)
{
    Task sorted = task;
    std::sort(sorted.cells.begin(), sorted.cells.end(),
              [](Vec3 a, Vec3 b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
    // 64-bit FNV-1a.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const unsigned char byte : encodeTask(sorted)) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash == 0 ? 1 : hash;
}

std::vector<unsigned char> encodeTask(const Task& task)
{
    std::vector<unsigned char> bytes{
        static_cast<unsigned char>(kTaskFileMajorVersion), static_cast<unsigned char>(kTaskFileMinorVersion),
        static_cast<unsigned char>(task.pieceCount & 0xFF), static_cast<unsigned char>(task.cellCount & 0xFF)};
    for (const Vec3& cell : task.cells) {
        appendFloat(bytes, cell.x);
        appendFloat(bytes, cell.y);
        appendFloat(bytes, cell.z);
    }
    return bytes;
}

std::vector<unsigned char> taskFileBytes(const GameState& state)
{
    return encodeTask(taskFromPieces(state));
}

std::optional<TaskFileError> writeTaskFile(const GameState& state, const std::string& path)
{
    return writeTaskFile(taskFromPieces(state), path);
}

std::optional<TaskFileError> writeTaskFile(const Task& task, const std::string& path)
{
    namespace fs = std::filesystem;
    const auto failure = [&path](Problem problem, std::string why = {}) {
        return TaskFileError{TaskFileError::Kind::NotSaved, problem, path, std::move(why)};
    };
    std::error_code error;
    const fs::file_status status = fs::status(pathFromUtf8(path), error);
    if (fs::is_directory(status))
        return failure(Problem::FolderInTheWay);
    constexpr fs::perms kWritable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (fs::exists(status) && (status.permissions() & kWritable) == fs::perms::none)
        return failure(Problem::ReadOnly);

    // A file of our own beside the target, renamed over it once complete.
    // Saving through a link replaces the file it points to, not the link.
    fs::path target = pathFromUtf8(path);
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::weakly_canonical(target, error);
        if (error)
            return failure(Problem::System, error.message());
    }
    std::random_device entropy;
    std::FILE* file = nullptr;
    fs::path temporary;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = target;
        temporary += ".saving-" + std::to_string(entropy());
        file = openFile(utf8FromPath(temporary), "wbx");
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        return failure(Problem::System, std::strerror(errno));

    const std::vector<unsigned char> bytes = encodeTask(task);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    int writeError = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        fs::remove(temporary, error);
        return failure(Problem::System, std::strerror(writeError));
    }
    fs::rename(temporary, target, error);
    if (error) {
        const std::string why = error.message();
        fs::remove(temporary, error);
        return failure(Problem::System, why);
    }
    return std::nullopt;
}

}  // namespace vokta
