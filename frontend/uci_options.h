#pragma once

namespace zolt {

// For the text after "setoption ": when it is "name <name> [value <value>]"
// for the option `name` (compared without regard to case), copies the value
// (at most size - 1 characters, the line's end stripped) into `value` and
// returns it, "" when there is none (a button); nullptr for another option.
const char* option_value(const char* text, const char* name, char* value, int size);

// A spin value clamped to [low, high]; text that is no number keeps `current`.
int option_number(const char* value, int low, int high, int current);

// A check value: "true" in any case is on, anything else off.
bool option_flag(const char* value);

}  // namespace zolt
