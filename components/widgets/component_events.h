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

// The text run for an event: the SUB name, then the numbers, when there are
// any, in parentheses, separated by commas, without blanks: "PAINT(10,20,1)".
std::u16string EventText(const vellvar& subName, std::initializer_list<int> numbers);

// Runs the SUB stored for the event in the sender's slot, with the numbers
// as its arguments: mouse down (x, y, button), mouse move (x, y), key up
// (key), click and timer (none). Dropped while a run state is set, or when
// the sender is no longer a component of the table.
void RunComponentEvent(mwin& table, QObject* sender, ComponentEvent event,
                       std::initializer_list<int> numbers = {});

// The close of a form: runs its ONCLOSE SUB, when it has one and no run
// state is set. True when the SUB's value is 1: the form stays open.
bool RunCloseEvent(mwin& table, QObject* sender);

}  // namespace vell
