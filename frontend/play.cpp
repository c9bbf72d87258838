// Console play: a typed move and the engine's answer, new, undo, the search
// limits st and sd, and the unlimited analysis.
#include "frontend/play.h"

#include <cstdio>

#include "eval/tables.h"
#include "frontend/book_answer.h"
#include "frontend/fen.h"
#include "frontend/notation.h"
#include "frontend/shell.h"
#include "frontend/table_size.h"
#include "position/attacks.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/alphabeta.h"
#include "search/clock.h"
#include "search/driver.h"
#include "search/timecontrol.h"
#include "search/tt.h"

namespace zolt {

int depth_bound = 64;

namespace {

const char* const START_TEXT = "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

constexpr int ST_COLUMN = 3;  // "st" and "sd" read their number from this column
constexpr int SD_COLUMN = 3;
constexpr int MIN_SEARCH_SECONDS = 1;
constexpr int MAX_SEARCH_SECONDS = 300;
constexpr int MIN_SEARCH_DEPTH = 2;
constexpr int MAX_SEARCH_DEPTH = 9;
constexpr int UNBOUNDED_DEPTH = 64;

// Starts the clock of a console search: clears the stop flag and sets the deadline.
void arm_search(int64_t budget_ms) {
  stop_search = 0;
  start_deadline(budget_ms);
}

// A person's move and the engine's answer both go on the undo stack; both
// must leave the search its reserve.
bool undo_room_for_move_and_reply() { return undo_top + 1 < UNDO_STACK_SIZE - UNDO_RESERVE; }

int legal_move_count(Position& pos) {
  Move list[MAX_MOVES];
  return generate_moves(pos, list);
}

// The game is over with the engine to move: announce mate or stalemate.
void print_result_line(const Position& pos) {
  if (side_in_check(pos)) {
    if (square_attacked_by_white(pos.board, pos.black_king))
      printf("\n1-0 {White mates}\n");
    else if (square_attacked_by_black(pos.board, pos.white_king))
      printf("\n0-1 {Black mates}\n");
  } else {
    printf("\n1/2-1/2 {Stalemate}\n");
  }
}

void play_reply(Position& pos, const Move& reply) {
  make_move(pos, reply);
  fputs("\nZolt moves: ", stdout);
  print_square(reply.from);
  print_square(reply.to);
  print_promotion_suffix(reply.kind);
  fputs("\n", stdout);
  print_board(pos);
}

// The engine answers from the book or thinks within the console limits, and
// plays its answer.
void engine_reply(Position& pos) {
  Move reply;
  if (console_book_move(pos, reply)) {
    play_reply(pos, reply);
    return;
  }
  arm_search(time_limit_ms);
  fputs("\ndepth     nodes   score time best line\n", stdout);
  if (legal_move_count(pos) == 0) {
    print_result_line(pos);
    return;
  }
  reply = run_console_reply(pos);
  if (reply.from == NO_SQUARE) return;  // nothing was searched
  play_reply(pos, reply);
}

}  // namespace

void command_new(Position& pos) {
  reset_position(pos);
  load_fen(START_TEXT, pos);
  // A new game starts with an empty move history, so a long session never
  // runs out of room for game moves.
  undo_top = 0;
  clear_table();
}

void command_hash(const char* line) {
  int megabytes = 0;
  if (sscanf(line, "%*s %d", &megabytes) != 1) {
    printf("\nhash table: %d MB (\"hash N\" sets N MB, 0 to %d)\n", table_megabytes, MAX_TABLE_MB);
    return;
  }
  set_table_size(megabytes, "\n");
  printf("\nhash table: %d MB\n", table_megabytes);
}

void command_undo(Position& pos) {
  // Only moves made since the position was loaded are on the stack for it.
  if (pos.game_ply > 1 && pos.moves_made > 0) unmake_move(pos);
  print_board(pos);
}

void command_st(const char* line) {
  int seconds = number_at_column(line, ST_COLUMN);
  if (seconds < MIN_SEARCH_SECONDS || seconds > MAX_SEARCH_SECONDS) {
    printf("\nsearch time out of bounds, valid values: 1-300s\n");
    return;
  }
  time_limit_ms = static_cast<int64_t>(seconds) * 1000;
  depth_bound = UNBOUNDED_DEPTH;
  printf("\nset search time per move to %ds\n", seconds);
}

void command_sd(const char* line) {
  int depth = number_at_column(line, SD_COLUMN);
  printf("\nsd %d", depth);
  if (depth < MIN_SEARCH_DEPTH || depth > MAX_SEARCH_DEPTH) {
    printf("\nsearch depth out of bounds, valid depths: 2-9\n");
    return;
  }
  // The bound is exclusive: iterations 1 .. depth are searched.
  depth_bound = depth + 1;
  time_limit_ms = NO_TIME_LIMIT;
  printf("\nset search depth to %ds\n", depth_bound);
}

void command_analyze(Position& pos) {
  int saved_game_ply = pos.game_ply;
  int64_t saved_time_limit = time_limit_ms;
  time_limit_ms = NO_TIME_LIMIT;
  arm_search(time_limit_ms);
  fputs("\ndepth     nodes   score  time best line\n", stdout);
  if (legal_move_count(pos) > 0) run_console_analysis(pos);
  pos.game_ply = saved_game_ply;
  time_limit_ms = saved_time_limit;
}

void command_move_entry(Position& pos, const char* word) {
  int index = match_move_text(word, pos);
  if (index < 0) {
    printf("\ninput correct ?: %s", word);
    return;
  }
  if (!undo_room_for_move_and_reply()) {
    printf("\nno room for more moves in this game: start a new game with \"new\"");
    return;
  }
  make_move(pos, shared_move_list[index]);
  print_board(pos);
  engine_reply(pos);
}

}  // namespace zolt
