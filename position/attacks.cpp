// Placeholder so the library links; replaced by the real implementation.
#include "position/attacks.h"
namespace zolt {
int square_attacked_by_black(const int32_t*, Square) { return 0; }
int square_attacked_by_white(const int32_t*, Square) { return 0; }
int side_in_check(const Position&) { return 0; }
int white_king_attacked_at(Position&, Square, Square) { return 0; }
int black_king_attacked_at(Position&, Square, Square) { return 0; }
int white_move_exposes_king(Position&, Square, Square) { return 0; }
int black_move_exposes_king(Position&, Square, Square) { return 0; }
int castle960_white_king_side(Position&) { return 0; }
int castle960_white_queen_side(Position&) { return 0; }
int castle960_black_king_side(Position&) { return 0; }
int castle960_black_queen_side(Position&) { return 0; }
}
