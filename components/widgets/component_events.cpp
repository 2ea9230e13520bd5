#include "components/widgets/component_events.h"

#include <QObject>

#include "core/interpreter_state.h"

namespace vell {

namespace {

mwin* gEventTable = nullptr;
int gEventDepth = 0;
int gEventsHeld = 0;

}  // namespace

mwin* EventTable() { return gEventTable; }
void SetEventTable(mwin* table) { gEventTable = table; }
int EventDepth() { return gEventDepth; }

HeldEvents::HeldEvents() { ++gEventsHeld; }
HeldEvents::~HeldEvents() { --gEventsHeld; }

std::u16string EventText(const vellvar& subName, std::initializer_list<int> numbers) {
  std::u16string text = WideString(subName);
  if (numbers.size() == 0) return text;
  text += u'(';
  bool first = true;
  for (const int n : numbers) {
    if (!first) text += u',';
    first = false;
    text += WideString(vellvar(n));
  }
  text += u')';
  return text;
}

namespace {

// Runs an event's text under the SUB's name; the sender is kept from being
// deleted until the text has returned.
int RunText(mwin& table, Interpreter& interp, QObject* sender, const vellvar& name,
            const std::u16string& text) {
  interp.routineName = name;
  interp.routineName.WideText();
  const mwin::EventScope scope(table, sender);
  struct Depth {
    Depth() { ++gEventDepth; }
    ~Depth() { --gEventDepth; }
  } depth;
  return table.Host().RunEventText(text);
}

}  // namespace

void RunComponentEvent(mwin& table, QObject* sender, ComponentEvent event,
                       std::initializer_list<int> numbers) {
  Interpreter* interp = gInterpreter;
  if (interp == nullptr || RunState(*interp) != StateRunning) return;
  if (gEventDepth >= kMaxEventDepth || gEventsHeld > 0) return;
  const int slot = table.SlotOf(sender);
  if (slot < 0) return;
  const vellvar name(table.Slot(slot).EventName(event));
  RunText(table, *interp, sender, name, EventText(name, numbers));
}

bool RunCloseEvent(mwin& table, QObject* sender) {
  Interpreter* interp = gInterpreter;
  if (interp == nullptr || RunState(*interp) != StateRunning) return false;
  if (gEventDepth >= kMaxEventDepth || gEventsHeld > 0) return false;
  const int slot = table.SlotOf(sender);
  if (slot < 0) return false;
  vellvar name(table.Slot(slot).onClose);  // a form's create makes it empty
  if (name.WideText()[0] == u'\0') return false;
  RunText(table, *interp, sender, name, EventText(name, {}));
  return interp->lastValue.ToInt() == 1;
}

}  // namespace vell
