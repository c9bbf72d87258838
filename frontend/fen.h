// Reading and writing FEN.
#pragma once

#include "position/board.h"

namespace zolt {

constexpr int FEN_BUFFER_SIZE = 83;

// Loads text (a leading "setboard" word is skipped) into pos. Returns 0, or
// -1 when the position cannot be represented or played; then pos is left as
// it was and fen_error() says why.
int load_fen(const char* text, Position& pos);
const char* fen_error();
void write_fen(const Position& pos, char* buffer);

}  // namespace zolt
