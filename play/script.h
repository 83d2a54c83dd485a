#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/controller/commands.h"
#include "puzzle/controller/input.h"
#include "puzzle/rules/game_state.h"
#include "puzzle/rules/generator.h"

namespace vokta::play {

// One line of a vokta-play script, read and checked.
struct Action {
    enum class Kind {
        Setup,             // setup SEED
        Seed,              // seed N
        Tick,              // tick [N]
        KeyDown,           // keydown KEY [shift]
        KeyUp,             // keyup KEY
        Key,               // key KEY [shift]
        Char,              // char C
        Command,           // command ID
        Press,             // press X Y BUTTONS
        Move,              // move X Y BUTTONS
        Release,           // release X Y BUTTONS
        DoubleClick,       // dblclick X Y BUTTONS
        ClickPiece,        // click piece N [right]
        DoubleClickPiece,  // dblclick piece N
        ClickRoller,       // click roller N
        Place,             // place N X Y Z [falling|resting] [OFFSETS...]
        Camera,            // camera PX PY PZ DX DY DZ UX UY UZ
        Pieces,            // pieces N
        Task,              // task builtin|none
        New,
        Retry,
        Hint,      // hint
        Undo,      // undo
        Redo,      // redo
        Size,      // size W H
        Load,      // load FILE
        Save,      // save FILE
        Code,      // code CODE: a task's code, or a link that carries one
        Daily,     // daily YYYY-MM-DD
        Generate,  // generate DIFFICULTY SEED
        State,     // state
        Expect     // expect PATH VALUE
    };

    Kind kind = Kind::State;
    int line = 0;
    std::uint32_t number = 0;  // seed, tick count, command, piece or roller index, piece count
    Key key = Key::Other;
    char character = 0;  // a character key, or the character typed
    bool shift = false;  // keys held with Shift; a right click
    int x = 0;
    int y = 0;
    int keys = 0;          // mouse key-state flags
    bool falling = false;  // place: falling or resting
    bool builtin = false;  // task builtin
    Cell cell;             // place: where the piece goes
    Vec3 position;         // camera
    Vec3 direction;        // camera
    Vec3 up;               // camera
    std::optional<CubeOffsets> offsets;
    std::string text;     // load and save: the file; code: the code; expect: the path
    std::string value;    // expect: the value, without blanks
    TaskRequest request;  // daily and generate: the task to make
};

struct Script {
    std::vector<Action> actions;
    // When the script cannot be run: the line (1 on) and what is wrong with it.
    int errorLine = 0;
    std::string error;
};

// The most ticks one line may ask for: a soak is many lines, never one that
// holds the runner for hours.
inline constexpr std::uint32_t kMostTicksPerLine = 1'000'000;

// The names a script gives keys and mouse flags, as parseScript reads them:
// a key (with the character it typed, for a character key) and the buttons
// and modifiers held ("none", "left+shift").
std::string keyName(Key key, char typed);
std::string buttonsName(int keys);
// A menu command's name in scripts (see commandName in shell/menus.h), or its number.
std::string scriptCommandName(Command command);

// Reads a whole script, one action per line, '#' starting a comment; stops
// at the first line that is not an action as documented.
Script parseScript(std::string_view text);

}  // namespace vokta::play
