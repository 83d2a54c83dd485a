// vokta-task: looks into task files, solves them, checks a folder of them,
// and makes the task library from its figures file.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "puzzle/solver.h"
#include "puzzle/task_file.h"

namespace {

using namespace vokta;
namespace fs = std::filesystem;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "usage: vokta-task info FILE...\n"
                               "       vokta-task solve FILE [--count] [--all]\n"
                               "       vokta-task check DIR|FILE...\n"
                               "       vokta-task make FIGURES DIR\n"
                               "info   the version, piece count, cell count, bounding box and whether the\n"
                               "       cells hang together, of each task file\n"
                               "solve  the first solution: for each piece its position and its four cube\n"
                               "       offsets, one line each, in the game's units; --all every solution,\n"
                               "       --count only how many there are (two differ when some piece covers\n"
                               "       other cells); exit code 1 when there is none\n"
                               "check  every task file (a folder's *.tsk, and its index.txt when there is\n"
                               "       one) valid and solvable: a table, exit code 1 if any is not\n"
                               "make   writes a task file for each figure of FIGURES and the index of them\n"
                               "       into DIR\n";

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

// The task in the file, or nothing after the reader's message.
std::optional<Task> read(const std::string& path)
{
    const TaskFileRead result = readTaskFile(path);
    if (!result.task)
        std::fprintf(stderr, "%s\n", describeTaskFileError(result.error).text.c_str());
    return result.task;
}

int info(const std::vector<std::string>& files)
{
    int status = 0;
    for (const std::string& path : files) {
        const std::optional<Task> task = read(path);
        if (!task) {
            status = kExitFailure;
            continue;
        }
        std::ifstream file(path, std::ios::binary);
        const int version = static_cast<signed char>(file.get());
        Vec3 low{}, high{};
        for (std::size_t k = 0; k < task->cells.size(); ++k) {
            const Vec3 c = task->cells[k];
            low = k == 0 ? c : Vec3{std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
            high = k == 0 ? c : Vec3{std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
        }
        std::printf("%s: version %d, %d pieces, %d cells, from %s to %s, %s\n", path.c_str(), std::max(version, 0),
                    task->pieceCount, task->cellCount, vector(low).c_str(), vector(high).c_str(),
                    connected(task->cells) ? "connected" : "not connected");
    }
    return status;
}

void print(const Solution& solution)
{
    for (const PiecePlace& place : solution) {
        std::printf("piece %d at %s:", place.piece, vector(place.position).c_str());
        for (const Vec3& offset : place.offsets)
            std::printf(" %s", vector(offset).c_str());
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
        std::fprintf(stderr, "%s: no solution\n", path.c_str());
        return kExitFailure;
    }
    return 0;
}

// The index of a library folder: file name to its line's fields.
std::map<std::string, std::vector<std::string>> readIndex(const fs::path& folder)
{
    std::map<std::string, std::vector<std::string>> index;
    std::ifstream file(folder / "index.txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        if (!fields.empty())
            index[fields[0]] = fields;
    }
    return index;
}

int check(const std::vector<std::string>& arguments)
{
    std::vector<std::string> files;
    std::map<std::string, std::vector<std::string>> index;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
                if (entry.path().extension() == ".tsk")
                    files.push_back(entry.path().string());
            }
            for (auto& [name, fields] : readIndex(argument))
                index[(fs::path(argument) / name).string()] = fields;
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty())
        return usage("no task files to check");
    std::sort(files.begin(), files.end());
    int failures = 0;
    std::printf("%-40s %6s %5s %10s  %s\n", "file", "pieces", "cells", "solutions", "result");
    for (const std::string& path : files) {
        const TaskFileRead result = readTaskFile(path);
        std::string verdict = "ok";
        std::uint64_t solutions = 0;
        if (!result.task) {
            verdict = describeTaskFileError(result.error).text;
        } else {
            solutions = Solver(result.task->cells, result.task->pieceCount).count();
            if (solutions == 0)
                verdict = "no solution";
            else if (const auto entry = index.find(path); !index.empty() && entry == index.end())
                verdict = "not in index.txt";
            else if (!index.empty() && entry->second.size() > 1 && entry->second[1] != std::to_string(solutions))
                verdict = "index.txt says " + entry->second[1] + " solutions";
        }
        failures += verdict != "ok";
        std::printf("%-40s %6d %5d %10llu  %s\n", fs::path(path).filename().string().c_str(),
                    result.task ? result.task->pieceCount : 0, result.task ? result.task->cellCount : 0,
                    static_cast<unsigned long long>(solutions), verdict.c_str());
    }
    std::printf("%zu files, %d failed\n", files.size(), failures);
    return failures ? kExitFailure : 0;
}

// How hard a task is, by how many ways there are to fill it.
const char* difficulty(std::uint64_t solutions)
{
    if (solutions >= 300)
        return "easy";
    if (solutions >= 20)
        return "medium";
    return "hard";
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
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "vokta-task: %s: cannot be read\n", path.c_str());
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
            std::fprintf(stderr, "%s:%d: \"figure ID\" must come first\n", path.c_str(), number);
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
            std::fprintf(stderr, "%s:%d: not a figure line: %s\n", path.c_str(), number, line.c_str());
            return std::nullopt;
        }
    }
    return figures;
}

int make(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2)
        return usage("make takes a figures file and a folder");
    const std::optional<std::vector<Figure>> figures = readFigures(arguments[0]);
    if (!figures)
        return kExitFailure;
    const fs::path folder = arguments[1];
    fs::create_directories(folder);
    std::ofstream index(folder / "index.txt");
    index << "# file, solutions, difficulty, English name, Russian name (made by vokta-task make)\n";
    int failures = 0;
    for (const Figure& figure : *figures) {
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
        const std::uint64_t solutions = Solver(task.cells, task.pieceCount).count();
        if (task.cellCount != 27 || solutions == 0 || !connected(task.cells)) {
            std::fprintf(stderr, "%s:%d: figure %s has %d cells, %s, %llu solutions\n", arguments[0].c_str(),
                         figure.line, figure.id.c_str(), task.cellCount,
                         connected(task.cells) ? "connected" : "not connected",
                         static_cast<unsigned long long>(solutions));
            ++failures;
            continue;
        }
        const std::vector<unsigned char> bytes = encodeTask(task);
        std::ofstream(folder / (figure.id + ".tsk"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        index << figure.id << ".tsk\t" << solutions << '\t' << difficulty(solutions) << '\t' << figure.english << '\t'
              << figure.russian << '\n';
        std::printf("%-24s %8llu solutions  %s\n", figure.id.c_str(), static_cast<unsigned long long>(solutions),
                    difficulty(solutions));
    }
    return failures ? kExitFailure : 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2)
        return usage("no command given");
    const std::string command = argv[1];
    const std::vector<std::string> arguments(argv + 2, argv + argc);
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
    return usage("unknown command \"" + command + "\"");
}
