// Hooks that carry the Qt events of a component's object to the SUB that the
// program bound to the event: a click (a button's clicked signal, a scroll
// bar's change, a choice in a combo box, else a left-button click of the
// mouse), mouse down, mouse move (mouse tracking on only then), key up (one
// application-wide filter of key releases, auto-repeat ignored), the timer's
// tick. A hook lives as a child of the object, so a new object in a reused
// slot starts without any: it runs nothing until the program binds an event.
#pragma once

#include "components/widgets/component_table.h"

class QObject;
class QWidget;

namespace vell {

// Hooks the object's event once; what runs is the name the slot holds then.
void HookEvent(QObject* object, ComponentEvent event);
bool EventHooked(const QObject* object, ComponentEvent event);

// The component whose object is the widget or holds it (the line edit of a
// combo box, the viewport of a text box), or null.
QWidget* OwningComponent(QWidget* widget);

}  // namespace vell
