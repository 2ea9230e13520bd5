#include "components/widgets/image_pixels.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace vell {

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;
constexpr QRgb kOpaque = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Dash patterns of one-pixel pens: alternating runs of drawn and skipped
// pixels along the line.
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
constexpr int kAlternate[] = {1, 1};

std::span<const int> DashPattern(int penStyle) {
  switch (penStyle) {
    case PenDash:
      return kDash;
    case PenDot:
      return kDot;
    case PenDashDot:
      return kDashDot;
    case PenDashDotDot:
      return kDashDotDot;
    case PenAlternate:
      return kAlternate;
    default:
      return {};
  }
}

// Whether the pixel at `step` along a line lies on a drawn run of the pattern.
bool PatternDraws(std::span<const int> pattern, int64_t step) {
  if (pattern.empty()) return true;
  int total = 0;
  for (int run : pattern) total += run;
  int at = static_cast<int>(step % total);
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (at < pattern[i]) return i % 2 == 0;
    at -= pattern[i];
  }
  return true;
}

QRgb* Row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
const QRgb* Row(const QImage& image, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

int ClampWeight(int f) { return std::clamp(f, 0, kFullWeight); }

// The span of a region's columns that lies inside a bitmap of width `bitmapWidth`
// when the region starts at column `x` and is `w` wide: [first, end) as
// offsets from x.
struct ColumnSpan {
  int first = 0;
  int end = 0;
};
ColumnSpan ClipColumns(int x, int w, int bitmapWidth) {
  const int64_t first = std::max<int64_t>(0, -static_cast<int64_t>(x));
  const int64_t end = std::min<int64_t>(w, static_cast<int64_t>(bitmapWidth) - x);
  if (end <= first) return {};
  return {static_cast<int>(first), static_cast<int>(end)};
}

// Rows [0, count) of a region starting at row y that the effects touch: none
// when y is above the bitmap, else up to the bottom edge.
int ClipRows(int y, int h, int bitmapHeight) {
  if (y < 0 || h <= 0) return 0;
  return static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(bitmapHeight) - y, 0, h));
}

// Runs `combine(d, s)` on every pixel pair of the scratch image laid at `at`
// whose scratch pixel is not of the scratch image's bottom-left colour.
template <typename Combine>
void CombineScratch(QImage& image, QPoint at, const QImage& scratch, Combine combine) {
  if (image.isNull() || scratch.isNull()) return;
  const QRgb see = BottomLeftColor(scratch) & kRgbMask;
  const int rows = ClipRows(at.y(), scratch.height(), image.height());
  const ColumnSpan cols = ClipColumns(at.x(), scratch.width(), image.width());
  if (rows == 0 || cols.end == 0) return;
  for (int i = 0; i < rows; ++i) {
    const QRgb* src = Row(scratch, i);
    QRgb* dst = Row(image, at.y() + i);
    for (int j = cols.first; j < cols.end; ++j) {
      const QRgb s = src[j];
      if ((s & kRgbMask) == see) continue;
      QRgb& d = dst[at.x() + j];
      d = kOpaque | combine(d, s);
    }
  }
}

// Applies `channel(d, s)` to each of the three channels.
template <typename Channel>
QRgb PerChannel(QRgb d, QRgb s, Channel channel) {
  const unsigned r = channel(static_cast<int>(qRed(d)), static_cast<int>(qRed(s)));
  const unsigned g = channel(static_cast<int>(qGreen(d)), static_cast<int>(qGreen(s)));
  const unsigned b = channel(static_cast<int>(qBlue(d)), static_cast<int>(qBlue(s)));
  return (r << 16) | (g << 8) | b;
}

// Draws `source` with its top-left corner at (ax, ay) of `target`.
void PasteAt(QImage& target, int64_t ax, int64_t ay, const QImage& source, bool transparent,
             QRgb see) {
  if (target.isNull() || source.isNull()) return;
  // The part of the source that lands inside the target, in source offsets.
  const int64_t x0 = std::max<int64_t>(0, -ax);
  const int64_t y0 = std::max<int64_t>(0, -ay);
  const int64_t x1 = std::min<int64_t>(source.width(), target.width() - ax);
  const int64_t y1 = std::min<int64_t>(source.height(), target.height() - ay);
  if (x1 <= x0 || y1 <= y0) return;
  see &= kRgbMask;
  for (int64_t sy = y0; sy < y1; ++sy) {
    const QRgb* src = Row(source, static_cast<int>(sy));
    QRgb* dst = Row(target, static_cast<int>(sy + ay));
    for (int64_t sx = x0; sx < x1; ++sx) {
      if (transparent && (src[sx] & kRgbMask) == see) continue;
      dst[sx + ax] = kOpaque | src[sx];
    }
  }
}

}  // namespace

QRgb RgbFromColor(int32_t color) {
  const auto c = static_cast<uint32_t>(color);
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int32_t ColorFromRgb(QRgb rgb) {
  return static_cast<int32_t>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

void DrawThinLine(QImage& image, QPoint from, QPoint to, QRgb color, int penStyle) {
  if (penStyle == PenClear || image.isNull() || from == to) return;
  const std::span<const int> pattern = DashPattern(penStyle);
  const QRgb pixel = kOpaque | color;
  // Pixel k of the line lies k steps along the major axis and the rounded
  // k * minor / major along the minor one. Worked out per pixel with wide
  // integers, so only the steps whose major coordinate lies inside the
  // bitmap are visited, however far away the end points are.
  const int64_t dx = static_cast<int64_t>(to.x()) - from.x();
  const int64_t dy = static_cast<int64_t>(to.y()) - from.y();
  const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  const int64_t major = xMajor ? dx : dy;
  const int64_t minor = xMajor ? dy : dx;
  const int64_t length = major < 0 ? -major : major;  // pixels drawn: the end is left out
  const int64_t majorStep = major < 0 ? -1 : 1;
  const int64_t minorSign = minor < 0 ? -1 : 1;
  const int64_t minorLength = minor < 0 ? -minor : minor;
  const int64_t start = xMajor ? from.x() : from.y();
  const int64_t minorStart = xMajor ? from.y() : from.x();
  const int64_t majorLimit = xMajor ? image.width() : image.height();
  const int64_t minorLimit = xMajor ? image.height() : image.width();

  // Steps k in [0, length) with start + majorStep * k inside [0, majorLimit).
  int64_t kFirst = majorStep > 0 ? -start : start - (majorLimit - 1);
  int64_t kLast = majorStep > 0 ? majorLimit - 1 - start : start;
  kFirst = std::max<int64_t>(kFirst, 0);
  kLast = std::min<int64_t>(kLast, length - 1);
  for (int64_t k = kFirst; k <= kLast; ++k) {
    const __int128 num = static_cast<__int128>(2) * k * minorLength + length;
    const int64_t offset = static_cast<int64_t>(num / (static_cast<__int128>(2) * length));
    const int64_t m = minorStart + minorSign * offset;
    if (m < 0 || m >= minorLimit) continue;
    if (!PatternDraws(pattern, k)) continue;
    const int64_t a = start + majorStep * k;
    const int x = static_cast<int>(xMajor ? a : m);
    const int y = static_cast<int>(xMajor ? m : a);
    Row(image, y)[x] = pixel;
  }
}

void FloodFill(QImage& image, QPoint start, QRgb color) {
  const int width = image.width();
  const int height = image.height();
  if (start.x() < 0 || start.y() < 0 || start.x() >= width || start.y() >= height) return;
  const QRgb fill = kOpaque | (color & kRgbMask);
  const QRgb target = Row(image, start.y())[start.x()] & kRgbMask;
  if (target == (fill & kRgbMask)) return;

  // Seeds are pixels still of the target colour; each one popped paints the
  // whole run of target pixels around it in its row, then seeds one pixel
  // for every run of target pixels directly above and below that span.
  struct Seed {
    int x, y;
  };
  std::vector<Seed> seeds;
  seeds.reserve(1024);
  seeds.push_back({start.x(), start.y()});
  while (!seeds.empty()) {
    const Seed seed = seeds.back();
    seeds.pop_back();
    QRgb* row = Row(image, seed.y);
    if ((row[seed.x] & kRgbMask) != target) continue;  // painted since it was seeded
    int left = seed.x;
    while (left > 0 && (row[left - 1] & kRgbMask) == target) --left;
    int right = seed.x;
    while (right + 1 < width && (row[right + 1] & kRgbMask) == target) ++right;
    std::fill(row + left, row + right + 1, fill);
    for (int ny : {seed.y - 1, seed.y + 1}) {
      if (ny < 0 || ny >= height) continue;
      const QRgb* next = Row(image, ny);
      int x = left;
      while (x <= right) {
        if ((next[x] & kRgbMask) != target) {
          ++x;
          continue;
        }
        seeds.push_back({x, ny});
        while (x <= right && (next[x] & kRgbMask) == target) ++x;
      }
    }
  }
}

void FillRectangle(QImage& image, const QRect& rect, QRgb color) {
  const QRect area = rect.intersected(image.rect());
  if (area.isEmpty()) return;
  const QRgb pixel = kOpaque | color;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    QRgb* row = Row(image, y);
    std::fill(row + area.left(), row + area.right() + 1, pixel);
  }
}

void CopyRegion(const QImage& source, QPoint at, int w, int h, QImage& target) {
  if (w <= 0 || h <= 0) {
    target = QImage();
    return;
  }
  target = QImage(w, h, QImage::Format_RGB32);
  if (target.isNull()) return;
  target.fill(kWhite);
  PasteAt(target, -static_cast<int64_t>(at.x()), -static_cast<int64_t>(at.y()), source, false, 0);
}

void PasteImage(QImage& target, QPoint at, const QImage& source, bool transparent, QRgb see) {
  PasteAt(target, at.x(), at.y(), source, transparent, see);
}

QRgb BottomLeftColor(const QImage& image) { return Row(image, image.height() - 1)[0] & kRgbMask; }

void ScaleBrightness(QImage& image, QPoint at, int w, int h, int f) {
  f = ClampWeight(f);
  const int rows = ClipRows(at.y(), h, image.height());
  const ColumnSpan cols = ClipColumns(at.x(), w, image.width());
  if (rows == 0 || cols.end == 0) return;
  const auto weight = static_cast<uint32_t>(f);
  const int xFirst = at.x() + cols.first;
  const int xEnd = at.x() + cols.end;
  for (int i = 0; i < rows; ++i) {
    QRgb* row = Row(image, at.y() + i);
    for (int x = xFirst; x < xEnd; ++x) {
      // Red and blue side by side in one product: each fits its 16 bits, as
      // 255 * 256 < 65536.
      const uint32_t p = row[x];
      const uint32_t redBlue = (((p & 0x00FF00FFu) * weight) >> 8) & 0x00FF00FFu;
      const uint32_t green = (((p & 0x0000FF00u) * weight) >> 8) & 0x0000FF00u;
      row[x] = kOpaque | redBlue | green;
    }
  }
}

void BlendImage(QImage& image, QPoint at, const QImage& scratch, int f) {
  f = ClampWeight(f);
  CombineScratch(image, at, scratch, [f](QRgb d, QRgb s) {
    // Integer division truncates toward zero, the rounding the mix asks for.
    return PerChannel(d, s, [f](int dc, int sc) { return sc + (dc - sc) * f / kFullWeight; });
  });
}

void MultiplyImage(QImage& image, QPoint at, const QImage& scratch) {
  CombineScratch(image, at, scratch, [](QRgb d, QRgb s) {
    return PerChannel(d, s, [](int dc, int sc) { return (dc * sc) >> 8; });
  });
}

}  // namespace vell
