// A host for core tests: records every request with a copy of its slots,
// answers message and input requests from a script, can stop the run or run
// an event text at a chosen pump request, and serves the loading of text
// files from memory.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host_request.h"
#include "core/interpreter_state.h"
#include "library/service_router.h"
#include "tests/support/files.h"

namespace vell::test {

struct RecordedRequest {
  int kind = 0;
  std::vector<vellvar> slots;  // the ten slots as the host found them
  std::u16string text;         // slot 1 as wide text (kinds 1 to 3)
};

enum class MessageAnswer { No, Yes, Abort };

// Keeps the messages of services that failed.
struct RecordingSink : ServiceErrorSink {
  std::vector<std::u16string> messages;
  void ShowServiceError(std::u16string_view message) override { messages.emplace_back(message); }
};

// Sends service requests straight to the library's router.
struct ServiceFixture {
  std::unique_ptr<Interpreter> interp = std::make_unique<Interpreter>();
  RecordingSink sink;
  void Request(int service, const vellvar& a, const vellvar& b = vellvar(0),
               const vellvar& c = vellvar(0)) {
    const vellvar values[] = {vellvar(5), vellvar(service), a, b, c};
    for (int i = 0; i < 5; ++i) interp->requestSlots[i].SetItem(values[i]);
    RouteServiceRequest(*interp, sink);
  }
  vellvar Result() { return interp->requestSlots[1].item; }
};

class RecordingHost : public HostRequestHandler, public HostShell {
 public:
  // Requests as they arrived; pump requests only when recordPumps is set.
  std::vector<RecordedRequest> requests;
  bool recordPumps = false;
  int pumpCount = 0;

  // Answers, taken from the front; when empty a message is answered No and
  // an input is aborted (empty answer, run state 13).
  std::deque<MessageAnswer> messageAnswers;
  std::deque<std::optional<std::u16string>> inputAnswers;  // nullopt: Abort

  // At pump request number stopAtPump (counting from 1), stop the run as
  // the Program menu's end item does.
  int stopAtPump = 0;
  // At pump request number eventAtPump run eventText as a component event
  // would (routineName = eventRoutine), unless the run state is not 0.
  int eventAtPump = 0;
  std::u16string eventText;
  std::u16string eventRoutine;
  // Called at every pump request after the above, with its number.
  std::function<void(Interpreter&, int)> onPump;
  // Answers component requests (kind 9) when set; they are recorded in any case.
  std::function<void(Interpreter&)> onComponent;

  // Text files served by service 2001, by the path as the program gives it.
  std::map<std::u16string, std::u16string> files;
  // Other service requests go to the library's router.
  RecordingSink serviceErrors;

  // The shell's side.
  std::vector<std::u16string> warnings;
  int closePosts = 0;
  int componentReleases = 0;

  void HandleHostRequest(Interpreter& interp) override;
  void PostCloseMainWindow() override { ++closePosts; }
  void ShowWarning(std::u16string_view text) override { warnings.emplace_back(text); }
  void ReleaseProgramComponents() override { ++componentReleases; }

  // Everything printed, concatenated.
  std::u16string Output() const;
  // The texts of the message requests.
  std::vector<std::u16string> Messages() const;
  // The kinds of the requests recorded, in order.
  std::vector<int> Kinds() const;
  void Clear();
};

// Creates the interpreter with a recording host and destroys it again.
class TestInterpreter {
 public:
  TestInterpreter();
  ~TestInterpreter();
  TestInterpreter(const TestInterpreter&) = delete;
  TestInterpreter& operator=(const TestInterpreter&) = delete;

  Interpreter& interp() { return *gInterpreter; }
  RecordingHost host;

  // Runs text as the Run command does (mode 2) and returns what it printed
  // followed by each message text.
  std::u16string Run(std::u16string_view text);
};

// UTF-8 of a wide text, for readable test failures.
std::string Utf8(std::u16string_view text);

}  // namespace vell::test
