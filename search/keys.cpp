// Placeholder so the library links; replaced by the real implementation.
#include "search/keys.h"
namespace zolt {
uint64_t zobrist_keys[13][BOARD_SIZE];
uint64_t ep_keys[BOARD_SIZE];
uint64_t side_key;
uint64_t key_history[1024];
uint64_t random64() { return 0; }
void compute_hash_key(Position&) {}
}
