#include "components/widgets/geometry_bounds.h"

#include <QRect>

namespace vell {

QRect PaintedPiece(const QRect& whole, const QRect& exposed) {
  if (int64_t{whole.width()} * whole.height() <= kMaxWholePaintPixels) return whole;
  return exposed.adjusted(-kPaintedPieceSlack, -kPaintedPieceSlack, kPaintedPieceSlack,
                          kPaintedPieceSlack) &
         whole;
}

}  // namespace vell
