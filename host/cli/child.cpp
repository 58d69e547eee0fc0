#include "host/cli/child.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace cli {

namespace {
constexpr size_t keep_err = 4096;
void keep_tail(std::string& s) {
  if (s.size() > keep_err) s.erase(0, s.size() - keep_err);
}
}  // namespace

#if defined(_WIN32)

namespace {
std::string quote(const std::string& a) {
  if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
  std::string q = "\"";
  for (char c : a) {
    if (c == '"') q += '\\';
    q += c;
  }
  return q + "\"";
}

std::string exception_name(DWORD code) {
  switch (code) {
    case 0xC0000005: return "access violation";
    case 0xC00000FD: return "stack overflow";
    case 0xC0000094: return "integer division by zero";
    case 0xC000001D: return "illegal instruction";
    case 0xC0000409: return "stack buffer overrun";
    case 0x80000003: return "breakpoint";
    default: return "exception";
  }
}

void drain(HANDLE h, std::string& into) {
  DWORD avail = 0;
  while (PeekNamedPipe(h, nullptr, 0, nullptr, &avail, nullptr) && avail > 0) {
    char buf[4096];
    DWORD got = 0;
    if (!ReadFile(h, buf, std::min<DWORD>(avail, sizeof buf), &got, nullptr) || got == 0) break;
    into.append(buf, got);
  }
}
}  // namespace

ChildResult run_self(const std::vector<std::string>& args, const std::string& extra_library_dir, double timeout_s) {
  ChildResult r;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string cmd = quote(self);
  for (const auto& a : args) cmd += " " + quote(a);
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE out_r, out_w, err_r, err_w;
  CreatePipe(&out_r, &out_w, &sa, 1 << 20);
  CreatePipe(&err_r, &err_w, &sa, 1 << 16);
  SetHandleInformation(out_r, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_r, HANDLE_FLAG_INHERIT, 0);
  // The library search path is PATH: the child gets the extra folder first.
  std::string old_path;
  if (!extra_library_dir.empty()) {
    char buf[32768] = {};
    GetEnvironmentVariableA("PATH", buf, sizeof buf);
    old_path = buf;
    SetEnvironmentVariableA("PATH", (extra_library_dir + ";" + old_path).c_str());
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out_w;
  si.hStdError = err_w;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  const BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  if (!extra_library_dir.empty()) SetEnvironmentVariableA("PATH", old_path.c_str());
  CloseHandle(out_w);
  CloseHandle(err_w);
  if (!ok) {
    r.how = "could not be started";
    CloseHandle(out_r);
    CloseHandle(err_r);
    return r;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
  for (;;) {
    drain(out_r, r.out);
    drain(err_r, r.err);
    keep_tail(r.err);
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) break;
    if (std::chrono::steady_clock::now() > deadline) {
      TerminateProcess(pi.hProcess, 1);
      WaitForSingleObject(pi.hProcess, INFINITE);
      r.how = "timed out after " + std::to_string(static_cast<int>(timeout_s)) + " s";
      break;
    }
  }
  drain(out_r, r.out);
  drain(err_r, r.err);
  keep_tail(r.err);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  if (r.how.empty()) {
    if (code >= 0xC0000000u || code == 0x80000003u) {
      char b[32];
      std::snprintf(b, sizeof b, "0x%08lX", static_cast<unsigned long>(code));
      r.how = "crashed: " + exception_name(code) + " (exception " + b + ")";
    } else {
      r.exited = true;
      r.status = static_cast<int>(code);
    }
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(out_r);
  CloseHandle(err_r);
  return r;
}

#else

ChildResult run_self(const std::vector<std::string>& args, const std::string& extra_library_dir, double timeout_s) {
  ChildResult r;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) {
    r.how = "could not be started (no pipe)";
    return r;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    r.how = "could not be started (fork failed)";
    return r;
  }
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(out[1]);
    close(err[0]);
    close(err[1]);
    if (!extra_library_dir.empty()) {
      const char* old = std::getenv("LD_LIBRARY_PATH");
      const std::string path = extra_library_dir + (old != nullptr && *old ? std::string(":") + old : "");
      setenv("LD_LIBRARY_PATH", path.c_str(), 1);
    }
    std::vector<char*> argv;
    std::string self = "/proc/self/exe";
    argv.push_back(self.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_s);
  bool open_out = true, open_err = true, timed_out = false;
  while (open_out || open_err) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    const int n = poll(fds, 2, 100);
    if (n > 0) {
      char buf[4096];
      if (fds[0].revents != 0) {
        const ssize_t got = read(out[0], buf, sizeof buf);
        if (got <= 0) open_out = false, fds[0].fd = -1;
        else r.out.append(buf, static_cast<size_t>(got));
      }
      if (fds[1].revents != 0) {
        const ssize_t got = read(err[0], buf, sizeof buf);
        if (got <= 0) open_err = false;
        else r.err.append(buf, static_cast<size_t>(got)), keep_tail(r.err);
      }
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      timed_out = true;
      break;
    }
  }
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (timed_out) {
    r.how = "timed out after " + std::to_string(static_cast<int>(timeout_s)) + " s";
  } else if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    r.how = std::string("crashed: signal ") + std::to_string(sig) + " (" + strsignal(sig) + ")";
  } else {
    r.exited = true;
    r.status = WEXITSTATUS(status);
  }
  return r;
}

#endif

}  // namespace cli
