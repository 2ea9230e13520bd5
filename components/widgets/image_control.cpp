#include "components/widgets/image_control.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QImageWriter>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "components/widgets/image_pixels.h"
#include "platform/qt/fonts.h"
#include "platform/qt/whole_text_files.h"

namespace vell {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;
const char16_t kDefaultFontName[] = u"Tahoma";
constexpr int kDefaultFontSize = 8;
constexpr int kTextGap = 1;          // pixels between two characters
constexpr int kTextRightMargin = 5;  // pixels kept free at the control's right edge
constexpr int kRepaintDelayMs = 15;  // drawing shows at most this much later

// Font points as pixels on the screen: points * 96 / 72, rounded.
int64_t PointsToPixels(int64_t points) {
  return (points * kScreenDpi + kPointsPerInch / 2) / kPointsPerInch;
}

// Whether a bitmap of w x h pixels is larger than a bitmap may be.
bool TooLargeForBitmap(int w, int h) {
  return w > kMaxBitmapSide || h > kMaxBitmapSide ||
         int64_t{std::max(w, 0)} * std::max(h, 0) > kMaxBitmapPixels;
}

// COPY's region: refused when larger than a bitmap may be.
void CheckRegion(int w, int h) {
  if (TooLargeForBitmap(w, h)) {
    throw ImageError(QStringLiteral("Bitmap image is too large: %1 x %2 pixels (at most %3 x %3)")
                         .arg(w)
                         .arg(h)
                         .arg(kMaxBitmapSide)
                         .toStdString());
  }
}

// The bitmap's side for a control side, given the bitmap's other side.
int BitmapSide(int controlSide, int otherSide) {
  const int64_t room = kMaxBitmapPixels / std::max(otherSide, 1);
  return static_cast<int>(std::min<int64_t>({controlSide, kMaxBitmapSide, room}));
}

QImage NewBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return QImage();
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) throw ImageError("Not enough memory for the bitmap image");
  image.fill(kWhite);
  return image;
}

// The picture loader's format for an extension, or null for none.
const char* FormatForExtension(const QString& extension) {
  if (extension == u"bmp") return "bmp";
  if (extension == u"ico") return "ico";
  if (extension == u"gif") return "gif";
  if (extension == u"jpg" || extension == u"jpeg") return "jpeg";
  if (extension == u"png") return "png";
  return nullptr;
}

[[noreturn]] void Fail(const QString& text) { throw ImageError(text.toStdString()); }

}  // namespace

QStringList MissingPictureDecoders() {
  const QList<QByteArray> present = QImageReader::supportedImageFormats();
  QStringList missing;
  for (const char* format : {"bmp", "ico", "gif", "jpeg", "png"}) {
    if (!present.contains(format)) missing << QString::fromLatin1(format);
  }
  return missing;
}

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
  repaintTimer_.setSingleShot(true);
  repaintTimer_.setInterval(kRepaintDelayMs);
  connect(&repaintTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
  resize(kDefaultImageSide, kDefaultImageSide);
  fontName_ = QString::fromUtf16(kDefaultFontName);
  fontSize_ = kDefaultFontSize;
  font_ = qt::WindowsFont(fontName_, -static_cast<int>(PointsToPixels(fontSize_)));
  font_.setStyleStrategy(QFont::NoAntialias);
  // A new image: the bitmap has the control's size and is white.
  bitmap_ = NewBitmap(width(), height());
  bitmapWidth_ = width();
  bitmapHeight_ = height();
}

void ImageControl::SetWidthAndBitmap(int width) {
  resize(BoundedSide(width), height());
  ResizeBitmap(BitmapSide(this->width(), bitmapHeight_), bitmapHeight_);
}

void ImageControl::SetHeightAndBitmap(int height) {
  resize(width(), BoundedSide(height));
  ResizeBitmap(bitmapWidth_, BitmapSide(this->height(), bitmapWidth_));
}

void ImageControl::ResizeBitmap(int width, int height) {
  QImage resized = NewBitmap(width, height);
  PasteImage(resized, QPoint(0, 0), bitmap_, false, 0);
  bitmap_ = std::move(resized);
  bitmapWidth_ = width;
  bitmapHeight_ = height;
  BitmapChanged();
}

void ImageControl::Repaint() {
  // A program that draws pixel by pixel would otherwise have the control
  // painted between every two statements (the run processes events before
  // each); the drawing shows within a frame all the same.
  if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void ImageControl::BitmapChanged() {
  if (autoSize_) FitToBitmap();
  Repaint();
}

void ImageControl::FitToBitmap() { resize(std::max(bitmapWidth_, 0), std::max(bitmapHeight_, 0)); }

void ImageControl::SetColor(int32_t color) {
  fontColor_ = color;
  penColor_ = color;
}

void ImageControl::SetFontName(const QString& name) {
  fontName_ = name;
  const int64_t pixels =
      std::clamp<int64_t>(PointsToPixels(fontSize_), -kMaxBitmapSide, kMaxBitmapSide);
  QFont font = qt::WindowsFont(name, -static_cast<int>(pixels));
  font.setBold(font_.bold());
  font.setItalic(font_.italic());
  font.setUnderline(font_.underline());
  font.setStrikeOut(font_.strikeOut());
  font.setStyleStrategy(QFont::NoAntialias);
  font_ = font;
}

void ImageControl::SetFontSize(int points) {
  fontSize_ = points;
  // 0 keeps the default height; a negative size is a height in pixels.
  int64_t pixels = points > 0 ? PointsToPixels(points) : -int64_t{points};
  if (pixels == 0) pixels = PointsToPixels(kDefaultFontSize);
  font_.setPixelSize(static_cast<int>(std::clamp<int64_t>(pixels, 1, kMaxBitmapSide)));
}

void ImageControl::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on) FitToBitmap();
}

void ImageControl::SetStretch(bool on) {
  stretch_ = on;
  Repaint();
}

void ImageControl::SetTransparent(bool on) {
  transparent_ = on;
  Repaint();
}

void ImageControl::Cls() {
  FillRectangle(bitmap_, QRect(0, 0, width(), height()), kWhite);
  Repaint();
}

void ImageControl::Rect(int w, int h) {
  // Clipped to the bitmap before it becomes a QRect, so no side overflows.
  const int64_t left = std::max<int64_t>(pos_.x(), 0);
  const int64_t top = std::max<int64_t>(pos_.y(), 0);
  const int64_t right = std::min<int64_t>(static_cast<int64_t>(pos_.x()) + w, bitmap_.width());
  const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(pos_.y()) + h, bitmap_.height());
  if (right > left && bottom > top) {
    FillRectangle(bitmap_,
                  QRect(static_cast<int>(left), static_cast<int>(top),
                        static_cast<int>(right - left), static_cast<int>(bottom - top)),
                  RgbFromColor(penColor_));
  }
  Repaint();
}

void ImageControl::Circle(int w, int h) { DrawFigure(w, h, 0, true); }

void ImageControl::RoundRect(int w, int h, int r) { DrawFigure(w, h, r, false); }

void ImageControl::DrawFigure(int w, int h, int r, bool ellipse) {
  if (bitmap_.isNull()) return;
  // The bounding box (left, top)-(right, bottom), right and bottom exclusive.
  const int64_t x1 = pos_.x();
  const int64_t y1 = pos_.y();
  const int64_t x2 = x1 + w;
  const int64_t y2 = y1 + h;
  const int64_t left = std::min(x1, x2);
  const int64_t top = std::min(y1, y2);
  const int64_t right = std::max(x1, x2);
  const int64_t bottom = std::max(y1, y2);
  if (right - left < 1 || bottom - top < 1) return;

  const QColor color = QColor::fromRgb(RgbFromColor(penColor_));
  QPainter painter(&bitmap_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(color);
  // Through the centres of the pixels just inside the exclusive edges: a
  // one-pixel outline then covers exactly the box, a wider one is centred
  // on it.
  const QRectF box(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1);
  if (penStyle_ == PenClear) {
    painter.setPen(Qt::NoPen);
  } else {
    QPen pen(color);
    const int width = std::max(penWidth_, 1);
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (width == 1) {
      switch (penStyle_) {
        case PenDash:
          pen.setStyle(Qt::DashLine);
          break;
        case PenDot:
        case PenAlternate:
          pen.setStyle(Qt::DotLine);
          break;
        case PenDashDot:
          pen.setStyle(Qt::DashDotLine);
          break;
        case PenDashDotDot:
          pen.setStyle(Qt::DashDotDotLine);
          break;
        default:
          break;
      }
    }
    painter.setPen(pen);
  }
  if (ellipse) {
    painter.drawEllipse(box);
  } else {
    const qreal radius = std::max(r, 0) / 2.0;
    painter.drawRoundedRect(box, radius, radius);
  }
  painter.end();
  Repaint();
}

void ImageControl::LineTo(QPoint end) {
  const QPoint start = pos_;
  pos_ = end;
  if (bitmap_.isNull() || penStyle_ == PenClear) return;
  const QRgb color = RgbFromColor(penColor_);
  if (penWidth_ <= 1) {
    DrawThinLine(bitmap_, start, end, color, penStyle_);
  } else {
    QPainter painter(&bitmap_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor::fromRgb(color), std::min(penWidth_, kMaxBitmapSide));
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(QLineF(start, end));
  }
  Repaint();
}

void ImageControl::Fill() {
  FloodFill(bitmap_, pos_, RgbFromColor(penColor_));
  Repaint();
}

int32_t ImageControl::Pixel() const {
  if (!bitmap_.rect().contains(pos_)) return -1;
  const auto* row = reinterpret_cast<const QRgb*>(bitmap_.constScanLine(pos_.y()));
  return ColorFromRgb(row[pos_.x()]);
}

void ImageControl::SetPixel(int32_t color) {
  if (!bitmap_.rect().contains(pos_)) return;
  auto* row = reinterpret_cast<QRgb*>(bitmap_.scanLine(pos_.y()));
  row[pos_.x()] = RgbFromColor(color);
  Repaint();
}

void ImageControl::Copy(int w, int h, QImage& scratch) const {
  CheckRegion(w, h);
  CopyRegion(bitmap_, pos_, w, h, scratch);
  if (w > 0 && h > 0 && scratch.isNull()) {
    throw ImageError("Not enough memory for the bitmap image");
  }
}

void ImageControl::Paste(const QImage& scratch) {
  if (scratch.isNull()) return;
  PasteImage(bitmap_, pos_, scratch, transparent_, BottomLeftColor(scratch));
  Repaint();
}

void ImageControl::Dark(int w, int h, int f) {
  ScaleBrightness(bitmap_, pos_, w, h, f);
  Repaint();
}

void ImageControl::Cross(const QImage& scratch, int f) {
  BlendImage(bitmap_, pos_, scratch, f);
  Repaint();
}

void ImageControl::Merge(const QImage& scratch) {
  MultiplyImage(bitmap_, pos_, scratch);
  Repaint();
}

void ImageControl::TextOut(std::u16string_view text) {
  const QFontMetrics metrics(font_);
  // In 64 bits: a text of many lines, or one that starts near the end of
  // the coordinates, runs past what an int holds.
  const int64_t x0 = pos_.x();
  int64_t x = x0;
  int64_t y = pos_.y();
  int64_t lineHeight = metrics.height();  // of "H" until a character is measured
  const int64_t usableRight = int64_t{width()} - kTextRightMargin;

  QPainter painter;
  if (!bitmap_.isNull()) {
    painter.begin(&bitmap_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font_);
    painter.setPen(QColor::fromRgb(RgbFromColor(fontColor_)));
  }
  auto lineBreak = [&] {
    x = x0;
    y += lineHeight;
  };
  size_t i = 0;
  while (i < text.size() && text[i] != u'\0') {
    const char16_t unit = text[i];
    QString glyph;
    if (unit == u'\n') {
      lineBreak();
      ++i;
      continue;
    }
    if (unit == u'\\') {
      if (i + 1 >= text.size() || text[i + 1] == u'\0') break;  // a final backslash
      const char16_t next = text[i + 1];
      i += 2;
      if (next == u'n') {
        lineBreak();
        continue;
      }
      if (next != u'\\') continue;  // an unknown escape draws nothing
      glyph = QStringLiteral("\\");
    } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
               QChar::isLowSurrogate(text[i + 1])) {
      // A surrogate pair is one character: measured and drawn together.
      glyph = QString::fromUtf16(text.data() + i, 2);
      i += 2;
    } else {
      glyph = QString(QChar(unit));
      ++i;
    }
    // Measured by itself, a TAB too (as the character it is, no tab stop).
    const int charWidth = glyph.size() == 1 ? metrics.horizontalAdvance(glyph.front())
                                            : metrics.horizontalAdvance(glyph);
    lineHeight = metrics.height();
    if (x + charWidth + kTextGap > usableRight) lineBreak();
    // Only what can touch the bitmap is drawn.
    const bool inside =
        x + charWidth >= 0 && x < bitmap_.width() && y + lineHeight >= 0 && y < bitmap_.height();
    if (painter.isActive() && inside) {
      painter.drawText(QPoint(static_cast<int>(x), static_cast<int>(y + metrics.ascent())), glyph);
    }
    x += charWidth + kTextGap;
  }
  if (painter.isActive()) painter.end();
  pos_ = QPoint(SaturatedInt(x), SaturatedInt(y));
  Repaint();
}

void ImageControl::LoadFile(const QString& path) {
  const QFileInfo info(path);
  const QString extension = info.suffix().toLower();
  if (extension == u"wmf" || extension == u"emf") {
    Fail(QStringLiteral("Metafile pictures (.%1) cannot be loaded: \"%2\"").arg(extension, path));
  }
  const char* format = FormatForExtension(extension);
  if (format == nullptr) {
    Fail(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
  }
  if (!info.isFile() || !info.isReadable()) {
    Fail(QStringLiteral("Cannot open file \"%1\"").arg(path));
  }
  // The extension's decoder first; a file whose content is of another
  // format (a bitmap saved under a .png name) is then read by its content.
  auto read = [&path](const char* readFormat, QString& error) {
    QImageReader reader(path, readFormat);
    reader.setDecideFormatFromContent(readFormat == nullptr);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (TooLargeForBitmap(size.width(), size.height())) {
      Fail(QStringLiteral("Bitmap image is too large: %1 x %2 pixels (at most %3)")
               .arg(size.width())
               .arg(size.height())
               .arg(kMaxBitmapSide));
    }
    QImage picture = reader.read();
    if (picture.isNull()) error = reader.errorString();
    return picture;
  };
  QString error;
  QImage picture = read(format, error);
  if (picture.isNull()) picture = read(nullptr, error);
  if (picture.isNull()) Fail(QStringLiteral("Invalid picture \"%1\": %2").arg(path, error));

  ResizeBitmap(picture.width(), picture.height());
  if (!bitmap_.isNull()) {
    QPainter painter(&bitmap_);
    painter.drawImage(0, 0, picture);
  }
  BitmapChanged();
}

void ImageControl::SaveFile(const QString& path) const {
  if (bitmap_.isNull()) Fail(QStringLiteral("Cannot save an empty bitmap to \"%1\"").arg(path));
  // The whole bitmap file is made first; it replaces the old file only once
  // it is all written, so a failure leaves the old picture.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(bitmap_)) {
    Fail(QStringLiteral("Cannot save the bitmap to \"%1\": %2").arg(path, writer.errorString()));
  }
  QString error;
  if (!qt::WriteWholeFile(path, std::string_view(bytes.constData(), size_t(bytes.size())), error)) {
    Fail(error);
  }
}

void ImageControl::paintEvent(QPaintEvent*) {
  if (bitmap_.isNull()) return;
  QPainter painter(this);
  QImage shown = bitmap_;
  if (transparent_) {
    // The bottom-left colour is see-through.
    shown = bitmap_.convertToFormat(QImage::Format_ARGB32);
    const QRgb see = BottomLeftColor(bitmap_);
    for (int y = 0; y < shown.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(shown.scanLine(y));
      for (int x = 0; x < shown.width(); ++x) {
        if ((row[x] & 0x00FFFFFF) == see) row[x] = 0;
      }
    }
  }
  if (stretch_) {
    // Fitted into the control, keeping the proportions, at the top left.
    QSize size = shown.size().scaled(this->size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint(0, 0), size), shown);
  } else {
    painter.drawImage(0, 0, shown);
  }
}

}  // namespace vell
