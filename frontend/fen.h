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
// Board, side, castling and en-passant fields, each followed by a blank.
void write_fen(const Position& pos, char* buffer);
// The console "fen" command: the four fields, the half-move clock and the
// full-move number.
void print_fen_command(const Position& pos);

}  // namespace zolt
