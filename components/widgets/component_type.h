// The contract between the component table and the component types.
//
// Every type lives in its own file (button.cpp, form.cpp, ...) and defines one
// ComponentType: how a create makes its object, how a delete removes it, and
// its member bindings, a table of {member code, setter, getter} rows in the
// manner of the built-in name tables. The table does the rest, the same way
// for every type:
//   - it picks the type by the slot's stored type (by the request's type code
//     for a create), so a type's functions only ever see slots of that type;
//   - it answers 0 for a slot index outside 0..199 or a slot not in use,
//     before any binding is looked at;
//   - it copies the request's three arguments into MemberCall::args before it
//     calls anything, so an event text that runs meanwhile (and makes requests
//     of its own) cannot change them;
//   - it binds only the members the type's member table lists
//     (core/component_list.h), each to the first row for it;
//   - a member without a setter (for a set or call) or without a getter (for
//     a read), and any member the type does not list, is an unknown member:
//     run state ErrorUndefined, answer 1;
//   - a member that the control refuses calls ReportMemberFailure
//     (member_failure.h): the table shows the message and the request keeps
//     its operation number as the answer.
//
// To give a type a member, add a row to its bindings, for instance in
// button.cpp:
//     {MemberCaption, SetCaption, GetCaption},
// where
//     int SetCaption(MemberCall& call) {
//       call.As<QPushButton>()->setText(call.TextArg());
//       return 1;
//     }
//     bool GetCaption(MemberCall& call) {
//       call.result = call.Text(call.As<QPushButton>()->text());
//       return true;
//     }
// (and CAPTION in the type's member table). Members that several types share
// go into a shared bindings table that each of those types lists after its
// own (ComponentType::bindings holds up to three tables, searched in order;
// the first row for a code wins). Every member the type lists needs a row,
// and every row of the type's own table a member the type lists: the
// component table test checks both.
#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/codes.h"
#include "core/interpreter.h"

class QObject;
class QWidget;

namespace vell {

class mwin;
struct ComponentSlot;

// One member request as a type's setter or getter sees it.
struct MemberCall {
  mwin& table;
  Interpreter& interp;
  int32_t slot;       // 0..199, in use, its object alive at entry
  int32_t member;     // the MemberCode
  QObject* object;    // the slot's object
  vellvar args[3];    // the request's arguments, copied before anything ran
  vellvar result{0};  // a getter's value (an integer or a wide string)

  ComponentSlot& Component();
  // The object as the type's own class (the type knows what it created).
  template <class T>
  T* As() const {
    return static_cast<T*>(object);
  }
  // An argument read as an integer (reals truncated, text read as a number).
  int32_t IntArg(int index = 0) const { return args[index].ToInt(); }
  // An argument read as text.
  QString TextArg(int index = 0) const;
  // A value for result.
  static vellvar Text(const QString& text);
};

// Performs a set, a method call or an event binding; the answer of the
// request (normally 1; a method with a result of its own answers that).
using MemberSetter = int (*)(MemberCall& call);
// Puts the member's value into call.result and returns true; returns false
// after setting a run state of its own, leaving the value as it was.
using MemberGetter = bool (*)(MemberCall& call);

struct MemberBinding {
  int32_t member;
  MemberSetter set;  // null: the member cannot be set or called
  MemberGetter get;  // null: the member cannot be read
};

// How a delete removes a component of the type.
enum class DeleteRule {
  Control,  // destroyed (unless it went with its parent), then orphans swept
  Form,     // released with the controls on it, then orphans swept
  Plain,    // destroyed, no sweep (timer, media player)
  Refused,  // cannot be deleted: run state ErrorUndefined (the dialogs)
};

struct ComponentType {
  ComponentTypeCode code;
  // Makes the object of a new component: controls with defaultParent as
  // their parent and shown, forms and timers without a parent, the type's
  // defaults applied. Null when it cannot be made. The slot is not yet set
  // up when this runs. Null function: the type cannot be created.
  QObject* (*create)(mwin& table, QWidget* defaultParent);
  DeleteRule deleteRule;
  // Runs before a delete destroys the object (a player stops and closes its
  // device, for instance); may be null.
  void (*beforeDelete)(QObject* object);
  std::array<std::span<const MemberBinding>, 3> bindings;
};

// The seventeen types, one per file: FormType() ... PrinterDialogType(),
// one for each row of VELL_COMPONENT_TYPE_LIST (core/component_list.h).
#define VELL_TYPE_FUNCTION(Name, code, keyword, members) const ComponentType& Name##Type();
VELL_COMPONENT_TYPE_LIST(VELL_TYPE_FUNCTION)
#undef VELL_TYPE_FUNCTION

// The type of a type code (11 to 27): the seventeen above.
const ComponentType& ComponentTypeOf(int32_t code);
using ComponentTypeLookup = const ComponentType& (*)(int32_t code);
// The first row for the member in the type's tables, or null.
const MemberBinding* FindBinding(const ComponentType& type, int32_t member);

// A value's text as UTF-16, the value itself unchanged.
std::u16string WideString(const vellvar& value);

// Makes a new control's widget visible on its parent (a child made after
// its parent was shown stays hidden otherwise).
void ShowNewControl(QWidget* control);

}  // namespace vell
