#include "tests/support/recording_host.h"

#include <fstream>
#include <iterator>

#include "platform/text_codec.h"

using namespace vell;

namespace vell::test {

namespace {

std::u16string SlotText(vellarray& slot) {
  vellvar copy(slot.item);
  return copy.WideText();
}

}  // namespace

void RecordingHost::HandleHostRequest(Interpreter& interp) {
  vellarray* slots = interp.requestSlots;
  const int kind = slots[0].ItemInt();

  if (kind != RequestPump || recordPumps) {
    RecordedRequest r;
    r.kind = kind;
    for (int i = 0; i < kRequestSlotCount; ++i) r.slots.push_back(slots[i].item);
    if (kind >= RequestPrint && kind <= RequestInput) r.text = SlotText(slots[1]);
    requests.push_back(std::move(r));
  }

  switch (kind) {
    case RequestMessage: {
      MessageAnswer answer = MessageAnswer::No;
      if (!messageAnswers.empty()) {
        answer = messageAnswers.front();
        messageAnswers.pop_front();
      }
      if (answer == MessageAnswer::Abort) interp.runState = 13;
      slots[0].SetItem(vellvar(answer == MessageAnswer::Yes ? 1 : 0));
      break;
    }
    case RequestInput: {
      std::optional<std::u16string> answer;
      if (!inputAnswers.empty()) {
        answer = inputAnswers.front();
        inputAnswers.pop_front();
      }
      if (!answer) SetRunState(interp, StateEnd);
      slots[0].SetItem(vellvar(std::u16string_view(answer ? *answer : std::u16string())));
      break;
    }
    case RequestService: {
      if (slots[1].ItemInt() == ServiceReadFile) {
        const std::u16string path = SlotText(slots[2]);
        const auto found = files.find(path);
        if (found != files.end()) {
          slots[1].SetItem(vellvar(std::u16string_view(found->second)));
          break;
        }
      }
      // Everything else goes to the library's services, as in the window.
      RouteServiceRequest(interp, serviceErrors);
      break;
    }
    case RequestComponent:
      if (onComponent) onComponent(interp);
      break;
    case RequestPump: {
      const int n = ++pumpCount;
      if (n == stopAtPump) interp.runState = StateEnd;
      if (n == eventAtPump && interp.runState == 0) {
        interp.routineName = std::u16string_view(eventRoutine);
        RunEventText(interp, eventText);
      }
      if (onPump) onPump(interp, n);
      break;
    }
    default:
      break;
  }
}

std::u16string RecordingHost::Output() const {
  std::u16string out;
  for (const auto& r : requests) {
    if (r.kind == RequestPrint) out += r.text;
  }
  return out;
}

std::vector<std::u16string> RecordingHost::Messages() const {
  std::vector<std::u16string> out;
  for (const auto& r : requests) {
    if (r.kind == RequestMessage) out.push_back(r.text);
  }
  return out;
}

std::vector<int> RecordingHost::Kinds() const {
  std::vector<int> out;
  for (const auto& r : requests) out.push_back(r.kind);
  return out;
}

void RecordingHost::Clear() {
  requests.clear();
  serviceErrors.messages.clear();
  pumpCount = 0;
}

TestInterpreter::TestInterpreter() { InterpreterEntry(1, &host, &host); }

TestInterpreter::~TestInterpreter() { InterpreterEntry(3); }

std::u16string TestInterpreter::Run(std::u16string_view text) {
  host.Clear();
  interp().programText = text;
  InterpreterEntry(2);
  std::u16string out = host.Output();
  for (const auto& m : host.Messages()) out += u"[MSG]" + m;
  return out;
}

void PutFile(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf8(std::u16string_view text) { return vell::text::WideToUtf8(text); }

}  // namespace vell::test
