#pragma once

#include <cstdint>

namespace zolt {

// Milliseconds of real time since the program started (monotonic).
int64_t clock_ms();

}  // namespace zolt
