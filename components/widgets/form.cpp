// The FORM component: a window of its own that a program fills with controls
// (through their PARENT) and shows. The same members serve the main window
// as component 0.
#include <QCloseEvent>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
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
#include "components/widgets/member_failure.h"
#include "components/widgets/text_box_printing.h"

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

// A new form's size: its outer size, and its client size too until it has
// a frame.
constexpr int kNewFormWidth = 640;
constexpr int kNewFormHeight = 480;

// A form whose border the user cannot drag still takes the sizes a program
// gives it, and keeps them fixed.
template <class Change>
void ResizeUnfixed(QWidget* form, Change change) {
  const bool fixed = form->minimumSize() == form->maximumSize();
  if (fixed) {
    form->setMinimumSize(0, 0);
    form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  change();
  if (fixed) form->setFixedSize(form->size());
}

// A form that a program made: its close runs the program's close handling.
//
// Until it is first shown the window has no frame, so its outer size and
// its client size are one. Along each axis the program's last WIDTH or
// HEIGHT (or the size of a new form) asks for the outer size to stay, its
// last CLIENTWIDTH or CLIENTHEIGHT for the client size; once the frame is
// known at the first showing, the frame comes out of an outer size.
class ProgramForm : public QWidget {
 public:
  explicit ProgramForm(mwin& table) : QWidget(nullptr, Qt::Window), table_(&table) {
    // A size of its own: shown, it keeps it and is not fitted to its
    // controls.
    resize(kNewFormWidth, kNewFormHeight);
  }

  void SizeGiven(Qt::Orientation axis, bool outer) {
    if (axis == Qt::Horizontal) {
      outerWidth_ = outer;
    } else {
      outerHeight_ = outer;
    }
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (frameSettled_) return;
    frameSettled_ = true;
    // A maximised or minimised window takes the size its state gives it.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    const QRect frame = frameGeometry();
    const int dw = outerWidth_ ? frame.width() - width() : 0;
    const int dh = outerHeight_ ? frame.height() - height() : 0;
    if (dw == 0 && dh == 0) return;
    const QSize inside(std::max(width() - dw, 0), std::max(height() - dh, 0));
    ResizeUnfixed(this, [this, inside] { resize(inside); });
    ParentResized(this);
  }

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
  bool outerWidth_ = true;
  bool outerHeight_ = true;
  bool frameSettled_ = false;
};

QObject* CreateForm(mwin& table, QWidget* /*defaultParent*/) {
  auto* form = new ProgramForm(table);
  form->setWindowTitle(QStringLiteral("Form"));
  return form;
}

QWidget* Form(MemberCall& call) { return call.As<QWidget>(); }

// A program-made form learns whether a size was given outside or inside.
void SizeGiven(MemberCall& call, Qt::Orientation axis, bool outer) {
  if (auto* form = dynamic_cast<ProgramForm*>(Form(call))) form->SizeGiven(axis, outer);
}

// The controls' handler of the call's member.
int CommonSet(MemberCall& call) {
  for (const MemberBinding& row : CommonMembers()) {
    if (row.member == call.member && row.set != nullptr) return row.set(call);
  }
  return 1;
}
bool CommonGet(MemberCall& call) {
  for (const MemberBinding& row : CommonMembers()) {
    if (row.member == call.member && row.get != nullptr) return row.get(call);
  }
  return false;
}

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

// A size's side along an axis, and the size with that side replaced.
int Side(QSize size, Qt::Orientation axis) {
  return axis == Qt::Horizontal ? size.width() : size.height();
}
QSize WithSide(QSize size, Qt::Orientation axis, int side) {
  (axis == Qt::Horizontal ? size.rwidth() : size.rheight()) = side;
  return size;
}

// WIDTH (horizontal) and HEIGHT: as the controls take them, on any border.
template <Qt::Orientation axis>
int SetOuterSide(MemberCall& call) {
  SizeGiven(call, axis, true);
  int result = 1;
  ResizeUnfixed(Form(call), [&call, &result] { result = CommonSet(call); });
  return result;
}

// CLIENTWIDTH (horizontal) and CLIENTHEIGHT.
template <Qt::Orientation axis>
int SetClientSide(MemberCall& call) {
  SizeGiven(call, axis, false);
  QWidget* form = Form(call);
  const int extra = Side(form->size(), axis) - Side(ClientArea(form)->size(), axis);
  ResizeUnfixed(form, [&] {
    form->resize(
        WithSide(form->size(), axis, BoundedSide(*form, int64_t{call.IntArg()} + extra, axis)));
  });
  ParentResized(form);
  return 1;
}
template <Qt::Orientation axis>
bool GetClientSide(MemberCall& call) {
  call.result = Side(ClientArea(Form(call))->size(), axis);
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

bool PrintFormImage(QWidget& form, QPrinter& printer, QString& error) {
  QPainter painter;
  if (!widgets::BeginPrinterDocument(printer, painter,
                                     QString::fromLatin1(widgets::kPrintDocumentTitle), error)) {
    return false;
  }
  QWidget* client = ClientArea(&form);
  const QPixmap image = client->grab();
  const double scaleX = static_cast<double>(printer.logicalDpiX()) / client->logicalDpiX();
  const double scaleY = static_cast<double>(printer.logicalDpiY()) / client->logicalDpiY();
  const QSizeF size = image.deviceIndependentSize();
  painter.drawPixmap(QRectF(0, 0, size.width() * scaleX, size.height() * scaleY), image,
                     QRectF(image.rect()));
  if (!painter.end()) {
    error = QString::fromLatin1(widgets::kDocumentNotFinishedText);
    return false;
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

// An image of the form's client area on the printer of the printer set-up
// dialog, in a document of its own, at the top left of the printable area
// and scaled from the screen's resolution to the printer's.
int Print(MemberCall& call) {
  PrinterSetupDialog* dialog = call.table.PrinterDialog();
  QString error = QString::fromLatin1(widgets::kNoPrinterText);
  if (dialog == nullptr || !PrintFormImage(*Form(call), dialog->Printer(), error)) {
    ReportMemberFailure(call, error);
  }
  return 1;
}

constexpr MemberBinding kFormMembers[] = {
    {MemberBorderStyle, SetBorderStyle, GetBorderStyle},
    {MemberClientHeight, SetClientSide<Qt::Vertical>, GetClientSide<Qt::Vertical>},
    {MemberClientWidth, SetClientSide<Qt::Horizontal>, GetClientSide<Qt::Horizontal>},
    {MemberHeight, SetOuterSide<Qt::Vertical>, CommonGet},
    {MemberWidth, SetOuterSide<Qt::Horizontal>, CommonGet},
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
