// The platform layer on Linux and other POSIX systems: fd 0 through read()
// and poll(), the monotonic clock, ctime_r, and an ANSI escape to clear the
// terminal; fseeko and ftello with a 64-bit off_t for files.
// off_t is 64 bits wide on 32-bit systems too (must precede every include).
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "search/platform.h"

namespace zolt {

namespace {
constexpr int STDIN_FD = 0;
constexpr int TIME_TEXT_SIZE = 26;  // ctime_r writes at most this much
char output_buffer[OUTPUT_BUFFER_SIZE];
}  // namespace

void platform_start() { setvbuf(stdout, output_buffer, _IOLBF, sizeof output_buffer); }

int platform_read_input(char* buffer, int size) {
  ssize_t got;
  do {
    got = read(STDIN_FD, buffer, static_cast<size_t>(size));
  } while (got < 0 && errno == EINTR);
  return got > 0 ? static_cast<int>(got) : 0;
}

int platform_input_waiting() {
  pollfd pfd{STDIN_FD, POLLIN, 0};
  int ready;
  do {
    ready = poll(&pfd, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready > 0;  // POLLIN, POLLHUP and POLLERR all mean a read will not block
}

int64_t platform_clock_ms() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int platform_time_text(char* text, int size) {
  if (size < TIME_TEXT_SIZE) return 1;
  time_t now = time(nullptr);
  return ctime_r(&now, text) ? 0 : 1;
}

uint64_t platform_memory_bytes() {
  const long pages = sysconf(_SC_PHYS_PAGES), page_size = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size);
}

void platform_clear_screen() { fputs("\033[2J\033[H", stdout); }

int platform_seek(FILE* file, int64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET); }

int64_t platform_file_size(FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  return static_cast<int64_t>(ftello(file));
}

}  // namespace zolt
