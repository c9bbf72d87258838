// Placeholder so the library links; replaced by the real implementation.
#include "search/timecontrol.h"
namespace zolt {
int64_t time_limit_ms = 15000;
int64_t deadline = 0;
int set_uci_time_budget(const char*, int) { return 0; }
int poll_input() { return 0; }
}
