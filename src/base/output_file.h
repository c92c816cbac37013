#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace halvane {

// Why an output file could not be written: the path as the user gave it and
// the reason in a few words ("disk full", "file is read-only", ...).
struct OutputError {
  std::string path;
  std::string reason;
  bool readOnly = false;  // the target exists and has no write bit

  // "cannot write PATH: REASON", or "cannot replace PATH: file is read-only".
  std::string Message() const;
};

// Errors to inject into the writes, flush and close of one output, for the
// tests of what a failing disk leaves behind.
struct OutputFaults {
  std::size_t failAfterBytes = static_cast<std::size_t>(-1);  // a write fails past this
  int writeError = 0;                                         // errno of that write
  int syncError = 0;                                          // errno of fsync, or 0
  int closeError = 0;                                         // errno of close, or 0
  bool namedTemporary = false;  // skip the unnamed temporary file, as on file systems without one
};

// Writes `bytes` as the whole new content of `path` so that nothing is lost:
// the bytes go to a temporary file in the target's folder (unnamed where the
// file system allows it, else a short unique name), every write, the sync
// and the close are checked, and only then is it renamed over the target.
// On any failure the temporary file is removed and the previous target is
// untouched. A symbolic link is followed and its target replaced; an existing
// file keeps its permissions; a target without a write bit is refused. A
// target that exists and is no regular file (a terminal, a pipe) is written
// directly.
std::optional<OutputError> WriteOutputFile(const std::string& path, std::string_view bytes,
                                           const OutputFaults& faults = {});

// Whether `path` could be written now, without writing it: its folder exists
// and takes new files, and an existing target is a writable regular file (or
// no regular file at all).
std::optional<OutputError> CheckOutputWritable(const std::string& path);

// Whether two paths name the same file, after following links; a path that
// does not exist yet is compared by its resolved folder and name.
bool SameFile(const std::string& a, const std::string& b);

// On SIGINT, SIGTERM and SIGHUP, removes the temporary file of an output
// being written before the process ends as the signal asks.
void RemoveTemporaryOutputsOnSignals();

}  // namespace halvane
