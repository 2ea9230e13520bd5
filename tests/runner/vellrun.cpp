// vellrun FILE [PARAMETER...]: runs a program file without a window, for the
// program tests. COMMANDLINE reads the runner's path, FILE and the parameters.
// Output requests go to stdout as the window would show them (UTF-8), a
// message goes to stdout as "[MSG]" and its text and is answered No, an
// INPUT prompt goes to stderr and its answer is one line of stdin; at the end
// of stdin an INPUT ends the program as the dialog's Abort does. An answer
// longer than any text a value holds, or one that exhausts the memory, is
// reported as the window reports a failed allocation and ends the program.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "core/interpreter_state.h"
#include "library/library_builtins.h"
#include "library/service_router.h"
#include "platform/file_descriptor.h"
#include "platform/text_codec.h"
#include "platform/text_files.h"
#ifdef VELL_DATABASES
#include "library/sql/database_manager.h"
#endif

using namespace vell;

namespace {

void WriteUtf8(std::FILE* to, std::u16string_view text) {
  const std::string bytes = vell::text::WideToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), to);
}

constexpr char16_t kNoMemory[] = u"cannot allocate memory ";

enum class AnswerRead { Line, End, TooLong };

// One line of stdin without its line break, at most as long as the longest
// text a value holds (counted in UTF-16 units as the bytes arrive).
AnswerRead ReadAnswer(std::string& line) {
  constexpr int64_t kLongestUnits = kMaxTextBytes / 2;
  line.clear();
  int64_t units = 0;
  int c;
  while ((c = ::getc_unlocked(stdin)) != EOF) {
    if (c == '\n') return AnswerRead::Line;
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;  // four bytes: a surrogate pair
    if (units > kLongestUnits) return AnswerRead::TooLong;
    line += static_cast<char>(c);
  }
  return line.empty() ? AnswerRead::End : AnswerRead::Line;
}

class ConsoleHost : public HostRequestHandler, public HostShell, public vell::ServiceErrorSink {
 public:
  void HandleHostRequest(Interpreter& interp) override {
    vellarray* slots = interp.requestSlots;
    switch (slots[0].ItemInt()) {
      case RequestPrint: {
        vellvar value(slots[1].item);
        WriteUtf8(stdout, value.WideText());
        break;
      }
      case RequestMessage: {
        vellvar value(slots[1].item);
        std::fputs("[MSG]", stdout);
        WriteUtf8(stdout, value.WideText());
        slots[0].SetItem(vellvar(0));
        break;
      }
      case RequestInput: {
        vellvar prompt(slots[1].item);
        std::fflush(stdout);
        WriteUtf8(stderr, prompt.WideText());
        std::fflush(stderr);
        std::string line;
        AnswerRead read = AnswerRead::End;
        try {
          read = ReadAnswer(line);
          if (read == AnswerRead::Line) {
            while (!line.empty() && line.back() == '\r') line.pop_back();
            const std::u16string answer = vell::text::Utf8ToWide(line);
            slots[0].SetItem(vellvar(std::u16string_view(answer)));
            break;
          }
        } catch (const std::bad_alloc&) {
          read = AnswerRead::TooLong;
        }
        line = std::string();
        if (read == AnswerRead::TooLong) ShowWarning(kNoMemory);
        interp.runState = StateEnd;
        slots[0].SetItem(vellvar(u""));
        break;
      }
      case RequestService:
        vell::RouteServiceRequest(interp, *this);
        break;
      default:
        break;
    }
  }
  void PostCloseMainWindow() override {}
  void ShowWarning(std::u16string_view text) override {
    std::fputs("[WARNING]", stdout);
    WriteUtf8(stdout, text);
  }
  void ReleaseProgramComponents() override {}
  void ShowServiceError(std::u16string_view message) override {
    std::fputs("[MSG]", stdout);
    WriteUtf8(stdout, message);
  }
};

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

  ConsoleHost host;
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
