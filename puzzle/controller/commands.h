#pragma once

namespace vokta {

// Menu command identifiers, as the menus send them.
enum class Command : int {
    New = 40001,
    Load = 40002,
    Save = 40003,
    About = 40004,
    KeyboardHelp = 40005,
    MouseHelp = 40006,
    Solid = 40007,
    // The twelve piece commands, in this order.
    MoveLeft = 40008,
    MoveRight = 40009,
    MoveUp = 40010,
    MoveDown = 40011,
    MoveForward = 40012,
    MoveBackward = 40013,
    TurnLeft = 40014,
    TurnRight = 40015,
    TurnCounterclockwise = 40016,
    TurnClockwise = 40017,
    TurnForward = 40018,
    TurnBackward = 40019,
    English = 40020,
    Russian = 40021,
    Retry = 40022,
    Hint = 40023,
    Library = 40024,
    // Added at the end of the Task menu, after the original items.
    Undo = 40025,
    Redo = 40026,
    ResetView = 40027,
    DistinctColours = 40028,
    PieceNumbers = 40029,
    // Made tasks, after Library... in the Task menu.
    TodaysTask = 40030,
    RandomTask = 40031,
    // A task as a short code: shown to be passed on, and opened.
    ShareTask = 40032,
    OpenTaskCode = 40033,
    // The scene in words, for a player who cannot see it (the shell's).
    Describe = 40034,
    HelpIndex = 57666,
};

inline constexpr bool isPieceCommand(Command command)
{
    return command >= Command::MoveLeft && command <= Command::TurnBackward;
}

}  // namespace vokta
