// Placeholder so the library links; replaced by the real implementation.
#include "frontend/play.h"
namespace zolt {
int depth_bound = 64;
void command_new(Position&) {}
void command_undo(Position&) {}
void command_st(const char*) {}
void command_sd(const char*) {}
void command_analyze(Position&) {}
void command_move_entry(Position&, const char*) {}
}
