// Reading the "setoption" lines of the options announced by name.
#include "frontend/uci_options.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace zolt {

namespace {

bool is_option_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
const char* skip_option_blanks(const char* p) {
  while (is_option_blank(*p)) ++p;
  return p;
}

}  // namespace

const char* option_value(const char* text, const char* name, char* value, int size) {
  const char* p = skip_option_blanks(text);
  if (strncmp(p, "name ", 5) != 0) return nullptr;
  p = skip_option_blanks(p + 5);
  const size_t name_length = strlen(name);
  if (strncasecmp(p, name, name_length) != 0) return nullptr;
  p += name_length;
  if (*p && !is_option_blank(*p)) return nullptr;
  p = skip_option_blanks(p);
  value[0] = 0;
  if (strncmp(p, "value", 5) != 0 || (p[5] && !is_option_blank(p[5]))) return value;
  const char* start = skip_option_blanks(p + 5);
  const size_t copied = strnlen(start, size - 1);
  memcpy(value, start, copied);
  value[copied] = 0;
  size_t length = strlen(value);
  while (length > 0 && is_option_blank(value[length - 1])) value[--length] = 0;
  return value;
}

int option_number(const char* value, int low, int high, int current) {
  char* end = nullptr;
  const long long number = strtoll(value, &end, 10);
  if (end == value) return current;
  return number < low ? low : number > high ? high : static_cast<int>(number);
}

bool option_flag(const char* value) { return strcasecmp(value, "true") == 0; }

}  // namespace zolt
