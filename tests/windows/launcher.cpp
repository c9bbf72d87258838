// Starts a Windows program with its standard input and output on pipes made
// here with CreatePipe, and relays this process's own standard input and
// output to them:
//   wine zolt_launcher.exe build-win64/zolt.exe
// Wine gives a program started from Linux no Windows pipe (PeekNamedPipe fails
// on what it gets), only a program started by a Windows program gets one, so
// the tests reach zolt.exe through this launcher. Its standard error is the
// launcher's; the exit status is the program's, 127 when it cannot be started.
// The program dies with the launcher (a job object), so a killed test leaves
// nothing running.
#include <windows.h>

namespace {

constexpr DWORD RELAY_CHUNK = 65536;
constexpr DWORD START_FAILED = 127;

struct Relay {
  HANDLE from;
  HANDLE to;
};

bool write_all(HANDLE to, const char* data, DWORD size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(to, data, size, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Copies until the source ends or the destination is gone, then closes the
// destination so that its reader sees the end too.
DWORD WINAPI relay(void* argument) {
  const Relay* relay = static_cast<const Relay*>(argument);
  static thread_local char chunk[RELAY_CHUNK];
  DWORD got = 0;
  while (ReadFile(relay->from, chunk, RELAY_CHUNK, &got, nullptr) && got > 0)
    if (!write_all(relay->to, chunk, got)) break;
  CloseHandle(relay->to);
  return 0;
}

// The launcher's command line after its own name: the program and its arguments.
wchar_t* program_command_line() {
  wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

enum PipeUse { PROGRAM_READS, PROGRAM_WRITES };

// A pipe whose one end the program inherits; the other end stays here only.
bool make_pipe(HANDLE* read_end, HANDLE* write_end, PipeUse use) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(read_end, write_end, &inherit, 0)) return false;
  SetHandleInformation(use == PROGRAM_READS ? *write_end : *read_end, HANDLE_FLAG_INHERIT, 0);
  return true;
}

HANDLE inheritable_copy(HANDLE handle) {
  HANDLE copy = nullptr;
  DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS);
  return copy;
}

// A job that ends its processes when its last handle (the launcher's) closes.
HANDLE make_kill_on_close_job() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

}  // namespace

int main() {
  HANDLE child_in = nullptr, to_child = nullptr, from_child = nullptr, child_out = nullptr;
  if (!make_pipe(&child_in, &to_child, PROGRAM_READS) || !make_pipe(&from_child, &child_out, PROGRAM_WRITES))
    return START_FAILED;
  HANDLE child_err = inheritable_copy(GetStdHandle(STD_ERROR_HANDLE));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in;
  startup.hStdOutput = child_out;
  startup.hStdError = child_err;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, program_command_line(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process))
    return START_FAILED;
  HANDLE job = make_kill_on_close_job();
  if (job) AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  // Only the program holds its ends now, so the ends here see it go.
  CloseHandle(child_in);
  CloseHandle(child_out);
  if (child_err) CloseHandle(child_err);

  Relay input{GetStdHandle(STD_INPUT_HANDLE), to_child};
  CreateThread(nullptr, 0, relay, &input, 0, nullptr);
  Relay output{from_child, GetStdHandle(STD_OUTPUT_HANDLE)};
  relay(&output);

  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = START_FAILED;
  GetExitCodeProcess(process.hProcess, &status);
  // Ends the input relay too, which may still wait for a line.
  ExitProcess(status);
}
