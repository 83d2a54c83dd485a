#include "puzzle/game.h"

#include <algorithm>

namespace vokta {

Game::Game(std::string modelDirectory, SoundOutput& sound, GameShell& shell)
    : scene(std::move(modelDirectory)), camera(scene, scene.cameraFrame()), sound(sound), shell(shell)
{
}

// The scene objects go before the scene they hang in; members are destroyed
// in reverse order, which does just that.
Game::~Game() = default;

std::span<Piece* const> Game::piecesInPlay() const
{
    std::size_t count = 0;
    for (const auto& piece : pieces) {
        if (!piece || count == static_cast<std::size_t>(std::clamp(pieceCount, 0, kPieceTotal)))
            break;
        inPlay_[count++] = piece.get();
    }
    return {inPlay_.data(), count};
}

}  // namespace vokta
