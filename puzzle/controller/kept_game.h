#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "geometry/vector.h"
#include "puzzle/controller/history.h"

namespace vokta {

// A game in progress as it is kept between sessions: everything a step can
// change and the steps to undo and redo, the generator that scatters next,
// the ticks counted (the attempt's time runs from them), and the view.
struct KeptGame {
    GameSnapshot now;
    // The steps, oldest first, and how many of them can be undone (the rest
    // redone). The generator is not part of a step (undo leaves it running
    // on); the steps come back with the current one.
    std::vector<std::pair<GameSnapshot, GameSnapshot>> steps;
    std::size_t undoable = 0;
    std::int64_t tickCount = 0;
    Vec3 cameraPosition;
    Vec3 cameraDirection;
    Vec3 cameraUp;

    bool operator==(const KeptGame&) const = default;
};

// The kept game's file (desktop) or stored value (page): a line naming the
// format, a version byte, the game, then a CRC-32 of all before it, so that a
// file cut short or changed is known as damaged. Steps are written as what
// changed since the snapshot before them, so a long history stays small.
inline constexpr int kKeptGameVersion = 1;

std::vector<unsigned char> encodeKeptGame(const KeptGame& game);

// Why a kept game cannot be continued.
struct KeptGameError {
    enum class Kind {
        Damaged,       // not a kept game, cut short or changed
        NewerVersion,  // kept by a newer game
        OtherPieces,   // for pieces this game does not have
    };
    Kind kind = Kind::Damaged;
    std::string problem;  // in a few English words
};

struct KeptGameRead {
    std::optional<KeptGame> game;
    KeptGameError error;  // when there is no game
};

// Reads and checks the whole value: every piece, cell and step must be one
// the game could have made, or nothing is taken.
KeptGameRead decodeKeptGame(std::span<const unsigned char> bytes);

}  // namespace vokta
