#pragma once

#include <optional>
#include <string>
#include <vector>

#include "puzzle/controller/game.h"
#include "puzzle/controller/window_message.h"
#include "puzzle/rules/hint.h"
#include "shell/language.h"

namespace vokta {

// Words for a player who cannot see the view, handed to the front end for
// its screen reader: a short announcement of what changed, or the
// description of the scene the player asked for.
struct Spoken {
    enum class Kind { Announcement, Description };
    Kind kind = Kind::Announcement;
    std::vector<std::string> sentences;

    // The sentences one after another, a space between.
    std::string text() const;
};

// Tells in a sentence or two what each input or tick changed, in the
// interface's language: the piece selected and where it is, a move or turn
// and where it led, a move or turn refused and what is in the way, a piece
// let go and what it came to rest on, a hint, an undo or redo, a task set up,
// the task completed, and the view once the camera stops. Whatever changes
// nothing says nothing.
class Announcer {
public:
    // The view the game starts with (or continues in) needs no words.
    void start(const Game& game);
    // After message was handled, before being the state as it was: what to
    // say about it, if anything. A drag's moves are said together when the
    // button comes up.
    std::optional<Spoken> heard(const WindowMessage& message, const GameState& before, const Game& game,
                                Language language);
    // What the Hint command found while a message was handled; said with it.
    void hint(const Hint& hint, const Game& game, Language language);

private:
    struct Pose {
        Vec3 position;
        Vec3 direction;
        Vec3 up;
        bool operator==(const Pose&) const = default;
    };
    static Pose poseOf(const Camera& camera);

    Pose spokenView_;
    // The state before a drag under way, while its moves go unsaid.
    std::optional<GameState> dragFrom_;
    std::vector<std::string> hint_;
};

// The game view's name for a screen reader, which says how to hear it.
std::string_view viewName(Language language);

// Where the camera looks from, as the view is said once it stops: from
// which side of the floor, how steeply, how far, and whether moves go
// straight along the grid or diagonally.
std::string viewSentence(const Camera& camera, Language language);

}  // namespace vokta
