#include "search/clock.h"

#include "search/platform.h"

namespace zolt {

namespace {
const int64_t program_start = platform_clock_ms();
}

int64_t clock_ms() { return platform_clock_ms() - program_start; }

}  // namespace zolt
