#pragma once

#include <string>

namespace halvane::testing {

// One run of an outside program under a time limit.
struct ConsumerRun {
  int exitCode = -1;   // 124 when the time limit ended it
  std::string output;  // standard output and error together
};

// Runs `command` through the shell, ended after `seconds` (and killed five
// seconds later if it is still there).
ConsumerRun RunWithTimeLimit(const std::string& command, int seconds);

// Whether `program` is found on the PATH.
bool OnPath(const std::string& program);

// `text` quoted for the shell.
std::string ShellQuoted(const std::string& text);

}  // namespace halvane::testing
