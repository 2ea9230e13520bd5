// The file, folder and clipboard keywords. Paths come from programs in the
// form they were written for: backslashes are folder separators, letter case
// need not match, and "*" and "?" in the last component of a COPY or KILL
// source match any names (ignoring case). A path that cannot be written in the
// locale's character set makes the operation fail; it is never approximated.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "library/builtin_support.h"
#include "library/desktop_hooks.h"
#include "library/list_file_builtins.h"
#include "library/services.h"
#include "library/string_list.h"
#include "platform/file_descriptor.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace vell {
namespace {

// Results of COPY and KILL: 0 on success, else a code that says why.
enum FileOperationCode : int {
  CodeDone = 0,
  CodeNotFound = 2,
  CodeAccessDenied = 5,
  CodeDiskFull = 112,
  CodeSameFile = 113,
  CodeDestinationInsideSource = 118,
  CodeInvalidName = 123,
  CodeAlreadyExists = 183,
  CodeOtherError = 1026,
};

int CodeFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return CodeNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
      return CodeAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return CodeDiskFull;
    case EEXIST:
    case ENOTEMPTY:
      return CodeAlreadyExists;
    case ENAMETOOLONG:
    case EINVAL:
      return CodeInvalidName;
    default:
      return CodeOtherError;
  }
}

std::u16string WithSlashes(std::u16string_view path) {
  std::u16string result(path);
  std::replace(result.begin(), result.end(), u'\\', u'/');
  return result;
}

std::optional<std::string> Resolve(std::u16string_view path) {
  if (path.empty()) return std::nullopt;
  std::optional<std::string> resolved = paths::ResolveProgramPath(path);
  if (resolved && resolved->empty()) return std::nullopt;
  return resolved;
}

// A path whose last component names something to be made: the folders are
// found as for any path, the last component is taken as spelled.
std::optional<std::string> ResolveNew(std::u16string_view path) {
  const std::u16string slashed = WithSlashes(path);
  const size_t slash = slashed.rfind(u'/');
  if (slash == std::u16string::npos || slash + 1 == slashed.size()) return Resolve(slashed);
  const std::u16string_view last = std::u16string_view(slashed).substr(slash + 1);
  if (!text::AnsiRoundTrips(last)) return std::nullopt;
  std::optional<std::string> folder =
      slash == 0 ? std::optional<std::string>("") : Resolve(slashed.substr(0, slash));
  if (!folder) return std::nullopt;
  return *folder + "/" + text::WideToAnsi(last);
}

// A path whose last component names something to be made, that component
// taken as spelled even where it names an existing entry in another case.
std::optional<std::string> SpelledNew(std::u16string_view path) {
  const std::u16string slashed = WithSlashes(path);
  const size_t slash = slashed.rfind(u'/');
  if (slash != std::u16string::npos) return ResolveNew(slashed);
  if (slashed.empty() || !text::AnsiRoundTrips(slashed)) return std::nullopt;
  return text::WideToAnsi(slashed);
}

bool HasWildcard(std::u16string_view text) {
  return text.find_first_of(u"*?") != std::u16string_view::npos;
}

// The last component of a path written with slashes.
std::u16string_view LastComponent(std::u16string_view slashed) {
  const size_t slash = slashed.rfind(u'/');
  return slash == std::u16string_view::npos ? slashed : slashed.substr(slash + 1);
}

bool MatchFrom(std::u16string_view pattern, std::u16string_view name) {
  size_t p = 0;
  size_t n = 0;
  size_t starP = std::u16string_view::npos;
  size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || text::WideToLower(pattern[p]) ==
                                                                text::WideToLower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// "*" and "?" match ignoring case; a pattern ending in ".*" also matches
// names without an extension, so "*.*" matches every name.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  if (MatchFrom(pattern, name)) return true;
  return pattern.ends_with(u".*") && MatchFrom(pattern.substr(0, pattern.size() - 2), name);
}

// The names in a folder (without "." and ".."), or nothing when it cannot be read.
std::optional<std::vector<std::string>> FolderEntries(const std::string& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string BaseName(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const size_t slash = trimmed.rfind('/');
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

// The entries a COPY or KILL source names: the path itself, or every match
// of a pattern in its last component (names beginning with "." only when the
// pattern does too). Returns a result code when there is none.
int ExpandSource(std::u16string_view source, std::vector<std::string>& entries) {
  const std::u16string slashed = WithSlashes(source);
  const size_t slash = slashed.rfind(u'/');
  const std::u16string_view last = LastComponent(slashed);
  if (!HasWildcard(last)) {
    const std::optional<std::string> path = Resolve(slashed);
    if (!path) return CodeInvalidName;
    struct stat info {};
    if (::lstat(path->c_str(), &info) != 0) return CodeFromErrno(errno);
    entries.push_back(*path);
    return CodeDone;
  }
  if (!text::AnsiRoundTrips(last)) return CodeInvalidName;
  std::optional<std::string> folder;
  if (slash == std::u16string::npos) {
    folder = "";
  } else if (slash == 0) {
    folder = "/";
  } else {
    folder = Resolve(slashed.substr(0, slash));
  }
  if (!folder) return CodeInvalidName;
  const auto names = FolderEntries(*folder);
  if (!names) return CodeFromErrno(errno);
  for (const std::string& name : *names) {
    if (name[0] == '.' && !last.starts_with(u".")) continue;
    if (WildcardMatch(last, text::AnsiToWide(name))) entries.push_back(JoinPath(*folder, name));
  }
  if (entries.empty()) return CodeNotFound;
  std::sort(entries.begin(), entries.end());
  return CodeDone;
}

// Copies the bytes of an open file to `out`; 0 or an errno value.
int CopyBytes(int in, int out) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) break;
    if (const int error = files::WriteAll(out, std::string_view(buffer, static_cast<size_t>(n)));
        error != 0) {
      return error;
    }
  }
  return 0;
}

// Copies a regular file's bytes, permissions and times. An existing target
// keeps what it held unless the whole copy succeeds; `exclusive` refuses an
// existing target instead.
int CopyFileContents(const std::string& source, const std::string& target, bool exclusive) {
  FileDescriptor in(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (in.get() < 0) return CodeFromErrno(errno);
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) return CodeFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return CodeAccessDenied;
  if (!exclusive) {
    files::ReplaceRequest request;
    request.size = info.st_size;
    request.mode = info.st_mode & 0777;
    request.times = std::pair(info.st_atim, info.st_mtim);
    request.fill = [&](int out) { return CopyBytes(in.get(), out); };
    const files::ReplaceOutcome outcome = files::ReplaceFileContents(target, request);
    return outcome.ok() ? CodeDone : CodeFromErrno(outcome.error);
  }
  FileDescriptor out(
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 0777));
  if (out.get() < 0) return CodeFromErrno(errno);
  if (const int error = CopyBytes(in.get(), out.get()); error != 0) {
    return CodeFromErrno(error);
  }
  ::fchmod(out.get(), info.st_mode & 0777);
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  ::futimens(out.get(), times);
  if (::close(out.Release()) != 0) return CodeFromErrno(errno);
  return CodeDone;
}

bool SameEntry(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int CopyEntry(const std::string& source, const std::string& target, bool topLevel);

int CopyFolder(const std::string& source, const std::string& target, const struct stat& info) {
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (!S_ISDIR(existing.st_mode)) return CodeAlreadyExists;
  } else if (::mkdir(target.c_str(), (info.st_mode & 0777) | 0700) != 0) {
    return CodeFromErrno(errno);
  }
  const auto names = FolderEntries(source);
  if (!names) return CodeFromErrno(errno);
  for (const std::string& name : *names) {
    const int code = CopyEntry(JoinPath(source, name), JoinPath(target, name), false);
    if (code != CodeDone) return code;
  }
  return CodeDone;
}

int CopySymlink(const std::string& source, const std::string& target) {
  std::error_code error;
  const std::filesystem::path link = std::filesystem::read_symlink(source, error);
  if (error) return CodeFromErrno(error.value());
  struct stat existing {};
  if (::lstat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return CodeAlreadyExists;
    if (::unlink(target.c_str()) != 0) return CodeFromErrno(errno);
  }
  if (::symlink(link.c_str(), target.c_str()) != 0) return CodeFromErrno(errno);
  return CodeDone;
}

// Copies a file or a whole folder. Below the top level, symbolic links are
// copied as links (so a link to a parent folder cannot make the copy
// endless) and special files are left out.
int CopyEntry(const std::string& source, const std::string& target, bool topLevel) {
  struct stat info {};
  if ((topLevel ? ::stat(source.c_str(), &info) : ::lstat(source.c_str(), &info)) != 0) {
    return CodeFromErrno(errno);
  }
  if (S_ISLNK(info.st_mode)) return CopySymlink(source, target);
  struct stat existing {};
  const bool targetExists = ::stat(target.c_str(), &existing) == 0;
  if (targetExists && SameEntry(info, existing)) return CodeSameFile;
  if (S_ISDIR(info.st_mode)) {
    if (topLevel) {
      std::error_code fromError;
      std::error_code toError;
      const auto from = std::filesystem::weakly_canonical(source, fromError);
      const auto to = std::filesystem::weakly_canonical(target, toError);
      if (!fromError && !toError) {
        const std::string prefix = from.string() + "/";
        if (to.string().starts_with(prefix)) return CodeDestinationInsideSource;
      }
    }
    return CopyFolder(source, target, info);
  }
  if (S_ISREG(info.st_mode)) {
    if (targetExists && S_ISDIR(existing.st_mode)) return CodeAlreadyExists;
    return CopyFileContents(source, target, false);
  }
  return topLevel ? CodeAccessDenied : CodeDone;
}

int MakeFolders(const std::string& folder) {
  if (folder.empty()) return CodeDone;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return CodeFromErrno(error.value());
  return CodeDone;
}

// COPY as the desktop's copy does it: into an existing folder, or to the path
// named; folders with everything in them; existing files overwritten;
// missing target folders made.
int CopyPaths(std::u16string_view sourceText, std::u16string_view targetText) {
  std::vector<std::string> sources;
  if (int code = ExpandSource(sourceText, sources); code != CodeDone) return code;
  const std::u16string slashedTarget = WithSlashes(targetText);
  const std::optional<std::string> target = Resolve(slashedTarget);
  if (!target) return CodeInvalidName;
  struct stat info {};
  const bool exists = ::stat(target->c_str(), &info) == 0;
  bool intoFolder = exists && S_ISDIR(info.st_mode);
  const bool pattern = HasWildcard(LastComponent(WithSlashes(sourceText)));
  if (!exists && (pattern || slashedTarget.ends_with(u'/'))) {
    if (int code = MakeFolders(*target); code != CodeDone) return code;
    intoFolder = true;
  }
  if (!intoFolder && sources.size() > 1) return CodeAlreadyExists;
  for (const std::string& source : sources) {
    std::string destination = intoFolder ? JoinPath(*target, BaseName(source)) : *target;
    if (!intoFolder) {
      const std::string parent = std::filesystem::path(destination).parent_path().string();
      if (int code = MakeFolders(parent); code != CodeDone) return code;
    }
    if (int code = CopyEntry(source, destination, true); code != CodeDone) return code;
  }
  return CodeDone;
}

// KILL never touches the empty path, ".", "..", "/" or a path ending in
// "." or "..".
bool RefusedForDeletion(std::u16string_view path) {
  std::u16string slashed = WithSlashes(path);
  while (!slashed.empty() && slashed.back() == u'/') slashed.pop_back();
  if (slashed.empty()) return true;
  const std::u16string_view last = LastComponent(slashed);
  return last == u"." || last == u"..";
}

// KILL moves every match to the trash. Only where the file system has no
// usable trash is an entry deleted for good.
int DeletePaths(std::u16string_view pathText) {
  if (RefusedForDeletion(pathText)) return CodeInvalidName;
  std::u16string slashed = WithSlashes(pathText);
  while (slashed.size() > 1 && slashed.back() == u'/') slashed.pop_back();
  std::vector<std::string> entries;
  if (int code = ExpandSource(slashed, entries); code != CodeDone) return code;
  for (const std::string& entry : entries) {
    int error = 0;
    switch (CurrentDesktopServices().MoveToTrash(entry, &error)) {
      case TrashResult::Moved:
        break;
      case TrashResult::NoTrash: {
        std::error_code removeError;
        std::filesystem::remove_all(entry, removeError);
        if (removeError) return CodeFromErrno(removeError.value());
        break;
      }
      case TrashResult::Failed:
        return error != 0 ? CodeFromErrno(error) : CodeOtherError;
    }
  }
  return CodeDone;
}

// Renames without ever replacing an existing entry.
bool RenamePath(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  const int error = errno;
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return false;
  struct stat existing {};
  if (::lstat(to.c_str(), &existing) == 0) return false;
  if (error == EXDEV) {
    // Another file system: a file is copied and then removed; a folder is not moved.
    if (!S_ISREG(info.st_mode)) return false;
    if (CopyFileContents(from, to, true) != CodeDone) {
      ::unlink(to.c_str());
      return false;
    }
    return ::unlink(from.c_str()) == 0;
  }
  if (error != EINVAL && error != ENOSYS && error != EOPNOTSUPP) return false;
  // The file system cannot rename without replacing: a link made under the
  // new name fails when the name exists.
  if (!S_ISDIR(info.st_mode) && ::link(from.c_str(), to.c_str()) == 0) {
    return ::unlink(from.c_str()) == 0;
  }
  if (errno == EEXIST) return false;
  if (::lstat(to.c_str(), &existing) == 0) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

// Whether `to` is `from` itself: the same entry under the same name.
bool IsItself(const std::string& from, const std::string& to) {
  struct stat a {};
  struct stat b {};
  return ::lstat(from.c_str(), &a) == 0 && ::lstat(to.c_str(), &b) == 0 && SameEntry(a, b) &&
         BaseName(from) == BaseName(to);
}

// Gives an entry the name `to`, which differs from its own only in case.
// Any entry that name finds must be the entry itself.
bool RenameCase(const std::string& from, const std::string& to) {
  struct stat a {};
  struct stat b {};
  if (::lstat(from.c_str(), &a) != 0) return false;
  if (::lstat(to.c_str(), &b) == 0 && !SameEntry(a, b)) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

std::u16string FolderFiles(std::u16string_view folderText) {
  std::optional<std::string> folder;
  if (folderText.empty()) {
    folder = ".";
  } else {
    folder = Resolve(folderText);
  }
  if (!folder) return {};
  const auto names = FolderEntries(*folder);
  if (!names) return {};
  std::vector<std::u16string> files;
  for (const std::string& name : *names) {
    if (name[0] == '.') continue;
    struct stat info {};
    if (::stat(JoinPath(*folder, name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    files.push_back(text::AnsiToWide(name));
  }
  std::sort(files.begin(), files.end(), [](const std::u16string& a, const std::u16string& b) {
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  std::u16string result;
  for (const std::u16string& name : files) {
    if (!result.empty()) result += u'\n';
    result += name;
  }
  return result;
}

}  // namespace

HandlerResult FnCopy(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string source(WideArgument(args[0]));
  const std::u16string target(WideArgument(args[1]));
  ctx.value = CopyPaths(source, target);
  return ResultDone;
}

HandlerResult FnKill(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  ctx.value = DeletePaths(WideArgument(args[0]));
  return ResultDone;
}

HandlerResult FnRename(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::optional<std::string> from = Resolve(WithSlashes(WideArgument(args[0])));
  const std::optional<std::string> to = ResolveNew(WideArgument(args[1]));
  if (!from || !to) {
    ctx.value = 0;
    return ResultDone;
  }
  // A new name that differs from the old one only in letter case is found as
  // the entry itself: that is a rename to the name as spelled.
  const std::optional<std::string> spelled = SpelledNew(WideArgument(args[1]));
  ctx.value = (IsItself(*from, *to) && spelled && *spelled != *from ? RenameCase(*from, *spelled)
                                                                     : RenamePath(*from, *to))
                  ? 1
                  : 0;
  return ResultDone;
}

HandlerResult FnMkdir(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::optional<std::string> path = ResolveNew(WideArgument(args[0]));
  ctx.value = (path && ::mkdir(path->c_str(), 0777) == 0) ? 1 : 0;
  return ResultDone;
}

HandlerResult FnChdir(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::optional<std::string> path = Resolve(WithSlashes(WideArgument(args[0])));
  ctx.value = (path && ::chdir(path->c_str()) == 0) ? 1 : 0;
  return ResultDone;
}

HandlerResult FnExist(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::optional<std::string> path = Resolve(WithSlashes(WideArgument(args[0])));
  struct stat info {};
  ctx.value = (path && ::stat(path->c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) ? 1 : 0;
  return ResultDone;
}

// WRITEFILE and WRITEANSIFILE: the service shows a failure itself.
template <int Service>
HandlerResult WriteFileKeyword(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<2> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  SendServiceRequest(interp, ctx, Service, args.data(), 2);
  ctx.value = 1;
  return ResultDone;
}

HandlerResult FnWriteFile(Interpreter& interp, ExecContext& ctx) {
  return WriteFileKeyword<ServiceWriteFile>(interp, ctx);
}

HandlerResult FnWriteAnsiFile(Interpreter& interp, ExecContext& ctx) {
  return WriteFileKeyword<ServiceWriteAnsiFile>(interp, ctx);
}

HandlerResult FnGetFolderFile(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string names = FolderFiles(WithSlashes(WideArgument(args[0])));
  ctx.value = std::u16string_view(names);
  return ResultDone;
}

// Reads no argument list: whatever follows belongs to the expression.
HandlerResult FnGetClipboard(Interpreter&, ExecContext& ctx) {
  const ClipboardText clipboard = CurrentDesktopServices().GetClipboardText();
  switch (clipboard.form) {
    case ClipboardText::Unicode:
      ctx.value = std::u16string_view(clipboard.wide);
      break;
    case ClipboardText::Ansi:
      ctx.value.AssignNarrow(clipboard.ansi);
      break;
    case ClipboardText::None:
      ctx.value.AssignNarrow("");
      break;
  }
  return ResultDone;
}

HandlerResult FnSetClipboard(Interpreter& interp, ExecContext& ctx) {
  ArgumentSlots<1> args;
  if (!ReadExactArguments(interp, ctx, args)) return ResultFailed;
  const std::u16string_view text = WideArgument(args[0]);
  CurrentDesktopServices().SetClipboardText(text, text::WideToAnsi(text));
  ctx.value = 1;
  return ResultDone;
}

void RegisterFileKeywords(Interpreter& interp) {
  RegisterBuiltin(interp, u"COPY", FnCopy);
  RegisterBuiltin(interp, u"KILL", FnKill);
  RegisterBuiltin(interp, u"RENAME", FnRename);
  RegisterBuiltin(interp, u"MKDIR", FnMkdir);
  RegisterBuiltin(interp, u"CHDIR", FnChdir);
  RegisterBuiltin(interp, u"EXIST", FnExist);
  RegisterBuiltin(interp, u"READFILE", ServiceKeyword<ServiceReadFile, 1>);
  RegisterBuiltin(interp, u"WRITEFILE", FnWriteFile);
  RegisterBuiltin(interp, u"WRITEANSIFILE", FnWriteAnsiFile);
  RegisterBuiltin(interp, u"GETFOLDERFILE", FnGetFolderFile);
  RegisterBuiltin(interp, u"GETCLIPBOARD", FnGetClipboard);
  RegisterBuiltin(interp, u"SETCLIPBOARD", FnSetClipboard);
}

}  // namespace vell
