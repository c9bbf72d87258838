// Placeholder so the library links; replaced by the real implementation.
#include "frontend/diagnostics.h"
namespace zolt {
void command_attack(Position&) {}
void command_rand(Position&) {}
void command_h_stack(const Position&) {}
void command_eval(const Position&) {}
void command_values() {}
void command_show(Position&) {}
void command_info(const Position&) {}
void command_stack() {}
void command_sort(Position&) {}
}
