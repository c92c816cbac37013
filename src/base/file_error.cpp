#include "base/file_error.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace halvane {

std::string FileErrorReason(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "disk full";
    case EACCES:
    case EPERM:
      return "permission denied";
    case ENAMETOOLONG:
      return "name too long";
    case EROFS:
      return "read-only file system";
    case ENOENT:
    case ENOTDIR:
      return "no such file";
    case EISDIR:
      return "is a folder";
    default: {
      std::string text = std::strerror(error);
      if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
      return text;
    }
  }
}

}  // namespace halvane
