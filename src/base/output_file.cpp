#include "base/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include "base/file_error.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

constexpr int kLinkHops = 40;
constexpr int kNameAttempts = 100;

// A missing file of an output is its folder: the file itself is made.
std::string ReasonOf(int error) {
  if (error == ENOENT || error == ENOTDIR) return "no such folder";
  return FileErrorReason(error);
}

// Follows symbolic links of the last component: the file a write replaces.
std::optional<fs::path> ResolveLinks(fs::path path, int& error) {
  for (int hop = 0; hop < kLinkHops; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::array<char, 4096> target{};
    const ssize_t length = readlink(path.c_str(), target.data(), target.size() - 1);
    if (length < 0) {
      error = errno;
      return std::nullopt;
    }
    const fs::path next(std::string(target.data(), static_cast<std::size_t>(length)));
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  error = ELOOP;
  return std::nullopt;
}

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The temporary name in use, for the signal handler: a fixed buffer, since a
// handler may not allocate.
std::array<char, 4096> gTemporaryName{};
std::atomic<bool> gTemporaryActive{false};

void RememberTemporary(const fs::path& name) {
  const std::string text = name.string();
  if (text.size() >= gTemporaryName.size()) return;
  std::memcpy(gTemporaryName.data(), text.c_str(), text.size() + 1);
  gTemporaryActive.store(true);
}

void ForgetTemporary() {
  gTemporaryActive.store(false);
}

void RemoveTemporaryAndRaise(int signal) {
  if (gTemporaryActive.exchange(false)) unlink(gTemporaryName.data());
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::string UniqueName() {
  static std::mt19937_64 random(std::random_device{}() ^ static_cast<uint64_t>(getpid()));
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = ".halvane-";
  for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof(kLetters) - 1)];
  return name;
}

// One output in the making: an open temporary file in the target's folder.
class TemporaryFile {
 public:
  ~TemporaryFile() { Discard(); }

  // Opens an unnamed file where the file system allows it, else a named one.
  int Open(const fs::path& folder, bool named) {
    folder_ = folder;
    if (!named) {
      fd_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
      if (fd_ >= 0) return 0;
      if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      const fs::path candidate = folder / UniqueName();
      fd_ = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = candidate;
        RememberTemporary(name_);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  int Write(std::string_view bytes, const OutputFaults& faults) {
    std::size_t written = 0;
    while (written < bytes.size()) {
      std::size_t chunk = bytes.size() - written;
      if (written + chunk > faults.failAfterBytes) {
        if (written >= faults.failAfterBytes)
          return faults.writeError != 0 ? faults.writeError : EIO;
        chunk = faults.failAfterBytes - written;
      }
      const ssize_t n = write(fd_, bytes.data() + written, chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 ? errno : EIO;
      written += static_cast<std::size_t>(n);
    }
    return 0;
  }

  int SyncAndKeep(const struct stat* previous, int injectedSyncError) {
    if (previous) {
      if (fchmod(fd_, previous->st_mode & 07777) != 0) return errno;
      if (geteuid() == 0 && fchown(fd_, previous->st_uid, previous->st_gid) != 0) return errno;
    }
    if (injectedSyncError != 0) return injectedSyncError;
    return fsync(fd_) == 0 ? 0 : errno;
  }

  // Gives the unnamed file a name, then closes it.
  int NameAndClose(int injectedCloseError) {
    if (name_.empty()) {
      const std::string self = "/proc/self/fd/" + std::to_string(fd_);
      int error = EEXIST;
      for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        const fs::path candidate = folder_ / UniqueName();
        RememberTemporary(candidate);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
          name_ = candidate;
          error = 0;
        } else {
          error = errno;
          ForgetTemporary();
        }
      }
      if (error != 0) return error;
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) return errno;
    return injectedCloseError;
  }

  int RenameOver(const fs::path& target) {
    if (rename(name_.c_str(), target.c_str()) != 0) return errno;
    name_.clear();
    ForgetTemporary();
    const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      fsync(folder);  // the rename itself reaches the disk; a failure here loses nothing
      close(folder);
    }
    return 0;
  }

 private:
  void Discard() {
    if (fd_ >= 0) close(fd_);
    if (!name_.empty()) {
      unlink(name_.c_str());
      ForgetTemporary();
    }
  }

  fs::path folder_;
  fs::path name_;
  int fd_ = -1;
};

// Writes straight into a terminal, pipe or device.
std::optional<OutputError> WriteInPlace(const std::string& path, const fs::path& target,
                                        std::string_view bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return OutputError{path, ReasonOf(errno)};
  std::size_t written = 0;
  int error = 0;
  while (written < bytes.size() && error == 0) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      error = n < 0 ? errno : EIO;
    else
      written += static_cast<std::size_t>(n);
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return OutputError{path, ReasonOf(error)};
  return std::nullopt;
}

struct Inspection {
  fs::path target;
  bool exists = false;
  struct stat info {};
};

std::optional<OutputError> Inspect(const std::string& path, Inspection& out) {
  if (path.empty()) return OutputError{path, "no file name"};
  int error = 0;
  const auto target = ResolveLinks(fs::path(path), error);
  if (!target) return OutputError{path, ReasonOf(error)};
  out.target = *target;
  if (out.target.filename().empty()) return OutputError{path, "is a folder"};
  if (stat(out.target.c_str(), &out.info) == 0) {
    out.exists = true;
    if (S_ISDIR(out.info.st_mode)) return OutputError{path, "is a folder"};
    if (S_ISREG(out.info.st_mode) && (out.info.st_mode & 0222) == 0)
      return OutputError{path, "file is read-only", true};
  } else if (errno != ENOENT) {
    return OutputError{path, ReasonOf(errno)};
  }
  if (out.exists && !S_ISREG(out.info.st_mode)) return std::nullopt;
  const fs::path folder = FolderOf(out.target);
  struct stat folderInfo {};
  if (stat(folder.c_str(), &folderInfo) != 0) return OutputError{path, ReasonOf(errno)};
  if (!S_ISDIR(folderInfo.st_mode)) return OutputError{path, "no such folder"};
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    if (errno == EROFS) return OutputError{path, ReasonOf(errno)};
    return OutputError{path, "folder not writable"};
  }
  return std::nullopt;
}

}  // namespace

std::string OutputError::Message() const {
  if (readOnly) return "cannot replace " + path + ": " + reason;
  return "cannot write " + path + ": " + reason;
}

std::optional<OutputError> CheckOutputWritable(const std::string& path) {
  Inspection inspection;
  if (auto error = Inspect(path, inspection)) return error;
  const long nameMax = pathconf(FolderOf(inspection.target).c_str(), _PC_NAME_MAX);
  if (nameMax > 0 &&
      inspection.target.filename().string().size() > static_cast<std::size_t>(nameMax))
    return OutputError{path, ReasonOf(ENAMETOOLONG)};
  return std::nullopt;
}

std::optional<OutputError> WriteOutputFile(const std::string& path, std::string_view bytes,
                                           const OutputFaults& faults) {
  Inspection inspection;
  if (auto error = Inspect(path, inspection)) return error;
  if (inspection.exists && !S_ISREG(inspection.info.st_mode))
    return WriteInPlace(path, inspection.target, bytes);

  TemporaryFile file;
  int error = file.Open(FolderOf(inspection.target), faults.namedTemporary);
  if (error == 0) error = file.Write(bytes, faults);
  if (error == 0)
    error = file.SyncAndKeep(inspection.exists ? &inspection.info : nullptr, faults.syncError);
  if (error == 0) error = file.NameAndClose(faults.closeError);
  if (error == 0) error = file.RenameOver(inspection.target);
  if (error != 0) return OutputError{path, ReasonOf(error)};
  return std::nullopt;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  int error = 0;
  const auto left = ResolveLinks(fs::path(a), error);
  const auto right = ResolveLinks(fs::path(b), error);
  if (!left || !right) return a == b;
  std::error_code ignored;
  return fs::weakly_canonical(fs::absolute(*left, ignored), ignored) ==
         fs::weakly_canonical(fs::absolute(*right, ignored), ignored);
}

void RemoveTemporaryOutputsOnSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndRaise;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace halvane
