// The program's entry: the console without arguments; "bench [depth]" runs
// zolt bench; anything else gets the usage line.
#include <cstdio>
#include <cstring>

#include "frontend/bench_run.h"
#include "frontend/shell.h"

namespace {

constexpr int USAGE_STATUS = 2;

// The depth argument of "bench": digits only, 1 .. BENCH_MAX_DEPTH; 0 otherwise.
int bench_depth(const char* text) {
  int depth = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
    depth = depth * 10 + (*p - '0');
    if (depth > zolt::BENCH_MAX_DEPTH) return 0;
  }
  return depth;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return zolt::run_console();
  if (argc <= 3 && strcmp(argv[1], "bench") == 0) {
    const int depth = argc == 3 ? bench_depth(argv[2]) : zolt::BENCH_DEFAULT_DEPTH;
    if (depth > 0) return zolt::run_bench(depth);
  }
  fprintf(stderr, "usage: zolt [bench [depth]]\n");
  return USAGE_STATUS;
}
