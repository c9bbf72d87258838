// What the engine needs from the operating system, one implementation per
// platform (search/platform/posix.cpp, search/platform/windows.cpp), chosen
// by the build. Nothing else in the engine knows which platform it runs on.
#pragma once

#include <cstdint>
#include <cstdio>

namespace zolt {

// Puts the standard streams into the mode the engine expects: bytes pass
// unchanged in both directions (no newline translation), so the output is the
// same on every platform; and standard output is buffered, so that every
// line leaves in one write (a client may take each piece it reads for whole
// lines). On POSIX systems the buffer goes out at each line's end by itself;
// Windows has no line buffering (there it means full buffering), so the
// engine flushes standard output where a line must reach the reader at once:
// before every blocking read of standard input and after each line that a
// search prints. Call it before anything is written to standard output.
void platform_start();

// The buffer standard output gets: larger than any output between two flushes.
constexpr int OUTPUT_BUFFER_SIZE = 1 << 16;

// One raw read of standard input, bypassing the stdio stream: the bytes
// waiting on a pipe or in a file, or one typed line on a console; blocks until
// there is something. Returns the number of bytes read, 0 at the end of input
// (also when standard input cannot be read at all).
int platform_read_input(char* buffer, int size);

// Nonzero when a read of standard input would not block: bytes wait on the
// pipe, the writer has gone (the read then reports the end of input), or a key
// was pressed at the console. Never blocks.
int platform_input_waiting();

// Milliseconds of a monotonic real-time clock with an arbitrary origin.
int64_t platform_clock_ms();

// The current local time as the fixed 26-character text of ctime ("Wed Jan 02
// 02:03:55 1980\n" and a terminator) in text, which holds size characters.
// Returns 0 on success, nonzero when the time cannot be converted.
int platform_time_text(char* text, int size);

// The machine's physical memory in bytes (at most what the process can
// address), 0 when it cannot be told.
uint64_t platform_memory_bytes();

// Clears the console window.
void platform_clear_screen();

// Files read at 64-bit offsets, so that files larger than 2 GB (opening
// books) are read whole on 32-bit systems too.
// Moves the file's position to offset bytes from its start; 0 on success.
int platform_seek(FILE* file, int64_t offset);
// The file's size in bytes, -1 when it cannot be told; leaves the position
// at the end of the file.
int64_t platform_file_size(FILE* file);

}  // namespace zolt
