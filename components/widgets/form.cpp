// The FORM component: a window of its own that a program fills with controls
// (through their PARENT) and shows. The same members serve the main window
// as component 0.
#include <QCloseEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QVariant>
#include <QWidget>

#include "components/widgets/aligned_layout.h"
#include "components/widgets/common_members.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"
#include "components/widgets/event_hooks.h"
#include "components/widgets/geometry_bounds.h"

namespace vell {

namespace {

constexpr char kBorderStyleProperty[] = "vellBorderStyle";
constexpr char kWindowStateProperty[] = "vellWindowState";

enum BorderStyle : int32_t {
  BorderNone,
  BorderSingle,
  BorderSizeable,
  BorderDialog,
  BorderToolWindow,
  BorderSizeToolWin
};
enum WindowStateOrdinal : int32_t { StateNormal, StateMinimized, StateMaximized };

// A form that a program made: its close runs the program's close handling.
class ProgramForm : public QWidget {
 public:
  explicit ProgramForm(mwin& table) : QWidget(nullptr, Qt::Window), table_(&table) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    mwin* table = EventTable() == table_ ? table_ : nullptr;
    const int slot = table == nullptr ? -1 : table->SlotOf(this);
    if (slot < 0) {  // no longer a component: it just goes
      event->accept();
      return;
    }
    // The form is on the stack until this returns: whatever deletes it now
    // deletes it later.
    const mwin::EventScope scope(*table, this);
    // A form whose program never set ONCLOSE runs no SUB (a name left in the
    // slot by an earlier component is not this form's).
    if (EventHooked(this, ComponentEvent::Close) && RunCloseEvent(*table, this) &&
        table->SlotOf(this) == slot) {
      event->ignore();
      return;
    }
    event->accept();
    if (table->SlotOf(this) != slot) return;  // its SUB deleted it
    ComponentSlot& s = table->Slot(slot);
    s.inUse = 0;
    s.object.clear();
    table->RestoreMainWindow();
    // The controls placed on it go, then the form itself.
    table->ReleaseOrphans(1);
    table->DestroyObject(this);
  }

 private:
  mwin* table_;
};

QObject* CreateForm(mwin& table, QWidget* /*defaultParent*/) {
  auto* form = new ProgramForm(table);
  form->setWindowTitle(QStringLiteral("Form"));
  return form;
}

QWidget* Form(MemberCall& call) { return call.As<QWidget>(); }

// --- members that differ from the controls' ----------------------------------

int SetVisible(MemberCall& call) {
  Form(call)->setVisible(call.IntArg() != 0);
  call.table.RestoreMainWindow();
  return 1;
}

bool GetVisible(MemberCall& call) {
  call.result = Form(call)->isHidden() ? 0 : 1;
  return true;
}

int SetBorderStyle(MemberCall& call) {
  QWidget* form = Form(call);
  const int32_t style = call.IntArg() & 0xFF;
  form->setProperty(kBorderStyleProperty, style);
  if (style > BorderSizeToolWin) return 1;  // kept for reading, changes nothing
  Qt::WindowFlags flags = Qt::Window;
  switch (style) {
    case BorderNone:
      flags |= Qt::FramelessWindowHint;
      break;
    case BorderDialog:
      flags = Qt::Dialog;
      break;
    case BorderToolWindow:
    case BorderSizeToolWin:
      flags = Qt::Tool;
      break;
    default:
      break;
  }
  const bool shown = !form->isHidden();
  if (form->windowFlags() != flags) form->setWindowFlags(flags);
  const bool fixed = style == BorderSingle || style == BorderDialog || style == BorderToolWindow;
  if (fixed) {
    form->setFixedSize(form->size());
  } else {
    form->setMinimumSize(0, 0);
    form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (shown) form->show();  // new window flags hide a window
  return 1;
}
bool GetBorderStyle(MemberCall& call) {
  const QVariant raw = Form(call)->property(kBorderStyleProperty);
  call.result = raw.isValid() ? raw.toInt() : static_cast<int32_t>(BorderSizeable);
  return true;
}

// The client area: the form itself, or the main window's central area.
QWidget* ClientArea(QWidget* form) {
  if (auto* main = qobject_cast<QMainWindow*>(form); main != nullptr && main->centralWidget()) {
    return main->centralWidget();
  }
  return form;
}

int SetClientWidth(MemberCall& call) {
  QWidget* form = Form(call);
  const int extra = form->width() - ClientArea(form)->width();
  form->resize(BoundedSide(int64_t{call.IntArg()} + extra), form->height());
  ParentResized(form);
  return 1;
}
bool GetClientWidth(MemberCall& call) {
  call.result = ClientArea(Form(call))->width();
  return true;
}
int SetClientHeight(MemberCall& call) {
  QWidget* form = Form(call);
  const int extra = form->height() - ClientArea(form)->height();
  form->resize(form->width(), BoundedSide(int64_t{call.IntArg()} + extra));
  ParentResized(form);
  return 1;
}
bool GetClientHeight(MemberCall& call) {
  call.result = ClientArea(Form(call))->height();
  return true;
}

int SetWindowState(MemberCall& call) {
  QWidget* form = Form(call);
  const int32_t state = call.IntArg() & 0xFF;
  form->setProperty(kWindowStateProperty, state);
  switch (state) {
    case StateNormal:
      form->setWindowState(Qt::WindowNoState);
      break;
    case StateMinimized:
      form->setWindowState(Qt::WindowMinimized);
      break;
    case StateMaximized:
      form->setWindowState(Qt::WindowMaximized);
      break;
    default:
      break;  // kept for reading, changes nothing
  }
  return 1;
}
bool GetWindowState(MemberCall& call) {
  QWidget* form = Form(call);
  const int32_t raw = form->property(kWindowStateProperty).toInt();
  if (raw > StateMaximized) {
    call.result = raw;
  } else if (form->windowState() & Qt::WindowMinimized) {
    call.result = static_cast<int32_t>(StateMinimized);
  } else if (form->windowState() & Qt::WindowMaximized) {
    call.result = static_cast<int32_t>(StateMaximized);
  } else {
    call.result = static_cast<int32_t>(StateNormal);
  }
  return true;
}

int Show(MemberCall& call) {
  QWidget* form = Form(call);
  form->show();
  form->raise();
  form->activateWindow();
  call.table.RestoreMainWindow();
  return 1;
}

// An image of the form on the printer of the printer set-up dialog.
int Print(MemberCall& call) {
  PrinterSetupDialog* dialog = call.table.PrinterDialog();
  if (dialog == nullptr) return 1;
  QPainter painter;
  if (!painter.begin(&dialog->Printer())) return 1;
  Form(call)->render(&painter);
  painter.end();
  return 1;
}

constexpr MemberBinding kFormMembers[] = {
    {MemberBorderStyle, SetBorderStyle, GetBorderStyle},
    {MemberClientHeight, SetClientHeight, GetClientHeight},
    {MemberClientWidth, SetClientWidth, GetClientWidth},
    {MemberVisible, SetVisible, GetVisible},
    {MemberWindowState, SetWindowState, GetWindowState},
    {MemberPrinter, Print, nullptr},
    {MemberShow, Show, nullptr},
};

}  // namespace

const ComponentType& FormType() {
  static const ComponentType type{
      TypeForm, CreateForm, DeleteRule::Form, nullptr, {kFormMembers, CommonMembers()}};
  return type;
}

}  // namespace vell
