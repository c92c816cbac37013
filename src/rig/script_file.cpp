#include "rig/script_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace halvane {
namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 100;

fs::path TemporaryPath(const fs::path& target, int attempt) {
  return target.parent_path() /
         ("." + target.filename().string() + ".part" + std::to_string(attempt));
}

// Creates a temporary file that did not exist before, next to `target`.
std::FILE* CreateTemporary(const fs::path& target, fs::path& created, int& error) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    created = TemporaryPath(target, attempt);
    errno = 0;
    if (std::FILE* file = std::fopen(created.c_str(), "wbx")) return file;
    error = errno;
    if (error != EEXIST) return nullptr;
  }
  return nullptr;
}

// Writes and closes `file`; returns 0 or the error number of the failure.
int WriteAndClose(std::FILE* file, std::string_view text) {
  errno = 0;
  int error = 0;
  if (std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fflush(file) != 0)
    error = errno != 0 ? errno : EIO;
  if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  return error;
}

}  // namespace

std::string WriteFailureText(const std::string& path, const std::string& reason) {
  return "Cannot write \"" + path + "\": " + reason;
}

std::string WriteFileReplacing(const std::string& path, std::string_view text) {
  const fs::path target(path);
  fs::path temporary;
  int error = 0;
  std::FILE* file = CreateTemporary(target, temporary, error);
  if (!file) return WriteFailureText(path, std::strerror(error != 0 ? error : EIO));

  error = WriteAndClose(file, text);
  std::error_code ec;
  if (error == 0) fs::rename(temporary, target, ec);
  if (error == 0 && !ec) return {};

  std::error_code ignored;
  fs::remove(temporary, ignored);
  return WriteFailureText(path, error != 0 ? std::strerror(error) : ec.message());
}

}  // namespace halvane
