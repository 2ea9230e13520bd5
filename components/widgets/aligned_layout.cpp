#include "components/widgets/aligned_layout.h"

#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace vell {

namespace {

constexpr char kAlignProperty[] = "vellAlign";
constexpr char kPlacesAlignedProperty[] = "vellPlacesAligned";

class ParentResizeFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched->isWidgetType()) {
      LayOutAlignedChildren(static_cast<QWidget*>(watched));
    }
    return false;
  }
};

QObject* ResizeFilter() {
  static QPointer<QObject> filter;
  if (!filter) filter = new ParentResizeFilter();
  return filter;
}

void WatchParent(QWidget* parent) {
  if (parent == nullptr || parent->property(kPlacesAlignedProperty).toBool()) return;
  parent->setProperty(kPlacesAlignedProperty, true);
  parent->installEventFilter(ResizeFilter());
}

// Whether a comes before b among controls of the same alignment: the one
// nearer the edge it is aligned to goes first.
bool Before(Alignment alignment, const QWidget* a, const QWidget* b) {
  switch (alignment) {
    case Alignment::Top:
      return a->y() < b->y();
    case Alignment::Bottom:
      return int64_t{a->y()} + a->height() > int64_t{b->y()} + b->height();
    case Alignment::Left:
      return a->x() < b->x();
    case Alignment::Right:
      return int64_t{a->x()} + a->width() > int64_t{b->x()} + b->width();
    default:
      return false;
  }
}

}  // namespace

int32_t AlignmentOf(const QWidget* control) {
  return control == nullptr ? 0 : control->property(kAlignProperty).toInt();
}

void SetAlignment(QWidget* control, int32_t alignment) {
  if (control == nullptr) return;
  control->setProperty(kAlignProperty, alignment);
  if (QWidget* parent = control->parentWidget()) {
    WatchParent(parent);
    LayOutAlignedChildren(parent);
  }
}

void ParentResized(QWidget* parent) {
  if (parent != nullptr && parent->isHidden() &&
      parent->property(kPlacesAlignedProperty).toBool()) {
    LayOutAlignedChildren(parent);
  }
}

void LayOutAlignedChildren(QWidget* parent) {
  if (parent == nullptr) return;
  std::vector<QWidget*> aligned;
  for (QObject* child : parent->children()) {
    if (!child->isWidgetType()) continue;
    auto* w = static_cast<QWidget*>(child);
    const int32_t a = AlignmentOf(w);
    if (a >= static_cast<int32_t>(Alignment::Top) && a <= static_cast<int32_t>(Alignment::Client) &&
        !w->isHidden() && !w->isWindow()) {
      aligned.push_back(w);
    }
  }
  if (aligned.empty()) return;
  WatchParent(parent);
  QRect room = parent->contentsRect();
  for (const Alignment alignment :
       {Alignment::Top, Alignment::Bottom, Alignment::Left, Alignment::Right, Alignment::Client}) {
    std::vector<QWidget*> group;
    for (QWidget* w : aligned) {
      if (AlignmentOf(w) == static_cast<int32_t>(alignment)) group.push_back(w);
    }
    std::stable_sort(group.begin(), group.end(), [alignment](const QWidget* a, const QWidget* b) {
      return Before(alignment, a, b);
    });
    for (QWidget* w : group) {
      switch (alignment) {
        case Alignment::Top:
          w->setGeometry(room.left(), room.top(), std::max(room.width(), 0), w->height());
          room.setTop(room.top() + w->height());
          break;
        case Alignment::Bottom:
          w->setGeometry(room.left(), room.bottom() + 1 - w->height(), std::max(room.width(), 0),
                         w->height());
          room.setBottom(room.bottom() - w->height());
          break;
        case Alignment::Left:
          w->setGeometry(room.left(), room.top(), w->width(), std::max(room.height(), 0));
          room.setLeft(room.left() + w->width());
          break;
        case Alignment::Right:
          w->setGeometry(room.right() + 1 - w->width(), room.top(), w->width(),
                         std::max(room.height(), 0));
          room.setRight(room.right() - w->width());
          break;
        default:
          w->setGeometry(room.left(), room.top(), std::max(room.width(), 0),
                         std::max(room.height(), 0));
          break;
      }
    }
  }
}

}  // namespace vell
