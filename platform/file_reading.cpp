#include "platform/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_descriptor.h"

namespace vell::files {

ReadOutcome ReadRegularFile(const std::string& path, int64_t maxBytes, std::string& bytes) {
  bytes.clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return {ReadFailure::Open, errno};
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return {ReadFailure::Open, errno};
  if (S_ISDIR(info.st_mode)) return {ReadFailure::Open, EISDIR};
  if (!S_ISREG(info.st_mode)) return {ReadFailure::NotRegular, 0};
  if (info.st_size > maxBytes) return {ReadFailure::TooLarge, 0};
  bytes.reserve(static_cast<size_t>(info.st_size));
  return ReadToEnd(fd.get(), maxBytes, bytes);
}

ReadOutcome ReadToEnd(int fd, int64_t maxBytes, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {ReadFailure::Read, errno};
    }
    if (n == 0) return {};
    if (static_cast<int64_t>(bytes.size()) + n > maxBytes) return {ReadFailure::TooLarge, 0};
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace vell::files
