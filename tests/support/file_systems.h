// File-system conditions for tests: access checked as an ordinary user, a
// small file system that fills up, and a limit on the size of files written.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <string>

namespace vell::test {

// While it lives, files are checked as an ordinary user's: run as root, the
// effective user and group become nobody's (65534) after `folder` is given to
// that user; otherwise nothing changes.
class OrdinaryUser {
 public:
  explicit OrdinaryUser(const std::filesystem::path& folder);
  OrdinaryUser(const OrdinaryUser&) = delete;
  OrdinaryUser& operator=(const OrdinaryUser&) = delete;
  ~OrdinaryUser();

 private:
  bool switched_ = false;
};

// A tmpfs of `bytes` mounted on a new folder for as long as it lives.
// mounted() is false where mounting is not permitted (not root, or a
// container that forbids it); tests then skip.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(size_t bytes);
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  ~SmallFileSystem();
  bool mounted() const { return mounted_; }
  const std::filesystem::path& root() const { return root_; }
  // Fills the file system up to `leave` free bytes or less with a file of its own.
  void FillLeaving(size_t leave);

 private:
  std::filesystem::path root_;
  bool mounted_ = false;
};

// While it lives (or until Lift), files the process writes may not grow past
// `bytes`: a write beyond fails with EFBIG, since SIGXFSZ is ignored from
// then on. applied() is false where the limit could not be set.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() { Lift(); }
  bool applied() const { return applied_; }
  // Puts the previous limit back; false when that failed.
  bool Lift();

 private:
  rlimit previous_{};
  bool applied_ = false;
};

}  // namespace vell::test
