// The control behind an IMAGE component: a 32-bit RGB bitmap that programs
// draw on at the pen position, shown in a widget (as it is, fitted by
// STRETCH, or with the bottom-left colour see-through by TRANSPARENT).
// COPY fills the one scratch image that all images share, and PASTE, CROSS
// and MERGE read it; before the first COPY it is empty and they do nothing.
//
// Drawing rules: figures are given as (left, top)-(right, bottom) with the
// right and bottom edges exclusive; lines leave out their end pixel; no
// antialiasing.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "components/widgets/geometry_bounds.h"
#include "components/widgets/member_failure.h"

namespace vell {

// The size of an image control that nothing has sized yet.
constexpr int kDefaultImageSide = 105;

// A failure of an image operation: a member failure like any other.
class ImageError : public MemberFailure {
 public:
  using MemberFailure::MemberFailure;
};

// The picture formats LOADFILE reads (bmp, ico, gif, jpeg, png) that this
// Qt installation has no decoder for; empty when all are there.
QStringList MissingPictureDecoders();

class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return bitmap_; }

  // WIDTH and HEIGHT: the control's and then the bitmap's size. 0 or less
  // gives an empty bitmap. The control's side is bounded by kMaxControlSide,
  // the bitmap by kMaxBitmapSide and kMaxBitmapPixels (geometry_bounds.h):
  // a larger control keeps the bounded bitmap at its top left. Content
  // inside the new size stays, added areas are white.
  void SetWidthAndBitmap(int width);
  void SetHeightAndBitmap(int height);

  // The pen position P.
  QPoint Pos() const { return pos_; }
  void SetPos(QPoint pos) { pos_ = pos; }

  // COLOR sets the font's and the pen's colour; PenColor reads it back.
  void SetColor(int32_t color);
  int32_t PenColor() const { return penColor_; }
  void SetPenWidth(int width) { penWidth_ = width; }
  int PenWidth() const { return penWidth_; }
  void SetPenStyle(int style) { penStyle_ = style & 0xFF; }
  int PenStyle() const { return penStyle_; }

  // The drawing font that TEXTOUT uses.
  void SetFontColor(int32_t color) { fontColor_ = color; }
  int32_t FontColor() const { return fontColor_; }
  void SetFontName(const QString& name);
  QString FontName() const { return fontName_; }
  void SetFontSize(int points);
  int FontSize() const { return fontSize_; }
  void SetFontBold(bool on) { font_.setBold(on); }
  bool FontBold() const { return font_.bold(); }
  void SetFontItalic(bool on) { font_.setItalic(on); }
  bool FontItalic() const { return font_.italic(); }
  void SetFontUnderline(bool on) { font_.setUnderline(on); }
  bool FontUnderline() const { return font_.underline(); }
  void SetFontStrikeOut(bool on) { font_.setStrikeOut(on); }
  bool FontStrikeOut() const { return font_.strikeOut(); }
  const QFont& DrawingFont() const { return font_; }

  // How the control shows its bitmap.
  void SetAutoSize(bool on);
  bool AutoSize() const { return autoSize_; }
  void SetStretch(bool on);
  bool Stretch() const { return stretch_; }
  void SetTransparent(bool on);
  bool Transparent() const { return transparent_; }

  // The drawing methods, all at P.
  void Cls();
  void Circle(int w, int h);
  void Rect(int w, int h);
  void RoundRect(int w, int h, int r);
  void LineTo(QPoint end);  // also moves P to `end`
  void Fill();
  int32_t Pixel() const;  // -1 outside the bitmap
  void SetPixel(int32_t color);
  void Copy(int w, int h, QImage& scratch) const;
  void Paste(const QImage& scratch);
  void Dark(int w, int h, int f);
  void Cross(const QImage& scratch, int f);
  void Merge(const QImage& scratch);
  // Draws one character after the other from P with a 1-pixel gap, breaking
  // lines at LF, at "\n" and before the control's right margin; "\\" draws a
  // backslash and a backslash before any other character drops both. P ends
  // after the last character.
  void TextOut(std::u16string_view text);

  // LOADFILE and SAVEFILE; failures throw ImageError.
  void LoadFile(const QString& path);
  void SaveFile(const QString& path) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ResizeBitmap(int width, int height);
  void Repaint();  // shows the bitmap's changes soon, once for many
  void BitmapChanged();
  void FitToBitmap();
  void DrawFigure(int w, int h, int r, bool ellipse);

  QImage bitmap_;  // null while either side is 0 or less
  int bitmapWidth_ = 0;
  int bitmapHeight_ = 0;
  QPoint pos_{0, 0};
  int32_t penColor_ = 0;
  int penWidth_ = 1;
  int penStyle_ = 0;
  int32_t fontColor_ = 0;
  QString fontName_;
  int fontSize_ = 0;
  QFont font_;
  bool autoSize_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
  QTimer repaintTimer_;
};

}  // namespace vell
