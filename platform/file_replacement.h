// Writing a whole file so that a failure leaves the old one as it was.
#pragma once

#include <sys/types.h>

#include <ctime>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vell::files {

// Which step failed: making or opening the file, or writing its contents.
enum class ReplaceStep { None, Create, Write };

struct ReplaceOutcome {
  ReplaceStep failed = ReplaceStep::None;
  int error = 0;  // errno-style reason when a step failed
  bool ok() const { return failed == ReplaceStep::None; }
};

struct ReplaceRequest {
  // The number of bytes `fill` writes, for the check of the room left.
  int64_t size = 0;
  // The permissions the file ends with; by default an existing file keeps its
  // own and a new one gets 0666 less the umask.
  std::optional<mode_t> mode;
  // The access and modification times the file ends with, when given.
  std::optional<std::pair<timespec, timespec>> times;
  // Writes the new contents from the start of `fd`; returns 0 or an errno
  // value.
  std::function<int(int fd)> fill;
};

// Writes all of `bytes` to `fd`, going on after interrupted writes; 0 or the
// errno value of the write that failed.
int WriteAll(int fd, std::string_view bytes);

// Replaces the contents of `path`. The bytes go to a new file beside it,
// which takes its place only when complete, with the old file's owner, group
// and permissions; a symbolic link keeps pointing at the file. A file the
// caller may not write is refused as an open for writing refuses it. Where
// the new file cannot be made or cannot take the old one's owner or group,
// or where the file has further hard links, another owner or is not a plain
// file, the file is written in place: only after checking that the new
// contents fit in the room left, and with the old contents put back when
// the write still fails.
ReplaceOutcome ReplaceFileContents(const std::string& path, const ReplaceRequest& request);

}  // namespace vell::files
