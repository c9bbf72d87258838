// Clocks and memory figures shared by the benchmark executables: wall and
// process CPU time in microseconds, and the peak resident set size.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zolt_bench {

inline int64_t read_clock_us(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

inline int64_t wall_us() { return read_clock_us(CLOCK_MONOTONIC); }

// User plus system time of this process; unlike the wall clock it does not
// grow while other jobs hold the CPU.
inline int64_t cpu_us() { return read_clock_us(CLOCK_PROCESS_CPUTIME_ID); }

// Peak resident set size in kB. VmHWM belongs to this program image alone;
// getrusage's figure may include the parent's size from before exec (a
// launcher larger than this program would hide it), so it is the fallback.
inline long peak_rss_kb() {
  long kb = -1;
  if (FILE* status = fopen("/proc/self/status", "r")) {
    char line[256];
    while (fgets(line, sizeof line, status))
      if (!strncmp(line, "VmHWM:", 6)) kb = strtol(line + 6, nullptr, 10);
    fclose(status);
  }
  if (kb >= 0) return kb;
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace zolt_bench
