// Placeholder so the library links; replaced by the real implementation.
#include "perft/perft.h"
namespace zolt {
uint64_t perft_sum, perft_upper_total, perft_lower_total;
uint64_t divide_upper[MAX_MOVES], divide_lower[MAX_MOVES];
int perft(Position&, int) { return 0; }
int perft_pair(Position&, int) { return 0; }
int divide_one_level(Position&, int) { return 0; }
int divide_upper_pass(Position&, int) { return 0; }
int divide_lower_pass(Position&, int) { return 0; }
uint64_t perft_count(Position&, int) { return 0; }
void command_perft(Position&, const char*) {}
void command_perft2(Position&, const char*) {}
void command_divide(Position&, const char*) {}
void command_divide2(Position&, const char*) {}
}
