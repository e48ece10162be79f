// Runs part of a test in a forked child: bounded in time, optionally as an unprivileged user or
// with little memory, so that a hang, a crash or a memory grab fails the test instead of ending it;
// and tells how a step of the game ended.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/ScriptedPlatform.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer reserves terabytes of address space up front; a limit on it cannot be set.
inline constexpr bool AddressSpaceCanBeLimited = false;
#else
inline constexpr bool AddressSpaceCanBeLimited = true;
#endif

inline constexpr uid_t NobodyId = 65534;

struct ChildResult {
  bool exitedNormally = false;  // false: killed (by the time limit or a crash) or aborted
  std::string output;           // what the body returned
};

// Runs `body` in a child process that the time limit kills after `seconds`; the child's answer is
// the text `body` returns. Any exception in the child counts as "exception".
inline ChildResult RunInChild(const std::function<std::string()>& body, unsigned seconds = 20) {
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(channel[0]);
    ::alarm(seconds);
    std::string answer;
    try {
      answer = body();
    } catch (...) {
      answer = "exception";
    }
    for (size_t done = 0; done < answer.size();) {
      const ssize_t written = ::write(channel[1], answer.data() + done, answer.size() - done);
      if (written <= 0) break;
      done += static_cast<size_t>(written);
    }
    ::_exit(0);
  }
  ::close(channel[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    result.output.append(buffer, size_t(got));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitedNormally = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

// In a child: limits the address space to what the process uses now plus `extraBytes`.
inline bool LimitAddressSpace(size_t extraBytes) {
  if (!AddressSpaceCanBeLimited) return false;
  unsigned long pages = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return false;
  const bool read = std::fscanf(statm, "%lu", &pages) == 1;
  std::fclose(statm);
  const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + extraBytes;
  const rlimit value{limit, limit};
  return read && ::setrlimit(RLIMIT_AS, &value) == 0;
}

// In a child of a root test: becomes the user nobody, with no other group.
inline bool BecomeNobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(NobodyId) == 0 && ::setuid(NobodyId) == 0;
}

// Runs `step` of a game on `platform`: "" when it returns, the text of the message the program ended
// with when it ends the program.
inline std::string Ending(const ScriptedPlatform& platform, const std::function<void()>& step) {
  try {
    step();
    return {};
  } catch (const ScriptedPlatform::ProgramEnded&) {
    return platform.messages.empty() ? std::string("(ended without a message)") : platform.messages.back().text;
  }
}
