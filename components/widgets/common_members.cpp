#include "components/widgets/common_members.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QPalette>
#include <QVariant>
#include <QWidget>
#include <array>

#include "components/widgets/aligned_layout.h"
#include "components/widgets/event_hooks.h"
#include "components/widgets/geometry_bounds.h"
#include "components/widgets/member_failure.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/fonts.h"

namespace vell {

namespace {

constexpr char kColorProperty[] = "vellColor";
constexpr char kFontColorProperty[] = "vellFontColor";
constexpr char kCursorProperty[] = "vellCursor";

constexpr char kCannotFocusText[] = "Cannot focus a disabled or invisible window";

// The high byte that marks a system colour; its low byte is the index.
constexpr uint32_t kSystemColorMark = 0xFF000000u;

// The Windows system colours by index, as roles of the style's palette.
// Index 25 is unused there and stays unused here.
struct SystemColor {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
  bool used;
};
constexpr SystemColor kSystemColors[] = {
    {QPalette::Active, QPalette::Button, true},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark, true},             // 1 desktop
    {QPalette::Active, QPalette::Highlight, true},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid, true},            // 3 inactive caption
    {QPalette::Active, QPalette::Window, true},           // 4 menu
    {QPalette::Active, QPalette::Base, true},             // 5 window
    {QPalette::Active, QPalette::Shadow, true},           // 6 window frame
    {QPalette::Active, QPalette::WindowText, true},       // 7 menu text
    {QPalette::Active, QPalette::Text, true},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText, true},  // 9 caption text
    {QPalette::Active, QPalette::Button, true},           // 10 active border
    {QPalette::Inactive, QPalette::Button, true},         // 11 inactive border
    {QPalette::Active, QPalette::Mid, true},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight, true},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, true},  // 14 highlighted text
    {QPalette::Active, QPalette::Button, true},           // 15 button face
    {QPalette::Active, QPalette::Dark, true},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text, true},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText, true},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText, true},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light, true},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow, true},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight, true},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText, true},      // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase, true},      // 24 tooltip background
    {QPalette::Active, QPalette::Window, false},          // 25 unused
    {QPalette::Active, QPalette::Link, true},             // 26 hot light
    {QPalette::Active, QPalette::Highlight, true},        // 27 active caption gradient
    {QPalette::Inactive, QPalette::Mid, true},            // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight, true},        // 29 menu highlight
    {QPalette::Active, QPalette::Window, true},           // 30 menu bar
};

// The cursor codes 0, -1, -2, ... in order.
constexpr Qt::CursorShape kCursors[] = {
    Qt::ArrowCursor,         // 0 default (not applied: the control's own)
    Qt::BlankCursor,         // -1 none
    Qt::ArrowCursor,         // -2 arrow
    Qt::CrossCursor,         // -3 cross
    Qt::IBeamCursor,         // -4 I-beam
    Qt::SizeAllCursor,       // -5 size
    Qt::SizeBDiagCursor,     // -6 size north-east to south-west
    Qt::SizeVerCursor,       // -7 size north to south
    Qt::SizeFDiagCursor,     // -8 size north-west to south-east
    Qt::SizeHorCursor,       // -9 size west to east
    Qt::UpArrowCursor,       // -10 up arrow
    Qt::WaitCursor,          // -11 hourglass
    Qt::DragCopyCursor,      // -12 drag
    Qt::ForbiddenCursor,     // -13 no drop
    Qt::SplitHCursor,        // -14 horizontal split
    Qt::SplitVCursor,        // -15 vertical split
    Qt::DragCopyCursor,      // -16 multiple drag
    Qt::BusyCursor,          // -17 database wait
    Qt::ForbiddenCursor,     // -18 no
    Qt::BusyCursor,          // -19 application starting
    Qt::WhatsThisCursor,     // -20 help
    Qt::PointingHandCursor,  // -21 pointing hand
    Qt::SizeAllCursor,       // -22 size all
};

QWidget* Widget(MemberCall& call) {
  return call.object != nullptr && call.object->isWidgetType() ? static_cast<QWidget*>(call.object)
                                                               : nullptr;
}

// A member the object cannot have (a widget member of a timer, say).
int UnknownSet(MemberCall& call) {
  SetRunState(call.interp, ErrorUndefined);
  return 1;
}
bool UnknownGet(MemberCall& call) {
  SetRunState(call.interp, ErrorUndefined);
  return false;
}

bool Flag(int32_t v) { return v != 0; }

// Places the parent's aligned children again after an aligned child changed.
void Realign(QWidget* w) {
  if (AlignmentOf(w) != 0) LayOutAlignedChildren(w->parentWidget());
}

// --- position and size ------------------------------------------------------
// LEFT, TOP, WIDTH and HEIGHT go to Qt bounded (geometry_bounds.h) and read
// back what the control really has.

int SetLeft(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->move(BoundedCoordinate(call.IntArg()), w->y());
  Realign(w);
  return 1;
}
bool GetLeft(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->x();
  return true;
}
int SetTop(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->move(w->x(), BoundedCoordinate(call.IntArg()));
  Realign(w);
  return 1;
}
bool GetTop(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->y();
  return true;
}

// A window's width and height include its frame.
QSize FrameExtra(const QWidget* w) {
  if (!w->isWindow()) return {0, 0};
  const QRect frame = w->frameGeometry();
  return {frame.width() - w->width(), frame.height() - w->height()};
}

int SetWidth(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->resize(BoundedSide(*w, int64_t{call.IntArg()} - FrameExtra(w).width(), Qt::Horizontal),
            w->height());
  Realign(w);
  ParentResized(w);
  return 1;
}
bool GetWidth(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->width() + FrameExtra(w).width();
  return true;
}
int SetHeight(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->resize(w->width(),
            BoundedSide(*w, int64_t{call.IntArg()} - FrameExtra(w).height(), Qt::Vertical));
  Realign(w);
  ParentResized(w);
  return 1;
}
bool GetHeight(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->height() + FrameExtra(w).height();
  return true;
}

// --- flags --------------------------------------------------------------------

int SetVisible(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->setVisible(Flag(call.IntArg()));
  Realign(w);
  return 1;
}
// The widget's own flag, whether or not its parent shows it now.
bool GetVisible(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->isHidden() ? 0 : 1;
  return true;
}
int SetEnabled(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  w->setEnabled(Flag(call.IntArg()));
  return 1;
}
bool GetEnabled(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->testAttribute(Qt::WA_ForceDisabled) ? 0 : 1;
  return true;
}

// --- colours ------------------------------------------------------------------

// The colour a control starts with, as COLOR reads it until a program sets
// one: the window colour for the controls that show text or lines on a
// background of their own, the button face for the others.
int32_t StartColor(int32_t type) {
  switch (type) {
    case TypeTextBox:
    case TypeListBox:
    case TypeComboBox:
      return kWindowColor;
    default:
      return kButtonFaceColor;
  }
}

// The palette roles that paint a control's background.
std::array<QPalette::ColorRole, 2> BackgroundRoles(const QWidget* w) {
  QPalette::ColorRole second = w->backgroundRole();
  if (qobject_cast<const QAbstractScrollArea*>(w) != nullptr ||
      qobject_cast<const QComboBox*>(w) != nullptr ||
      qobject_cast<const QLineEdit*>(w) != nullptr) {
    second = QPalette::Base;
  } else if (qobject_cast<const QAbstractButton*>(w) != nullptr) {
    second = QPalette::Button;
  }
  return {w->backgroundRole(), second};
}

int SetColor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  SetControlColor(w, call.IntArg());
  return 1;
}
bool GetColor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  const QVariant raw = w->property(kColorProperty);
  call.result = raw.isValid() ? raw.toInt() : StartColor(call.Component().type);
  return true;
}

int SetFontColor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  const int32_t v = call.IntArg();
  w->setProperty(kFontColorProperty, v);
  if (const std::optional<QColor> color = ColorOfValue(v)) {
    QPalette palette = w->palette();
    for (const QPalette::ColorRole role :
         {w->foregroundRole(), QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      palette.setColor(role, *color);
    }
    w->setPalette(palette);
  }
  return 1;
}
bool GetFontColor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  const QVariant raw = w->property(kFontColorProperty);
  call.result = raw.isValid() ? raw.toInt() : kWindowTextColor;
  return true;
}

// --- fonts --------------------------------------------------------------------

int SetFontName(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  qt::InstallFontSubstitutions();  // the Japanese and Windows family names
  QFont font = w->font();
  font.setFamily(call.TextArg());
  w->setFont(font);
  return 1;
}
bool GetFontName(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = MemberCall::Text(w->font().family());
  return true;
}
int SetFontSize(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  const int32_t size = call.IntArg();
  if (size > 0) {
    QFont font = w->font();
    font.setPointSize(BoundedFontPoints(size));
    w->setFont(font);
  }
  return 1;
}
bool GetFontSize(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  const QFont font = w->font();
  int points = font.pointSize();
  if (points <= 0)
    points = (font.pixelSize() * 72 + w->logicalDpiY() / 2) / std::max(w->logicalDpiY(), 1);
  call.result = points;
  return true;
}

// The four style members: 1 adds the style, anything else removes it; the
// other styles stay as they were.
template <void (QFont::*Set)(bool), bool (QFont::*Get)() const>
int SetStyle(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  QFont font = w->font();
  (font.*Set)(call.IntArg() == 1);
  w->setFont(font);
  return 1;
}
template <void (QFont::*Set)(bool), bool (QFont::*Get)() const>
bool GetStyle(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = (w->font().*Get)() ? 1 : 0;
  return true;
}

// --- cursor, focus, stacking ------------------------------------------------

int SetCursor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  SetCursorCode(w, static_cast<int16_t>(static_cast<uint16_t>(call.IntArg() & 0xFFFF)));
  return 1;
}
bool GetCursor(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = w->property(kCursorProperty).toInt();
  return true;
}

// A control can take the focus when it and the controls it lies in, up to
// its form, are visible and enabled; a form when it is itself.
bool CanTakeFocus(const QWidget* w) {
  if (w->isWindow()) return !w->isHidden() && w->isEnabled();
  const QWidget* form = w->window();
  return !w->isHidden() && w->isVisibleTo(form) && w->isEnabledTo(form);
}

// A hidden or disabled control refuses the focus with the class library's
// message.
int Focus(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  if (!CanTakeFocus(w)) ReportMemberFailure(call, QString::fromLatin1(kCannotFocusText));
  if (w->isWindow()) w->activateWindow();
  w->setFocus(Qt::OtherFocusReason);
  return 1;
}

int ZOrder(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  const int32_t v = call.IntArg();
  if (v == 1) {
    w->raise();
  } else if (v == 0 && IsWindowedType(call.Component().type)) {
    w->lower();
  }
  return 1;
}

// --- ALIGN ------------------------------------------------------------------

int SetAlign(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  const int32_t before = AlignmentOf(w);
  SetAlignment(w, call.IntArg() & 0xFF);
  if (before != 0 && AlignmentOf(w) == 0) LayOutAlignedChildren(w->parentWidget());
  return 1;
}
bool GetAlign(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  call.result = AlignmentOf(w);
  return true;
}

// --- PARENT -------------------------------------------------------------------

// PARENT n: 0 is the output panel; else slot n must hold a windowed control
// (a form, a panel, a group box, ...) that is neither the control itself nor
// one that lies inside it. Anything else answers 0 and changes nothing.
int SetParent(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  const int32_t n = call.IntArg();
  if (n < 0 || n >= kComponentSlots) return 0;
  if (call.slot == kMainWindowSlot || w == call.table.Host().MainWindowWidget()) return 0;
  QWidget* parent = nullptr;
  if (n == 0) {
    parent = call.table.Host().DefaultParent();
  } else {
    const ComponentSlot& target = call.table.Slot(n);
    if (!target.Usable() || !IsWindowedType(target.type) || !target.object->isWidgetType())
      return 0;
    parent = static_cast<QWidget*>(target.object.data());
  }
  if (parent == nullptr || parent == w || w->isAncestorOf(parent)) return 0;
  MoveControl(w, parent);
  call.Component().parentSlot = n;
  return 1;
}

// --- CAPTION ------------------------------------------------------------------

// The control's text: a window's title, else its "text" or "title".
const char* TextProperty(const QWidget* w) {
  for (const char* name : {"text", "title"}) {
    if (w->metaObject()->indexOfProperty(name) >= 0) return name;
  }
  return nullptr;
}

// A window title as the program gave it (qt::LiteralWindowTitle doubles
// the placeholder "[*]" so that the title shows it).
QString ProgramTitle(QString title) {
  return title.replace(QStringLiteral("[*][*]"), QStringLiteral("[*]"));
}

int SetCaption(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownSet(call);
  if (w->isWindow()) {
    w->setWindowTitle(qt::LiteralWindowTitle(call.TextArg()));
  } else if (const char* name = TextProperty(w)) {
    w->setProperty(name, call.TextArg());
  } else {
    return UnknownSet(call);
  }
  return 1;
}
bool GetCaption(MemberCall& call) {
  QWidget* w = Widget(call);
  if (w == nullptr) return UnknownGet(call);
  if (w->isWindow()) {
    call.result = MemberCall::Text(ProgramTitle(w->windowTitle()));
  } else if (const char* name = TextProperty(w)) {
    call.result = MemberCall::Text(w->property(name).toString());
  } else {
    return UnknownGet(call);
  }
  return true;
}

// --- events -------------------------------------------------------------------

int OnClick(MemberCall& call) { return SetEventName(call, ComponentEvent::Click); }
int OnMouseDown(MemberCall& call) { return SetEventName(call, ComponentEvent::MouseDown); }
int OnMouseMove(MemberCall& call) { return SetEventName(call, ComponentEvent::MouseMove); }
int OnKey(MemberCall& call) { return SetEventName(call, ComponentEvent::KeyUp); }
int OnTimer(MemberCall& call) { return SetEventName(call, ComponentEvent::Timer); }
int OnClose(MemberCall& call) { return SetEventName(call, ComponentEvent::Close); }

constexpr MemberBinding kCommon[] = {
    {MemberAlign, SetAlign, GetAlign},
    {MemberCaption, SetCaption, GetCaption},
    {MemberColor, SetColor, GetColor},
    {MemberCursor, SetCursor, GetCursor},
    {MemberEnabled, SetEnabled, GetEnabled},
    {MemberFontBold, SetStyle<&QFont::setBold, &QFont::bold>,
     GetStyle<&QFont::setBold, &QFont::bold>},
    {MemberFontColor, SetFontColor, GetFontColor},
    {MemberFontItalic, SetStyle<&QFont::setItalic, &QFont::italic>,
     GetStyle<&QFont::setItalic, &QFont::italic>},
    {MemberFontName, SetFontName, GetFontName},
    {MemberFontSize, SetFontSize, GetFontSize},
    {MemberFontStrikeOut, SetStyle<&QFont::setStrikeOut, &QFont::strikeOut>,
     GetStyle<&QFont::setStrikeOut, &QFont::strikeOut>},
    {MemberFontUnderline, SetStyle<&QFont::setUnderline, &QFont::underline>,
     GetStyle<&QFont::setUnderline, &QFont::underline>},
    {MemberHeight, SetHeight, GetHeight},
    {MemberLeft, SetLeft, GetLeft},
    {MemberParent, SetParent, nullptr},
    {MemberTop, SetTop, GetTop},
    {MemberVisible, SetVisible, GetVisible},
    {MemberWidth, SetWidth, GetWidth},
    {MemberFocus, Focus, nullptr},
    {MemberZOrder, ZOrder, nullptr},
    {MemberOnClick, OnClick, nullptr},
    {MemberOnClose, OnClose, nullptr},
    {MemberOnKey, OnKey, nullptr},
    {MemberOnMouseDown, OnMouseDown, nullptr},
    {MemberOnMouseMove, OnMouseMove, nullptr},
    {MemberOnTimer, OnTimer, nullptr},
};

}  // namespace

std::span<const MemberBinding> CommonMembers() { return kCommon; }

std::optional<QColor> ColorOfValue(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  if ((bits & 0xFF000000u) == kSystemColorMark) {
    const uint32_t index = bits & 0x00FFFFFFu;
    if (index >= std::size(kSystemColors) || !kSystemColors[index].used) return std::nullopt;
    const SystemColor& s = kSystemColors[index];
    return QApplication::palette().color(s.group, s.role);
  }
  return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

void SetControlColor(QWidget* widget, int32_t value) {
  widget->setProperty(kColorProperty, value);
  if (const std::optional<QColor> color = ColorOfValue(value)) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : BackgroundRoles(widget)) palette.setColor(role, *color);
    widget->setPalette(palette);
    if (!widget->isWindow()) widget->setAutoFillBackground(true);
  }
}

void SetCursorCode(QWidget* widget, int32_t code) {
  widget->setProperty(kCursorProperty, code);
  if (const std::optional<Qt::CursorShape> shape = CursorOfCode(code)) {
    widget->setCursor(*shape);
  } else {
    widget->unsetCursor();
  }
}

std::optional<Qt::CursorShape> CursorOfCode(int32_t code) {
  if (code >= 0 || -code >= static_cast<int32_t>(std::size(kCursors))) return std::nullopt;
  return kCursors[-code];
}

bool IsWindowedType(int32_t type) {
  switch (type) {
    case TypeForm:
    case TypeButton:
    case TypeTextBox:
    case TypeCheckBox:
    case TypeRadioButton:
    case TypeListBox:
    case TypeComboBox:
    case TypeScrollBar:
    case TypeGroupBox:
    case TypePanel:
      return true;
    default:
      return false;
  }
}

void MoveControl(QWidget* control, QWidget* parent) {
  QWidget* oldParent = control->parentWidget();
  if (parent == oldParent) return;
  // Qt hides a widget that changes parents; it keeps its own visibility.
  const bool shown = !control->isHidden();
  const QPoint at = control->isWindow() ? QPoint(0, 0) : control->pos();
  control->setParent(parent);
  control->move(at);
  if (shown) control->show();
  if (AlignmentOf(control) != 0) {
    LayOutAlignedChildren(oldParent);
    SetAlignment(control, AlignmentOf(control));
  }
}

int SetEventName(MemberCall& call, ComponentEvent event) {
  call.Component().EventName(event) = vellvar(WideString(call.args[0]));
  HookEvent(call.object, event);
  return 1;
}

}  // namespace vell
