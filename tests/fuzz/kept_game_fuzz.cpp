// Feeds arbitrary bytes as a kept game: whatever is taken reads back the
// same once kept again, and nothing taken breaks the game's limits.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "puzzle/controller/kept_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vokta::KeptGameRead read = vokta::decodeKeptGame(std::span<const unsigned char>(data, size));
    if (!read.game)
        return 0;
    const vokta::KeptGame& game = *read.game;
    if (game.steps.size() > vokta::History::kLimit || game.undoable > game.steps.size() ||
        game.now.state.pieceCount > vokta::kPieceTotal || game.now.state.cellCount > vokta::kMaxCells) {
        std::fprintf(stderr, "a kept game beyond the game's limits was taken\n");
        std::abort();
    }
    const vokta::KeptGameRead again = vokta::decodeKeptGame(vokta::encodeKeptGame(game));
    if (!again.game || !(*again.game == game)) {
        std::fprintf(stderr, "a kept game taken does not read back the same once kept again\n");
        std::abort();
    }
    return 0;
}
