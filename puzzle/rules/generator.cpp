#include "puzzle/rules/generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "puzzle/rules/task_library.h"

namespace vokta {

namespace {

// Today's tasks come round again after this many days at the earliest.
constexpr int kDaysApart = 365;
// Far beyond what any request has needed (a few thousand figures for a
// day's task): a generator that gets there gives up rather than run on.
constexpr std::uint32_t kMostCandidates = 2'000'000;

// Figures are stacks of cubes on a footprint of width x depth columns, each
// column from 0 to tallest cubes high: they stand on the floor, never hang
// over empty space, and so look like blocks, steps, terraces and towers
// rather than heaps. A mirrored footprint has the same heights on both sides
// of its middle column (its width is odd, since 27 is).
struct Style {
    int width;
    int depth;
    int tallest;
    bool mirrored;
};

// Found by trying: compact footprints give many solutions, wider and lower
// ones few. The mirror image of a solution is a solution (the two twisted
// pieces are each other's mirror images), so a mirrored figure has its
// solutions in pairs and is hardly ever unique.
constexpr Style kEasyStyles[] = {{3, 4, 3, true}, {3, 4, 3, false}, {3, 3, 5, false}};
constexpr Style kMediumStyles[] = {{3, 4, 3, true}, {5, 3, 3, true}, {3, 4, 4, false}, {3, 5, 3, false}};
constexpr Style kHardStyles[] = {{5, 3, 3, true}, {5, 2, 5, true}, {4, 4, 3, false}, {3, 5, 3, false}};
constexpr Style kUniqueStyles[] = {{4, 4, 3, false}, {3, 5, 3, false}, {4, 4, 4, false}, {4, 5, 3, false}};

std::span<const Style> stylesFor(Difficulty difficulty)
{
    switch (difficulty) {
    case Difficulty::Easy: return kEasyStyles;
    case Difficulty::Medium: return kMediumStyles;
    case Difficulty::Hard: return kHardStyles;
    case Difficulty::Unique: return kUniqueStyles;
    }
    return kUniqueStyles;
}

constexpr std::string_view kDifficultyNames[] = {"easy", "medium", "hard", "unique"};

// A point in cube edges, as figures are compared.
Cell inCubes(const Vec3& cell)
{
    const auto edges = [](float value) { return static_cast<int>(std::lround(value / 10.0f)); };
    return {edges(cell.x), edges(cell.y), edges(cell.z)};
}

std::vector<Cell> inCubes(std::span<const Vec3> cells)
{
    std::vector<Cell> result;
    result.reserve(cells.size());
    for (const Vec3& cell : cells)
        result.push_back(inCubes(cell));
    return result;
}

// The 48 ways to turn and mirror the axes: axis i of the result is axis
// axes[i] of the cell, negated where negate has bit i.
struct AxisMap {
    std::array<int, 3> axes;
    int negate;
    bool mirrors;
};

constexpr std::array<AxisMap, 48> kAxisMaps = [] {
    // The permutations of the axes, each with whether it is odd.
    constexpr std::array<std::array<int, 3>, 6> kPermutations{
        {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}}};
    constexpr std::array<bool, 6> kOdd{false, true, true, false, false, true};
    std::array<AxisMap, 48> maps{};
    std::size_t next = 0;
    for (std::size_t permutation = 0; permutation < kPermutations.size(); ++permutation) {
        for (int negate = 0; negate < 8; ++negate) {
            const bool oddSigns = ((negate & 1) + ((negate >> 1) & 1) + ((negate >> 2) & 1)) % 2 == 1;
            maps[next++] = {kPermutations[permutation], negate, kOdd[permutation] != oddSigns};
        }
    }
    return maps;
}();

// The cells mapped, moved to start at the origin and sorted.
std::vector<Cell> mapped(const std::vector<Cell>& cells, const AxisMap& map)
{
    std::vector<Cell> result;
    result.reserve(cells.size());
    Cell low{};
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const int from[3] = {cells[k].x, cells[k].y, cells[k].z};
        int to[3];
        for (int i = 0; i < 3; ++i)
            to[i] = ((map.negate >> i) & 1 ? -1 : 1) * from[map.axes[static_cast<std::size_t>(i)]];
        const Cell cell{to[0], to[1], to[2]};
        low = k == 0 ? cell : Cell{std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        result.push_back(cell);
    }
    for (Cell& cell : result)
        cell = cell - low;
    std::sort(result.begin(), result.end());
    return result;
}

FigureShape shapeOf(const std::vector<Cell>& cells)
{
    FigureShape best;
    for (const AxisMap& map : kAxisMaps) {
        std::vector<Cell> turned = mapped(cells, map);
        if (best.empty() || turned < best)
            best = std::move(turned);
    }
    return best;
}

int rotationsOnto(const std::vector<Cell>& cells)
{
    const std::vector<Cell> itself = mapped(cells, kAxisMaps[0]);
    int count = 0;
    for (const AxisMap& map : kAxisMaps)
        count += !map.mirrors && mapped(cells, map) == itself;
    return count;
}

// A number that two figures the same turned, mirrored or moved always
// share: a hash of the invariants of their cells' spread (the trace, the sum
// of the principal minors and the determinant of the covariance matrix,
// scaled to whole numbers), which turning or mirroring the axes leaves as
// they are. Today's task is a figure whose number leaves the same remainder
// by kDaysApart as its day's: days fewer than kDaysApart apart leave
// different remainders, so their figures differ however they are turned.
std::uint32_t spreadHash(const std::vector<Cell>& cells)
{
    const auto count = static_cast<std::int64_t>(cells.size());
    std::int64_t sum[3]{};
    std::int64_t products[3][3]{};
    for (const Cell& cell : cells) {
        const std::int64_t at[3] = {cell.x, cell.y, cell.z};
        for (int i = 0; i < 3; ++i) {
            sum[i] += at[i];
            for (int j = 0; j < 3; ++j)
                products[i][j] += at[i] * at[j];
        }
    }
    std::int64_t c[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            c[i][j] = count * products[i][j] - sum[i] * sum[j];
    }
    const std::int64_t invariants[3] = {
        c[0][0] + c[1][1] + c[2][2],
        c[0][0] * c[1][1] - c[0][1] * c[1][0] + c[0][0] * c[2][2] - c[0][2] * c[2][0] + c[1][1] * c[2][2] -
            c[1][2] * c[2][1],
        c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) - c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
            c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0]),
    };
    // FNV-1a over the invariants' bytes.
    std::uint32_t hash = 2166136261u;
    for (const std::int64_t invariant : invariants) {
        for (int shift = 0; shift < 64; shift += 8) {
            hash ^= static_cast<std::uint32_t>(static_cast<std::uint64_t>(invariant) >> shift) & 0xffu;
            hash *= 16777619u;
        }
    }
    return hash;
}

// A number from 0 to count - 1.
int draw(GameRandom& random, int count)
{
    return random.next() % count;
}

// The columns of a footprint, row by row from the far side: how many cubes
// each holds.
constexpr std::size_t kMostColumns = 25;
struct Heights {
    std::array<int, kMostColumns> columns{};
    int& at(const Style& style, int x, int y) { return columns[static_cast<std::size_t>(y * style.width + x)]; }
    int at(const Style& style, int x, int y) const { return columns[static_cast<std::size_t>(y * style.width + x)]; }
};

constexpr bool fitsInHeights(std::span<const Style> styles)
{
    for (const Style& style : styles) {
        if (static_cast<std::size_t>(style.width * style.depth) > kMostColumns ||
            (style.mirrored && style.width % 2 == 0))
            return false;
    }
    return true;
}
static_assert(fitsInHeights(kEasyStyles) && fitsInHeights(kMediumStyles) && fitsInHeights(kHardStyles) &&
                  fitsInHeights(kUniqueStyles),
              "every footprint fits in Heights, and a mirrored one has a middle column");

// Heights of the style's columns that add up to the task's cells, or
// nothing when the draw cannot be brought there. Heights are drawn at
// random, then single columns (or mirrored pairs) raised or lowered by one
// at random until they add up.
std::optional<Heights> drawHeights(GameRandom& random, const Style& style)
{
    const int halfWidth = style.mirrored ? (style.width + 1) / 2 : style.width;
    Heights heights;
    // A column group: a column, or a column and its mirror image.
    const auto weight = [&](int x) { return style.mirrored && x != style.width - 1 - x ? 2 : 1; };
    const auto set = [&](int x, int y, int height) {
        heights.at(style, x, y) = height;
        if (style.mirrored)
            heights.at(style, style.width - 1 - x, y) = height;
    };
    int total = 0;
    for (int y = 0; y < style.depth; ++y) {
        for (int x = 0; x < halfWidth; ++x) {
            set(x, y, draw(random, style.tallest + 1));
            total += weight(x) * heights.at(style, x, y);
        }
    }
    for (int steps = 0; total != kMaxCells; ++steps) {
        if (steps == 4 * kMaxCells)
            return std::nullopt;
        const int x = draw(random, halfWidth);
        const int y = draw(random, style.depth);
        const int change = total < kMaxCells ? 1 : -1;
        const int height = heights.at(style, x, y) + change;
        if (height < 0 || height > style.tallest || std::abs(kMaxCells - total) < weight(x))
            continue;
        set(x, y, height);
        total += change * weight(x);
    }
    return heights;
}

// Whether the columns with cubes reach each other across the floor, so that
// the stacks on them hang together.
bool footprintHangsTogether(const Heights& heights, const Style& style)
{
    std::array<bool, kMostColumns> reached{};
    std::array<int, kMostColumns> todo{};
    int waiting = 0;
    int columns = 0;
    for (int k = 0; k < style.width * style.depth; ++k) {
        const bool used = heights.columns[static_cast<std::size_t>(k)] > 0;
        columns += used;
        if (used && waiting == 0) {
            todo[0] = k;
            reached[static_cast<std::size_t>(k)] = true;
            waiting = 1;
        }
    }
    int found = waiting;
    while (waiting > 0) {
        const int k = todo[static_cast<std::size_t>(--waiting)];
        const int x = k % style.width;
        const int y = k / style.width;
        const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (nx < 0 || ny < 0 || nx >= style.width || ny >= style.depth)
                continue;
            const auto n = static_cast<std::size_t>(ny * style.width + nx);
            if (!reached[n] && heights.columns[n] > 0) {
                reached[n] = true;
                ++found;
                todo[static_cast<std::size_t>(waiting++)] = static_cast<int>(n);
            }
        }
    }
    return found == columns;
}

// The stacks as cells in cube edges, the footprint's used part centred on
// the middle of the floor as the library's figures are, from the floor up.
std::vector<Cell> stack(const Heights& heights, const Style& style)
{
    int lowX = style.width, highX = -1, lowY = style.depth, highY = -1;
    for (int y = 0; y < style.depth; ++y) {
        for (int x = 0; x < style.width; ++x) {
            if (heights.at(style, x, y) > 0) {
                lowX = std::min(lowX, x);
                highX = std::max(highX, x);
                lowY = std::min(lowY, y);
                highY = std::max(highY, y);
            }
        }
    }
    const int middleX = lowX + (highX - lowX + 1) / 2;
    const int middleY = lowY + (highY - lowY + 1) / 2;
    std::vector<Cell> cells;
    cells.reserve(kMaxCells);
    for (int z = 0; z < style.tallest; ++z) {
        for (int y = 0; y < style.depth; ++y) {
            for (int x = 0; x < style.width; ++x) {
                if (heights.at(style, x, y) > z)
                    cells.push_back({x - middleX, y - middleY, z});
            }
        }
    }
    return cells;
}

std::vector<Vec3> inUnits(const std::vector<Cell>& cells)
{
    std::vector<Vec3> result;
    result.reserve(cells.size());
    for (const Cell& cell : cells)
        result.push_back(toVec3(Cell{cell.x * 10, cell.y * 10, cell.z * 10}));
    return result;
}

// Counting stops once the band is decided: the first count beyond it.
std::uint64_t countingLimit(Difficulty difficulty, int rotations)
{
    switch (difficulty) {
    case Difficulty::Easy:
    case Difficulty::Medium: return kEasySolutions;
    case Difficulty::Hard: return kMediumSolutions;
    case Difficulty::Unique: return static_cast<std::uint64_t>(rotations) + 1;
    }
    return kEasySolutions;
}

// Counts solutions until limit; with untilBuildable, on past it while no
// solution found so far can be built, so that an unbuildable figure is
// known for one.
FigureCount countUpTo(std::span<const Vec3> cells, int pieceCount, int rotations, std::uint64_t limit,
                      const std::optional<Solution>& built, bool untilBuildable)
{
    FigureCount count{.rotations = rotations, .buildable = built && canBeBuilt(*built)};
    std::uint64_t seen = 0;
    Solver(cells, pieceCount).solve({}, [&](const Solution& solution) {
        ++seen;
        if (!count.buildable)
            count.buildable = canBeBuilt(solution);
        return seen < limit || (untilBuildable && !count.buildable);
    });
    count.countedAll = seen < limit;
    count.solutions = std::min(seen, limit);
    return count;
}

}  // namespace

std::string_view difficultyName(Difficulty difficulty)
{
    return kDifficultyNames[static_cast<std::size_t>(difficulty)];
}

std::optional<Difficulty> difficultyNamed(std::string_view name)
{
    for (const Difficulty difficulty : kDifficulties) {
        if (difficultyName(difficulty) == name)
            return difficulty;
    }
    return std::nullopt;
}

FigureShape figureShape(std::span<const Vec3> cells)
{
    return shapeOf(inCubes(cells));
}

std::set<FigureShape> shapesOf(std::span<const Task> tasks)
{
    std::set<FigureShape> shapes;
    for (const Task& task : tasks)
        shapes.insert(figureShape(task.cells));
    return shapes;
}

int selfRotations(std::span<const Vec3> cells)
{
    return rotationsOnto(inCubes(cells));
}

bool hangsTogether(std::span<const Vec3> cells)
{
    const std::vector<Cell> cubes = inCubes(cells);
    if (cubes.empty())
        return true;
    std::vector<bool> reached(cubes.size(), false);
    std::vector<std::size_t> todo{0};
    reached[0] = true;
    while (!todo.empty()) {
        const Cell at = cubes[todo.back()];
        todo.pop_back();
        for (std::size_t k = 0; k < cubes.size(); ++k) {
            const Cell d = cubes[k] - at;
            if (!reached[k] && std::abs(d.x) + std::abs(d.y) + std::abs(d.z) == 1) {
                reached[k] = true;
                todo.push_back(k);
            }
        }
    }
    return std::all_of(reached.begin(), reached.end(), [](bool r) { return r; });
}

std::optional<Difficulty> difficultyOfCount(const FigureCount& count)
{
    if (!count.buildable || count.solutions == 0)
        return std::nullopt;
    if (!count.countedAll || count.solutions >= kEasySolutions)
        return Difficulty::Easy;
    if (count.solutions >= kMediumSolutions)
        return Difficulty::Medium;
    // Fewer solutions than rotations: the one solution is turned onto itself.
    if (count.solutions <= static_cast<std::uint64_t>(count.rotations))
        return Difficulty::Unique;
    return Difficulty::Hard;
}

FigureCount countFigure(std::span<const Vec3> cells, int pieceCount, const std::optional<Solution>& built)
{
    return countUpTo(cells, pieceCount, selfRotations(cells), kEasySolutions, built, true);
}

std::string taskRequestName(const TaskRequest& request)
{
    if (request.kind == TaskRequest::Kind::Daily)
        return "daily-" + dateText(request.date) + ".tsk";
    return "random-" + std::string(difficultyName(request.difficulty)) + '-' + std::to_string(request.seed) + ".tsk";
}

std::optional<TaskRequest> taskRequestNamed(std::string_view name)
{
    constexpr std::string_view kDaily = "daily-";
    constexpr std::string_view kRandom = "random-";
    constexpr std::string_view kExtension = ".tsk";
    if (!name.ends_with(kExtension))
        return std::nullopt;
    name.remove_suffix(kExtension.size());
    if (name.starts_with(kDaily)) {
        const DateRead read = readDate(name.substr(kDaily.size()));
        if (!read.date)
            return std::nullopt;
        return TaskRequest{.kind = TaskRequest::Kind::Daily, .date = *read.date};
    }
    if (!name.starts_with(kRandom))
        return std::nullopt;
    name.remove_prefix(kRandom.size());
    const std::size_t dash = name.find('-');
    const std::optional<Difficulty> difficulty = difficultyNamed(name.substr(0, dash));
    if (!difficulty || dash == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = name.substr(dash + 1);
    std::uint32_t seed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        std::to_string(seed) != digits)
        return std::nullopt;
    return TaskRequest{.kind = TaskRequest::Kind::Random, .difficulty = *difficulty, .seed = seed};
}

TaskGenerator::TaskGenerator(TaskRequest request, std::set<FigureShape> avoid)
    : request_(request), avoid_(std::move(avoid))
{
    // A day's seed is its date read as a number: 20260301.
    const bool daily = request_.kind == TaskRequest::Kind::Daily;
    if (daily)
        request_.difficulty = Difficulty::Unique;
    random_.reseed(
        daily ? static_cast<unsigned>(request_.date.year * 10000 + request_.date.month * 100 + request_.date.day)
              : request_.seed);
}

bool TaskGenerator::work(std::uint32_t candidates)
{
    for (std::uint32_t k = 0; k < candidates && !done_; ++k) {
        tryCandidate();
        done_ = done_ || candidates_ >= kMostCandidates;
    }
    return done_;
}

void TaskGenerator::tryCandidate()
{
    ++candidates_;
    const std::span<const Style> styles = stylesFor(request_.difficulty);
    const Style& style = styles[static_cast<std::size_t>(draw(random_, static_cast<int>(styles.size())))];
    const std::optional<Heights> heights = drawHeights(random_, style);
    if (!heights || !footprintHangsTogether(*heights, style))
        return;
    const std::vector<Cell> cells = stack(*heights, style);
    if (request_.kind == TaskRequest::Kind::Daily &&
        spreadHash(cells) % kDaysApart != static_cast<std::uint32_t>(dayNumber(request_.date) % kDaysApart))
        return;
    if (avoid_.contains(shapeOf(cells)))
        return;
    const int rotations = rotationsOnto(cells);
    const std::vector<Vec3> figure = inUnits(cells);
    ++counted_;
    const FigureCount count =
        countUpTo(figure, kPieceTotal, rotations, countingLimit(request_.difficulty, rotations), std::nullopt, false);
    if (difficultyOfCount(count) != request_.difficulty)
        return;
    task_ = Task{kPieceTotal, kMaxCells, figure};
    count_ = count;
    done_ = true;
}

std::optional<Task> makeTask(const TaskRequest& request, const std::set<FigureShape>& avoid)
{
    TaskGenerator generator(request, avoid);
    generator.work(kMostCandidates);
    return generator.task();
}

}  // namespace vokta
