#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "position/movegen.h"
#include "position/state.h"
#include "search/input.h"

namespace zolt_fuzz {

namespace {

char text_buffer[MAX_INPUT + 1];
int scratch_fd = -1;
int original_fd = -1;

[[noreturn]] void fail(const char* what) {
  fprintf(stderr, "fuzz check failed: %s\n", what);
  abort();
}

void feed_standard_input(const uint8_t* data, size_t size) {
  if (size > MAX_INPUT) size = MAX_INPUT;
  int ends[2];
  if (pipe(ends) != 0) fail("pipe");
  // A pipe holds 64 KiB by default; the whole input must fit before anyone reads.
  fcntl(ends[1], F_SETPIPE_SZ, static_cast<int>(MAX_INPUT) * 2);
  size_t written = 0;
  while (written < size) {
    ssize_t n = write(ends[1], data + written, size - written);
    if (n <= 0) fail("writing the input pipe");
    written += static_cast<size_t>(n);
  }
  close(ends[1]);
  if (dup2(ends[0], STDIN_FILENO) < 0) fail("dup2 onto standard input");
  close(ends[0]);
  zolt::input_reset();
}

}  // namespace

void prepare_process(const char* name) {
  char dir[256];
  snprintf(dir, sizeof dir, "/tmp/zolt-fuzz-%s-XXXXXX", name);
  if (!mkdtemp(dir)) fail("scratch directory");
  scratch_fd = open(dir, O_RDONLY | O_DIRECTORY);
  original_fd = open(".", O_RDONLY | O_DIRECTORY);
  if (scratch_fd < 0 || original_fd < 0) fail("opening the working directories");
  int null_fd = open("/dev/null", O_WRONLY);
  if (null_fd < 0 || dup2(null_fd, STDOUT_FILENO) < 0) fail("silencing standard output");
  close(null_fd);
  zolt::build_line_table();
}

InScratchDirectory::InScratchDirectory() {
  if (fchdir(scratch_fd) != 0) fail("entering the scratch directory");
}

InScratchDirectory::~InScratchDirectory() {
  if (fchdir(original_fd) != 0) fail("leaving the scratch directory");
}

const char* terminated_text(const uint8_t* data, size_t size) {
  if (size > MAX_INPUT) size = MAX_INPUT;
  memcpy(text_buffer, data, size);
  text_buffer[size] = 0;
  return text_buffer;
}

void run_front_end_over(const uint8_t* data, size_t size, void (*front_end)()) {
  InScratchDirectory scratch;
  feed_standard_input(data, size);
  zolt::undo_top = 0;
  zolt::ply = 0;
  front_end();
}

void require(bool condition, const char* what) {
  if (!condition) fail(what);
}

void require_same_position(const zolt::Position& a, const zolt::Position& b, const char* what) {
  bool same = memcmp(a.board, b.board, sizeof a.board) == 0 && memcmp(a.slot_of, b.slot_of, sizeof a.slot_of) == 0 &&
              memcmp(a.slot_square, b.slot_square, sizeof a.slot_square) == 0 &&
              memcmp(a.piece_count, b.piece_count, sizeof a.piece_count) == 0;
  same = same && a.white_king == b.white_king && a.black_king == b.black_king && a.ep_square == b.ep_square;
  same = same && a.side == b.side && zolt::pack_castling(a) == zolt::pack_castling(b);
  same = same && a.material == b.material && a.game_ply == b.game_ply && a.fifty == b.fifty;
  same = same && a.occupied[0] == b.occupied[0] && a.occupied[1] == b.occupied[1] &&
         memcmp(a.pieces, b.pieces, sizeof a.pieces) == 0;
  require(same, what);
}

}  // namespace zolt_fuzz
