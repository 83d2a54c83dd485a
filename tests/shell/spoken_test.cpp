// The game in words: what the shell says after each input and tick, and the
// description Describe gives, in both languages. Expected words are worked
// out from the rules and the view: with the start-up view, and with it
// turned a little to the left, columns run along +x, rows along +y (row 1 at
// the back, y = -10 for the built-in cube) and layers up from z = 0.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "puzzle/rules/solver.h"
#include "puzzle/rules/task_file.h"
#include "shell/shell.h"
#include "shell_fixtures.h"

namespace vokta {
namespace {

class SilentSound : public SoundOutput {
public:
    void play(Cue) override {}
};

// The pieces at rest in a row in front of the built-in cube, far from it.
constexpr Cell kParked[kPieceTotal] = {{-90, 90, 0}, {-60, 90, 0}, {-30, 90, 0}, {0, 90, 0},
                                       {30, 90, 0},  {60, 90, 0},  {90, 90, 0}};

class SpokenTest : public ::testing::Test {
protected:
    SpokenTest()
    {
        view.shell = &shell;
        shell.game().scene().setViewSize(800, 600);
        shell.start(1);
        for (int i = 0; i < kPieceTotal; ++i)
            shell.game().place(i, kParked[i], kPieceShapes[static_cast<std::size_t>(i)], false);
    }

    void press(KeyStroke stroke)
    {
        shell.keyDown(stroke);
        shell.keyUp(stroke);
    }
    void press(Key key, bool shift = false) { press({.key = key, .shift = shift}); }
    void digit(char typed) { press({.typed = typed}); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            shell.tick();
    }
    // The camera turned 0.4 radians to the left: moves go straight.
    void turnViewAlongGrid()
    {
        shell.keyDown({.key = Key::Left});
        ticks(4);
        shell.keyUp({.key = Key::Left});
    }

    // What was said since the last call, one text for each announcement.
    std::vector<std::string> said()
    {
        std::vector<std::string> texts;
        for (const Spoken& spoken : view.spoken)
            texts.push_back(spoken.text());
        view.spoken.clear();
        return texts;
    }
    using Said = std::vector<std::string>;

    SilentSound sound;
    testing::MapStore store;
    testing::RecordingView view;
    Shell shell{VOKTA_RESOURCE_DIR, VOKTA_RESOURCE_DIR "/tasks", sound, view, store};
};

// Where a piece is, as selecting it says: the red piece (digit 2) is three
// cubes along x with a fourth on top of its left one.
TEST_F(SpokenTest, SelectingAPieceSaysItsColourDigitAndWhereItIs)
{
    const struct {
        Cell position;
        const char* english;
        const char* russian;
    } table[] = {
        {{40, 0, 0},
         "Selected red piece 2: 2 cells right of the figure, row 2, on the floor.",
         "Выбрана красная деталь 2: правее фигуры на 2, ряд 2, на полу."},
        {{-40, 0, 0},
         "Selected red piece 2: 2 cells left of the figure, row 2, on the floor.",
         "Выбрана красная деталь 2: левее фигуры на 2, ряд 2, на полу."},
        {{-30, 40, 0},
         "Selected red piece 2: 1 cell left of the figure, 3 in front, on the floor.",
         "Выбрана красная деталь 2: левее фигуры на 1, ближе на 3, на полу."},
        {{0, -40, 20},
         "Selected red piece 2: columns 1 to 3, 3 cells behind the figure, 2 cells up.",
         "Выбрана красная деталь 2: столбцы с 1 по 3, дальше фигуры на 3, на высоте 2."},
        {{0, 0, 30},
         "Selected red piece 2: layer 4, row 2, columns 1 to 3; layer 5, row 2, column 1.",
         "Выбрана красная деталь 2: слой 4, ряд 2, столбцы с 1 по 3; слой 5, ряд 2, столбец 1."},
        {{20, 10, 40},
         "Selected red piece 2: layer 5, row 3, columns 3 to 5; layer 6, row 3, column 3.",
         "Выбрана красная деталь 2: слой 5, ряд 3, столбцы с 3 по 5; слой 6, ряд 3, столбец 3."},
    };
    for (const auto& row : table) {
        for (const Language language : {Language::English, Language::Russian}) {
            shell.setLanguage(language == Language::Russian ? "Russian" : "English");
            shell.game().place(2, row.position, std::nullopt, false);
            digit('2');
            EXPECT_EQ(said(), Said{language == Language::Russian ? row.russian : row.english});
            press(Key::Escape);
            said();
            ticks(1);
            said();
        }
    }
}

// Every move and turn says where it led; a refused one says what is in the
// way; a turn the diagonal start-up view cannot give says so. Moves follow
// the view: from it turned a little to the left, Left is -x, Up is -y.
TEST_F(SpokenTest, MovesAndTurnsSayWhereTheyLedOrWhatIsInTheWay)
{
    shell.game().place(2, {40, 0, 0}, std::nullopt, false);
    digit('2');
    press(Key::PageDown, true);
    EXPECT_EQ(said(),
              (Said{"Selected red piece 2: 2 cells right of the figure, row 2, on the floor.",
                    "This view gives that no direction on the grid: turn the view a little."}));

    press(Key::Escape);
    ticks(1);
    EXPECT_EQ(said(), (Said{"Let go: red piece 2.", "Red piece 2 came to rest on the floor."}));
    turnViewAlongGrid();
    EXPECT_EQ(said(), Said{"View from the north, 35 degrees down, 17 cells away; moves go straight."});
    digit('2');
    EXPECT_EQ(said(), Said{"Selected red piece 2: 2 cells right of the figure, row 2, on the floor."});
    // The blue piece (digit 4), as four cubes along x from (50, -10, 0), one up.
    shell.game().place(6, {60, -10, 0}, CubeOffsets{{{0, 0, 0}, {10, 0, 0}, {0, 0, 10}, {-10, 0, 0}}}, false);
    const struct {
        Key key;
        bool shift;
        const char* expected;
    } table[] = {
        {Key::Left, false, "1 cell right of the figure, row 2, on the floor."},
        {Key::Up, false, "1 cell right of the figure, row 1, on the floor."},
        {Key::Right, false, "Blocked by the blue piece."},
        {Key::PageDown, false, "The floor is in the way."},
        {Key::PageUp, false, "1 cell right of the figure, row 1, 1 cell up."},
        // A quarter turn about z takes (x, y) to (y, -x): the three cubes now lie along y.
        {Key::Left, true, "Turned: 2 cells right of the figure, rows 0 to 2, 1 cell up."},
        {Key::Down, false, "2 cells right of the figure, rows 1 to 3, 1 cell up."},
    };
    for (const auto& row : table) {
        press(row.key, row.shift);
        EXPECT_EQ(said(), Said{row.expected}) << row.expected;
    }
    ticks(5);
    EXPECT_EQ(said(), Said{}) << "a selected piece hangs where it is";
}

// A piece let go falls and says what it came to rest on: the floor, one
// piece, or two at once.
TEST_F(SpokenTest, APieceLetGoSaysWhatItCameToRestOn)
{
    // Blue (index 6) on the floor with its top cube at (-10, 0, 10)... and (0, 0, 10);
    // yellow (index 3) shaped alike, its top cube at (20, 0, 10).
    shell.game().place(6, {0, 0, 0}, std::nullopt, false);
    shell.game().place(3, {30, 0, 0}, kPieceShapes[6], false);
    for (const Language language : {Language::English, Language::Russian}) {
        shell.setLanguage(language == Language::Russian ? "Russian" : "English");
        shell.game().place(2, {10, 0, 40}, std::nullopt, false);
        digit('2');
        said();
        press({.key = Key::Enter, .typed = '\r'});
        // From z 40 to 20 at two units a tick, and the tick that finds it resting.
        ticks(10);
        EXPECT_EQ(said(), Said{language == Language::English ? "Let go: red piece 2." : "Отпущена красная деталь 2."});
        ticks(1);
        EXPECT_EQ(said(),
                  Said{language == Language::English ? "Red piece 2 came to rest on the yellow and blue pieces."
                                                     : "Красная деталь 2 встала на жёлтую и синюю детали."});
    }
    shell.game().place(3, kParked[3], kPieceShapes[3], false);
    shell.game().place(2, {10, 0, 40}, std::nullopt, true);
    ticks(11);
    EXPECT_EQ(said(), Said{"Красная деталь 2 встала на синюю деталь."});
}

// What changes nothing says nothing: ticks with every piece at rest, keys
// the game does not take, the selected piece selected again, the pointer
// moving with no button, the view reset when it is the start-up view.
TEST_F(SpokenTest, NothingIsSaidWhileNothingChanges)
{
    ticks(20);
    press({.letter = U'X', .typed = 'x'});
    press(Key::Home);
    shell.mouse({.kind = WindowMessage::Kind::MouseMove, .x = 400, .y = 300});
    shell.keyboardLost();
    EXPECT_EQ(said(), Said{});
    digit('5');
    digit('5');
    ticks(20);
    EXPECT_EQ(said().size(), 1u);
    // Held camera keys say the view once, when the last comes up.
    press(Key::Escape);
    ticks(1);
    said();
    shell.keyDown({.key = Key::Right});
    shell.keyDown({.key = Key::PageUp});
    ticks(4);
    shell.keyUp({.key = Key::Right});
    EXPECT_EQ(said(), Said{}) << "Page Up is still held";
    ticks(2);
    shell.keyUp({.key = Key::PageUp});
    // Right turned the view 0.4 radians (23 degrees) from the north-east to
    // 22 degrees north of east, near enough to the grid for straight moves;
    // Page Up swung it 0.6 radians higher, from 35 to 70 degrees down.
    EXPECT_EQ(said(), Said{"View from the east, 70 degrees down, 17 cells away; moves go straight."});
    press(Key::Home);
    EXPECT_EQ(said(), Said{"View from the north-east, 35 degrees down, 17 cells away; moves go diagonally."});
}

// Steps taken back and again, a task set up afresh, a hint, and the task completed.
TEST_F(SpokenTest, UndoRedoNewTasksHintsAndCompletionAreSaid)
{
    const std::vector<PiecePlace> cube(kBuiltInSolution.begin(), kBuiltInSolution.end());
    for (const PiecePlace& place : cube) {
        if (place.piece != 3)
            shell.game().place(place.piece, place.position, place.offsets, false);
    }
    press(Key::H);
    EXPECT_EQ(said(), Said{"Hint: yellow piece 3 goes to layer 2, row 2, column 3; layer 3, rows 1 to 3, column 3."});
    shell.setLanguage("Russian");
    press(Key::H);
    EXPECT_EQ(said(),
              Said{"Подсказка: жёлтая деталь 3 встаёт на слой 2, ряд 2, столбец 3; слой 3, ряды с 1 по 3, столбец 3."});
    shell.setLanguage("English");

    // Yellow, selected at its place and let go, rests on cyan and red and completes the cube.
    digit('3');
    shell.game().place(3, cube[3].position, cube[3].offsets, false);
    press({.key = Key::Enter, .typed = '\r'});
    said();
    ticks(1);
    EXPECT_EQ(said(), Said{"Yellow piece 3 came to rest on the cyan and red pieces. Task completed."});

    press({.letter = U'Z', .typed = '\x1A', .ctrl = true});
    EXPECT_EQ(said(), Said{"Undone. Yellow piece 3: layer 2, row 2, column 3; layer 3, rows 1 to 3, column 3."});
    press({.letter = U'Y', .typed = '\x19', .ctrl = true});
    EXPECT_EQ(said(), Said{"Redone."});
    press({.letter = U'Y', .typed = '\x19', .ctrl = true});
    EXPECT_EQ(said(), Said{}) << "nothing left to redo";

    shell.choose(Command::Retry);
    EXPECT_EQ(said(), Said{"The pieces are scattered again."});
    shell.choose(Command::New);
    EXPECT_EQ(said(), Said{"New: no figure, build freely. The pieces are scattered."});
    shell.fileChosen(Command::Load, ChosenFile{VOKTA_RESOURCE_DIR "/tasks/tower.tsk"});
    EXPECT_EQ(said(), Said{"New task: 3 wide, 2 deep, 5 high, 27 cells. The pieces are scattered."});
    shell.fileChosen(Command::Load, std::nullopt);
    shell.fileChosen(Command::Load, ChosenFile{VOKTA_RESOURCE_DIR "/tasks/no such task.tsk"});
    EXPECT_EQ(said(), Said{}) << "a cancelled or refused file changes nothing";
}

// Describe (the key D, В on the Russian layout, or the menu) says the
// figure layer by layer and the pieces not in it, and is no step. Here the
// cube stands assembled but for the yellow piece, which lies three cells to
// its right.
TEST_F(SpokenTest, DescribeSaysTheFigureLayerByLayerAndThePiecesAway)
{
    for (const PiecePlace& place : kBuiltInSolution)
        shell.game().place(place.piece, place.position, place.offsets, false);
    shell.game().place(3, {50, 0, 0}, kPieceShapes[3], false);
    press({.letter = U'D', .typed = 'd'});
    ASSERT_EQ(view.spoken.size(), 1u);
    EXPECT_EQ(view.spoken[0].kind, Spoken::Kind::Description);
    EXPECT_EQ(said(),
              Said{"Figure: 3 wide, 3 deep, 3 high, 27 cells, 23 filled. "
                   "Layer 1: row 1: green, green, red; row 2: pink, green, red; row 3: pink, pink, red. "
                   "Layer 2: row 1: green, cyan, cyan; row 2: pink, cyan, empty; row 3: magenta, magenta, red. "
                   "Layer 3: row 1: blue, cyan, empty; row 2: blue, blue, empty; row 3: magenta, blue, empty. "
                   "Away from the figure, in cells: Yellow 3: 3 right, row 2."});
    shell.setLanguage("Russian");
    press({.letter = U'\u0412', .typed = 'd'});
    EXPECT_EQ(said(),
              Said{"Фигура: ширина 3, глубина 3, высота 3, клеток: 27, заполнено: 23. "
                   "Слой 1: ряд 1: зелёная, зелёная, красная; ряд 2: розовая, зелёная, красная; ряд 3: розовая, "
                   "розовая, красная. "
                   "Слой 2: ряд 1: зелёная, голубая, голубая; ряд 2: розовая, голубая, пусто; ряд 3: пурпурная, "
                   "пурпурная, красная. "
                   "Слой 3: ряд 1: синяя, голубая, пусто; ряд 2: синяя, синяя, пусто; ряд 3: пурпурная, синяя, пусто. "
                   "Вне фигуры, в клетках: Жёлтая 3: правее на 3, ряд 2."});
    shell.choose(Command::New);
    said();
    for (const PiecePlace& place : kBuiltInSolution)
        shell.game().place(place.piece, place.position, place.offsets, false);
    shell.choose(Command::Describe);
    const Said freeBuild = said();
    ASSERT_EQ(freeBuild.size(), 1u);
    EXPECT_EQ(freeBuild[0].rfind("Фигуры нет: вы строите свободно. В клетках от центра: Пурпурная 1: ", 0), 0u)
        << freeBuild[0];
    EXPECT_FALSE(shell.game().canRedo());
    shell.choose(Command::Undo);
    said();
    shell.choose(Command::Describe);
    EXPECT_TRUE(shell.game().canRedo()) << "Describe is no step";
}

// Words cost other players nothing: with every piece at rest, Describe is
// said and draws no frame.
TEST_F(SpokenTest, DescribeDrawsNoFrame)
{
    const auto draw = [&] { return shell.renderWhenIdle([](float) {}); };
    ticks(2);
    EXPECT_TRUE(draw()) << "the pieces placed";
    press({.letter = U'D', .typed = 'd'});
    ticks(1);
    EXPECT_FALSE(draw());
    EXPECT_EQ(said().size(), 1u);
}

int wordsIn(const std::string& text)
{
    std::istringstream in(text);
    return static_cast<int>(std::distance(std::istream_iterator<std::string>(in), {}));
}

// Short enough to listen to: the built-in cube's description stays within
// 120 words from any scatter to the last piece put in place. The library's
// figures, all of 27 cells too, add words for their shapes alone: the
// sparsest (a plus, a crown) tell 8 rows in a layer, each from its first
// cell; none goes beyond 170.
TEST_F(SpokenTest, DescriptionsAreShortEnoughToListenTo)
{
    const auto longest = [&](const std::vector<Vec3>& cells, int pieceCount) {
        const std::optional<Solution> solution = Solver(cells, pieceCount).first();
        EXPECT_TRUE(solution);
        std::pair<int, std::string> most{0, ""};
        for (std::size_t placed = 0; solution && placed <= solution->size(); ++placed) {
            shell.choose(Command::Describe);
            const std::string text = said().back();
            most = std::max(most, {wordsIn(text), text});
            if (placed < solution->size()) {
                const PiecePlace& place = (*solution)[placed];
                shell.game().place(place.piece, place.position, place.offsets, false);
            }
        }
        return most;
    };
    const std::vector<Vec3> cube(kBuiltInTask.begin(), kBuiltInTask.end());
    std::vector<Vec3> cubeCells;
    for (const Vec3& cell : cube)
        cubeCells.push_back(cell + kBuiltInTaskPosition);
    for (int scatter = 0; scatter < 5; ++scatter) {
        shell.choose(Command::Retry);
        ticks(40);
        const auto [words, text] = longest(cubeCells, kPieceTotal);
        EXPECT_LE(words, 120) << text;
        EXPECT_GE(words, 60) << text;
    }
    // In the order of their names, so that every platform scatters the
    // pieces of each the same way.
    std::vector<std::filesystem::path> files;
    for (const auto& file : std::filesystem::directory_iterator(VOKTA_RESOURCE_DIR "/tasks")) {
        if (file.path().extension() == ".tsk")
            files.push_back(file.path());
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        const TaskFileRead read = readTaskFile(file.string());
        ASSERT_TRUE(read.task) << file;
        EXPECT_EQ(read.task->cellCount, kMaxCells);
        shell.fileChosen(Command::Load, ChosenFile{file.string()});
        ticks(40);
        const auto [words, text] = longest(read.task->cells, read.task->pieceCount);
        EXPECT_LE(words, 170) << text;
    }
}

}  // namespace
}  // namespace vokta
