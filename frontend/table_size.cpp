#include "frontend/table_size.h"

#include <cstdio>

#include "search/tt.h"

namespace zolt {

void set_table_size(int megabytes, const char* prefix) {
  const int wanted = megabytes < 0 ? 0 : megabytes > MAX_TABLE_MB ? MAX_TABLE_MB : megabytes;
  const int made = resize_table(wanted);
  if (made < wanted) printf("%sHash %d MB is more memory than could be had; using %d MB\n", prefix, wanted, made);
}

}  // namespace zolt
