#include "search/clock.h"

#include <chrono>

namespace zolt {

namespace {
const auto program_start = std::chrono::steady_clock::now();
}

int64_t clock_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - program_start)
      .count();
}

}  // namespace zolt
