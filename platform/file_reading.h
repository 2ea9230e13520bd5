// Reading a whole file at once: only a regular file is read, never beyond a
// limit, and opening it never waits (a named pipe nobody writes, a device).
#pragma once

#include <cstdint>
#include <string>

namespace vell::files {

// Why a read failed.
enum class ReadFailure { None, Open, NotRegular, TooLarge, Read };

struct ReadOutcome {
  ReadFailure failed = ReadFailure::None;
  int error = 0;  // errno-style reason for Open and Read
  bool ok() const { return failed == ReadFailure::None; }
};

// Reads the file at path into bytes. A folder fails to open (EISDIR); a
// device, a pipe or a socket is not a regular file; a file of more than
// maxBytes, or one that grows beyond them while it is read, is too large.
ReadOutcome ReadRegularFile(const std::string& path, int64_t maxBytes, std::string& bytes);
// Reads an open file from where it stands to its end, appending to bytes:
// Read with the reason, or TooLarge once bytes would pass maxBytes.
ReadOutcome ReadToEnd(int fd, int64_t maxBytes, std::string& bytes);

}  // namespace vell::files
