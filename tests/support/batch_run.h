#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace halvane::testing {

// One run of the halvane-batch binary (HALVANE_BATCH_BINARY, defined for the
// batch tests).
struct BatchRun {
  int exitCode;
  std::string output;  // standard output and error together
};

inline BatchRun RunBatch(const std::string& args) {
  const std::string command = std::string(HALVANE_BATCH_BINARY) + " " + args + " 2>&1";
  BatchRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) run.output.append(buf, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace halvane::testing
