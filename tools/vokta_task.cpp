// vokta-task: looks into task files, solves them, checks a folder of them,
// makes the task library from its figures file, and writes and reads task codes.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/program.h"
#include "puzzle/rules/generator.h"
#include "puzzle/rules/solver.h"
#include "puzzle/rules/task_code.h"
#include "puzzle/rules/task_file.h"
#include "puzzle/rules/task_library.h"
#include "puzzle/scene/game_scene.h"
#include "shell/library.h"
#include "shell/messages.h"

namespace {

using namespace vokta;
namespace fs = std::filesystem;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "usage: vokta-task info FILE...\n"
                               "       vokta-task solve FILE [--count] [--all]\n"
                               "       vokta-task check DIR|FILE...\n"
                               "       vokta-task make FIGURES DIR\n"
                               "       vokta-task daily YYYY-MM-DD OUT\n"
                               "       vokta-task generate --difficulty easy|medium|hard|unique --seed N OUT\n"
                               "       vokta-task code FILE...\n"
                               "       vokta-task decode CODE FILE\n"
                               "info   the version, piece count, cell count, bounding box and whether the\n"
                               "       cells hang together, of each task file\n"
                               "solve  the first solution: for each piece its position and its four cube\n"
                               "       offsets, one line each, in the game's units; --all every solution,\n"
                               "       --count only how many there are (two differ when some piece covers\n"
                               "       other cells); exit code 1 when there is none\n"
                               "check  every task file (a folder's *.tsk, and its index.txt when there is\n"
                               "       one) valid and solvable by pieces let go one by one, each coming\n"
                               "       to rest in its place: a table, exit code 1 if any is not\n"
                               "make   writes a task file for each figure of FIGURES and the index of them\n"
                               "       into DIR\n"
                               "daily  writes the task of a day (in UTC, from 2000-01-01 to 2999-12-31) to\n"
                               "       OUT, as the game's Today's task makes it\n"
                               "generate  writes a new task of that difficulty, made from seed N (0 to\n"
                               "       4294967295), to OUT, as the game's Random task makes it\n"
                               "code   the task code of each task file, one a line, for links and chats\n"
                               "decode writes the task of a code, or of a link that carries one, to FILE\n";

int usage(const std::string& problem)
{
    std::fprintf(stderr, "vokta-task: %s\n%s", problem.c_str(), kUsage);
    return kExitUsage;
}

std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string vector(Vec3 v)
{
    return "(" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + ")";
}

bool connected(const std::vector<Vec3>& cells)
{
    if (cells.empty())
        return true;
    std::vector<bool> reached(cells.size(), false);
    std::vector<std::size_t> todo{0};
    reached[0] = true;
    while (!todo.empty()) {
        const Vec3 at = cells[todo.back()];
        todo.pop_back();
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const Vec3 d = cells[k] - at;
            const float distance = std::abs(d.x) + std::abs(d.y) + std::abs(d.z);
            if (!reached[k] && distance == 10.0f) {
                reached[k] = true;
                todo.push_back(k);
            }
        }
    }
    return std::all_of(reached.begin(), reached.end(), [](bool r) { return r; });
}

// A figure as the same for every way it can be turned, mirrored or moved:
// the least, in sorted order, of its cells' lists under the 48 turns and
// mirrorings of the axes, each moved to start at the origin.
std::vector<std::array<int, 3>> congruenceKey(const std::vector<Vec3>& cells)
{
    std::vector<std::array<int, 3>> best;
    std::array<int, 3> axes{0, 1, 2};
    do {
        for (int signs = 0; signs < 8; ++signs) {
            std::vector<std::array<int, 3>> turned;
            for (const Vec3& cell : cells) {
                const int from[3] = {static_cast<int>(cell.x), static_cast<int>(cell.y), static_cast<int>(cell.z)};
                std::array<int, 3> to{};
                for (int i = 0; i < 3; ++i)
                    to[static_cast<std::size_t>(i)] =
                        (signs >> i & 1 ? -1 : 1) * from[axes[static_cast<std::size_t>(i)]];
                turned.push_back(to);
            }
            std::array<int, 3> low = turned.empty() ? std::array<int, 3>{} : turned.front();
            for (const auto& cell : turned)
                for (std::size_t i = 0; i < 3; ++i)
                    low[i] = std::min(low[i], cell[i]);
            for (auto& cell : turned)
                for (std::size_t i = 0; i < 3; ++i)
                    cell[i] -= low[i];
            std::sort(turned.begin(), turned.end());
            if (best.empty() || turned < best)
                best = std::move(turned);
        }
    } while (std::next_permutation(axes.begin(), axes.end()));
    return best;
}

// The reader's message on one line, for stderr and the table of check.
std::string describeOnOneLine(const TaskFileError& error)
{
    std::string text = describeTaskFileError(error).text;
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The task in the file, or nothing after the reader's message.
std::optional<Task> read(const std::string& path)
{
    const TaskFileRead result = readTaskFile(path);
    if (!result.task)
        std::fprintf(stderr, "vokta-task: %s\n", describeOnOneLine(result.error).c_str());
    return result.task;
}

// Reads each file and hands its task on; a file that cannot be read is
// reported and makes the status a failure, and the rest go on.
int forEachTask(const std::vector<std::string>& files, const std::function<bool(const std::string&, const Task&)>& use)
{
    int status = 0;
    for (const std::string& path : files) {
        const std::optional<Task> task = read(path);
        if (!task || !use(path, *task))
            status = kExitFailure;
    }
    return status;
}

int info(const std::vector<std::string>& files)
{
    return forEachTask(files, [](const std::string& path, const Task& task) {
        std::ifstream file(pathFromUtf8(path), std::ios::binary);
        const int version = static_cast<signed char>(file.get());
        Vec3 low{}, high{};
        for (std::size_t k = 0; k < task.cells.size(); ++k) {
            const Vec3 c = task.cells[k];
            low = k == 0 ? c : Vec3{std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
            high = k == 0 ? c : Vec3{std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
        }
        std::printf("%s: version %d, %d pieces, %d cells, from %s to %s, %s\n", path.c_str(), std::max(version, 0),
                    task.pieceCount, task.cellCount, vector(low).c_str(), vector(high).c_str(),
                    connected(task.cells) ? "connected" : "not connected");
        return true;
    });
}

void print(const Solution& solution)
{
    for (const PiecePlace& place : solution) {
        std::printf("piece %d at %s:", place.piece, vector(toVec3(place.position)).c_str());
        for (const Cell& offset : place.offsets)
            std::printf(" %s", vector(toVec3(offset)).c_str());
        std::printf("\n");
    }
}

int solve(const std::vector<std::string>& arguments)
{
    std::string path;
    bool count = false;
    bool all = false;
    for (const std::string& argument : arguments) {
        if (argument == "--count")
            count = true;
        else if (argument == "--all")
            all = true;
        else if (argument.starts_with("--") || !path.empty())
            return usage("unexpected argument \"" + argument + "\"");
        else
            path = argument;
    }
    if (path.empty())
        return usage("solve needs a task file");
    const std::optional<Task> task = read(path);
    if (!task)
        return kExitFailure;
    const Solver solver(task->cells, task->pieceCount);
    if (count) {
        const std::uint64_t solutions = solver.count();
        std::printf("%llu\n", static_cast<unsigned long long>(solutions));
        return solutions > 0 ? 0 : kExitFailure;
    }
    bool separate = false;
    const std::uint64_t solutions = solver.solve({}, [&](const Solution& solution) {
        if (separate)
            std::printf("\n");
        print(solution);
        separate = true;
        return all;
    });
    if (solutions == 0) {
        std::fprintf(stderr, "vokta-task: %s: no solution\n", path.c_str());
        return kExitFailure;
    }
    return 0;
}

// The index of a library folder, keyed by the task file's path; nothing
// when the folder has none.
std::optional<std::map<std::string, IndexLine>> readIndex(const fs::path& folder)
{
    std::ifstream file(folder / "index.txt", std::ios::binary);
    if (!file)
        return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::map<std::string, IndexLine> index;
    for (IndexLine& line : parseLibraryIndex(text))
        index[utf8FromPath(folder / pathFromUtf8(line.field(IndexField::File)))] = std::move(line);
    return index;
}

struct Verdict {
    std::uint64_t solutions = 0;
    std::uint64_t buildable = 0;
    std::string problem;  // empty when the task is fine
    std::vector<Vec3> cells;
};

Verdict judge(const std::string& path, const std::map<std::string, IndexLine>* index)
{
    const TaskFileRead result = readTaskFile(path);
    if (!result.task)
        return {0, 0, describeOnOneLine(result.error), {}};
    const Task& task = *result.task;
    if (task.cellCount <= 0)
        return {0, 0, "it has no cells", {}};
    if (task.pieceCount <= 0)
        return {0, 0, "it uses no pieces", {}};
    Verdict verdict;
    verdict.cells = task.cells;
    verdict.solutions = Solver(task.cells, task.pieceCount).solve({}, [&verdict](const Solution& solution) {
        verdict.buildable += canBeBuilt(solution);
        return true;
    });
    if (verdict.solutions == 0)
        verdict.problem = "no solution";
    else if (verdict.buildable == 0)
        verdict.problem = "every solution needs a piece to hang in the air";
    if (!index || !verdict.problem.empty())
        return verdict;
    const auto entry = index->find(path);
    if (entry == index->end()) {
        verdict.problem = "not in index.txt";
        return verdict;
    }
    // A line too short is a problem of the folder, reported once by check.
    const IndexLine& line = entry->second;
    if (line.fields.size() < kIndexFields)
        return verdict;
    const std::string said = "index.txt line " + std::to_string(line.number) + " says ";
    const std::string solutions = std::to_string(verdict.solutions);
    if (line.field(IndexField::Solutions) != solutions)
        verdict.problem = said + line.field(IndexField::Solutions) + " solutions";
    else if (const std::string word = difficultyOf(verdict.solutions); line.field(IndexField::Difficulty) != word)
        verdict.problem = said + line.field(IndexField::Difficulty) + ", and " + solutions +
            (verdict.solutions == 1 ? " solution makes" : " solutions make") + " it " + word;
    return verdict;
}

int check(const std::vector<std::string>& arguments)
{
    struct Checked {
        std::string path;
        const std::map<std::string, IndexLine>* index = nullptr;
    };
    std::vector<Checked> files;
    std::vector<std::map<std::string, IndexLine>> indexes;
    indexes.reserve(arguments.size());
    int folderProblems = 0;  // unreadable folders, index lines that fail
    int failures = 0;
    for (const std::string& argument : arguments) {
        std::error_code error;
        const fs::path folder = pathFromUtf8(argument);
        if (!fs::is_directory(folder, error)) {
            files.push_back({argument});
            continue;
        }
        std::optional<std::map<std::string, IndexLine>> index = readIndex(folder);
        const std::map<std::string, IndexLine>* known = index ? &indexes.emplace_back(std::move(*index)) : nullptr;
        std::set<std::string> found;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->path().extension() == ".tsk") {
                files.push_back({utf8FromPath(entry->path()), known});
                found.insert(utf8FromPath(entry->path()));
            }
        }
        if (error) {
            std::fprintf(stderr, "vokta-task: %s: %s\n", argument.c_str(), error.message().c_str());
            ++folderProblems;
        }
        // Every line of the index names a task file that is there.
        for (const auto& [path, line] : known ? *known : std::map<std::string, IndexLine>{}) {
            if (line.fields.size() < kIndexFields) {
                std::fprintf(stderr, "vokta-task: %s/index.txt:%d: %zu fields, not %zu\n", argument.c_str(),
                             line.number, line.fields.size(), kIndexFields);
                ++folderProblems;
            } else if (!found.contains(path)) {
                std::fprintf(stderr, "vokta-task: %s/index.txt:%d: %s is not there\n", argument.c_str(), line.number,
                             line.field(IndexField::File).c_str());
                ++folderProblems;
            }
        }
    }
    if (files.empty())
        return usage("no task files to check");
    std::sort(files.begin(), files.end(), [](const Checked& a, const Checked& b) { return a.path < b.path; });
    std::printf("%-32s %10s %10s  %s\n", "file", "solutions", "buildable", "result");
    std::map<std::vector<std::array<int, 3>>, std::string> figures;
    for (const Checked& file : files) {
        Verdict verdict = judge(file.path, file.index);
        const std::string name = utf8FromPath(pathFromUtf8(file.path).filename());
        if (!verdict.cells.empty()) {
            const auto [same, added] = figures.emplace(congruenceKey(verdict.cells), name);
            if (!added && verdict.problem.empty())
                verdict.problem = "the figure of " + same->second + ", turned or mirrored";
        }
        failures += !verdict.problem.empty();
        std::printf("%-32s %10llu %10llu  %s\n", name.c_str(), static_cast<unsigned long long>(verdict.solutions),
                    static_cast<unsigned long long>(verdict.buildable),
                    verdict.problem.empty() ? "ok" : verdict.problem.c_str());
    }
    std::printf("%zu files, %d failed", files.size(), failures);
    if (folderProblems > 0)
        std::printf("; %d problems with folders and their index", folderProblems);
    std::printf("\n");
    return failures + folderProblems > 0 ? kExitFailure : 0;
}

struct Figure {
    std::string id;
    std::string english;
    std::string russian;
    std::vector<std::vector<std::string>> layers;  // bottom first; rows far to near
    int line = 0;
};

// Figures: "figure ID", "en NAME", "ru NAME", then "layer" and rows of '#'
// (a cell) and '.' (none) for each layer from the floor up, "end"; lines
// starting with "//" are comments.
std::optional<std::vector<Figure>> readFigures(const std::string& path)
{
    std::error_code error;
    if (fs::is_directory(pathFromUtf8(path), error)) {
        std::fprintf(stderr, "vokta-task: %s: a folder, not a figures file\n", path.c_str());
        return std::nullopt;
    }
    std::ifstream file(pathFromUtf8(path));
    if (!file) {
        std::fprintf(stderr, "vokta-task: %s: cannot be read: %s\n", path.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    std::vector<Figure> figures;
    std::string line;
    int number = 0;
    bool inside = false;
    while (std::getline(file, line)) {
        ++number;
        if (line.empty() || line.starts_with("//"))
            continue;
        const std::string word = line.substr(0, line.find(' '));
        const std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
        if (word == "figure") {
            figures.push_back({rest, {}, {}, {}, number});
            inside = true;
        } else if (!inside) {
            std::fprintf(stderr, "vokta-task: %s:%d: \"figure ID\" must come first\n", path.c_str(), number);
            return std::nullopt;
        } else if (word == "en") {
            figures.back().english = rest;
        } else if (word == "ru") {
            figures.back().russian = rest;
        } else if (word == "layer") {
            figures.back().layers.emplace_back();
        } else if (word == "end") {
            inside = false;
        } else if (line.find_first_not_of("#.") == std::string::npos && !figures.back().layers.empty()) {
            figures.back().layers.back().push_back(line);
        } else {
            std::fprintf(stderr, "vokta-task: %s:%d: not a figure line: %s\n", path.c_str(), number, line.c_str());
            return std::nullopt;
        }
    }
    if (file.bad()) {
        std::fprintf(stderr, "vokta-task: %s: reading failed at line %d\n", path.c_str(), number + 1);
        return std::nullopt;
    }
    if (figures.empty()) {
        std::fprintf(stderr, "vokta-task: %s: no figures in it\n", path.c_str());
        return std::nullopt;
    }
    return figures;
}

// A new empty folder beside target, named after it; empty, with why, when
// none can be made.
fs::path makeDraftFolder(const fs::path& target, std::string& problem)
{
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path draft = target.parent_path();
        draft /= pathFromUtf8("." + utf8FromPath(target.filename()) + ".making-" + std::to_string(entropy()));
        // False without an error: the name was taken; try another.
        if (fs::create_directory(draft, error))
            return draft;
        if (error)
            break;
    }
    problem = error ? error.message() : "every name tried was taken";
    return {};
}

bool writeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

// Moves the files named from draft into target, in that order; the problem
// when one cannot be moved.
std::string moveIn(const fs::path& draft, const fs::path& target, const std::vector<std::string>& names)
{
    std::error_code error;
    fs::create_directories(target, error);
    if (error)
        return error.message();
    for (const std::string& name : names) {
        fs::rename(draft / name, target / name, error);
        if (error)
            return name + ": " + error.message();
    }
    return {};
}

// The library is made in a folder beside the target and moved in only when
// every figure has become a task file, so a failed make leaves the target as
// it was. Files of the target that make does not write stay.
int make(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2)
        return usage("make takes a figures file and a folder");
    const std::string& figuresPath = arguments[0];
    const std::string& shownTarget = arguments[1];
    std::error_code error;
    fs::path target = fs::absolute(pathFromUtf8(shownTarget), error).lexically_normal();
    if (!target.has_filename())
        target = target.parent_path();
    if (fs::exists(target, error) && !fs::is_directory(target, error)) {
        std::fprintf(stderr, "vokta-task: %s: not a folder\n", shownTarget.c_str());
        return kExitFailure;
    }
    const std::optional<std::vector<Figure>> figures = readFigures(figuresPath);
    if (!figures)
        return kExitFailure;
    std::string problem;
    const fs::path draft = makeDraftFolder(target, problem);
    if (draft.empty()) {
        std::fprintf(stderr, "vokta-task: %s: no folder can be made beside it: %s\n", shownTarget.c_str(),
                     problem.c_str());
        return kExitFailure;
    }

    std::string index = "# file, solutions, difficulty, English name, Russian name (made by vokta-task make)\n";
    std::vector<std::string> written;
    int failures = 0;
    std::map<std::vector<std::array<int, 3>>, std::string> made;
    for (const Figure& figure : *figures) {
        const auto complain = [&](const std::string& why) {
            std::fprintf(stderr, "vokta-task: %s:%d: figure %s %s\n", figuresPath.c_str(), figure.line,
                         figure.id.c_str(), why.c_str());
            ++failures;
        };
        // The identifier names the task file: lower-case letters, digits and dashes.
        const std::string fileName = figure.id + ".tsk";
        if (figure.id.empty() ||
            figure.id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") != std::string::npos) {
            complain("needs an identifier of lower-case letters, digits and dashes");
            continue;
        }
        if (std::find(written.begin(), written.end(), fileName) != written.end()) {
            complain("has the identifier of an earlier figure");
            continue;
        }
        Task task;
        task.pieceCount = kPieceTotal;
        std::size_t rows = 0;
        std::size_t columns = 0;
        for (const auto& layer : figure.layers) {
            rows = std::max(rows, layer.size());
            for (const std::string& row : layer)
                columns = std::max(columns, row.size());
        }
        for (std::size_t z = 0; z < figure.layers.size(); ++z) {
            const auto& layer = figure.layers[z];
            for (std::size_t r = 0; r < layer.size(); ++r) {
                for (std::size_t c = 0; c < layer[r].size(); ++c) {
                    if (layer[r][c] != '#')
                        continue;
                    // Centred on the middle of the floor; the first row is the far one.
                    const float x = 10.0f * (static_cast<float>(c) - static_cast<float>(columns / 2));
                    const float y = 10.0f * (static_cast<float>(rows / 2) - static_cast<float>(r));
                    task.cells.push_back({x, y, 10.0f * static_cast<float>(z)});
                }
            }
        }
        task.cellCount = static_cast<int>(task.cells.size());
        std::uint64_t buildable = 0;
        const std::uint64_t solutions =
            Solver(task.cells, task.pieceCount).solve({}, [&buildable](const Solution& solution) {
                buildable += canBeBuilt(solution);
                return true;
            });
        if (task.cellCount != 27 || buildable == 0 || !connected(task.cells)) {
            complain("has " + std::to_string(task.cellCount) + " cells, " +
                     (connected(task.cells) ? "connected" : "not connected") + ", " + std::to_string(solutions) +
                     " solutions, " + std::to_string(buildable) + " of them buildable");
            continue;
        }
        if (const auto [same, added] = made.emplace(congruenceKey(task.cells), figure.id); !added) {
            complain("is the figure of " + same->second + ", turned or mirrored");
            continue;
        }
        const std::vector<unsigned char> bytes = encodeTask(task);
        if (!writeFile(draft / fileName, {reinterpret_cast<const char*>(bytes.data()), bytes.size()})) {
            complain("could not be written to " + utf8FromPath(draft / fileName));
            continue;
        }
        written.push_back(fileName);
        index += fileName + '\t' + std::to_string(solutions) + '\t' + difficultyOf(solutions) + '\t' + figure.english +
            '\t' + figure.russian + '\n';
        std::printf("%-24s %8llu solutions  %s\n", figure.id.c_str(), static_cast<unsigned long long>(solutions),
                    difficultyOf(solutions));
    }
    if (failures > 0) {
        fs::remove_all(draft, error);
        std::fprintf(stderr, "vokta-task: %s left as it was: %d of %zu figures failed\n", shownTarget.c_str(), failures,
                     figures->size());
        return kExitFailure;
    }
    // The index last, so that it never names a file not yet there.
    written.emplace_back("index.txt");
    problem = writeFile(draft / "index.txt", index) ? moveIn(draft, target, written) : "index.txt could not be written";
    fs::remove_all(draft, error);
    if (!problem.empty()) {
        std::fprintf(stderr, "vokta-task: %s: %s\n", shownTarget.c_str(), problem.c_str());
        return kExitFailure;
    }
    return 0;
}

// Made tasks keep away from the figures of the library that comes with the
// program, beside it or in share/vokta; nothing, after saying why, when it
// is not there.
std::optional<std::set<FigureShape>> shippedLibraryShapes(const std::string& program)
{
    const fs::path models = findModelDirectory(modelDirectoryCandidates(programDirectory(program)), kModelFileName);
    std::set<FigureShape> shapes =
        models.empty() ? std::set<FigureShape>{} : libraryShapes(utf8FromPath(models / "tasks"));
    if (shapes.empty()) {
        std::fprintf(stderr, "vokta-task: the task library is neither beside the program nor in share/vokta\n");
        return std::nullopt;
    }
    return shapes;
}

// Makes the task of request and writes it to path.
int writeMadeTask(const TaskRequest& request, const std::string& path, const std::string& program)
{
    const std::optional<std::set<FigureShape>> avoid = shippedLibraryShapes(program);
    if (!avoid)
        return kExitFailure;
    TaskGenerator generator(request, *avoid);
    while (!generator.work(1000)) {}
    if (!generator.task()) {
        std::fprintf(stderr, "vokta-task: no task could be made for %s\n", taskRequestName(request).c_str());
        return kExitFailure;
    }
    if (const std::optional<TaskFileError> error = writeTaskFile(*generator.task(), path)) {
        std::fprintf(stderr, "vokta-task: %s\n", describeOnOneLine(*error).c_str());
        return kExitFailure;
    }
    const FigureCount& count = generator.count();
    const auto counted = [](std::uint64_t number, const char* thing) {
        return std::to_string(number) + ' ' + thing + (number == 1 ? "" : "s");
    };
    std::string said = std::string(difficultyName(generator.request().difficulty)) + ", " +
        (count.countedAll ? "" : "at least ") + counted(count.solutions, "solution");
    if (count.rotations > 1)
        said += " (" + counted(static_cast<std::uint64_t>(count.rotations), "rotation") + " onto itself)";
    std::printf("%s: %s\n", path.c_str(), said.c_str());
    return 0;
}

int daily(const std::vector<std::string>& arguments, const std::string& program)
{
    if (arguments.size() != 2)
        return usage("daily takes a date, YYYY-MM-DD, and the task file to write");
    const DateRead read = readDate(arguments[0]);
    if (!read.date)
        return usage("\"" + arguments[0] + "\": " + std::string(dateProblemText(read.problem)));
    return writeMadeTask({.kind = TaskRequest::Kind::Daily, .date = *read.date}, arguments[1], program);
}

int generate(const std::vector<std::string>& arguments, const std::string& program)
{
    std::optional<Difficulty> difficulty;
    std::optional<std::uint32_t> seed;
    std::string path;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool valued = argument == "--difficulty" || argument == "--seed";
        if (valued && i + 1 == arguments.size())
            return usage(argument + " needs a value");
        if (argument == "--difficulty") {
            const std::string& name = arguments[++i];
            difficulty = difficultyNamed(name);
            if (!difficulty)
                return usage("--difficulty \"" + name + "\": not easy, medium, hard or unique");
        } else if (argument == "--seed") {
            const std::string& text = arguments[++i];
            std::uint32_t value = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (text.empty() || error != std::errc() || end != text.data() + text.size())
                return usage("--seed \"" + text + "\": not a whole number from 0 to 4294967295");
            seed = value;
        } else if (argument.starts_with("--") || !path.empty()) {
            return usage("unexpected argument \"" + argument + "\"");
        } else {
            path = argument;
        }
    }
    if (!difficulty || !seed || path.empty())
        return usage("generate takes --difficulty, --seed and the task file to write");
    return writeMadeTask({.kind = TaskRequest::Kind::Random, .difficulty = *difficulty, .seed = *seed}, path, program);
}

int code(const std::vector<std::string>& files)
{
    return forEachTask(files, [](const std::string& path, const Task& task) {
        const TaskCodeWrite written = encodeTaskCode(task);
        if (!written.code) {
            std::fprintf(stderr, "vokta-task: %s: %s\n", path.c_str(), noTaskCodeNotice(written.error).text.c_str());
            return false;
        }
        std::printf("%s\n", written.code->c_str());
        return true;
    });
}

int decode(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2)
        return usage("decode takes a task code and a file to write");
    const std::string_view code = taskCodeInLink(arguments[0]);
    const TaskCodeRead read = decodeTaskCode(code);
    if (!read.task) {
        std::fprintf(stderr, "vokta-task: %s\n", describeTaskCodeError(code, read.error).text.c_str());
        return kExitFailure;
    }
    if (const std::optional<TaskFileError> error = writeTaskFile(*read.task, arguments[1])) {
        std::fprintf(stderr, "vokta-task: %s\n", describeOnOneLine(*error).c_str());
        return kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    useBinaryStandardStreams();
    const std::vector<std::string> commandLine = utf8Arguments(argc, argv);
    if (commandLine.size() < 2)
        return usage("no command given");
    const std::string& command = commandLine[1];
    const std::vector<std::string> arguments(commandLine.begin() + 2, commandLine.end());
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "info")
        return arguments.empty() ? usage("info needs task files") : info(arguments);
    if (command == "solve")
        return solve(arguments);
    if (command == "check")
        return check(arguments);
    if (command == "make")
        return make(arguments);
    if (command == "daily")
        return daily(arguments, commandLine[0]);
    if (command == "generate")
        return generate(arguments, commandLine[0]);
    if (command == "code")
        return arguments.empty() ? usage("code needs task files") : code(arguments);
    if (command == "decode")
        return decode(arguments);
    return usage("unknown command \"" + command + "\"");
}
