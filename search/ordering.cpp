// Placeholder so the library links; replaced by the real implementation.
#include "search/ordering.h"
namespace zolt {
Move killer1[MAX_PLY];
Move killer2[MAX_PLY];
Move mate_killer[MAX_PLY];
void score_moves(Move*, int, const Position&) {}
void score_captures(Move*, int, const Position&) {}
void sort_moves(Move*, int) {}
}
