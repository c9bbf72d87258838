// The console: start-up sequence, prompt loop, command table, board display
// and help text.
#include "frontend/shell.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "eval/tables.h"
#include "frontend/config_log.h"
#include "frontend/diagnostics.h"
#include "frontend/fen.h"
#include "frontend/notation.h"
#include "frontend/play.h"
#include "frontend/table_size.h"
#include "frontend/uci.h"
#include "perft/perft.h"
#include "perft/suite.h"
#include "position/movegen.h"
#include "position/state.h"
#include "search/driver.h"
#include "search/input.h"
#include "search/platform.h"
#include "search/timecontrol.h"

namespace zolt {

const char* const VERSION = "0.0360";
Position console_position;

namespace {

constexpr int LINE_BUFFER_SIZE = 250;   // 249 characters and the terminator
constexpr int WORD_BUFFER_SIZE = 256;
constexpr int NUMBER_FIELD_WIDTH = 15;  // characters a numeric argument may span
constexpr int TIME_TEXT_SIZE = 26;      // fixed length of the ctime text

const char* const START_FEN = "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

enum ShellAction { CONTINUE, EXIT_PROGRAM };

// The three-character cell of a piece code in the board display.
const char* board_cell(PieceCode code) {
  static const char* const WHITE_CELLS[7] = {" . ", "[P]", "[N]", "[B]", "[R]", "[Q]", "[K]"};
  static const char* const BLACK_CELLS[7] = {" . ", "{p}", "{n}", "{b}", "{r}", "{q}", "{k}"};
  if (code >= 0 && code <= KING) return WHITE_CELLS[code];
  if (code < 0 && code >= -KING) return BLACK_CELLS[-code];
  return " . ";
}

// The ranks and the file letters, shared by the screen and the log display.
void write_board_rows(FILE* out, const Position& pos, const char* after_files) {
  for (int rank = 8; rank >= 1; --rank) {
    fprintf(out, "\n\n%d   ", rank);
    for (int file = 0; file < 8; ++file) fputs(board_cell(pos.board[make_square(file, rank)]), out);
  }
  fputs("\n\n    ", out);
  for (char letter = 'a'; letter <= 'h'; ++letter) fprintf(out, "%2c ", letter);
  fputs(after_files, out);
}

// A castling right as the display shows it: both flags clear and king and rook
// on their standard squares.
bool castling_shown(const Position& pos, int king_flag, int rook_flag, Square king_square, Square rook_square,
                    PieceCode rook) {
  return king_flag == 0 && rook_flag == 0 && pos.board[king_square] == rook / ROOK * KING &&
         pos.board[rook_square] == rook;
}

void command_setboard(Position& pos, const char* line) {
  if (load_fen(line, pos) < 0) printf("\ninvalid FEN: %s", fen_error());
}

void command_disp(const Position& pos) {
  print_board(pos);
  if (logging == 1) log_board(pos);
}

// Copies the first word of line into word; returns its length.
int first_word(const char* line, char* word) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
  while (*p && isspace(*p)) ++p;
  int length = 0;
  while (*p && !isspace(*p) && length < WORD_BUFFER_SIZE - 1) word[length++] = static_cast<char>(*p++);
  word[length] = 0;
  return length;
}

// Runs one command word; the whole line is passed to commands that read more of it.
ShellAction dispatch(const char* word, const char* line) {
  Position& pos = console_position;
  if (!strcmp(word, "quit")) return EXIT_PROGRAM;
  if (!strcmp(word, "uci")) {
    run_uci_loop();
    return EXIT_PROGRAM;
  }
  if (!strcmp(word, "setboard")) command_setboard(pos, line);
  else if (!strcmp(word, "divide")) command_divide(pos, line);
  else if (!strcmp(word, "divide2")) command_divide2(pos, line);
  else if (!strcmp(word, "perft")) command_perft(pos, line);
  else if (!strcmp(word, "perft2")) command_perft2(pos, line);
  else if (!strcmp(word, "clear")) platform_clear_screen();
  else if (!strcmp(word, "attack")) command_attack(pos);
  else if (!strcmp(word, "rand")) command_rand(pos);
  else if (!strcmp(word, "h_stack")) command_h_stack(pos);
  else if (!strcmp(word, "st")) command_st(line);
  else if (!strcmp(word, "sd")) command_sd(line);
  else if (!strcmp(word, "testmovegen")) run_perft_suite(pos);
  else if (!strcmp(word, "eval")) command_eval(pos);
  else if (!strcmp(word, "values")) command_values();
  else if (!strcmp(word, "analyze")) command_analyze(pos);
  else if (!strcmp(word, "ver")) printf("Version: %s", VERSION);
  else if (!strcmp(word, "disp")) command_disp(pos);
  else if (!strcmp(word, "show")) command_show(pos);
  else if (!strcmp(word, "info")) command_info(pos);
  else if (!strcmp(word, "stack")) command_stack();
  else if (!strcmp(word, "new")) command_new(pos);
  else if (!strcmp(word, "fen")) print_fen_command(pos);
  else if (!strcmp(word, "undo")) command_undo(pos);
  else if (!strcmp(word, "sort")) command_sort(pos);
  else if (!strcmp(word, "help")) print_help();
  else if (!strcmp(word, "hash")) command_hash(line);
  else command_move_entry(pos, word);
  return CONTINUE;
}

void set_start_up_defaults() {
  chess960 = 0;
  console_progress_info = 1;
  fullmove_number = 1;
  nullmove_depth = 2;
  ponder = 0;
  time_limit_ms = 15000;
  depth_bound = 64;
}

void print_banner() {
  printf("Zolt ");
  printf("version: ");
  printf("%s", VERSION);
  printf(" - Quarnwell\n");
  printf("chess engine for UCI interfaces and the console; \"help\" lists the commands\n");
}

void close_log() {
  if (log_file) {
    fflush(log_file);
    fclose(log_file);
    log_file = nullptr;
  }
}

// The start-up sequence; returns -1 to go on to the prompt, else the exit status.
int start_up() {
  platform_start();
  set_start_up_defaults();
  reset_position(console_position);
  load_fen(START_FEN, console_position);
  build_line_table();
  print_banner();
  logging = 0;
  snprintf(log_file_name, sizeof log_file_name, "%s", "Zolt.log");
  set_default_piece_values();
  read_config();
  if (hash_size != 0) set_table_size(hash_size, "\n");

  char start_time[TIME_TEXT_SIZE];
  if (platform_time_text(start_time, TIME_TEXT_SIZE) != 0) {
    printf("ctime_s failed due to an invalid argument.");
    return 1;
  }
  printf("\n");
  if (logging == 1 && open_log(start_time) != 0) {
    printf("\nerror creating log file");
    return 0;
  }
  return -1;
}

}  // namespace

void print_board(const Position& pos) {
  write_board_rows(stdout, pos, "\n");
  if (pos.game_ply > 0) printf("\nply: %d", full_move_number(pos));
  printf(", turn: ");
  printf(pos.side == WHITE ? "white" : "black");
  printf("\ncastling: ");
  printf("%c", castling_shown(pos, pos.white_king_moved, pos.white_a_rook_moved, E1, A1, ROOK) ? 'Q' : '-');
  printf("%c", castling_shown(pos, pos.white_king_moved, pos.white_h_rook_moved, E1, H1, ROOK) ? 'K' : '-');
  printf("%c", castling_shown(pos, pos.black_king_moved, pos.black_a_rook_moved, E8, A8, -ROOK) ? 'q' : '-');
  printf("%c", castling_shown(pos, pos.black_king_moved, pos.black_h_rook_moved, E8, H8, -ROOK) ? 'k' : '-');
  printf("\nwhite king: %s", square_name(pos.white_king));
  printf(" black king: %s", square_name(pos.black_king));
  if (pos.ep_square != 0) printf("\nEP-field: %s", square_name(pos.ep_square));
}

void log_board(const Position& pos) {
  if (!log_file) return;
  write_board_rows(log_file, pos, "\n\n");
  fflush(log_file);
}

void print_help() {
  printf("Options in ZOLT %s - Quarnwell", VERSION);
  printf("\nquit: \t\tterminates the program");
  printf("\nuci:   \t\tswitches to uci-mode");
  printf("\ne2e4: \t\tmoves piece");
  printf("\ne7e8Q: \t\tpromotion move resulting in Queen [Q,R,B,N]");
  printf("\nst #:  \t\tsets search time per move (1-300s)");
  printf("\nsd #:  \t\tsets search depth (1-9)");
  printf("\nundo: \t\ttakes back last move");
  printf("\nnew:   \t\tresets board to initial state");
  printf("\nclear: \t\tredraws the console");
  printf("\ndisp: \t\tshows the board");
  printf("\ndivide #: \toutputs the numbers of child moves");
  printf("\ndivide2 #: \toutputs the total numbers of child moves");
  printf("\nperft #: \tcounts nodes at given depth");
  printf("\nperft2 #: \tcounts all nodes to given depth");
  printf("\nsetboard <FEN>: reads a fen-string");
  printf("\nfen:   \t\toutputs FEN of board position");
  printf("\ninfo: \t\toutputs data-struct");
  printf("\neval:  \t\tevaluates position");
  printf("\nanalyze:   \tinfinite analysis");
  printf("\ntestmovegen: \truns a testsuite file (perft for different positions)");
  printf("\nstack:   \tshows move-stack");
  printf("\nsort: \t\tgives sorted move-list for Alpha-Beta");
  printf("\nshow: \t\tgives valid moves for current pos.\n");
}

int number_at_column(const char* line, int column) {
  size_t length = strlen(line);
  if (column < 0 || static_cast<size_t>(column) >= length) return 0;
  const char* p = line + column;
  const char* end = p + (length - column < NUMBER_FIELD_WIDTH ? length - column : NUMBER_FIELD_WIDTH);
  while (p < end && isspace(static_cast<unsigned char>(*p))) ++p;
  int sign = 1;
  if (p < end && (*p == '+' || *p == '-')) sign = *p++ == '-' ? -1 : 1;
  long long value = 0;
  // 15 characters hold at most 15 digits, so the sum cannot overflow 64 bits;
  // the result is clamped to the int range.
  while (p < end && *p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
  value *= sign;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}

int run_console() {
  int status = start_up();
  if (status >= 0) {
    close_log();
    return status;
  }
  char line[LINE_BUFFER_SIZE];
  char word[WORD_BUFFER_SIZE];
  for (;;) {
    printf("\nzolt: ");
    if (input_read_line(line, LINE_BUFFER_SIZE) < 0) break;
    first_word(line, word);
    if (logging == 1 && log_file) {
      fprintf(log_file, "\nzolt: %s", word);
      fflush(log_file);
    }
    if (word[0] == 0) continue;
    if (dispatch(word, line) == EXIT_PROGRAM) break;
  }
  close_log();
  return 0;
}

}  // namespace zolt
