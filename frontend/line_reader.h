// Line reading for the text files the engine reads (Zolt.cfg, perftsuite.epd).
#pragma once

#include <cstdio>

namespace zolt {

// Reads the next line of file into buffer: at most size - 1 of its characters
// (the newline included when it fits) and a terminator. The rest of a longer
// line is passed over, so one line of the file is always one line for the
// caller. Returns false at the end of the file.
bool read_file_line(FILE* file, char* buffer, int size);

}  // namespace zolt
