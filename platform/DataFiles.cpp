#include "platform/DataFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string Describe(const std::string &what, const std::string &path) {
  return what + " " + path + ": " + strerror(errno);
}

// Writes all of text; false on the first failed write (errno tells why).
bool WriteAll(int fd, const std::string &text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      if (n == 0)
        errno = ENOSPC;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

std::string FormatNow(const char *format) {
  const time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  char text[64];
  strftime(text, sizeof text, format, &local);
  return text;
}

} // namespace

std::string DataHome() {
  const char *data = getenv("XDG_DATA_HOME");
  if (data && data[0] == '/')
    return data;
  const char *home = getenv("HOME");
  if (home && home[0] == '/')
    return std::string(home) + "/.local/share";
  return "";
}

bool MakeFolders(const std::string &path, std::string &error) {
  if (path.empty()) {
    error = "no folder named";
    return false;
  }
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      error = Describe("cannot create folder", part);
      return false;
    }
    if (slash == std::string::npos)
      break;
  }
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    error = Describe("cannot create folder", path);
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::string &path, const std::string &text, std::string &error) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(&temporary[0]);
  if (fd < 0) {
    error = Describe("cannot write", path);
    return false;
  }
  fchmod(fd, 0644);
  bool written = WriteAll(fd, text) && fsync(fd) == 0;
  int failure = written ? 0 : errno;
  if (close(fd) != 0 && written) {
    written = false;
    failure = errno;
  }
  if (!written) {
    errno = failure;
    error = Describe("cannot write", path);
    unlink(temporary.c_str());
    return false;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    error = Describe("cannot write", path);
    unlink(temporary.c_str());
    return false;
  }
  // The rename is durable only once the folder's entry is on disk too.
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    fsync(folderFd);
    close(folderFd);
  }
  return true;
}

bool ReadSmallFile(const std::string &path, size_t maxBytes, std::string &text, std::string &error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Describe("cannot open", path);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    error = "not a regular file: " + path;
    return false;
  }
  if (size_t(info.st_size) > maxBytes) {
    close(fd);
    error = "the file is larger than " + std::to_string(maxBytes / 1024) + " KB: " + path;
    return false;
  }
  std::string read;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      error = Describe("cannot read", path);
      close(fd);
      return false;
    }
    if (n == 0)
      break;
    read.append(buffer, size_t(n));
    if (read.size() > maxBytes) { // grew while being read
      close(fd);
      error = "the file is larger than " + std::to_string(maxBytes / 1024) + " KB: " + path;
      return false;
    }
  }
  close(fd);
  text.swap(read);
  return true;
}

bool FileExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

long long ModifiedTime(const std::string &path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0)
    return 0;
  return (long long)info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
}

bool PathExists(const std::string &path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string MoveAside(const std::string &path, std::string &error) {
  const std::string base = path + ".broken-" + TimeStampNow();
  std::string aside = base;
  for (int n = 2; PathExists(aside) && n < 100; ++n)
    aside = base + "-" + std::to_string(n);
  if (PathExists(aside) || rename(path.c_str(), aside.c_str()) != 0) {
    error = Describe("cannot rename", path);
    return "";
  }
  return aside;
}

bool FileLock::TryLock(const std::string &path) {
  Release();
  // Close-on-exec: a child (the engine program) must not keep the lock alive.
  // Read-only: a lock needs no writing, and a folder that turns read-only
  // under a running game is not held busy by it.
  const int opened = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  if (opened < 0)
    return false;
  if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
    close(opened);
    return false;
  }
  fd = opened;
  return true;
}

void FileLock::Release() {
  if (fd >= 0)
    close(fd); // closing the only descriptor drops the lock
  fd = -1;
}

bool RemoveFile(const std::string &path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

std::string PgnDateToday() { return FormatNow("%Y.%m.%d"); }

std::string TimeStampNow() { return FormatNow("%Y-%m-%d_%H-%M-%S"); }

} // namespace platform
