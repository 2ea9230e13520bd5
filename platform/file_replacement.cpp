#include "platform/file_replacement.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/file_descriptor.h"
#include "platform/file_reading.h"

namespace vell::files {
namespace {

// Old contents up to this size are kept in memory while a file is written in
// place, so that a write failing half-way can put them back.
constexpr int64_t kRestorableBytes = int64_t{256} << 20;

ReplaceOutcome Failed(ReplaceStep step, int error) { return {step, error != 0 ? error : EIO}; }

// Clears O_NONBLOCK, which only served to keep the opening from waiting.
void Blocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

void SetTimes(int fd, const ReplaceRequest& request) {
  if (!request.times) return;
  const struct timespec times[2] = {request.times->first, request.times->second};
  ::futimens(fd, times);
}

// Whether `growth` more bytes fit on the file's file system and within the
// process's file size limit; 0 or the reason they do not.
int RoomFor(int fd, int64_t size, int64_t growth) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<uint64_t>(size) > static_cast<uint64_t>(limit.rlim_cur)) {
    return EFBIG;
  }
  if (growth <= 0) return 0;
  struct statvfs room {};
  if (::fstatvfs(fd, &room) != 0 || room.f_frsize == 0) return 0;  // unknown: try
  const uint64_t blocks = ::geteuid() == 0 ? room.f_bfree : room.f_bavail;
  const uint64_t needed = (static_cast<uint64_t>(growth) + room.f_frsize - 1) / room.f_frsize;
  return blocks < needed ? ENOSPC : 0;
}

// The old contents of the open file, when they can be read and are small
// enough to keep.
std::optional<std::string> OldContents(const std::string& path, const struct stat& info) {
  if (info.st_size <= 0) return std::string();
  if (info.st_size > kRestorableBytes) return std::nullopt;
  FileDescriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat same {};
  if (in.get() < 0 || ::fstat(in.get(), &same) != 0 || same.st_dev != info.st_dev ||
      same.st_ino != info.st_ino) {
    return std::nullopt;
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  if (!ReadToEnd(in.get(), kRestorableBytes, bytes).ok()) return std::nullopt;
  return bytes;
}

// Writes into the file itself; `open` is the file opened for writing without
// truncation, or -1 to open (and make) it here. The opening never waits: a
// pipe that nobody reads is an error.
ReplaceOutcome WriteInPlace(const std::string& path, int open, const ReplaceRequest& request) {
  FileDescriptor fd(open >= 0 ? open
                              : ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK,
                                       0666));
  if (fd.get() < 0) return Failed(ReplaceStep::Create, errno);
  Blocking(fd.get());
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failed(ReplaceStep::Write, errno);
  if (!S_ISREG(info.st_mode)) {
    // A pipe or a device takes the bytes as they come.
    if (const int error = request.fill(fd.get()); error != 0) {
      return Failed(ReplaceStep::Write, error);
    }
    if (::close(fd.Release()) != 0) return Failed(ReplaceStep::Write, errno);
    return {};
  }
  // Nothing is overwritten before the new contents are known to fit.
  if (const int error = RoomFor(fd.get(), request.size, request.size - info.st_size); error != 0) {
    return Failed(ReplaceStep::Write, error);
  }
  const std::optional<std::string> old = OldContents(path, info);
  const auto putBack = [&] {
    if (!old || ::lseek(fd.get(), 0, SEEK_SET) != 0) return;
    if (WriteAll(fd.get(), *old) == 0) ::ftruncate(fd.get(), static_cast<off_t>(old->size()));
  };
  int error = request.fill(fd.get());
  off_t end = 0;
  if (error == 0) {
    end = ::lseek(fd.get(), 0, SEEK_CUR);
    if (end < 0 || ::ftruncate(fd.get(), end) != 0) error = errno;
  }
  if (error == 0 && request.mode && ::fchmod(fd.get(), *request.mode) != 0) error = errno;
  if (error == 0) SetTimes(fd.get(), request);
  if (error != 0) {
    putBack();
    return Failed(ReplaceStep::Write, error);
  }
  if (::close(fd.Release()) != 0) return Failed(ReplaceStep::Write, errno);
  return {};
}

// Makes a new file beside `target`; -1 when the folder takes none.
int MakeTemporary(const std::string& target, std::string& temporary) {
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary = folder + "." + base + ".vell-" + std::to_string(::getpid()) + "-" +
                std::to_string(attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

int WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

ReplaceOutcome ReplaceFileContents(const std::string& path, const ReplaceRequest& request) {
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  struct stat link {};
  if (!exists && ::lstat(path.c_str(), &link) == 0) {
    // A link to a file not there yet: the file is made where it points.
    return WriteInPlace(path, -1, request);
  }
  std::string target = path;
  // Refused where writing into the file itself would be refused.
  FileDescriptor current(exists ? ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC) : -1);
  if (exists) {
    if (current.get() < 0) return Failed(ReplaceStep::Create, errno);
    if (!S_ISREG(info.st_mode) || info.st_nlink > 1 || info.st_uid != ::geteuid()) {
      return WriteInPlace(path, current.Release(), request);
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return WriteInPlace(path, current.Release(), request);
    target = real;
    std::free(real);
  }
  std::string temporary;
  FileDescriptor fd(MakeTemporary(target, temporary));
  if (fd.get() < 0) return WriteInPlace(path, current.Release(), request);
  const auto discard = [&] {
    ::close(fd.Release());
    ::unlink(temporary.c_str());
  };
  if (exists) {
    // The new file takes the old one's owner and group, or the old file is
    // written in place.
    struct stat made {};
    if (::fstat(fd.get(), &made) != 0 ||
        ((made.st_uid != info.st_uid || made.st_gid != info.st_gid) &&
         ::fchown(fd.get(), info.st_uid, info.st_gid) != 0)) {
      discard();
      return WriteInPlace(path, current.Release(), request);
    }
  }
  const std::optional<mode_t> mode =
      request.mode ? request.mode : exists ? std::optional<mode_t>(info.st_mode & 07777) : std::nullopt;
  if (mode && ::fchmod(fd.get(), *mode) != 0) {
    const int error = errno;
    discard();
    return Failed(ReplaceStep::Write, error);
  }
  int error = request.fill(fd.get());
  if (error == 0) SetTimes(fd.get(), request);
  if (error == 0 && ::close(fd.Release()) != 0) error = errno;
  if (error != 0) {
    discard();
    return Failed(ReplaceStep::Write, error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    // A file mounted on its own cannot be replaced: it is written in place.
    if (error != EBUSY && error != EXDEV) return Failed(ReplaceStep::Write, error);
    return WriteInPlace(path, current.Release(), request);
  }
  return {};
}

}  // namespace vell::files
