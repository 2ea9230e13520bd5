#include "library/desktop_hooks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace vell {
namespace {

// The clipboard of the console runner: text set by the program, kept in the
// process.
class StandInServices final : public DesktopServices {
 public:
  ClipboardText GetClipboardText() override { return clipboard_; }
  bool SetClipboardText(std::u16string_view wide, std::string_view) override {
    clipboard_.form = ClipboardText::Unicode;
    clipboard_.wide = wide;
    return true;
  }
  TrashResult MoveToTrash(const std::string& path, int* error) override {
    return MoveToDesktopTrash(path, error);
  }

 private:
  ClipboardText clipboard_;
};

StandInServices& StandIn() {
  static StandInServices services;
  return services;
}

DesktopServices* installed = nullptr;

bool MakeFolders(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void AppendNumber(std::string& out, long value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

std::string DeletionDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::string date;
  AppendNumber(date, local.tm_year + 1900L, 4);
  date += '-';
  AppendNumber(date, local.tm_mon + 1, 2);
  date += '-';
  AppendNumber(date, local.tm_mday, 2);
  date += 'T';
  AppendNumber(date, local.tm_hour, 2);
  date += ':';
  AppendNumber(date, local.tm_min, 2);
  date += ':';
  AppendNumber(date, local.tm_sec, 2);
  return date;
}

std::string EscapePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      escaped += c;
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 15];
    }
  }
  return escaped;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) return path;
  return absolute.lexically_normal().string();
}

}  // namespace

DesktopServices& CurrentDesktopServices() {
  return installed != nullptr ? *installed : static_cast<DesktopServices&>(StandIn());
}

void SetDesktopServices(DesktopServices* services) { installed = services; }

std::string HomeTrashFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return std::string(dataHome) + "/Trash";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share/Trash";
}

bool SharesHomeTrashDevice(const std::string& path) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) return false;
  // The trash folder may not exist yet: its nearest existing ancestor decides.
  std::filesystem::path folder = HomeTrashFolder();
  struct stat trash {};
  while (::stat(folder.c_str(), &trash) != 0) {
    if (!folder.has_parent_path() || folder.parent_path() == folder) return false;
    folder = folder.parent_path();
  }
  return trash.st_dev == entry.st_dev;
}

namespace {

// Moves `path` (whose lstat is `entry`) into the trash folder `trash`, its
// files and info folders made as needed, with a record naming `recorded` as
// where the entry was. `missing` is the answer when those folders cannot be
// made.
TrashResult MoveInto(const std::string& trash, const std::string& path, const struct stat& entry,
                     const std::string& recorded, TrashResult missing, int* error) {
  const std::string files = trash + "/files";
  const std::string info = trash + "/info";
  if (!MakeFolders(files) || !MakeFolders(info)) {
    *error = EACCES;
    return missing;
  }
  struct stat trashInfo {};
  if (::stat(files.c_str(), &trashInfo) != 0 || trashInfo.st_dev != entry.st_dev) {
    *error = EXDEV;
    return TrashResult::Failed;
  }
  const std::string base = std::filesystem::path(AbsolutePath(path)).filename().string();
  if (base.empty() || base == "." || base == "..") {
    *error = EINVAL;
    return TrashResult::Failed;
  }
  const std::string record =
      "[Trash Info]\nPath=" + EscapePath(recorded) + "\nDeletionDate=" + DeletionDate() + "\n";
  for (int n = 1; n < 100000; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const std::string infoPath = info + "/" + name + ".trashinfo";
    const int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      *error = errno;
      return TrashResult::Failed;
    }
    const bool written =
        ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    ::close(fd);
    const std::string target = files + "/" + name;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0) {
      ::unlink(infoPath.c_str());
      continue;
    }
    if (!written || ::rename(path.c_str(), target.c_str()) != 0) {
      *error = written ? errno : EIO;
      ::unlink(infoPath.c_str());
      return TrashResult::Failed;
    }
    return TrashResult::Moved;
  }
  *error = EEXIST;
  return TrashResult::Failed;
}

// The path with its folders' links resolved (the entry itself is not
// followed); empty when the folder cannot be found.
std::string RealFolderPath(const std::string& path) {
  const std::filesystem::path absolute = AbsolutePath(path);
  char* folder = ::realpath(absolute.parent_path().c_str(), nullptr);
  if (folder == nullptr) return {};
  std::string real = folder;
  std::free(folder);
  if (real != "/") real += '/';
  return real + absolute.filename().string();
}

// A folder made for the user alone, or found as one: not a link, owned by
// the user.
bool PrivateFolder(const std::string& folder) {
  ::mkdir(folder.c_str(), 0700);
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid();
}

}  // namespace

TrashResult MoveToHomeTrash(const std::string& path, int* error) {
  *error = 0;
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) {
    *error = errno;
    return TrashResult::Failed;
  }
  return MoveInto(HomeTrashFolder(), path, entry, AbsolutePath(path), TrashResult::Failed, error);
}

TrashResult MoveToDesktopTrash(const std::string& path, int* error) {
  *error = 0;
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) {
    *error = errno;
    return TrashResult::Failed;
  }
  if (SharesHomeTrashDevice(path)) return MoveToHomeTrash(path, error);
  const std::string real = RealFolderPath(path);
  if (real.empty()) {
    *error = errno != 0 ? errno : ENOENT;
    return TrashResult::Failed;
  }
  // The top folder of the entry's file system: the highest folder above it
  // on the same device.
  std::filesystem::path top = std::filesystem::path(real).parent_path();
  struct stat folder {};
  if (::stat(top.c_str(), &folder) != 0) {
    *error = errno;
    return TrashResult::Failed;
  }
  if (folder.st_dev != entry.st_dev) {
    *error = EBUSY;  // the entry is a file system of its own
    return TrashResult::Failed;
  }
  while (top.has_parent_path() && top.parent_path() != top) {
    struct stat above {};
    if (::stat(top.parent_path().c_str(), &above) != 0 || above.st_dev != entry.st_dev) break;
    top = top.parent_path();
  }
  const std::string uid = std::to_string(::geteuid());
  const std::string recorded =
      std::filesystem::path(real).lexically_relative(top).string();
  // A trash folder made by the administrator: a folder with the sticky bit,
  // not a link; each user has a folder of their own in it.
  const std::string shared = (top / ".Trash").string();
  struct stat sharedInfo {};
  if (::lstat(shared.c_str(), &sharedInfo) == 0 && S_ISDIR(sharedInfo.st_mode) &&
      (sharedInfo.st_mode & S_ISVTX) != 0 && PrivateFolder(shared + "/" + uid)) {
    const TrashResult result =
        MoveInto(shared + "/" + uid, path, entry, recorded, TrashResult::NoTrash, error);
    if (result != TrashResult::NoTrash) return result;
  }
  const std::string own = (top / (".Trash-" + uid)).string();
  if (!PrivateFolder(own)) {
    *error = EACCES;
    return TrashResult::NoTrash;
  }
  return MoveInto(own, path, entry, recorded, TrashResult::NoTrash, error);
}

}  // namespace vell
