// Text forms of squares and moves: square names, promotion texts, the list
// notation of "show", the report notation of principal variations, and the
// matcher from coordinate move text to a legal move.
#include "frontend/notation.h"

#include <cstdio>

#include "frontend/config_log.h"
#include "position/attacks.h"
#include "position/makemove.h"
#include "position/movegen.h"

namespace zolt {

Move shared_move_list[MAX_MOVES];

namespace {

char square_name_buffer[3];

// File letter of a square, 0 when the square is outside the a..h columns.
char file_letter(Square s) {
  const int column = s % 10;
  return column >= 1 && column <= 8 ? static_cast<char>('a' + column - 1) : 0;
}

// Rank digit of a square, 0 when the square is outside the eight ranks
// (21..28 is rank 8, ..., 91..98 rank 1).
char rank_digit(Square s) {
  const int column = s % 10;
  if (s < 21 || s > 98 || column == 0 || column == 9) return 0;
  return static_cast<char>('8' - (s / 10 - 2));
}

bool is_castling_kind(int kind) { return kind >= KIND_WHITE_CASTLE_KING && kind <= KIND_BLACK_CASTLE_QUEEN; }

const char* console_suffix(int kind) {
  switch (kind) {
    case 7: return "=Q";
    case 17: return "=Q";
    case 8: return "=R";
    case 18: return "=r";
    case 9: return "=B";
    case 19: return "=b";
    case 10: return "=N";
    case 20: return "=n";
    default: return "";
  }
}

const char* coordinate_letter(int kind) {
  switch (kind) {
    case 7: case 17: return "q";
    case 8: case 18: return "r";
    case 9: case 19: return "b";
    case 10: case 20: return "n";
    default: return "";
  }
}

const char* list_letter(int kind) {
  switch (kind) {
    case 7: return "Q";
    case 17: return "q";
    case 8: return "R";
    case 18: return "r";
    case 9: return "B";
    case 19: return "b";
    case 10: return "N";
    case 20: return "n";
    default: return "";
  }
}

bool in_range(char c, char low, char high) { return c >= low && c <= high; }

int promotion_offset(char c) {
  switch (c) {
    case 'R': case 'r': return 1;
    case 'B': case 'b': return 2;
    case 'N': case 'n': return 3;
    default: return 0;
  }
}

}  // namespace

const char* notation_piece_letter(PieceCode p) {
  switch (p) {
    case KNIGHT: return "N";
    case BISHOP: return "B";
    case ROOK: return "R";
    case QUEEN: return "Q";
    case KING: return "K";
    case -KNIGHT: return "n";
    case -BISHOP: return "b";
    case -ROOK: return "r";
    case -QUEEN: return "q";
    case -KING: return "k";
    default: return "";
  }
}

const char* square_name(Square s) {
  int length = 0;
  if (file_letter(s)) square_name_buffer[length++] = file_letter(s);
  if (rank_digit(s)) square_name_buffer[length++] = rank_digit(s);
  square_name_buffer[length] = 0;
  return square_name_buffer;
}

void print_square(Square s) {
  char text[3];
  int length = 0;
  if (file_letter(s)) text[length++] = file_letter(s);
  if (rank_digit(s)) text[length++] = rank_digit(s);
  text[length] = 0;
  printf("%s", text);
}

void log_square(Square s) {
  if (!log_file) return;
  if (file_letter(s)) fputc(file_letter(s), log_file);
  if (rank_digit(s)) fputc(rank_digit(s), log_file);
}

void print_square_chars(Square s) { printf("%c%c", file_letter(s), rank_digit(s)); }

void print_promotion_suffix(int kind) { printf("%s", console_suffix(kind)); }

void print_promotion_letter(int kind) { printf("%s", coordinate_letter(kind)); }

void log_promotion_letter(int kind) {
  if (!log_file) return;
  const char* letter = coordinate_letter(kind);
  if (letter[0]) fprintf(log_file, "%c", letter[0]);
  fflush(log_file);
}

void coordinate_move_text(const Move& m, char* text) {
  snprintf(text, MOVE_TEXT_CHARS, "%c%c%c%c%s", file_letter(m.from), rank_digit(m.from), file_letter(m.to),
           rank_digit(m.to), coordinate_letter(m.kind));
}

void print_move_list(int count, Position pos, const Move* list) {
  printf("\n");
  for (int i = 0; i < count; ++i) {
    const Move& m = list[i];
    const PieceCode p = pos.board[m.from];
    const PieceCode t = pos.board[m.to];
    const bool pawn = p == PAWN || p == -PAWN;
    if (!pawn) printf("%s", notation_piece_letter(p));
    if (pawn && t != EMPTY) print_square_chars(m.from);
    if (is_castling_kind(m.kind)) {
      if ((m.from == E1 && m.to == G1) || (m.from == E8 && m.to == G8)) printf(" 0-0 ");
      if ((m.from == E1 && m.to == C1) || (m.from == E8 && m.to == C8)) printf(" 0-0-0 ");
    }
    if (t != EMPTY) printf("x");
    if (m.kind > KIND_EN_PASSANT) printf("%s", list_letter(m.kind));
    if (!is_castling_kind(m.kind)) print_square_chars(m.to);
    make_move(pos, m);
    const int check = side_in_check(pos);
    const int replies = count_moves(pos);
    if (check && replies) printf("+");
    if (check && !replies) printf("#");
    if (!check && !replies) printf("S");
    unmake_move(pos);
    printf(" ");
  }
  printf("\n");
}

void print_report_notation_move(Position& copy, const Move& m) {
  const PieceCode p = copy.board[m.from];
  const PieceCode t = copy.board[m.to];
  if (p == PAWN && t != EMPTY) {
    print_square(m.from);
  } else if (m.kind == KIND_WHITE_CASTLE_KING || m.kind == KIND_BLACK_CASTLE_KING) {
    printf("0_0");
  } else if (m.kind == KIND_WHITE_CASTLE_QUEEN || m.kind == KIND_BLACK_CASTLE_QUEEN) {
    printf("0__0");
  } else if (p == -PAWN && t != EMPTY) {
    print_square(m.from);
  } else {
    printf("%s", notation_piece_letter(p));
  }
  if (t != EMPTY) printf("x");
  if (!is_castling_kind(m.kind)) print_square(m.to);
  print_promotion_suffix(m.kind);
  make_move(copy, m);
  if (side_in_check(copy)) printf(count_moves(copy) == 0 ? "#" : "+");
  printf(" ");
}

int match_move_text(const char* text, Position pos) {
  const int n = generate_moves(pos, shared_move_list);
  if (n == 0) return -1;
  // Tested in order, so shorter text is refused without reading past its end.
  if (!in_range(text[0], 'a', 'h')) return -1;
  if (!in_range(text[1], '1', '8')) return -1;
  if (!in_range(text[2], 'a', 'h')) return -1;
  if (!in_range(text[3], '1', '8')) return -1;
  const Square from = text[0] - 10 * text[1] + 484;
  const Square to = text[2] - 10 * text[3] + 484;
  for (int i = 0; i < n; ++i) {
    const Move& m = shared_move_list[i];
    if (m.from != from || m.to != to) continue;
    // The four promotions of one pawn move come as queen, rook, bishop,
    // knight; a letter after any other move is ignored.
    if (m.kind >= KIND_WHITE_PROMOTE_QUEEN) return i + promotion_offset(text[4]);
    return i;
  }
  return -1;
}

}  // namespace zolt
