#include "tests/runner/console_host.h"

#include <new>
#include <string>

#include "platform/text_codec.h"

namespace vell::console {

namespace {

void WriteUtf8(std::FILE* to, std::u16string_view text) {
  const std::string bytes = vell::text::WideToUtf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), to);
}

constexpr char16_t kNoMemory[] = u"cannot allocate memory ";

enum class AnswerRead { Line, End, TooLong };

// One line of the input without its line break, at most as long as the
// longest text a value holds (counted in UTF-16 units as the bytes arrive).
AnswerRead ReadAnswer(std::FILE* in, std::string& line) {
  constexpr int64_t kLongestUnits = kMaxTextBytes / 2;
  line.clear();
  int64_t units = 0;
  int c;
  while ((c = ::getc_unlocked(in)) != EOF) {
    if (c == '\n') return AnswerRead::Line;
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;  // four bytes: a surrogate pair
    if (units > kLongestUnits) return AnswerRead::TooLong;
    line += static_cast<char>(c);
  }
  return line.empty() ? AnswerRead::End : AnswerRead::Line;
}

}  // namespace

const std::atomic<int> ConsoleHost::kNeverPump{0};

void ConsoleHost::HandleHostRequest(Interpreter& interp) {
  vellarray* slots = RequestSlots(interp);
  switch (slots[0].ItemInt()) {
    case RequestPrint: {
      vellvar value(slots[1].item);
      WriteUtf8(out_, value.WideText());
      break;
    }
    case RequestMessage: {
      vellvar value(slots[1].item);
      std::fputs("[MSG]", out_);
      WriteUtf8(out_, value.WideText());
      slots[0].SetItem(vellvar(0));
      break;
    }
    case RequestInput:
      AnswerInput(interp);
      break;
    case RequestService:
      vell::RouteServiceRequest(interp, *this);
      break;
    default:
      break;
  }
}

void ConsoleHost::AnswerInput(Interpreter& interp) {
  vellarray* slots = RequestSlots(interp);
  vellvar prompt(slots[1].item);
  std::fflush(out_);
  WriteUtf8(prompts_, prompt.WideText());
  std::fflush(prompts_);
  std::string line;
  AnswerRead read = AnswerRead::End;
  try {
    read = ReadAnswer(in_, line);
    if (read == AnswerRead::Line) {
      while (!line.empty() && line.back() == '\r') line.pop_back();
      const std::u16string answer = vell::text::Utf8ToWide(line);
      slots[0].SetItem(vellvar(std::u16string_view(answer)));
      return;
    }
  } catch (const std::bad_alloc&) {
    read = AnswerRead::TooLong;
  }
  line = std::string();
  if (read == AnswerRead::TooLong) ShowWarning(kNoMemory);
  SetRunState(interp, StateEnd);
  slots[0].SetItem(vellvar(u""));
}

void ConsoleHost::ShowWarning(std::u16string_view text) {
  std::fputs("[WARNING]", out_);
  WriteUtf8(out_, text);
}

void ConsoleHost::ShowServiceError(std::u16string_view message) {
  std::fputs("[MSG]", out_);
  WriteUtf8(out_, message);
}

}  // namespace vell::console
