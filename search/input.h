// The one input buffer over standard input.
//
// The front ends read whole lines from it, blocking; the search peeks at the
// first waiting line without blocking and takes it only when it acts on it.
// Because both go through this buffer, nothing typed during a search is lost
// or read twice, whether standard input is a pipe, a file or a terminal.
#pragma once

namespace zolt {

// Blocking read with fgets semantics: copies at most size - 1 characters of
// the next line, its newline included when it fits, and a terminator; the rest
// of a longer line stays for the next call. Returns the number of characters
// copied, or -1 at the end of input. Flushes standard output first.
int input_read_line(char* buf, int size);

// Non-blocking: pulls whatever waits on standard input into the buffer;
// nonzero when a complete line (or the end of input) is waiting.
int input_available();

// Blocks until a complete line (or the end of input) is waiting; flushes
// standard output first.
void input_wait_line();

// The first waiting complete line, without its newline (not terminated), and
// its length; -1 when no complete line is waiting. Does not block.
int input_peek_line(const char** text);

// Drops the first waiting line (after input_peek_line found one).
void input_take_line();

// Nonzero once standard input has reported the end of input and every buffered byte was read.
int input_at_end();

// Forgets every buffered byte and the end-of-input mark, so a harness that
// puts a fresh stream on standard input can run a front end over it again.
void input_reset();

}  // namespace zolt
