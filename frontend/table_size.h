#pragma once

namespace zolt {

// Makes the transposition table the size asked for in megabytes (clamped to
// 0 .. 4096); when the machine cannot give that much, says so in a line that
// starts with `prefix` ("info string " under UCI) and uses what it could get.
void set_table_size(int megabytes, const char* prefix);

}  // namespace zolt
