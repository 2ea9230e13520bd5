#include "components/widgets/component_table.h"

#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <exception>
#include <new>

#include "components/keywords/component_node.h"
#include "components/widgets/common_members.h"
#include "components/widgets/component_events.h"
#include "components/widgets/member_failure.h"
#include "platform/qt/utf16_qstring.h"

namespace vell {

const ComponentType& ComponentTypeOf(int32_t code) {
  switch (code) {
#define VELL_TYPE_CASE(Name, typeCode, keyword, members) \
  case Type##Name:                                       \
    return Name##Type();
    VELL_COMPONENT_TYPE_LIST(VELL_TYPE_CASE)
#undef VELL_TYPE_CASE
    default:
      return PrinterDialogType();  // only type codes are asked for
  }
}

namespace {

bool ValidSlotIndex(int slot) { return slot >= 0 && slot < kComponentSlots; }

}  // namespace

const MemberBinding* FindBinding(const ComponentType& type, int32_t member) {
  for (const std::span<const MemberBinding> table : type.bindings) {
    for (const MemberBinding& row : table) {
      if (row.member == member) return &row;
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Slots and member calls.

vellvar& ComponentSlot::EventName(ComponentEvent event) {
  switch (event) {
    case ComponentEvent::Click:
      return onClick;
    case ComponentEvent::MouseDown:
      return onMouseDown;
    case ComponentEvent::MouseMove:
      return onMouseMove;
    case ComponentEvent::KeyUp:
      return onKey;
    case ComponentEvent::Timer:
      return onTimer;
    case ComponentEvent::Close:
      break;
  }
  return onClose;
}

ComponentSlot& MemberCall::Component() { return table.Slot(slot); }

QString MemberCall::TextArg(int index) const {
  return qt::ToQString(WideString(args[index]));
}

vellvar MemberCall::Text(const QString& text) {
  return vellvar(qt::Utf16View(text));
}

std::u16string WideString(const vellvar& value) {
  vellvar copy(value);
  const char16_t* text = copy.WideText();
  return std::u16string(text, static_cast<size_t>(copy.length));
}

void ShowNewControl(QWidget* control) {
  if (control != nullptr && control->parentWidget() != nullptr) control->show();
}

PrinterSetupDialog::PrinterSetupDialog() = default;
PrinterSetupDialog::~PrinterSetupDialog() = default;

QPrinter& PrinterSetupDialog::Printer() {
  // Pages are laid out in the printer's own pixels, not the screen's.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

// ---------------------------------------------------------------------------
// The table.

mwin::mwin(ComponentHost& host, ComponentTypeLookup types) : host_(host) {
  if (types == nullptr) types = ComponentTypeOf;
  for (int32_t code = kFirstComponentType; code <= kLastComponentType; ++code) {
    TypeDispatch& d = dispatch_[code];
    d.type = &types(code);
    // Only the members the type lists are bound, each by the first row for
    // it, in the order the type lists its tables.
    for (const MemberCode member : ComponentMembers(code)) {
      if (const MemberBinding* row = FindBinding(*d.type, member)) {
        d.members[member] = Binding{row->set, row->get};
      }
    }
  }
  SetEventTable(this);
}

mwin::~mwin() {
  if (EventTable() == this) SetEventTable(nullptr);
  // Objects programs made are destroyed by DestroyAllComponents before the
  // table goes; whatever still waits for deletion goes now.
  for (QPointer<QObject>& p : pendingDeletions_) delete p.data();
}

const mwin::TypeDispatch* mwin::DispatchFor(int32_t typeCode) const {
  if (typeCode < kFirstComponentType || typeCode > kLastComponentType) return nullptr;
  return &dispatch_[typeCode];
}

MemberBinding mwin::BindingOf(int32_t typeCode, int32_t member) const {
  const TypeDispatch* d = DispatchFor(typeCode);
  if (d == nullptr || member < 0 || member > kLastEventMember) return {member, nullptr, nullptr};
  return {member, d->members[member].set, d->members[member].get};
}

int mwin::SlotOf(const QObject* object) const {
  if (object == nullptr) return -1;
  bool ok = false;
  const int slot = object->property(kSlotProperty).toInt(&ok);
  if (!ok || !ValidSlotIndex(slot)) return -1;
  const ComponentSlot& s = slots_[slot];
  return s.inUse != 0 && s.object.data() == object ? slot : -1;
}

void mwin::HandleHostRequest(Interpreter& interp) {
  // Between requests of a program (no component event running) nothing can
  // still be using an object that a delete gave up.
  if (!pendingDeletions_.empty() && !EventRunning()) CarryOutPendingDeletions();
  vellarray* request = RequestSlots(interp);
  const int operation = request[1].item.ToInt();
  if (operation != ComponentSet && operation != ComponentGet) return;
  const int slot = request[2].item.ToInt();
  const int member = request[3].item.ToInt();
  vellarray& valueNode = request[4];
  try {
    if (operation == ComponentSet) {
      const int answer = SetMember(interp, slot, member, valueNode);
      request[1].SetItem(vellvar(answer));
    } else {
      GetMember(interp, slot, member, valueNode);
      request[1].SetItem(request[4].item);
    }
  } catch (const MemberFailure& failure) {
    // The request ends unanswered: slot 1 keeps the operation number.
    host_.FlushOutput();
    qt::Dialogs().ShowWarning(host_.MainWindowWidget(), QStringLiteral("Vell"), failure.Text());
  }
}

const mwin::TypeDispatch* mwin::UsableDispatch(int slot) const {
  if (!ValidSlotIndex(slot) || !slots_[slot].Usable()) return nullptr;
  return DispatchFor(slots_[slot].type);
}

MemberCall mwin::CallFor(Interpreter& interp, int slot, int member, const vellarray& valueNode) {
  return MemberCall{*this,
                    interp,
                    slot,
                    member,
                    slots_[slot].object.data(),
                    {valueNode.item, RequestSlots(interp)[5].item, RequestSlots(interp)[6].item}};
}

int mwin::SetMember(Interpreter& interp, int slot, int member, vellarray& valueNode) {
  if (member == MemberCreate) return Create(interp, valueNode.item.ToInt());
  const TypeDispatch* d = UsableDispatch(slot);
  if (d == nullptr) return 0;
  if (member == MemberDelete) return Delete(interp, slot);
  const Binding* b = member >= 0 && member <= kLastEventMember ? &d->members[member] : nullptr;
  if (b == nullptr || b->set == nullptr) {
    SetRunState(interp, ErrorUndefined);
    return 1;
  }
  MemberCall call = CallFor(interp, slot, member, valueNode);
  return b->set(call);
}

int mwin::GetMember(Interpreter& interp, int slot, int member, vellarray& valueNode) {
  const TypeDispatch* d = UsableDispatch(slot);
  // The printer set-up dialog has nothing to read.
  if (d == nullptr || slots_[slot].type == TypePrinterDialog) return 0;
  const Binding* b = member >= 0 && member <= kLastEventMember ? &d->members[member] : nullptr;
  if (b == nullptr || b->get == nullptr) {
    SetRunState(interp, ErrorUndefined);
    return 1;
  }
  MemberCall call = CallFor(interp, slot, member, valueNode);
  if (b->get(call)) valueNode.SetItem(call.result);
  return 1;
}

void mwin::BindSlot(int index, int32_t type, QObject* object) {
  ComponentSlot& s = slots_[index];
  object->setProperty(kSlotProperty, index);
  s.inUse = 1;
  s.type = type;
  s.object = object;
  s.parentSlot = 0;
}

void mwin::FreeSlot(int index) {
  ComponentSlot& s = slots_[index];
  s.inUse = 0;
  s.object.clear();
}

int mwin::Create(Interpreter& interp, int32_t typeCode) {
  const TypeDispatch* d = DispatchFor(typeCode);
  if (d == nullptr || d->type->create == nullptr) return 0;
  int index = -1;
  for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) {
    ComponentSlot& s = slots_[i];
    if (s.inUse != 0 && s.object.isNull()) FreeSlot(i);  // its object has gone
    if (s.inUse == 0) {
      index = i;
      break;
    }
  }
  if (index < 0) return 0;
  slots_[index].inUse = 1;  // taken at once: making the object may run events
  QObject* object = nullptr;
  try {
    object = d->type->create(*this, host_.DefaultParent());
  } catch (const std::bad_alloc&) {
    object = nullptr;
    if (RunState(interp) == StateRunning) SetRunState(interp, ErrorMemory);
  } catch (...) {
    object = nullptr;
    if (RunState(interp) == StateRunning) SetRunState(interp, ErrorUndefined);
  }
  if (object == nullptr) {
    // A component that did not come into being gives its slot back.
    FreeSlot(index);
    return 0;
  }
  BindSlot(index, typeCode, object);
  return index;
}

int mwin::Delete(Interpreter& interp, int slot) {
  ComponentSlot& s = slots_[slot];
  const ComponentType& type = *DispatchFor(s.type)->type;
  // The predefined components stay for the table's whole life.
  if (slot < kFirstProgramSlot || type.deleteRule == DeleteRule::Refused) {
    SetRunState(interp, ErrorUndefined);
    return 1;
  }
  QObject* object = s.object.data();
  if (type.beforeDelete != nullptr) type.beforeDelete(object);
  FreeSlot(slot);
  DestroyObject(object);
  if (type.deleteRule == DeleteRule::Control || type.deleteRule == DeleteRule::Form) {
    ReleaseOrphans(0);
  }
  // The main window comes back when the last visible form has gone.
  if (type.deleteRule == DeleteRule::Form) RestoreMainWindow();
  return 1;
}

// ---------------------------------------------------------------------------
// Destroying objects.

void mwin::DestroyObject(QObject* object) {
  if (object == nullptr) return;
  KeepPredefinedComponents(object);
  // No event of a component that is going may reach the program.
  object->blockSignals(true);
  if (!EventRunning()) {
    // Nothing of the object can be on the stack: no event of a component runs.
    delete object;
    return;
  }
  if (object->isWidgetType()) static_cast<QWidget*>(object)->hide();
  object->deleteLater();
  pendingDeletions_.emplace_back(object);
}

void mwin::KeepPredefinedComponents(QObject* object) {
  if (!object->isWidgetType()) return;
  const auto* going = static_cast<QWidget*>(object);
  for (int i = 0; i < kFirstProgramSlot; ++i) {
    ComponentSlot& s = slots_[i];
    if (!s.Usable() || !s.object->isWidgetType()) continue;
    auto* control = static_cast<QWidget*>(s.object.data());
    for (const QWidget* p = control->parentWidget(); p != nullptr; p = p->parentWidget()) {
      if (p != going) continue;
      MoveControl(control, host_.DefaultParent());
      s.parentSlot = 0;
      break;
    }
  }
}

void mwin::CarryOutPendingDeletions() {
  if (EventRunning()) return;
  std::vector<QPointer<QObject>> pending;
  pending.swap(pendingDeletions_);
  for (QPointer<QObject>& p : pending) delete p.data();
}

int mwin::PendingDeletions() const {
  return static_cast<int>(std::count_if(pendingDeletions_.begin(), pendingDeletions_.end(),
                                        [](const QPointer<QObject>& p) { return !p.isNull(); }));
}

mwin::EventScope::EventScope(mwin& table, QObject* sender) : table_(table) {
  table_.runningEvents_.emplace_back(sender);
}

mwin::EventScope::~EventScope() { table_.runningEvents_.pop_back(); }

void mwin::ReleaseOrphans(int /*mode*/) {
  // One pass can free a parent whose children it has already passed (a
  // child in a lower slot than its parent), so passes repeat until one frees
  // nothing. The deferred deletion of a parent would take its children with
  // it; they are given up here all the same, so that a child moved to another
  // parent meanwhile cannot outlive its slot.
  bool freed = true;
  while (freed) {
    freed = false;
    for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) {
      ComponentSlot& s = slots_[i];
      if (s.inUse == 0) continue;
      const bool gone = s.object.isNull();
      const bool orphan =
          s.parentSlot != 0 && (!ValidSlotIndex(s.parentSlot) || !slots_[s.parentSlot].Usable());
      if (!gone && !orphan) continue;
      QObject* object = s.object.data();
      FreeSlot(i);
      try {
        DestroyObject(object);
      } catch (...) {
        // the slot is free all the same
      }
      freed = true;
      QCoreApplication::processEvents();
    }
  }
}

int mwin::DestroyAllComponents() {
  // First every program timer stops and no component raises events any
  // more: the messages processed below must not run a SUB of a program whose
  // components are half gone.
  const HeldEvents held;
  for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) {
    ComponentSlot& s = slots_[i];
    if (s.inUse == 0 || s.object.isNull()) continue;
    if (auto* timer = qobject_cast<QTimer*>(s.object.data())) timer->stop();
    s.object->blockSignals(true);
  }
  for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) {
    ComponentSlot& s = slots_[i];
    if (s.inUse == 0) continue;
    QObject* object = s.object.data();
    const TypeDispatch* d = DispatchFor(s.type);
    FreeSlot(i);
    try {
      if (object != nullptr && d != nullptr && d->type->beforeDelete != nullptr) {
        d->type->beforeDelete(object);
      }
      DestroyObject(object);
    } catch (...) {
      // the slot is free all the same
    }
    QCoreApplication::processEvents();
  }
  return 1;
}

int mwin::RestoreMainWindow() {
  QWidget* main = host_.MainWindowWidget();
  if (main == nullptr || main->isVisible()) return 0;
  for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) {
    const ComponentSlot& s = slots_[i];
    if (s.type == TypeForm && s.Usable() && s.object->isWidgetType() &&
        static_cast<QWidget*>(s.object.data())->isVisible()) {
      return 1;
    }
  }
  main->showNormal();
  return 1;
}

// ---------------------------------------------------------------------------
// The interpreter's life.

bool mwin::CreateEntryObjects() {
  try {
    if (!printerDialog_) printerDialog_ = std::make_unique<PrinterSetupDialog>();
    if (!scratchImage_) scratchImage_ = std::make_unique<QImage>();
  } catch (const std::bad_alloc&) {
    return false;
  }
  return printerDialog_ != nullptr && scratchImage_ != nullptr;
}

void mwin::ResetProgramSlots() {
  for (int i = kFirstProgramSlot; i < kComponentSlots; ++i) slots_[i].inUse = 0;
}

void mwin::DeleteEntryObjects() {
  if (slots_[kPrinterDialogSlot].object == printerDialog_.get()) FreeSlot(kPrinterDialogSlot);
  printerDialog_.reset();
  scratchImage_.reset();
}

std::u16string mwin::StartupHeader() {
  return u"#SUBCLEAR "
         u"#COMPONENT MainForm, Form, 0 "
         u"#COMPONENT MainTextBox, TextBox, 1 "
         u"#COMPONENT OpenDialog, OpenDialog, 2 "
         u"#COMPONENT SaveDialog, SaveDialog, 3 "
         u"#COMPONENT PrinterDialog, PrinterDialog, 4 "
         u"#SUBTOP ";
}

int mwin::InstallDefaults(Interpreter& interp) {
  if (QWidget* main = host_.MainWindowWidget()) BindSlot(kMainWindowSlot, TypeForm, main);
  if (QPlainTextEdit* out = host_.OutputArea()) BindSlot(kOutputAreaSlot, TypeTextBox, out);
  BindSlot(kOpenDialogSlot, TypeOpenDialog, &openDialog_);
  BindSlot(kSaveDialogSlot, TypeSaveDialog, &saveDialog_);
  if (!printerDialog_) CreateEntryObjects();
  if (printerDialog_) BindSlot(kPrinterDialogSlot, TypePrinterDialog, printerDialog_.get());
  SetProgramText(interp, StartupHeader());
  InterpreterEntry(EntryRun);
  return 1;
}

}  // namespace vell
