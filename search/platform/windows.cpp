// The platform layer on Windows: standard input through its handle, told
// apart as a console or a pipe (or file) on the first pending-input test;
// PeekNamedPipe for pipes, a key-press test over the console input events for
// consoles; QueryPerformanceCounter, ctime_s and the command interpreter's
// "cls"; _fseeki64 and _ftelli64 for files (long is 32 bits wide on Windows).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "search/platform.h"

namespace zolt {

namespace {

// Console mode bits of window-size and mouse events, cleared so that only key
// events reach the console input.
constexpr DWORD WINDOW_AND_MOUSE_EVENTS = 0x08 | 0x10;
// Console input records looked at by one key-press test.
constexpr DWORD EVENTS_PEEKED = 32;
// Bytes asked of one read: consoles refuse reads into very large buffers.
constexpr int READ_LIMIT = 16384;
constexpr int64_t MS_PER_SECOND = 1000;

HANDLE input_handle = nullptr;
bool input_is_pipe = false;
bool input_decided = false;
char output_buffer[OUTPUT_BUFFER_SIZE];

// On the first pending-input test: a console gets its window and mouse events
// masked and its waiting input discarded; anything else counts as a pipe.
void decide_input_kind() {
  input_decided = true;
  input_handle = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  input_is_pipe = !GetConsoleMode(input_handle, &mode);
  if (input_is_pipe) return;
  SetConsoleMode(input_handle, mode & ~WINDOW_AND_MOUSE_EVENTS);
  FlushConsoleInputBuffer(input_handle);
}

bool is_key_press(const INPUT_RECORD& event) {
  return event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown && event.Event.KeyEvent.uChar.AsciiChar != 0;
}

// Nonzero when a key press that types a character waits in the console input.
// Events that carry no input (key releases, focus and menu events) are taken
// out of the way when a whole window of them hides what follows.
int console_key_waiting() {
  DWORD count = 0;
  if (!GetNumberOfConsoleInputEvents(input_handle, &count) || count == 0) return 0;
  INPUT_RECORD events[EVENTS_PEEKED];
  DWORD peeked = 0;
  if (!PeekConsoleInputA(input_handle, events, EVENTS_PEEKED, &peeked)) return 0;
  for (DWORD i = 0; i < peeked; ++i)
    if (is_key_press(events[i])) return 1;
  if (peeked == EVENTS_PEEKED) ReadConsoleInputA(input_handle, events, peeked, &peeked);
  return 0;
}

// Bytes waiting on the pipe; a failing query (the writer has gone, or a file
// rather than a pipe) counts as waiting input, so the read decides.
int pipe_bytes_waiting() {
  DWORD waiting = 0;
  if (!PeekNamedPipe(input_handle, nullptr, 0, nullptr, &waiting, nullptr)) return 1;
  return waiting > 0;
}

}  // namespace

void platform_start() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  // The runtime takes line buffering for full buffering: the explicit
  // flushes end each piece of output at a line's end.
  setvbuf(stdout, output_buffer, _IOLBF, sizeof output_buffer);
}

int platform_read_input(char* buffer, int size) {
  const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  const DWORD wanted = static_cast<DWORD>(size < READ_LIMIT ? size : READ_LIMIT);
  for (;;) {
    DWORD got = 0;
    if (ReadFile(handle, buffer, wanted, &got, nullptr)) return static_cast<int>(got);
    // A broken pipe (the writer has gone) or an unreadable handle is the end
    // of input; an interrupted console read is tried again.
    if (GetLastError() != ERROR_OPERATION_ABORTED) return 0;
  }
}

int platform_input_waiting() {
  if (!input_decided) decide_input_kind();
  return input_is_pipe ? pipe_bytes_waiting() : console_key_waiting();
}

int64_t platform_clock_ms() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  // Whole seconds and the remainder apart, so the product cannot overflow.
  const int64_t seconds = counter.QuadPart / frequency.QuadPart;
  const int64_t rest = counter.QuadPart % frequency.QuadPart;
  return seconds * MS_PER_SECOND + rest * MS_PER_SECOND / frequency.QuadPart;
}

int platform_time_text(char* text, int size) {
  const time_t now = time(nullptr);
  return ctime_s(text, static_cast<size_t>(size), &now) != 0;
}

uint64_t platform_memory_bytes() {
  MEMORYSTATUSEX status;
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return 0;
  // A 32-bit process addresses less than the machine holds.
  return status.ullTotalPhys < status.ullTotalVirtual ? status.ullTotalPhys : status.ullTotalVirtual;
}

void platform_clear_screen() {
  const int status = std::system("cls");
  (void)status;
}

int platform_seek(FILE* file, int64_t offset) { return _fseeki64(file, offset, SEEK_SET); }

int64_t platform_file_size(FILE* file) {
  if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
  return _ftelli64(file);
}

}  // namespace zolt
