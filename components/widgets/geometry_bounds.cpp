#include "components/widgets/geometry_bounds.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace vell {

int BoundedSide(const QWidget& widget, int64_t side, Qt::Orientation axis) {
  const int bounded = BoundedSide(side);
  if (!widget.isWindow()) return bounded;
  int largest = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QSize size = screen->size();
    largest = std::max(largest, axis == Qt::Horizontal ? size.width() : size.height());
  }
  if (largest <= 0) return bounded;  // no screen to go by
  return std::min<int64_t>(bounded, int64_t{largest} * kScreensPerWindowSide);
}

QRect PaintedPiece(const QRect& whole, const QRect& exposed) {
  if (int64_t{whole.width()} * whole.height() <= kMaxWholePaintPixels) return whole;
  return exposed.adjusted(-kPaintedPieceSlack, -kPaintedPieceSlack, kPaintedPieceSlack,
                          kPaintedPieceSlack) &
         whole;
}

}  // namespace vell
