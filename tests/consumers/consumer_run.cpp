#include "consumer_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace halvane::testing {

ConsumerRun RunWithTimeLimit(const std::string& command, int seconds) {
  const std::string limited =
      "timeout -k 5 " + std::to_string(seconds) + " sh -c " + ShellQuoted(command) + " 2>&1";
  ConsumerRun run;
  FILE* pipe = popen(limited.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
    run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

bool OnPath(const std::string& program) {
  return std::system(("command -v " + ShellQuoted(program) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ShellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace halvane::testing
