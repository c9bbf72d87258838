#include "search/input.h"

#include <cstdio>
#include <cstring>

#include "search/platform.h"

namespace zolt {

namespace {

// Large enough for any "position ... moves ..." line the undo stack can play.
constexpr int BUFFER_SIZE = 1 << 17;

char buffer[BUFFER_SIZE];
int buffered = 0;       // bytes in buffer[0 .. buffered)
bool end_of_input = false;

// Reads once from standard input into the free part of the buffer.
void fill_once() {
  if (end_of_input || buffered == BUFFER_SIZE) return;
  const int got = platform_read_input(buffer + buffered, BUFFER_SIZE - buffered);
  if (got == 0)
    end_of_input = true;
  else
    buffered += got;
}

// Length of the first line including its newline, or -1 when it is incomplete.
// A full buffer without a newline, and a last line without one, count as complete.
int first_line_length() {
  const void* nl = memchr(buffer, '\n', buffered);
  if (nl) return static_cast<int>(static_cast<const char*>(nl) - buffer) + 1;
  if (buffered == BUFFER_SIZE || (end_of_input && buffered > 0)) return buffered;
  return -1;
}

void drop_front(int count) {
  memmove(buffer, buffer + count, buffered - count);
  buffered -= count;
}

}  // namespace

// What the program has written so far goes out before it reads a line: the
// reader may be waiting for it before it sends anything more.
int input_read_line(char* buf, int size) {
  fflush(stdout);
  int length;
  while ((length = first_line_length()) < 0 && !end_of_input) fill_once();
  if (length < 0) return -1;
  int copied = length < size - 1 ? length : size - 1;
  memcpy(buf, buffer, copied);
  buf[copied] = '\0';
  drop_front(copied);
  return copied;
}

int input_available() {
  while (first_line_length() < 0 && !end_of_input && platform_input_waiting()) fill_once();
  return first_line_length() >= 0 || end_of_input;
}

void input_wait_line() {
  fflush(stdout);
  while (first_line_length() < 0 && !end_of_input) fill_once();
}

int input_peek_line(const char** text) {
  if (!input_available()) return -1;
  int length = first_line_length();
  if (length < 0) return -1;
  *text = buffer;
  if (length > 0 && buffer[length - 1] == '\n') --length;
  if (length > 0 && buffer[length - 1] == '\r') --length;
  return length;
}

void input_take_line() {
  int length = first_line_length();
  if (length > 0) drop_front(length);
}

int input_at_end() { return end_of_input && buffered == 0; }

void input_reset() {
  buffered = 0;
  end_of_input = false;
}

}  // namespace zolt
