// The component table: 200 numbered slots, each holding one component that
// programs address by its slot index. Slots 0 to 4 are the main window, the
// output area and the open, save and printer set-up dialogs; slots 5 to 199
// hold what programs create.
//
// The table performs component requests (request kind RequestComponent) by
// handing each to the type of the slot; the types are in one file each and
// say what they do through the contract in component_type.h (read that
// header to add members to a type). Component events reach programs through
// component_events.h.
//
// Objects that programs create are never deleted while one of their own
// events may be running: a delete frees the slot at once; while an event of
// a component runs (a SUB may delete the very component whose event it is),
// the object is hidden and deleted later (deleteLater(), and at the latest
// by the first request once no event runs, or when the run returns, see
// CarryOutPendingDeletions); otherwise it is deleted at once. A slot whose
// object has gone (its QPointer is null) counts as free.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/widgets/component_host.h"
#include "components/widgets/component_type.h"
#include "core/host_request.h"
#include "core/interpreter.h"
#include "platform/qt/dialogs.h"

class QImage;
class QPrinter;

namespace vell {

constexpr int kComponentSlots = 200;
constexpr int kFirstProgramSlot = 5;  // slots below are the predefined components
constexpr int kMainWindowSlot = 0;
constexpr int kOutputAreaSlot = 1;
constexpr int kOpenDialogSlot = 2;
constexpr int kSaveDialogSlot = 3;
constexpr int kPrinterDialogSlot = 4;

// The object property that holds a component's slot index.
inline constexpr char kSlotProperty[] = "vellSlot";

// The six events whose SUB names a slot keeps.
enum class ComponentEvent { Click, MouseDown, MouseMove, KeyUp, Timer, Close };

struct ComponentSlot {
  uint32_t inUse = 0;
  int32_t type = TypeNone;
  QPointer<QObject> object;  // not owned by the slot
  int32_t parentSlot = 0;    // 0: the default parent
  vellvar onClick{0};
  vellvar onMouseDown{0};
  vellvar onMouseMove{0};
  vellvar onKey{0};
  vellvar onTimer{0};
  vellvar onClose{0};

  // In use and its object still alive.
  bool Usable() const { return inUse != 0 && !object.isNull(); }
  vellvar& EventName(ComponentEvent event);
};

// The state of the open and save dialogs (components 2 and 3); the main
// window's own Open and Save As use the same state.
class FileDialogState : public QObject {
  Q_OBJECT

 public:
  qt::FileDialogSetup setup;
};

// The printer set-up dialog (component 4): the printer settings that the
// dialog edits and printing uses.
class PrinterSetupDialog : public QObject {
  Q_OBJECT

 public:
  PrinterSetupDialog();
  ~PrinterSetupDialog() override;
  QPrinter& Printer();  // made on first use

 private:
  std::unique_ptr<QPrinter> printer_;
};

class mwin : public HostRequestHandler {
 public:
  // types: the type of each code (the seventeen types of the type files
  // when null; tests give types of their own).
  explicit mwin(ComponentHost& host, ComponentTypeLookup types = nullptr);
  ~mwin() override;
  mwin(const mwin&) = delete;
  mwin& operator=(const mwin&) = delete;

  // Performs a component request from the request slots: ComponentSet calls
  // SetMember and puts its answer into slot 1; ComponentGet calls GetMember
  // and copies slot 4 (the value read) into slot 1. A member that fails
  // (member_failure.h) shows its message and leaves slot 1 as it was, the
  // operation number.
  void HandleHostRequest(Interpreter& interp) override;

  // MemberCreate creates a component of the type in the value node and
  // answers its slot index (0: none free, or the type cannot be created);
  // any other code goes to the slot's type. 0 for a slot that is not usable.
  int SetMember(Interpreter& interp, int slot, int member, vellarray& valueNode);
  // Writes the value read into the value node; answers 0 for a slot that is
  // not usable and leaves the value node as it was.
  int GetMember(Interpreter& interp, int slot, int member, vellarray& valueNode);

  // What the interpreter entry does with the table: EntryCreate makes the
  // printer set-up dialog and the scratch image (false when either is
  // missing) and marks slots 5 to 199 free; EntryDestroy releases every
  // component and deletes the two objects again.
  bool CreateEntryObjects();
  void ResetProgramSlots();
  void DeleteEntryObjects();

  // Binds components 0 to 4 and runs the start-up header that declares
  // MainForm, MainTextBox, OpenDialog, SaveDialog and PrinterDialog. Returns 1.
  int InstallDefaults(Interpreter& interp);
  // The start-up header's text.
  static std::u16string StartupHeader();

  // Frees every slot from 5 to 199 and destroys its object. Returns 1.
  int DestroyAllComponents();
  // Frees every slot whose parent slot is no longer in use, destroying its
  // object, until no such slot is left. Mode 0 follows a delete, mode 1 the
  // close of a form.
  void ReleaseOrphans(int mode);
  // Shows the main window again (normal state) when it is hidden and no form
  // that a program created is visible. 0 when it was visible, else 1.
  int RestoreMainWindow();

  // Deletes an object, at once when no event of a component runs, else
  // hidden and later. A predefined component inside it (the output area,
  // which a program can place into its own controls) goes back to the
  // default parent first: those live as long as the table.
  void DestroyObject(QObject* object);
  // Deletes the objects waiting for it, unless an event of a component runs.
  void CarryOutPendingDeletions();
  int PendingDeletions() const;

  // What a request for the member of a component of the type calls (set and
  // get both null: the member is unknown to the type).
  MemberBinding BindingOf(int32_t typeCode, int32_t member) const;

  ComponentSlot& Slot(int index) { return slots_[index]; }
  const ComponentSlot& Slot(int index) const { return slots_[index]; }
  ComponentHost& Host() { return host_; }
  // The slot of an object of the table, or -1.
  int SlotOf(const QObject* object) const;

  qt::FileDialogSetup& OpenDialogSetup() { return openDialog_.setup; }
  qt::FileDialogSetup& SaveDialogSetup() { return saveDialog_.setup; }
  PrinterSetupDialog* PrinterDialog() { return printerDialog_.get(); }
  // The source region of an image's copy and paste; null outside EntryCreate
  // to EntryDestroy.
  QImage* ScratchImage() { return scratchImage_.get(); }

  // Events of components that are running now (innermost last); their
  // objects are not deleted until they have returned.
  class EventScope {
   public:
    EventScope(mwin& table, QObject* sender);
    ~EventScope();
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

   private:
    mwin& table_;
  };
  bool EventRunning() const { return !runningEvents_.empty(); }

 private:
  struct Binding {
    MemberSetter set = nullptr;
    MemberGetter get = nullptr;
  };
  struct TypeDispatch {
    const ComponentType* type = nullptr;
    std::array<Binding, kLastEventMember + 1> members{};
  };

  const TypeDispatch* DispatchFor(int32_t typeCode) const;
  // The dispatch of the component in `slot`; nullptr where the slot holds no
  // usable component.
  const TypeDispatch* UsableDispatch(int slot) const;
  // A member request on `slot` with the request's arguments, copied before
  // anything can run an event text.
  MemberCall CallFor(Interpreter& interp, int slot, int member, const vellarray& valueNode);
  int Create(Interpreter& interp, int32_t typeCode);
  int Delete(Interpreter& interp, int slot);
  void KeepPredefinedComponents(QObject* going);
  void BindSlot(int index, int32_t type, QObject* object);
  void FreeSlot(int index);

  ComponentHost& host_;
  std::array<ComponentSlot, kComponentSlots> slots_;
  std::array<TypeDispatch, kLastComponentType + 1> dispatch_{};
  FileDialogState openDialog_;
  FileDialogState saveDialog_;
  std::unique_ptr<PrinterSetupDialog> printerDialog_;
  std::unique_ptr<QImage> scratchImage_;
  std::vector<QPointer<QObject>> pendingDeletions_;
  std::vector<QPointer<QObject>> runningEvents_;
};

}  // namespace vell
