#include "components/widgets/event_hooks.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "components/widgets/component_events.h"
#include "platform/qt/qt_virtual_keys.h"

namespace vell {

namespace {

unsigned FlagOf(ComponentEvent event) { return 1u << static_cast<unsigned>(event); }

// A click taken from the mouse, for objects without a signal of their own.
constexpr unsigned kClickByMouse = 1u << 8;

void Fire(QObject* component, ComponentEvent event, std::initializer_list<int> numbers = {}) {
  if (mwin* table = EventTable()) RunComponentEvent(*table, component, event, numbers);
}

int ButtonOrdinal(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 0;
    case Qt::RightButton:
      return 1;
    case Qt::MiddleButton:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

class EventHook : public QObject {
  Q_OBJECT

 public:
  explicit EventHook(QObject* component) : QObject(component), component_(component) {
    setObjectName(QStringLiteral("vellEventHook"));
  }
  unsigned flags = 0;

  // Watches the mouse on the component (and on the viewport of a scroll area).
  void WatchMouse(bool tracking) {
    auto* widget = qobject_cast<QWidget*>(component_);
    if (widget == nullptr) return;
    QWidget* targets[2] = {widget, nullptr};
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) targets[1] = area->viewport();
    for (QWidget* target : targets) {
      if (target == nullptr) continue;
      if (!watching_) target->installEventFilter(this);
      if (tracking) target->setMouseTracking(true);
    }
    watching_ = true;
  }

 public slots:
  void Click() { Fire(component_, ComponentEvent::Click); }
  void Changed(int) { Fire(component_, ComponentEvent::Click); }
  void Tick() { Fire(component_, ComponentEvent::Timer); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
      return false;
    }
    auto* component = static_cast<QWidget*>(component_);
    auto* from = static_cast<QWidget*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mouse->position().toPoint();
    // A press on a component placed inside this one is that component's.
    if (QWidget* under = from->childAt(local);
        under != nullptr && OwningComponent(under) != component) {
      return false;
    }
    const QPoint at = from == component ? local : from->mapTo(component, local);
    if (type == QEvent::MouseButtonPress && (flags & FlagOf(ComponentEvent::MouseDown)) != 0) {
      const int button = ButtonOrdinal(mouse->button());
      if (button >= 0) Fire(component_, ComponentEvent::MouseDown, {at.x(), at.y(), button});
    } else if (type == QEvent::MouseMove && (flags & FlagOf(ComponentEvent::MouseMove)) != 0) {
      Fire(component_, ComponentEvent::MouseMove, {at.x(), at.y()});
    } else if (type == QEvent::MouseButtonRelease && (flags & kClickByMouse) != 0 &&
               mouse->button() == Qt::LeftButton && component->rect().contains(at)) {
      Fire(component_, ComponentEvent::Click);
    }
    return false;
  }

 private:
  QObject* component_;
  bool watching_ = false;
};

namespace {

// One filter of the whole application for key releases: the form of the
// focused control runs its key SUB first (it sees its controls' keys), then
// the control itself.
class KeyReleaseFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyRelease || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return false;
    // A release the focused widget ignored travels on to its parents: run once.
    if (event == last_ && key->timestamp() == lastTime_ && key->key() == lastKey_) return false;
    last_ = event;
    lastTime_ = key->timestamp();
    lastKey_ = key->key();
    const int code = qt::VirtualKeyOf(*key);
    if (code == 0) return false;
    auto* widget = static_cast<QWidget*>(watched);
    QPointer<QWidget> control = OwningComponent(widget);
    QPointer<QWidget> form = widget->window();
    if (form != control && EventHooked(form, ComponentEvent::KeyUp)) {
      Fire(form, ComponentEvent::KeyUp, {code});
    }
    if (control && EventHooked(control, ComponentEvent::KeyUp)) {
      Fire(control, ComponentEvent::KeyUp, {code});
    }
    return false;
  }

 private:
  const QEvent* last_ = nullptr;
  quint64 lastTime_ = 0;
  int lastKey_ = 0;
};

void InstallKeyReleaseFilter() {
  static QPointer<QObject> filter;
  if (filter || qApp == nullptr) return;
  filter = new KeyReleaseFilter(qApp);
  qApp->installEventFilter(filter);
}

EventHook* HookOf(const QObject* object) {
  return object == nullptr ? nullptr
                           : object->findChild<EventHook*>(QStringLiteral("vellEventHook"),
                                                           Qt::FindDirectChildrenOnly);
}

}  // namespace

QWidget* OwningComponent(QWidget* widget) {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (w->property(kSlotProperty).isValid()) return w;
  }
  return nullptr;
}

bool EventHooked(const QObject* object, ComponentEvent event) {
  const EventHook* hook = HookOf(object);
  return hook != nullptr && (hook->flags & FlagOf(event)) != 0;
}

void HookEvent(QObject* object, ComponentEvent event) {
  if (object == nullptr) return;
  EventHook* hook = HookOf(object);
  if (hook == nullptr) hook = new EventHook(object);
  const unsigned flag = FlagOf(event);
  if ((hook->flags & flag) != 0) return;
  hook->flags |= flag;
  switch (event) {
    case ComponentEvent::Click:
      // A group box says "clicked" only of its check box: it takes the mouse.
      if (object->metaObject()->indexOfSignal("clicked()") >= 0 &&
          qobject_cast<QGroupBox*>(object) == nullptr) {
        QObject::connect(object, SIGNAL(clicked()), hook, SLOT(Click()));
      } else if (auto* slider = qobject_cast<QAbstractSlider*>(object)) {
        QObject::connect(slider, &QAbstractSlider::valueChanged, hook, &EventHook::Changed);
      } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        QObject::connect(combo, &QComboBox::activated, hook, &EventHook::Changed);
      } else {
        hook->flags |= kClickByMouse;
        hook->WatchMouse(false);
      }
      break;
    case ComponentEvent::MouseDown:
      hook->WatchMouse(false);
      break;
    case ComponentEvent::MouseMove:
      hook->WatchMouse(true);
      break;
    case ComponentEvent::KeyUp:
      InstallKeyReleaseFilter();
      break;
    case ComponentEvent::Timer:
      if (auto* timer = qobject_cast<QTimer*>(object)) {
        QObject::connect(timer, &QTimer::timeout, hook, &EventHook::Tick);
      }
      break;
    case ComponentEvent::Close:
      break;  // a form's own close handling asks EventHooked
  }
}

}  // namespace vell

#include "event_hooks.moc"
