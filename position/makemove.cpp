// Placeholder so the library links; replaced by the real implementation.
#include "position/makemove.h"
namespace zolt {
void make_move(Position&, Move) {}
void unmake_move(Position&) {}
}
