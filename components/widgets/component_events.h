// Component events: a Qt signal of a component's object becomes the text of
// the SUB that the program bound to the event, run at once through the
// window. A type connects its object's signal to one of these when the
// program sets the event member (and stores the SUB's name in the slot).
#pragma once

#include <initializer_list>
#include <string>

#include "components/widgets/component_table.h"

class QObject;

namespace vell {

// How deep event texts may nest inside one another (an event arriving while
// the SUB of an earlier one runs, a timer tick inside the SUB of the previous
// tick): an event beyond this depth is dropped.
constexpr int kMaxEventDepth = 64;

// The table whose components raise events now; set while a table exists.
mwin* EventTable();
void SetEventTable(mwin* table);
// Event texts running now, nested in one another.
int EventDepth();

// While one of these lives, every component event is dropped (the table is
// releasing the program's components and pumps messages in between).
class HeldEvents {
 public:
  HeldEvents();
  ~HeldEvents();
  HeldEvents(const HeldEvents&) = delete;
  HeldEvents& operator=(const HeldEvents&) = delete;
};

// The text run for an event: the SUB name, then the numbers, when there are
// any, in parentheses, separated by commas, without blanks: "PAINT(10,20,1)".
std::u16string EventText(const vellvar& subName, std::initializer_list<int> numbers);

// Runs the SUB stored for the event in the sender's slot, with the numbers
// as its arguments: mouse down (x, y, button), mouse move (x, y), key up
// (key), click and timer (none). Dropped while a run state is set, when the
// sender is no longer the component of its slot, or beyond kMaxEventDepth.
void RunComponentEvent(mwin& table, QObject* sender, ComponentEvent event,
                       std::initializer_list<int> numbers = {});

// The close of a form: runs its ONCLOSE SUB, when it has one and no run
// state is set. True when the SUB's value is 1: the form stays open.
bool RunCloseEvent(mwin& table, QObject* sender);

}  // namespace vell
