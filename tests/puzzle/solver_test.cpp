#include <gtest/gtest.h>

#include "puzzle/controller/scene_setup.h"
#include "puzzle/rules/hint.h"
#include "puzzle/rules/solver.h"
#include "test_game.h"

namespace vokta {
namespace {

std::vector<Vec3> builtInCells()
{
    std::vector<Vec3> cells;
    for (const Vec3& cell : kBuiltInTask)
        cells.push_back(cell + kBuiltInTaskPosition);
    return cells;
}

class SolverTest : public testing::GameFixture {
protected:
    // Puts the pieces where the solution says and asks the rules' own test.
    bool completes(const Solution& solution)
    {
        for (int p = 0; p < kPieceTotal; ++p)
            piece(p).position = {200 + 30 * p, 0, 0};
        for (const PiecePlace& place : solution) {
            piece(place.piece).offsets = place.offsets;
            piece(place.piece).position = place.position;
        }
        return isCompleted(game.state);
    }
};

TEST_F(SolverTest, TheCubeHas11520SolutionsAndTheRulesAcceptEachOneTried)
{
    const Solver solver(builtInCells(), kPieceTotal);
    std::uint64_t seen = 0;
    const std::uint64_t count = solver.solve({}, [&](const Solution& solution) {
        // Every 97th solution, placed in the game, completes the task.
        if (seen++ % 97 == 0) {
            EXPECT_TRUE(completes(solution)) << "solution " << seen;
        }
        return true;
    });
    EXPECT_EQ(count, 11520u);
    EXPECT_EQ(orientations(0).size(), 12u) << "the three-cube piece has twelve";
    EXPECT_EQ(orientations(2).size(), 24u);
}

TEST_F(SolverTest, FixedPiecesStayAndAFigureThatCannotBeFilledHasNone)
{
    const Solver solver(builtInCells(), kPieceTotal);
    const std::optional<Solution> first = solver.first();
    ASSERT_TRUE(first);
    const PiecePlace kept = (*first)[4];
    const std::uint64_t withKept = solver.solve({kept}, [&](const Solution& solution) {
        EXPECT_EQ(solution[4], kept);
        return true;
    });
    EXPECT_GT(withKept, 0u);
    EXPECT_LT(withKept, 11520u);

    std::vector<Vec3> moved = builtInCells();
    moved[13] = {200, 200, 0};
    EXPECT_EQ(Solver(moved, kPieceTotal).count(), 0u) << "one cell far away";
    EXPECT_EQ(Solver(builtInCells(), 6).count(), 0u) << "23 cubes cannot fill 27 cells";
    for (const Vec3 shift : {Vec3{5, 0, 0}, Vec3{0, 0, -10}}) {
        std::vector<Vec3> shifted = builtInCells();
        for (Vec3& cell : shifted)
            cell = cell + shift;
        EXPECT_EQ(Solver(shifted, kPieceTotal).count(), 0u) << "off the grid or below the floor";
    }
}

// Without the cells of the three-cube piece, the other six fill the cube in
// every way they do with that piece kept there.
TEST_F(SolverTest, SparePiecesAreLeftOutOfAFigureWithFewerCells)
{
    const PiecePlace three = kBuiltInSolution[0];
    std::vector<Vec3> rest;
    for (const Vec3& cell : builtInCells()) {
        const auto covers = [&](int c) { return cell == toVec3(three.position + three.offsets[c]); };
        if (!covers(0) && !covers(1) && !covers(2))
            rest.push_back(cell);
    }
    ASSERT_EQ(rest.size(), 24u);
    const std::uint64_t count = Solver(rest, kPieceTotal).solve({}, [](const Solution& solution) {
        EXPECT_EQ(solution.size(), 6u);
        EXPECT_NE(solution.front().piece, 0);
        return true;
    });
    EXPECT_EQ(count, Solver(builtInCells(), kPieceTotal).count({three}));
    EXPECT_GT(count, 0u);
}

TEST_F(SolverTest, ATaskForFivePiecesIsSolvedWithThoseFive)
{
    // A 3 x 3 floor, a wall of six on its back row, a row on the middle
    // and one cube on top: 19 cells for the first five pieces.
    std::vector<Vec3> cells;
    for (float y : {-10.0f, 0.0f, 10.0f})
        for (float x : {-10.0f, 0.0f, 10.0f})
            cells.push_back({x, y, 0});
    for (float z : {10.0f, 20.0f})
        for (float x : {-10.0f, 0.0f, 10.0f})
            cells.push_back({x, 10, z});
    for (float x : {-10.0f, 0.0f, 10.0f})
        cells.push_back({x, 0, 10});
    cells.push_back({0, 10, 30});
    const Solver solver(cells, 5);
    const std::optional<Solution> solution = solver.first();
    ASSERT_TRUE(solution);
    EXPECT_EQ(solution->size(), 5u);
    applyTask(game.state, {.pieceCount = 5, .cellCount = static_cast<int>(cells.size()), .cells = cells});
    EXPECT_TRUE(completes(*solution));
}

// Followed from the scatter, and with a piece stuck half into the figure,
// the hints solve the task: each ghost stands clear of the other pieces and
// would rest where it is, and a piece in the way is named to take out.
TEST_F(SolverTest, FollowingTheHintsSolvesTheTask)
{
    for (const bool stuck : {false, true}) {
        scatterPieces(game);
        tick(60);
        if (stuck) {
            piece(1).position = {-20, 0, 0};
            piece(1).falling = false;
        }
        int taken = 0;
        Hint hint;
        for (int step = 0; step < 2 * kPieceTotal; ++step) {
            hint = findHint(game.state);
            if (hint.kind == Hint::Kind::Solved)
                break;
            if (hint.kind == Hint::Kind::TakeOut) {
                piece(hint.piece).position = {200 + 30 * taken++, 0, 0};
                continue;
            }
            ASSERT_EQ(hint.kind, Hint::Kind::Place);
            PieceState& placed = piece(hint.piece);
            placed.offsets = hint.place.offsets;
            placed.position = hint.place.position;
            EXPECT_EQ(placement(game.state, hint.piece), Placement::Fits) << "step " << step;
            EXPECT_TRUE(isSupported(game.state, hint.piece)) << "step " << step;
            placed.falling = false;
        }
        EXPECT_EQ(hint.kind, Hint::Kind::Solved);
        EXPECT_TRUE(isCompleted(game.state)) << "the rules' own test agrees";
    }
}

}  // namespace
}  // namespace vokta
