#include "tests/support/file_systems.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vell::test {

namespace {
constexpr uid_t kNobody = 65534;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  ::signal(SIGXFSZ, SIG_IGN);
  if (::getrlimit(RLIMIT_FSIZE, &previous_) != 0) return;
  rlimit limited = previous_;
  limited.rlim_cur = bytes;
  applied_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

bool FileSizeLimit::Lift() {
  if (!applied_) return true;
  applied_ = false;
  return ::setrlimit(RLIMIT_FSIZE, &previous_) == 0;
}

OrdinaryUser::OrdinaryUser(const std::filesystem::path& folder) {
  if (::geteuid() != 0) return;
  if (::chown(folder.c_str(), kNobody, kNobody) != 0) return;
  if (::setegid(kNobody) != 0) return;
  if (::seteuid(kNobody) != 0) {
    ::setegid(0);
    return;
  }
  switched_ = true;
}

OrdinaryUser::~OrdinaryUser() {
  if (!switched_) return;
  (void)::seteuid(0);
  (void)::setegid(0);
}

SmallFileSystem::SmallFileSystem(size_t bytes) {
  char pattern[] = "/tmp/vell-small-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return;
  root_ = pattern;
  const std::string options = "size=" + std::to_string(bytes);
  mounted_ = ::mount("tmpfs", root_.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
  if (root_.empty()) return;
  if (mounted_) ::umount2(root_.c_str(), MNT_DETACH);
  std::error_code error;
  std::filesystem::remove_all(root_, error);
}

void SmallFileSystem::FillLeaving(size_t leave) {
  const std::string filler = (root_ / ".filler").string();
  const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  const std::vector<char> block(4096, 'f');
  for (;;) {
    struct statvfs room {};
    if (::fstatvfs(fd, &room) != 0) break;
    if (room.f_bavail * room.f_frsize <= leave) break;
    if (::write(fd, block.data(), block.size()) <= 0) break;
  }
  ::close(fd);
}

}  // namespace vell::test
