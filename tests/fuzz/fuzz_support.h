// Shared plumbing of the fuzz drivers: a scratch working directory, standard
// output sent to /dev/null, fuzz input fed to the engine as standard input,
// and a terminated copy of the input for the text parsers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "position/board.h"

namespace zolt_fuzz {

// Inputs longer than this are cut; it is more than any line buffer holds.
constexpr size_t MAX_INPUT = 1 << 16;

// Once per process: a fresh temporary scratch directory, standard output to
// /dev/null, and the tables the engine builds at start-up.
void prepare_process(const char* name);

// While one lives, the scratch directory is the working directory, so the
// files the engine reads and writes (Zolt.cfg, the logs) stay there; the
// fuzzer's own relative paths (corpus, artifacts) work again afterwards.
struct InScratchDirectory {
  InScratchDirectory();
  ~InScratchDirectory();
};

// The input as a terminated string; an embedded NUL ends it early, as it
// would for the engine's own string handling.
const char* terminated_text(const uint8_t* data, size_t size);

// Runs a front end (the console or the UCI loop) over the input, in the
// scratch directory, with an empty undo stack. The input is put on fd 0 as a
// pipe whose writer is already closed and the engine's input buffer is
// cleared, so the front end reads exactly the input and then the end of input.
void run_front_end_over(const uint8_t* data, size_t size, void (*front_end)());

// Aborts (which libFuzzer reports as a crash) when a and b differ in any
// field that make and unmake must restore.
void require_same_position(const zolt::Position& a, const zolt::Position& b, const char* what);

void require(bool condition, const char* what);

}  // namespace zolt_fuzz
