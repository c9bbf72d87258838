// The UCI loop: announcement, then one command per line until "quit" or the
// end of input. The loop keeps its own position, separate from the console's.
#include "frontend/uci.h"

#include <cstdio>
#include <cstring>

#include "eval/tables.h"
#include "frontend/book.h"
#include "frontend/book_answer.h"
#include "frontend/config_log.h"
#include "frontend/fen.h"
#include "frontend/notation.h"
#include "frontend/shell.h"
#include "frontend/table_size.h"
#include "frontend/uci_options.h"
#include "position/makemove.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/driver.h"
#include "search/input.h"
#include "search/multipv.h"
#include "search/timecontrol.h"
#include "search/tt.h"

namespace zolt {

namespace {

const char* const START_TEXT = "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Holds any "position ... moves ..." line the undo stack can play; longer
// lines arrive in pieces, each taken as a line of its own.
constexpr int LINE_BUFFER_SIZE = 16400;
constexpr int WORD_BUFFER_SIZE = 1025;  // "%1024s" and the terminator
constexpr int MOVE_TOKEN_SIZE = 64;     // longer tokens are cut for matching; no move is that long
constexpr int FEN_COPY_SIZE = 188;      // 187 characters and the terminator
constexpr int OPTION_TEXT_SIZE = 256;   // 255 characters and the terminator

// Fixed columns of the "position" and "setoption" lines.
constexpr int POSITION_KIND_COLUMN = 9;        // "f" of fen, "s" of startpos
constexpr int POSITION_FEN_COLUMN = 13;        // first character of the FEN
constexpr int STARTPOS_MOVES_COLUMN = 18;      // "m" of "moves" after startpos
constexpr int STARTPOS_FIRST_MOVE_COLUMN = 24; // first move after "startpos moves "
constexpr int MOVES_WORD_LENGTH = 6;           // "moves" and its blank
constexpr int SETOPTION_TEXT_COLUMN = 10;      // after "setoption "
constexpr int CHESS960_VALUE_COLUMN = 24;      // "t" of "name UCI_Chess960 value true"
constexpr int OWNBOOK_VALUE_COLUMN = 8;        // "t" of "OwnBook true"
constexpr int MIN_BOOK_DEPTH = 0;              // BookDepth: 0 is no limit
constexpr int MAX_BOOK_DEPTH = 200;

Position uci_position;

// Copies at most size - 1 characters of text and a terminator.
void copy_prefix(char* buffer, int size, const char* text) {
  size_t length = strnlen(text, size - 1);
  memcpy(buffer, text, length);
  buffer[length] = 0;
}

void log_received(const char* line) {
  if (!log_file) return;
  fputs(">>> RECEIVED FROM GUI >>> ", log_file);
  fputs(line, log_file);
  // A piece of an overlong line, or a last line, may come without a newline.
  const size_t length = strlen(line);
  if (length == 0 || line[length - 1] != '\n') fputs("\n", log_file);
  fflush(log_file);
}

void announce() {
  fputs("\nZOLT-Quarnwell", stdout);
  fputs("\nchess engine in UCI mode", stdout);
  fputs("\nhave fun\n", stdout);
  fputs("id name Zolt 0.0360\n", stdout);
  fputs("id author Brenvik\n", stdout);
  fputs("option name useInternalOpeningBook type check default false\n", stdout);
  fputs("option name ponder type check default true\n", stdout);
  fputs("option name UCI_Chess960 type check default false\n", stdout);
  fputs("option name Hash type spin default 0 min 0 max 4096\n", stdout);
  fputs("option name Clear Hash type button\n", stdout);
  fputs("option name BookFile type string default book.bin\n", stdout);
  fputs("option name BookDepth type spin default 0 min 0 max 200\n", stdout);
  fputs("option name BestBookMove type check default false\n", stdout);
  fputs("option name MultiPV type spin default 1 min 1 max 64\n", stdout);
  fputs("option name Move Overhead type spin default 0 min 0 max 5000\n", stdout);
  fputs("uciok\n", stdout);
  if (log_file) fputs("\n", log_file);
}

// Blanks and newlines separate move tokens; so do tabs and carriage returns,
// which some interfaces send, so that no move is glued to the next one.
bool soft_separator(char c) { return c == '\t' || c == '\r'; }
bool ends_token(char c) { return c == ' ' || c == '\n' || soft_separator(c); }

// Plays the moves of a "position" line, from moves up to the end of the line
// text. Each token ends at a separator; a token without one is not played.
// An illegal move is reported and skipped, the following ones are still
// tried. An empty token between blanks or newlines is reported too; one next
// to a tab or carriage return is passed over.
void apply_moves(const char* moves) {
  char token[MOVE_TOKEN_SIZE];
  int length = 0;
  const char* token_start = moves;
  bool after_soft_separator = false;
  for (const char* p = moves; *p; ++p) {
    if (!ends_token(*p)) {
      if (length < MOVE_TOKEN_SIZE - 1) token[length++] = *p;
      continue;
    }
    const bool soft = soft_separator(*p);
    const bool silent_gap = length == 0 && (soft || after_soft_separator);
    after_soft_separator = soft;
    token[length] = 0;
    length = 0;
    const char* token_text = token_start;
    token_start = p + 1;
    if (silent_gap) continue;
    int index = match_move_text(token, uci_position);
    if (index < 0) {
      // The whole token is named, even when it was too long to be kept for matching.
      printf("\nIllegal move: %.*s\n", static_cast<int>(p - token_text), token_text);
      continue;
    }
    if (!undo_room_for_game_move()) {
      printf("info string too many moves\n");
      return;
    }
    make_move(uci_position, shared_move_list[index]);
  }
}

// A copy of the position after "position startpos moves ..." for the log.
void log_position() {
  if (!log_file) return;
  log_board(uci_position);
  char fen[FEN_BUFFER_SIZE];
  write_fen(uci_position, fen);
  fprintf(log_file, "\nfen: %s", fen);
  fprintf(log_file, "%d", uci_position.fifty);
  if (uci_position.game_ply > 0) fprintf(log_file, " %d\n", full_move_number(uci_position));
  fflush(log_file);
}

// Loads text into the UCI position; a refused FEN keeps the previous position.
bool load_uci_position(const char* text) {
  if (load_fen(text, uci_position) < 0) {
    printf("info string invalid FEN: %s\n", fen_error());
    return false;
  }
  undo_top = 0;
  return true;
}

void command_position(const char* line) {
  size_t length = strlen(line);
  char kind = length > POSITION_KIND_COLUMN ? line[POSITION_KIND_COLUMN] : 0;
  if (kind == 'f') {
    char fen[FEN_COPY_SIZE] = {0};
    if (length > POSITION_FEN_COLUMN) copy_prefix(fen, FEN_COPY_SIZE, line + POSITION_FEN_COLUMN);
    if (!load_uci_position(fen)) return;
    const char* moves_word = strchr(line, 'm');
    if (moves_word && static_cast<size_t>(moves_word - line) + MOVES_WORD_LENGTH <= length)
      apply_moves(moves_word + MOVES_WORD_LENGTH);
    return;
  }
  if (kind == 's') load_uci_position(START_TEXT);
  if (length > STARTPOS_MOVES_COLUMN && line[STARTPOS_MOVES_COLUMN] == 'm') {
    load_uci_position(START_TEXT);
    if (length > STARTPOS_FIRST_MOVE_COLUMN) apply_moves(line + STARTPOS_FIRST_MOVE_COLUMN);
    log_position();
  }
}

// A "go" that asks for analysis wants a search, not a book move: pondering,
// chosen root moves, a mate search, no end, and a depth or node limit
// without a clock. With a clock (wtime, btime or movetime) a depth or node
// limit belongs to a game, as match runners send it ("go wtime .. nodes N").
// Read from the limits of the "go" line just read.
bool go_asks_for_analysis(int infinite) {
  const bool clock = uci_wtime > 0 || uci_btime > 0 || uci_movetime > 0;
  const bool limit = uci_depth_limit > 0 || uci_node_limit > 0;
  return infinite || pondering || search_root_move_count > 0 || uci_mate_limit > 0 || (limit && !clock);
}

void command_go(const char* line) {
  int infinite = read_go_line(line, uci_position);
  if (!go_asks_for_analysis(infinite) && undo_room_for_game_move() && uci_book_answer(uci_position))
    return;
  // With the undo stack full the engine still answers but keeps its board.
  run_uci_search(uci_position, infinite || !undo_room_for_game_move());
}

bool value_is_true(const char* text, int column) {
  if (static_cast<int>(strlen(text)) <= column) return false;
  return text[column] == 't' || text[column] == 'T';
}

void command_setoption(const char* line) {
  char text[OPTION_TEXT_SIZE] = {0};
  char value[OPTION_TEXT_SIZE];
  if (strlen(line) > SETOPTION_TEXT_COLUMN) copy_prefix(text, OPTION_TEXT_SIZE, line + SETOPTION_TEXT_COLUMN);
  if (!strncmp(text, "name UCI_Chess960", 17))
    chess960 = value_is_true(text, CHESS960_VALUE_COLUMN) ? 1 : 0;
  else if (!strncmp(text, "OwnBook", 7))
    own_book = value_is_true(text, OWNBOOK_VALUE_COLUMN) ? 1 : 0;
  else if (option_value(text, "Hash", value, sizeof value))
    set_table_size(option_number(value, 0, MAX_TABLE_MB, table_megabytes), "info string ");
  else if (option_value(text, "Clear Hash", value, sizeof value))
    clear_table();
  else if (const char* v = option_value(text, "useInternalOpeningBook", value, sizeof value))
    own_book = option_flag(v) ? 1 : 0;
  else if (const char* v = option_value(text, "OwnBook", value, sizeof value))
    own_book = option_flag(v) ? 1 : 0;
  else if (const char* v = option_value(text, "BookFile", value, sizeof value))
    set_book_file(v);
  else if (const char* v = option_value(text, "BookDepth", value, sizeof value))
    book_depth = option_number(v, MIN_BOOK_DEPTH, MAX_BOOK_DEPTH, book_depth);
  else if (const char* v = option_value(text, "BestBookMove", value, sizeof value))
    best_book_move = option_flag(v) ? 1 : 0;
  else if (option_value(text, "MultiPV", value, sizeof value))
    multipv = option_number(value, MIN_MULTIPV, MAX_MULTIPV, multipv);
  else if (option_value(text, "Move Overhead", value, sizeof value))
    move_overhead_ms = option_number(value, 0, MAX_MOVE_OVERHEAD_MS, move_overhead_ms);
}

void print_legal_move_count(int count) { printf("\n%d legal moves:\n", count); }

void command_show() {
  int count = generate_moves(uci_position, shared_move_list);
  print_legal_move_count(count);
  print_move_list(count, uci_position, shared_move_list);
}

void command_moves() {
  int count = generate_moves(uci_position, shared_move_list);
  print_legal_move_count(count);
  for (int i = 0; i < count; ++i) {
    print_square_chars(shared_move_list[i].from);
    print_square_chars(shared_move_list[i].to);
    fputs("\n", stdout);
  }
}

void command_disp() {
  fputs("\n", stdout);
  print_board(uci_position);
  fputs("\n", stdout);
}

// The white king's piece-square table, rank by rank.
void command_val() {
  fputs("\n", stdout);
  for (int rank = 8; rank >= 1; --rank) {
    printf("\n\n%d   ", rank);
    for (int file = 0; file < 8; ++file) printf("%3d", piece_square_table[KING][make_square(file, rank)]);
  }
  fputs("\n\n    ", stdout);
  for (char letter = 'a'; letter <= 'h'; ++letter) printf("%2c ", letter);
  fputs("\n\n    ", stdout);
  fputs("\n", stdout);  // an interface reads whole lines
}

void command_b_ausgabe(const char* line) {
  fputs("fuer Debug-Zwecke\n", stdout);
  if (log_file) {
    fputs("\n[GUI-COMMAND] ", log_file);
    fprintf(log_file, "%s\n", line);
    log_board(uci_position);
    fflush(log_file);
  }
  print_board(uci_position);
  fputs("\n", stdout);
}

void write_stack_entries(FILE* out) {
  int last = uci_position.game_ply < UNDO_STACK_SIZE - 1 ? uci_position.game_ply : UNDO_STACK_SIZE - 1;
  for (int i = 0; i <= last; ++i) {
    const Move& entry = undo_stack[i];
    fprintf(out, "\nvon: %d nach: %d", entry.from, entry.to);
    fprintf(out, " [%d", i + 1);
    fprintf(out, " %s-", square_name(entry.from));
    fprintf(out, "%s]", square_name(entry.to));
    fprintf(out, "\nzug_nr: %d", uci_position.game_ply);
  }
}

void command_stack(const char* word) {
  fputs("fuer Debug-Zwecke\n", stdout);
  write_stack_entries(stdout);
  fputs("\n", stdout);
  if (log_file) {
    fprintf(log_file, "%s", word);
    write_stack_entries(log_file);
    fflush(log_file);
  }
}

// A word that is no command: a legal move is recognised but not played.
void command_unknown(const char* word) {
  if (match_move_text(word, uci_position) < 0)
    printf("\nIllegal move: %s\n", word);
  else
    fputs("\not yet implemented\n", stdout);
}

// Runs one line; false when the loop must end.
bool dispatch(const char* line) {
  char word[WORD_BUFFER_SIZE] = {0};
  if (sscanf(line, "%1024s", word) != 1) return true;  // a line of blanks
  if (!strcmp(word, "quit")) return false;
  if (!strcmp(word, "isready")) fputs("readyok\n", stdout);
  else if (!strcmp(word, "ucinewgame") || !strcmp(word, "new")) {
    load_uci_position(START_TEXT);
    clear_table();
  }
  else if (!strcmp(word, "position")) command_position(line);
  else if (!strcmp(word, "go")) command_go(line);
  else if (!strcmp(word, "setoption")) command_setoption(line);
  else if (!strcmp(word, "stop") || !strcmp(word, "debug") || !strcmp(word, "draw")) {
  } else if (!strcmp(word, "show")) command_show();
  else if (!strcmp(word, "moves")) command_moves();
  else if (!strcmp(word, "disp")) command_disp();
  else if (!strcmp(word, "val")) command_val();
  else if (!strcmp(word, "b_ausgabe")) command_b_ausgabe(line);
  else if (!strcmp(word, "stack")) command_stack(word);
  else command_unknown(word);
  return true;
}

// Turns a "\r\n" ending into "\n", so interfaces that send either are understood.
void drop_carriage_return(char* line, int length) {
  if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
    line[length - 2] = '\n';
    line[length - 1] = 0;
  }
}

}  // namespace

void run_uci_loop() {
  reset_position(uci_position);
  uci_position.side = WHITE;
  // Start from the initial position, so "go" before any "position" has kings to play with.
  load_fen(START_TEXT, uci_position);
  undo_top = 0;
  uci_currmove_info = 1;
  console_progress_info = 0;
  chess960 = 0;
  announce();

  static char line[LINE_BUFFER_SIZE];
  int length;
  while ((length = input_read_line(line, LINE_BUFFER_SIZE)) >= 0) {
    drop_carriage_return(line, length);
    // A line whose text is empty (a NUL byte ends the text of a line) is skipped.
    if (line[0] == '\n' || line[0] == 0) continue;
    log_received(line);
    if (!dispatch(line)) break;
  }
}

}  // namespace zolt
