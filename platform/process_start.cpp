#include "platform/process_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/paths.h"
#include "platform/text_codec.h"

extern char** environ;

namespace vell::process {

std::vector<std::u16string> SplitParameters(std::u16string_view text) {
  std::vector<std::u16string> result;
  size_t i = 0;
  const size_t n = text.size();
  for (;;) {
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i >= n) break;
    std::u16string arg;
    bool quoted = false;
    while (i < n) {
      const char16_t c = text[i];
      if (!quoted && (c == u' ' || c == u'\t')) break;
      if (c == u'\\') {
        size_t slashes = 0;
        while (i < n && text[i] == u'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && text[i] == u'"') {
          arg.append(slashes / 2, u'\\');
          if (slashes % 2 == 1) {
            arg += u'"';
            ++i;
          }
          // An even count leaves the quote to act below.
        } else {
          arg.append(slashes, u'\\');
        }
        continue;
      }
      if (c == u'"') {
        if (quoted && i + 1 < n && text[i + 1] == u'"') {
          arg += u'"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    result.push_back(std::move(arg));
  }
  return result;
}

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char buffer[PATH_MAX];
  if (::getcwd(buffer, sizeof buffer) == nullptr) return path;
  std::string folder(buffer);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + path;
}

bool LooksLikeUrl(std::u16string_view text) {
  size_t i = 0;
  auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
  if (text.empty() || !letter(text[0])) return false;
  while (i < text.size() && (letter(text[i]) || (text[i] >= u'0' && text[i] <= u'9') ||
                             text[i] == u'+' || text[i] == u'-' || text[i] == u'.')) {
    ++i;
  }
  return i >= 2 && i + 1 < text.size() && text[i] == u':';
}

RunTarget FromPath(const std::string& path) {
  if (IsExecutableFile(path)) return {RunTarget::Program, path};
  if (Exists(path)) return {RunTarget::Document, Absolute(path)};
  return {};
}

}  // namespace

RunTarget LocateRunTarget(std::u16string_view file) {
  if (file.empty()) return {};
  if (LooksLikeUrl(file)) return {RunTarget::Url, text::WideToUtf8(file)};
  if (file.find_first_of(u"/\\") != std::u16string_view::npos) {
    const std::optional<std::string> path = paths::ResolveProgramPath(file);
    if (!path || path->empty()) return {};
    return FromPath(*path);
  }
  if (!text::AnsiRoundTrips(file)) return {};
  const std::string name = text::WideToAnsi(file);
  if (const char* pathList = std::getenv("PATH")) {
    const std::string folders(pathList);
    size_t start = 0;
    while (start <= folders.size()) {
      size_t end = folders.find(':', start);
      if (end == std::string::npos) end = folders.size();
      // An empty entry would mean the current folder: not searched.
      if (end > start) {
        std::string candidate = folders.substr(start, end - start);
        if (candidate.back() != '/') candidate += '/';
        candidate += name;
        if (IsExecutableFile(candidate)) return {RunTarget::Program, candidate};
      }
      start = end + 1;
    }
  }
  const std::optional<std::string> local = paths::ResolveProgramPath(file);
  if (local && !local->empty() && Exists(*local) && !IsExecutableFile(*local)) {
    return {RunTarget::Document, Absolute(*local)};
  }
  return {};
}

namespace {

// Only async-signal-safe calls from here on in the child.
[[noreturn]] void ExecChild(const char* path, char* const* argv, int reportFd) {
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  for (int s = 1; s < NSIG; ++s) ::sigaction(s, &defaults, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execve(path, argv, environ);
  const int error = errno;
  ssize_t ignored = ::write(reportFd, &error, sizeof error);
  (void)ignored;
  ::_exit(127);
}

pid_t WaitFor(pid_t pid, int* status) {
  pid_t r;
  do {
    r = ::waitpid(pid, status, 0);
  } while (r < 0 && errno == EINTR);
  return r;
}

}  // namespace

bool PosixProcessStarter::StartProgram(const std::string& path,
                                       const std::vector<std::string>& arguments, bool wait) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  // No signal handler of this process may run in the child before exec.
  sigset_t all, previous;
  sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &previous);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    if (!wait) {
      // The program runs as a grandchild in a session of its own; the child
      // ends at once and is reaped below, so no zombie is left.
      ::setsid();
      const pid_t grandchild = ::fork();
      if (grandchild < 0) {
        const int error = errno;
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
      }
      if (grandchild > 0) ::_exit(0);
    }
    ExecChild(path.c_str(), argv.data(), report[1]);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ::close(report[1]);
  if (child < 0) {
    ::close(report[0]);
    return false;
  }
  // The pipe closes without a word when exec succeeded.
  int error = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  int status = 0;
  if (!wait || got != 0) {
    WaitFor(child, &status);
    return got == 0;
  }
  WaitFor(child, &status);
  return true;
}

bool PosixProcessStarter::OpenDocument(const RunTarget&) { return false; }

namespace {

ProcessStarter* installed = nullptr;

}  // namespace

ProcessStarter& CurrentProcessStarter() {
  static PosixProcessStarter standard;
  return installed != nullptr ? *installed : standard;
}

ProcessStarter* SetProcessStarter(ProcessStarter* starter) {
  ProcessStarter* previous = installed;
  installed = starter;
  return previous;
}

}  // namespace vell::process
