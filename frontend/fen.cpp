// FEN reading and writing.
//
// The reader is lenient: it skips what it does not recognise and treats every
// field after the board as optional (the perft suite passes EPD lines whose
// depth entries follow the fourth field). It refuses only positions the
// engine cannot represent or play, and then changes nothing. Castling letters
// and en-passant squares that the board contradicts are dropped.
#include "frontend/fen.h"

#include <cstdio>
#include <cstring>

#include "position/attacks.h"
#include "position/key.h"
#include "position/occupancy.h"
#include "position/state.h"
#include "search/keys.h"

namespace zolt {

namespace {

constexpr int MAX_FEN_CHARS = 141;
constexpr int MAX_BOARD_CHARS = 100;
constexpr int MAX_PIECES_PER_SIDE = 15;
constexpr int MAX_NUMBER = 9999999;

const char* last_error = "";

PieceCode piece_of_letter(char c) {
  switch (c) {
    case 'P': return PAWN;
    case 'N': return KNIGHT;
    case 'B': return BISHOP;
    case 'R': return ROOK;
    case 'Q': return QUEEN;
    case 'K': return KING;
    case 'p': return -PAWN;
    case 'n': return -KNIGHT;
    case 'b': return -BISHOP;
    case 'r': return -ROOK;
    case 'q': return -QUEEN;
    case 'k': return -KING;
    default: return EMPTY;
  }
}

char letter_of_piece(PieceCode p) {
  static const char letters[] = "kqrbnp.PNBRQK";
  return letters[p + KING];
}

bool is_file_letter(char c) { return c >= 'a' && c <= 'h'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A cursor over the (already length-limited) text.
struct Cursor {
  const char* text;
  int at = 0;
  char peek(int ahead = 0) const {
    for (int k = 0; k < ahead; ++k)
      if (text[at + k] == 0) return 0;
    return text[at + ahead];
  }
  bool take(char c) {
    if (text[at] != c || c == 0) return false;
    ++at;
    return true;
  }
  void skip_blanks() {
    while (text[at] == ' ') ++at;
  }
  void skip_blanks_and_dashes() {
    while (text[at] == ' ' || text[at] == '-') ++at;
  }
  int number() {
    int value = 0;
    while (is_digit(text[at])) {
      value = value * 10 + (text[at] - '0');
      if (value > MAX_NUMBER) value = MAX_NUMBER;
      ++at;
    }
    return value;
  }
};

// Castling rights as read, before the board has been checked against them.
struct CastlingRead {
  bool right[4] = {false, false, false, false};  // indexed like castle_rook_square
  Square rook[4] = {A1, H1, A8, H8};
};

void read_standard_castling(Cursor& in, CastlingRead& castling) {
  if (in.take('K')) castling.right[WHITE_H_ROOK] = true;
  if (in.take('Q')) castling.right[WHITE_A_ROOK] = true;
  if (in.take('k')) castling.right[BLACK_H_ROOK] = true;
  if (in.take('q')) castling.right[BLACK_A_ROOK] = true;
}

bool is_castling_letter(char c) {
  return c == 'K' || c == 'Q' || c == 'k' || c == 'q' || (c >= 'A' && c <= 'H') || (c >= 'a' && c <= 'h');
}

// The outermost rook of the colour on its home rank beyond the king: towards
// the h-file for the h-side, towards the a-file for the a-side; NO_SQUARE
// when there is none.
Square outermost_rook(const int32_t* board, Square king, Square rank_start, int32_t rook_piece, bool a_side) {
  if (king < rank_start || king > rank_start + 7) return NO_SQUARE;
  if (a_side) {
    for (Square s = rank_start; s < king; ++s)
      if (board[s] == rook_piece) return s;
  } else {
    for (Square s = rank_start + 7; s > king; --s)
      if (board[s] == rook_piece) return s;
  }
  return NO_SQUARE;
}

// Chess960 castling letters, in any order: a file letter names the castling
// rook's square (the side follows from where the rook stands relative to the
// king); K, Q, k and q name the outermost rook on that side of the king.
void read_chess960_castling(Cursor& in, CastlingRead& castling, const int32_t* board, Square white_king,
                            Square black_king) {
  for (int i = 0; i < 4; ++i) {
    castling.right[i] = false;
    castling.rook[i] = NO_SQUARE;
  }
  while (is_castling_letter(in.peek())) {
    const char letter = in.peek();
    ++in.at;
    const bool white = letter >= 'A' && letter <= 'Z';
    const Square king = white ? white_king : black_king;
    const Square rank_start = white ? A1 : A8;
    const int32_t rook_piece = white ? ROOK : -ROOK;
    const char upper = white ? letter : static_cast<char>(letter - 'a' + 'A');
    Square rook;
    bool a_side;
    if (upper == 'K' || upper == 'Q') {
      a_side = upper == 'Q';
      rook = outermost_rook(board, king, rank_start, rook_piece, a_side);
      if (rook == NO_SQUARE) continue;  // dropped
    } else {
      const int file = upper - 'A';
      rook = rank_start + file;
      // The outer files name their side; the inner ones take it from the king.
      a_side = file <= 1 || (file <= 5 && king >= rook);
      const bool king_on_rank = king >= rank_start && king <= rank_start + 7;
      const bool proper_side = a_side ? rook < king : rook > king;
      if (!king_on_rank || !proper_side || board[rook] != rook_piece) continue;  // dropped
    }
    const int index = white ? (a_side ? WHITE_A_ROOK : WHITE_H_ROOK) : (a_side ? BLACK_A_ROOK : BLACK_H_ROOK);
    castling.right[index] = true;
    castling.rook[index] = rook;
  }
}

// Standard chess: a right needs the king on e1/e8 and the rook in its corner.
void drop_impossible_standard_castling(CastlingRead& castling, const int32_t* board) {
  const Square kings[4] = {E1, E1, E8, E8};
  const int32_t rooks[4] = {ROOK, ROOK, -ROOK, -ROOK};
  for (int i = 0; i < 4; ++i) {
    const int32_t king = i < 2 ? KING : -KING;
    if (board[kings[i]] != king || board[castling.rook[i]] != rooks[i]) castling.right[i] = false;
  }
}

Square read_en_passant(Cursor& in, int side) {
  Square square = NO_SQUARE;
  const char file = in.peek();
  if (is_file_letter(file) && (in.peek(1) == '3' || in.peek(1) == '6')) {
    square = file - 10 * in.peek(1) + 484;
    in.at += 2;
  }
  if (is_file_letter(in.peek()) && in.peek(1) == ' ') {
    square = (side == WHITE ? 41 : 71) + (in.peek() - 'a');
    in.at += 2;
  }
  return square;
}

// Kept only when the pawn that just made the double step stands in front of
// it, with the square itself and the one the pawn came from empty.
Square checked_en_passant(Square ep, int side, const int32_t* board) {
  if (ep == NO_SQUARE) return NO_SQUARE;
  const bool right_rank = side == WHITE ? (ep >= 41 && ep <= 48) : (ep >= 71 && ep <= 78);
  if (!right_rank) return NO_SQUARE;
  if (board[ep] != EMPTY || board[ep - 10 * side] != EMPTY || board[ep + 10 * side] != -side * PAWN)
    return NO_SQUARE;
  return ep;
}

const char* refusal(const int32_t* board, Square& white_king, Square& black_king, int side) {
  int white_kings = 0, black_kings = 0, white_pieces = 0, black_pieces = 0;
  for (Square s = A8; s <= H1; ++s) {
    const int32_t p = board[s];
    if (p == OFF_BOARD || p == EMPTY) continue;
    if (p == KING) {
      ++white_kings;
      white_king = s;
    } else if (p == -KING) {
      ++black_kings;
      black_king = s;
    } else if (p > 0) {
      ++white_pieces;
    } else {
      ++black_pieces;
    }
    if ((p == PAWN || p == -PAWN) && (s <= H8 || s >= A1)) return "pawn on the first or eighth rank";
  }
  if (white_kings != 1 || black_kings != 1) return "not exactly one king of each colour";
  if (white_pieces > MAX_PIECES_PER_SIDE || black_pieces > MAX_PIECES_PER_SIDE)
    return "more than 15 pieces besides the king on one side";
  const bool opponent_in_check = side == WHITE ? square_attacked_by_white(board, black_king)
                                               : square_attacked_by_black(board, white_king);
  if (opponent_in_check) return "the side not to move is in check";
  return nullptr;
}

void build_piece_list(Position& pos) {
  memset(pos.slot_of, 0, sizeof pos.slot_of);
  memset(pos.slot_square, 0, sizeof pos.slot_square);
  memset(pos.piece_count, 0, sizeof pos.piece_count);
  int white_slot = FIRST_WHITE_SLOT, black_slot = FIRST_BLACK_SLOT;
  for (Square s = A8; s <= H1; ++s) {
    const int32_t p = pos.board[s];
    if (p == EMPTY || p == OFF_BOARD || p == KING || p == -KING) continue;
    pos.piece_count[p + 5]++;
    const int slot = p > 0 ? white_slot++ : black_slot++;
    pos.slot_of[s] = slot;
    pos.slot_square[slot] = s;
  }
  rebuild_occupancy(pos);
}

}  // namespace

const char* fen_error() { return last_error; }

int load_fen(const char* text, Position& pos) {
  if (text[0] == 's')
    for (int k = 0; k < 8 && *text; ++k) ++text;
  char limited[MAX_FEN_CHARS + 1];
  strncpy(limited, text, MAX_FEN_CHARS);
  limited[MAX_FEN_CHARS] = 0;
  Cursor in{limited};

  int32_t board[BOARD_SIZE];
  memcpy(board, EMPTY_BOARD, sizeof board);
  Square square = A8, next_rank = A8 + 10;
  for (int read = 0; read < MAX_BOARD_CHARS && square < 99 && in.peek() != 0; ++read) {
    const char c = limited[in.at++];
    if (is_digit(c)) {
      square += c - '0';
    } else if (piece_of_letter(c) != EMPTY) {
      board[square++] = piece_of_letter(c);
    } else if (c == '/') {
      square = next_rank;
      next_rank += 10;
    }
    while (square < 99 && board[square] == OFF_BOARD) ++square;
  }

  in.skip_blanks();
  int side = WHITE;
  if (in.take('w'))
    side = WHITE;
  else if (in.take('b'))
    side = BLACK;

  Square white_king = pos.white_king, black_king = pos.black_king;
  const char* reason = refusal(board, white_king, black_king, side);
  if (reason) {
    last_error = reason;
    return -1;
  }
  last_error = "";

  in.skip_blanks();
  CastlingRead castling;
  if (chess960) {
    read_chess960_castling(in, castling, board, white_king, black_king);
  } else {
    read_standard_castling(in, castling);
    drop_impossible_standard_castling(castling, board);
  }

  in.skip_blanks_and_dashes();
  const Square ep = checked_en_passant(read_en_passant(in, side), side, board);

  in.skip_blanks_and_dashes();
  int fifty = 0;
  if (is_digit(in.peek())) {
    fifty = in.number();
    if (in.peek()) ++in.at;
  }
  in.skip_blanks_and_dashes();
  const int fullmove = in.number();

  Position& p = pos;  // nothing above has touched the position
  for (Square s = A8; s <= H1; ++s) p.board[s] = board[s];
  p.white_king = white_king;
  p.black_king = black_king;
  p.side = side;
  p.endgame = 1;
  p.ep_square = ep;
  p.fifty = fifty;
  p.moves_made = 0;
  p.game_ply = fullmove == 0 ? (side == WHITE ? 1 : 2) : (side == WHITE ? 2 * fullmove - 1 : 2 * fullmove);
  p.white_h_rook_moved = !castling.right[WHITE_H_ROOK];
  p.white_a_rook_moved = !castling.right[WHITE_A_ROOK];
  p.black_h_rook_moved = !castling.right[BLACK_H_ROOK];
  p.black_a_rook_moved = !castling.right[BLACK_A_ROOK];
  p.white_king_moved = p.white_h_rook_moved && p.white_a_rook_moved;
  p.black_king_moved = p.black_h_rook_moved && p.black_a_rook_moved;
  build_piece_list(p);

  for (int i = 0; i < 4; ++i) castle_rook_square[i] = castling.rook[i];
  if (!p.white_king_moved) king_start_square[0] = white_king;
  if (!p.black_king_moved) king_start_square[1] = black_king;
  fullmove_number = fullmove;
  compute_hash_key(p);
  key_history[0] = p.hash_key;
  p.key = position_key(p);
  return 0;
}

void write_fen(const Position& pos, char* buffer) {
  char* out = buffer;
  for (int rank = 8; rank >= 1; --rank) {
    int empty_run = 0;
    for (int file = 0; file < 8; ++file) {
      const int32_t p = pos.board[make_square(file, rank)];
      if (p == EMPTY) {
        ++empty_run;
        continue;
      }
      if (empty_run) *out++ = static_cast<char>('0' + empty_run);
      empty_run = 0;
      *out++ = letter_of_piece(p);
    }
    if (empty_run) *out++ = static_cast<char>('0' + empty_run);
    if (rank > 1) *out++ = '/';
  }
  *out++ = ' ';
  *out++ = pos.side == WHITE ? 'w' : 'b';
  *out++ = ' ';
  // A letter stands for a held right whose king and rook are on their
  // standard squares, in either mode: a Chess960 position with rights held
  // writes fewer letters, or "-".
  const char* castling_start = out;
  if (!pos.white_king_moved && !pos.white_h_rook_moved && pos.board[E1] == KING && pos.board[H1] == ROOK)
    *out++ = 'K';
  if (!pos.white_king_moved && !pos.white_a_rook_moved && pos.board[E1] == KING && pos.board[A1] == ROOK)
    *out++ = 'Q';
  if (!pos.black_king_moved && !pos.black_h_rook_moved && pos.board[E8] == -KING && pos.board[H8] == -ROOK)
    *out++ = 'k';
  if (!pos.black_king_moved && !pos.black_a_rook_moved && pos.board[E8] == -KING && pos.board[A8] == -ROOK)
    *out++ = 'q';
  if (out == castling_start) *out++ = '-';
  *out++ = ' ';
  if ((pos.ep_square >= 71 && pos.ep_square <= 78) || (pos.ep_square >= 41 && pos.ep_square <= 48)) {
    *out++ = static_cast<char>('a' + (pos.ep_square - 1) % 10);
    *out++ = pos.ep_square >= 71 ? '3' : '6';
  } else {
    *out++ = '-';
  }
  *out++ = ' ';
  *out = 0;
}

void print_fen_command(const Position& pos) {
  char fen[FEN_BUFFER_SIZE];
  write_fen(pos, fen);
  printf("\nfen: %s", fen);
  printf("%d", pos.fifty);
  if (pos.game_ply > 0) printf(" %d\n", pos.side == WHITE ? (pos.game_ply + 1) / 2 : pos.game_ply / 2);
}

}  // namespace zolt
