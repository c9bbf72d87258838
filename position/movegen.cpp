// Placeholder so the library links; replaced by the real implementation.
#include "position/movegen.h"
namespace zolt {
int generate_moves(Position&, Move*) { return 0; }
int count_moves(Position&) { return 0; }
int generate_captures(Position&, Move*) { return 0; }
void build_line_table() {}
}
