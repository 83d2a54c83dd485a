#pragma once

namespace vokta {

class GameData;

// Makes piece index (0 to 6) the selected one, in move mode: it is shown in
// the palette's half-transparent grey and stops falling; a piece selected
// before is released first. Selecting the selected piece again changes nothing.
void selectPiece(GameData& game, int index);
// Ends the selection: the piece gets its colour back and falls from where it is.
void releaseSelection(GameData& game);

}  // namespace vokta
