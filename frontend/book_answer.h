// The book's answer in the two front ends, asked before a search starts.
#pragma once

#include "position/board.h"

namespace zolt {

// UCI "go": when the book has a move for pos, prints (and logs) "info string
// book move <move> weight <w>/<sum>" and "bestmove <move>", with " ponder
// <reply>" when the book holds a reply, makes the move on pos and returns
// true. A problem with the book file is told once as an "info string".
bool uci_book_answer(Position& pos);

// The console's reply: when the book has a move for pos, prints the line
// that says so and returns the move (legal in pos, not made) in move. A
// problem with the book file is told once on a line of its own.
bool console_book_move(Position& pos, Move& move);

}  // namespace zolt
