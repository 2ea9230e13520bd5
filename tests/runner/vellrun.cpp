// vellrun FILE [PARAMETER...]: runs a program file without a window, for the
// program tests. COMMANDLINE reads the runner's path, FILE and the parameters.
// Output requests go to stdout as the window would show them (UTF-8), a
// message goes to stdout as "[MSG]" and its text and is answered No, an
// INPUT prompt goes to stderr and its answer is one line of stdin; at the end
// of stdin an INPUT ends the program as the dialog's Abort does.
#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/interpreter.h"
#include "library/library_builtins.h"
#include "library/service_router.h"
#include "platform/text_codec.h"
#include "platform/text_files.h"

namespace {

void WriteUtf8(std::FILE* to, std::u16string_view text) {
  const std::string bytes = vell::text::WideToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), to);
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
        if (std::getline(std::cin, line)) {
          while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
          const std::u16string answer = vell::text::Utf8ToWide(line);
          slots[0].SetItem(vellvar(std::u16string_view(answer)));
        } else {
          interp.runState = 13;
          slots[0].SetItem(vellvar(u""));
        }
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

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  if (argc < 2) {
    std::fprintf(stderr, "usage: vellrun FILE [PARAMETER...]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vellrun: cannot read %s\n", argv[1]);
    return 2;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    std::fprintf(stderr, "vellrun: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::u16string program = vell::text::DecodeMarkedText(buffer.str());

  ConsoleHost host;
  InterpreterEntry(1, &host, &host);
  if (gInterpreter == nullptr) return 2;
  vell::RegisterLibraryBuiltins(*gInterpreter);
  for (int i = 0; i < argc; ++i) {
    const std::u16string part = vell::text::AnsiToWide(argv[i]);
    gInterpreter->commandLine.Append(vellvar(std::u16string_view(part)));
  }
  gInterpreter->programText = std::u16string_view(program);
  InterpreterEntry(2);
  InterpreterEntry(3);
  std::fflush(stdout);
  return 0;
}
