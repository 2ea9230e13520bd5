// How far a program's position, size, margin or font size may reach into Qt.
//
// Programs give these as 32-bit integers and keep them: nothing is refused.
// What goes on to Qt is bounded to what a window system can show (X keeps
// window coordinates and sizes in 16 bits; 32767 pixels is the usual limit
// elsewhere too), and a window's size to a few screens, so that no sum of a
// position and a size overflows and no control paints or allocates in
// proportion to a size nobody can see. The arithmetic that combines a
// program's value with a coordinate is done in 64 bits before it is bounded.
#pragma once

#include <qnamespace.h>

#include <algorithm>
#include <cstdint>

class QRect;
class QWidget;

namespace vell {

// A control's or a form's width and height: 0 to this.
constexpr int kMaxControlSide = 32767;
// A control's or a form's left and top.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;
// A margin inside a control (text box formatting rectangle, button caption).
constexpr int kMaxMargin = kMaxControlSide;
// A control's font size in points (about 2700 pixels on the screen); an
// image's drawing font is bounded by kMaxBitmapSide in pixels instead.
constexpr int kMaxFontPoints = 2048;
// An image's bitmap: each side at most this, and at most kMaxBitmapPixels
// pixels (256 MB at 32 bits) in all; a larger control keeps a bitmap of the
// bounded size at its top left.
constexpr int kMaxBitmapSide = 16384;
constexpr int64_t kMaxBitmapPixels = int64_t{8192} * 8192;
// A control that the style paints through a picture of its own size is
// painted whole up to this many pixels; a larger one is painted as a piece,
// the part being shown with kPaintedPieceSlack pixels around it, so that the
// edges it draws for the piece lie out of sight.
constexpr int64_t kMaxWholePaintPixels = int64_t{2048} * 2048;
constexpr int kPaintedPieceSlack = 64;

constexpr int BoundedSide(int64_t side) {
  return static_cast<int>(std::clamp<int64_t>(side, 0, kMaxControlSide));
}
constexpr int BoundedCoordinate(int64_t at) {
  return static_cast<int>(std::clamp<int64_t>(at, kMinCoordinate, kMaxCoordinate));
}
constexpr int BoundedMargin(int64_t margin) {
  return static_cast<int>(std::clamp<int64_t>(margin, -kMaxMargin, kMaxMargin));
}
// A positive font size (others are not passed on), bounded.
constexpr int BoundedFontPoints(int64_t points) {
  return static_cast<int>(std::clamp<int64_t>(points, 1, kMaxFontPoints));
}
// Any 64-bit result as an int, saturated.
constexpr int SaturatedInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// A window (a form, the main window) at most this many of the largest
// screen's width and height: the window system keeps, and the window is
// painted through, a picture of the window's size.
constexpr int kScreensPerWindowSide = 4;

// A side along `axis` (horizontal: the width) of `widget`, from a
// program's value: BoundedSide, and for a window at most
// kScreensPerWindowSide times the largest screen's side along the axis.
int BoundedSide(const QWidget& widget, int64_t side, Qt::Orientation axis);

// The part of `whole` (a widget's rectangle) that a paint of `exposed` has
// the style draw: `whole` up to kMaxWholePaintPixels, else `exposed` with
// kPaintedPieceSlack around it, inside `whole`.
QRect PaintedPiece(const QRect& whole, const QRect& exposed);

}  // namespace vell
