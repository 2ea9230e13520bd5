// vellrun FILE [PARAMETER...]: runs a program file without a window, for the
// program tests. COMMANDLINE reads the runner's path, FILE and the parameters.
// Output goes to stdout, INPUT prompts to stderr, and INPUT answers come from
// stdin, as tests/runner/console_host.h describes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "platform/file_descriptor.h"
#include "platform/text_codec.h"
#include "platform/text_files.h"
#include "tests/runner/console_host.h"
#ifdef VELL_DATABASES
#include "library/sql/database_manager.h"
#endif

using namespace vell;

namespace {

// The bytes of a program file; false with errno set when it cannot be read
// (a folder included).
bool ReadProgram(const char* path, std::string& bytes) {
  vell::FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  if (argc < 2) {
    std::fprintf(stderr, "usage: vellrun FILE [PARAMETER...]\n");
    return 2;
  }
  std::string bytes;
  if (!ReadProgram(argv[1], bytes)) {
    std::fprintf(stderr, "vellrun: cannot read %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }
  const std::u16string program = vell::text::DecodeMarkedText(bytes);

  vell::console::ConsoleHost host(stdout, stderr, stdin);
  InterpreterEntry(1, &host, &host);
  if (gInterpreter == nullptr) return 2;
  vell::RegisterLibraryBuiltins(*gInterpreter);
#ifdef VELL_DATABASES
  vell::sql::InstallDatabaseManager(*gInterpreter);
#endif
  for (int i = 0; i < argc; ++i) {
    const std::u16string part = vell::text::AnsiToWide(argv[i]);
    gInterpreter->commandLine.Append(vellvar(std::u16string_view(part)));
  }
  gInterpreter->programText = program;
  InterpreterEntry(2);
  InterpreterEntry(3);
  std::fflush(stdout);
  return 0;
}
