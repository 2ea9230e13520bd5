// Pixel work on the bitmaps of IMAGE components: one-pixel lines without
// their end pixel, the scan-line flood fill, rectangle copies, and the three
// pixel effects (darken, blend, multiply). Every routine works on 32-bit RGB
// images (QImage::Format_RGB32) through their rows, clips to the bitmap and
// never touches memory outside it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <cstdint>

namespace vell {

// Pen styles as programs number them (PENSTYLE).
enum ImagePenStyle : int {
  PenSolid = 0,
  PenDash = 1,
  PenDot = 2,
  PenDashDot = 3,
  PenDashDotDot = 4,
  PenClear = 5,
  PenInsideFrame = 6,
  PenUserStyle = 7,
  PenAlternate = 8,
};

// The weights of DARK and CROSS are clamped to 0..256 (256 keeps the pixel).
constexpr int kFullWeight = 256;

// A colour as programs write it (0x00BBGGRR) as an opaque Qt pixel, and back.
QRgb RgbFromColor(int32_t color);
int32_t ColorFromRgb(QRgb rgb);

// A line one pixel wide from `from` to `to` in the pen style's dash pattern;
// the end pixel is not drawn, so joined lines never paint a corner twice. A
// clear pen draws nothing.
void DrawThinLine(QImage& image, QPoint from, QPoint to, QRgb color, int penStyle);

// Paints `color` over every pixel connected to `start` (left, right, up and
// down) that has the colour `start` has. Iterative, by spans of rows, so the
// work and the memory grow with the area, never with a call depth. A start
// outside the image, or a region already of `color`, changes nothing.
void FloodFill(QImage& image, QPoint start, QRgb color);

// Fills the part of `rect` that lies inside the image.
void FillRectangle(QImage& image, const QRect& rect, QRgb color);

// Makes `target` a copy of the w x h region of `source` at `at`; parts of the
// region outside `source` are white. w or h of 0 or less gives an empty image.
void CopyRegion(const QImage& source, QPoint at, int w, int h, QImage& target);

// Draws `source` at `at` onto `target`, clipped to `target`. With
// `transparent`, source pixels of the colour `see` leave the target as it was.
void PasteImage(QImage& target, QPoint at, const QImage& source, bool transparent, QRgb see);

// The colour of the bottom-left pixel: the see-through colour of a pasted or
// blended scratch image. The image must not be empty.
QRgb BottomLeftColor(const QImage& image);

// DARK: each channel b of the w x h region at `at` becomes (b * f) div 256,
// with f clamped to 0..256. Clipped at the right and bottom edges; a region
// that starts above row 0 changes nothing, columns left of 0 are skipped.
void ScaleBrightness(QImage& image, QPoint at, int w, int h, int f);

// CROSS: every pixel of `scratch` but those of its bottom-left colour mixes
// into the image at `at`: each channel d := s + trunc((d - s) * f / 256), f
// clamped to 0..256. Clipped as ScaleBrightness.
void BlendImage(QImage& image, QPoint at, const QImage& scratch, int f);

// MERGE: as BlendImage with each channel d := (d * s) div 256.
void MultiplyImage(QImage& image, QPoint at, const QImage& scratch);

}  // namespace vell
