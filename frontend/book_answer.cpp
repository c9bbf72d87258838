// The book's answer in the UCI loop and at the console: the lines that
// announce a book move, and the one message about a bad book file.
#include "frontend/book_answer.h"

#include <cstdio>

#include "frontend/book.h"
#include "frontend/config_log.h"
#include "frontend/notation.h"
#include "position/makemove.h"

namespace zolt {

namespace {

// The line is sent to the interface and copied to the log.
void send_line(const char* line) {
  fputs(line, stdout);
  fflush(stdout);
  if (!log_file) return;
  fprintf(log_file, "<<< SENT TO GUI <<< %s", line);
  fflush(log_file);
}

constexpr int ANSWER_LINE_SIZE = 512;

}  // namespace

bool uci_book_answer(Position& pos) {
  BookChoice choice;
  const BookAnswer answer = ask_book(pos, choice);
  char line[ANSWER_LINE_SIZE];
  if (answer == BOOK_PROBLEM) {
    snprintf(line, sizeof line, "info string %s\n", book_problem_text());
    send_line(line);
  }
  if (answer != BOOK_MOVE) return false;
  char move[MOVE_TEXT_CHARS];
  coordinate_move_text(choice.move, move);
  snprintf(line, sizeof line, "info string book move %s weight %d/%d\n", move, choice.weight, choice.total);
  send_line(line);
  make_move(pos, choice.move);
  Move reply;
  if (book_best_move(pos, reply)) {
    char reply_text[MOVE_TEXT_CHARS];
    coordinate_move_text(reply, reply_text);
    snprintf(line, sizeof line, "bestmove %s ponder %s\n", move, reply_text);
  } else {
    snprintf(line, sizeof line, "bestmove %s\n", move);
  }
  send_line(line);
  return true;
}

bool console_book_move(Position& pos, Move& move) {
  BookChoice choice;
  const BookAnswer answer = ask_book(pos, choice);
  if (answer == BOOK_PROBLEM) printf("\n%s", book_problem_text());
  if (answer != BOOK_MOVE) return false;
  char text[MOVE_TEXT_CHARS];
  coordinate_move_text(choice.move, text);
  printf("\nbook move %s weight %d/%d", text, choice.weight, choice.total);
  move = choice.move;
  return true;
}

}  // namespace zolt
