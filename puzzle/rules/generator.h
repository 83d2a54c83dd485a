#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/rules/calendar.h"
#include "puzzle/rules/random.h"
#include "puzzle/rules/solver.h"
#include "puzzle/rules/task_file.h"

namespace vokta {

// How hard a made task is, by how many ways there are to fill its figure:
// easy with 300 or more (the library's rule), medium with 20 to 299, hard
// with 2 to 19, and unique with exactly one once the figure's own rotations
// are counted as one (the solver's count divided by the number of rotations
// that map the figure onto itself is 1; below 1 when the one solution is
// turned onto itself). Hard leaves out the unique ones.
enum class Difficulty { Easy, Medium, Hard, Unique };
inline constexpr std::array<Difficulty, 4> kDifficulties{Difficulty::Easy, Difficulty::Medium, Difficulty::Hard,
                                                         Difficulty::Unique};

// "easy", "medium", "hard", "unique": the names the tools and scripts use.
std::string_view difficultyName(Difficulty difficulty);
std::optional<Difficulty> difficultyNamed(std::string_view name);

// A figure the same for every way it can be turned, mirrored or moved: the
// least, in sorted order, of its cells' lists under the 48 turns and
// mirrorings of the axes, each moved to start at the origin. Two figures
// are the same turned or mirrored exactly when their shapes are equal.
using FigureShape = std::vector<Cell>;
FigureShape figureShape(std::span<const Vec3> cells);
// The shapes of tasks' figures, for a generator to keep away from.
std::set<FigureShape> shapesOf(std::span<const Task> tasks);

// How many of the 24 rotations (turns, no mirroring) map the figure onto
// itself, moved as need be: 1 for a figure with no symmetry of its turns.
int selfRotations(std::span<const Vec3> cells);
// Whether every cell can be reached from every other through shared faces.
bool hangsTogether(std::span<const Vec3> cells);

// How many ways there are to fill a figure, counted no further than the
// difficulty is decided: up to 300 for easy and medium, 20 for hard.
struct FigureCount {
    std::uint64_t solutions = 0;  // found before counting stopped
    bool countedAll = false;      // false: there are 300 or more
    int rotations = 1;            // see selfRotations
    bool buildable = false;       // a solution can be put down piece by piece
};
// The difficulty a count gives; nothing for a figure that no solution can
// build piece by piece (or that has none).
std::optional<Difficulty> difficultyOfCount(const FigureCount& count);
// Counts the figure's solutions for the first pieceCount pieces; built, a
// solution already at hand (the pieces as the player put them), is tried
// first for being buildable, so that counting stops early for it.
FigureCount countFigure(std::span<const Vec3> cells, int pieceCount, const std::optional<Solution>& built = {});

// What to make: a random task of a difficulty from a seed, or the task of a
// day (a unique one).
struct TaskRequest {
    enum class Kind { Random, Daily };
    Kind kind = Kind::Random;
    Difficulty difficulty = Difficulty::Unique;
    std::uint32_t seed = 0;
    Date date = {};

    friend bool operator==(const TaskRequest&, const TaskRequest&) = default;
};

// The name a made task goes by, as a file name ("daily-2026-03-01.tsk",
// "random-hard-1234.tsk"), and the request such a name stands for.
std::string taskRequestName(const TaskRequest& request);
std::optional<TaskRequest> taskRequestNamed(std::string_view name);

// Makes the task of a request: a figure of 27 cells for the seven pieces,
// standing on the floor, hanging together, buildable piece by piece, with a
// number of solutions in the difficulty's band, and not the figure of any
// shape in avoid, turned or mirrored. The same request and avoid give the
// same task, byte for byte, on every platform: figures are drawn from
// GameRandom and judged in whole numbers. Candidates are tried one by one,
// so that work can be spread over time or run off the game's thread.
class TaskGenerator {
public:
    TaskGenerator(TaskRequest request, std::set<FigureShape> avoid);

    // Tries up to candidates more figures; true once a task has been found,
    // or once the most candidates a request may take have been tried in vain.
    bool work(std::uint32_t candidates);
    bool done() const { return done_; }

    const TaskRequest& request() const { return request_; }
    // The task once found; nothing before, or when none was found.
    const std::optional<Task>& task() const { return task_; }
    // Its count, once found.
    const FigureCount& count() const { return count_; }
    // Figures tried so far, and how many of them the solver counted.
    std::uint32_t candidates() const { return candidates_; }
    std::uint32_t counted() const { return counted_; }

private:
    void tryCandidate();

    TaskRequest request_;
    std::set<FigureShape> avoid_;
    GameRandom random_;
    bool done_ = false;
    std::optional<Task> task_;
    FigureCount count_;
    std::uint32_t candidates_ = 0;
    std::uint32_t counted_ = 0;
};

// The task of a request, made at once.
std::optional<Task> makeTask(const TaskRequest& request, const std::set<FigureShape>& avoid);

}  // namespace vokta
