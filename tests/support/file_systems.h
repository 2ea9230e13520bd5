// File-system conditions for tests: access checked as an ordinary user, and
// a small file system that fills up.
#pragma once

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

}  // namespace vell::test
