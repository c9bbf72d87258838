#include "frontend/line_reader.h"

namespace zolt {

bool read_file_line(FILE* file, char* buffer, int size) {
  int c = fgetc(file);
  if (c == EOF) return false;
  int length = 0;
  for (; c != EOF; c = fgetc(file)) {
    if (length < size - 1) buffer[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[length] = 0;
  return true;
}

}  // namespace zolt
