// Pixel routines of IMAGE bitmaps, read back pixel by pixel.
#include "components/widgets/image_pixels.h"

#include <gtest/gtest.h>

#include <QImage>
#include <climits>

namespace {

using namespace vell;

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;

QImage White(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

QImage Filled(int w, int h, QRgb rgb) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(rgb);
  return image;
}

// The pixels of a row that have `rgb`, as a string of '#' and '.'.
std::string RowPattern(const QImage& image, int y, QRgb rgb, int from, int to) {
  std::string out;
  for (int x = from; x < to; ++x) out += image.pixel(x, y) == rgb ? '#' : '.';
  return out;
}

TEST(ImagePixels, LinesLeaveOutTheirEndPixel) {
  QImage image = White(20, 20);
  DrawThinLine(image, QPoint(2, 5), QPoint(12, 5), kRed, PenSolid);
  EXPECT_EQ(RowPattern(image, 5, kRed, 0, 14), "..##########..");
  // Backwards: the start is drawn, the end (2) is not.
  DrawThinLine(image, QPoint(12, 7), QPoint(2, 7), kRed, PenSolid);
  EXPECT_EQ(RowPattern(image, 7, kRed, 0, 14), "...##########.");
  // A diagonal: (0,0) .. (4,4) drawn, (5,5) not.
  DrawThinLine(image, QPoint(0, 10), QPoint(5, 15), kRed, PenSolid);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(image.pixel(i, 10 + i), kRed) << i;
  EXPECT_EQ(image.pixel(5, 15), kWhite);
  // A line to its own start draws nothing; a clear pen draws nothing.
  QImage still = White(5, 5);
  DrawThinLine(still, QPoint(2, 2), QPoint(2, 2), kRed, PenSolid);
  DrawThinLine(still, QPoint(0, 0), QPoint(4, 0), kRed, PenClear);
  EXPECT_EQ(still, White(5, 5));
}

TEST(ImagePixels, DashPatternsAndFarEndPoints) {
  QImage image = White(40, 10);
  DrawThinLine(image, QPoint(0, 1), QPoint(40, 1), kRed, PenDot);
  EXPECT_EQ(RowPattern(image, 1, kRed, 0, 12), "###...###...");
  DrawThinLine(image, QPoint(0, 2), QPoint(40, 2), kRed, PenAlternate);
  EXPECT_EQ(RowPattern(image, 2, kRed, 0, 6), "#.#.#.");
  DrawThinLine(image, QPoint(0, 3), QPoint(40, 3), kRed, PenDash);
  EXPECT_EQ(RowPattern(image, 3, kRed, 16, 26), "##......##");
  // End points far outside: only the steps inside are visited, and the
  // row inside is drawn whole.
  DrawThinLine(image, QPoint(INT_MIN, 5), QPoint(INT_MAX, 5), kRed, PenSolid);
  EXPECT_EQ(RowPattern(image, 5, kRed, 0, 40), std::string(40, '#'));
  DrawThinLine(image, QPoint(-1000000000, -1000000000), QPoint(1000000000, 1000000000), kRed,
               PenSolid);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(image.pixel(i, i), kRed) << i;
}

TEST(ImagePixels, FloodFillPaintsTheConnectedRegionOnly) {
  // A closed box with an island inside: the fill from inside paints the
  // ring between them and stops at both.
  QImage image = White(30, 30);
  const QRgb black = 0xFF000000;
  for (int i = 5; i <= 20; ++i) {
    image.setPixel(i, 5, black);
    image.setPixel(i, 20, black);
    image.setPixel(5, i, black);
    image.setPixel(20, i, black);
  }
  image.setPixel(12, 12, black);
  FloodFill(image, QPoint(6, 6), kRed);
  EXPECT_EQ(image.pixel(19, 19), kRed);
  EXPECT_EQ(image.pixel(11, 12), kRed);
  EXPECT_EQ(image.pixel(12, 12), black);
  EXPECT_EQ(image.pixel(4, 4), kWhite);
  EXPECT_EQ(image.pixel(21, 12), kWhite);
  EXPECT_EQ(image.pixel(5, 6), black);
  // Diagonal neighbours do not connect.
  QImage diagonal = White(3, 3);
  diagonal.setPixel(1, 0, black);
  diagonal.setPixel(0, 1, black);
  FloodFill(diagonal, QPoint(0, 0), kRed);
  EXPECT_EQ(diagonal.pixel(0, 0), kRed);
  EXPECT_EQ(diagonal.pixel(2, 2), kWhite);
  // Filling with the region's own colour, or from outside, changes nothing.
  QImage same = White(4, 4);
  FloodFill(same, QPoint(1, 1), kWhite);
  FloodFill(same, QPoint(-1, 1), kRed);
  FloodFill(same, QPoint(1, 4), kRed);
  EXPECT_EQ(same, White(4, 4));
}

TEST(ImagePixels, FloodFillOfAHugeWindingRegion) {
  // 4000 x 4000 with walls every other column, open at alternate ends: one
  // path millions of pixels long, which a recursive fill could not follow.
  const int side = 4000;
  QImage image = White(side, side);
  const QRgb wall = 0xFF000000;
  for (int x = 1; x < side; x += 2) {
    const int gap = (x / 2) % 2 == 0 ? side - 1 : 0;
    for (int y = 0; y < side; ++y) {
      if (y != gap) image.setPixel(x, y, wall);
    }
  }
  FloodFill(image, QPoint(0, 0), kRed);
  EXPECT_EQ(image.pixel(0, side - 1), kRed);
  EXPECT_EQ(image.pixel(side - 2, side / 2), kRed);
  EXPECT_EQ(image.pixel(1, side - 1), kRed);  // the gap
  EXPECT_EQ(image.pixel(1, 0), wall);
  long long painted = 0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) painted += image.pixel(x, y) == kRed;
  }
  EXPECT_EQ(painted, 1LL * side * side / 2 + side / 2);
}

TEST(ImagePixels, CopyAndPasteClip) {
  QImage source = White(20, 20);
  source.setPixel(19, 0, kRed);
  // A region reaching out of the source is white there.
  QImage scratch;
  CopyRegion(source, QPoint(18, -1), 3, 2, scratch);
  ASSERT_EQ(scratch.size(), QSize(3, 2));
  EXPECT_EQ(scratch.pixel(1, 1), kRed);
  EXPECT_EQ(scratch.pixel(2, 1), kWhite);
  EXPECT_EQ(scratch.pixel(1, 0), kWhite);
  // Pasted across the top-left edge, and far off: only what lands inside.
  QImage edge = Filled(2, 2, 0xFF808080);
  PasteImage(edge, QPoint(-1, -1), scratch, false, 0);
  EXPECT_EQ(edge.pixel(0, 0), kRed);
  EXPECT_EQ(edge.pixel(1, 1), 0xFF808080);
  PasteImage(edge, QPoint(INT_MIN, INT_MAX), scratch, false, 0);
  CopyRegion(source, QPoint(INT_MAX, INT_MIN), 2, 2, scratch);
  EXPECT_EQ(scratch, White(2, 2));
}

TEST(ImagePixels, DarkScalesEachChannelDownAndClips) {
  QImage image = White(10, 10);
  ScaleBrightness(image, QPoint(0, 0), 1, 1, 128);
  EXPECT_EQ(image.pixel(0, 0), qRgb(127, 127, 127));
  image.setPixel(1, 0, qRgb(3, 100, 255));
  ScaleBrightness(image, QPoint(1, 0), 1, 1, 100);  // floors: 1.17, 39.06, 99.6
  EXPECT_EQ(image.pixel(1, 0), qRgb(1, 39, 99));
  // 256 and above keep the pixel; 0 and below make it black.
  QImage keep = White(3, 3);
  ScaleBrightness(keep, QPoint(0, 0), 3, 3, 256);
  ScaleBrightness(keep, QPoint(0, 0), 3, 3, 300);
  EXPECT_EQ(keep, White(3, 3));
  ScaleBrightness(keep, QPoint(0, 0), 3, 1, -5);
  EXPECT_EQ(keep.pixel(2, 0), qRgb(0, 0, 0));
  EXPECT_EQ(keep.pixel(0, 1), kWhite);

  // Past the right and bottom edges: only what is inside.
  QImage clip = White(4, 4);
  ScaleBrightness(clip, QPoint(2, 2), 100, 100, 0);
  EXPECT_EQ(clip.pixel(3, 3), qRgb(0, 0, 0));
  EXPECT_EQ(clip.pixel(1, 3), kWhite);
  EXPECT_EQ(clip.pixel(3, 1), kWhite);
  // Above row 0, or an empty region: nothing at all.
  QImage above = White(4, 4);
  ScaleBrightness(above, QPoint(0, -1), 4, 4, 0);
  ScaleBrightness(above, QPoint(0, 0), 0, 4, 0);
  ScaleBrightness(above, QPoint(0, 0), 4, -1, 0);
  EXPECT_EQ(above, White(4, 4));
  // Left of column 0: those columns are skipped, the rest is done.
  ScaleBrightness(above, QPoint(-2, 0), 3, 1, 0);
  EXPECT_EQ(RowPattern(above, 0, qRgb(0, 0, 0), 0, 4), "#...");
  ScaleBrightness(above, QPoint(INT_MIN, 1), INT_MAX, 1, 0);
  EXPECT_EQ(RowPattern(above, 1, kWhite, 0, 4), "####");
}

TEST(ImagePixels, CrossMixesTowardTheScratchValue) {
  // Scratch: column 0 is the see-through colour (bottom-left), column 1
  // the source values.
  QImage scratch = Filled(3, 2, qRgb(9, 9, 9));
  scratch.setPixel(1, 0, qRgb(100, 200, 100));
  scratch.setPixel(2, 0, qRgb(0, 0, 0));
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(qRgb(50, 50, 50));
  image.setPixel(1, 0, qRgb(200, 100, 101));
  image.setPixel(2, 0, qRgb(10, 20, 30));
  BlendImage(image, QPoint(0, 0), scratch, 128);
  EXPECT_EQ(image.pixel(1, 0), qRgb(150, 150, 100));  // toward the scratch on ties
  EXPECT_EQ(image.pixel(0, 0), qRgb(50, 50, 50));     // see-through colour
  EXPECT_EQ(image.pixel(2, 0), qRgb(5, 10, 15));
  // 256 keeps, 0 copies the non-see-through pixels.
  QImage keep = Filled(3, 2, qRgb(77, 77, 77));
  BlendImage(keep, QPoint(0, 0), scratch, 300);
  EXPECT_EQ(keep, Filled(3, 2, qRgb(77, 77, 77)));
  BlendImage(keep, QPoint(0, 0), scratch, -1);
  EXPECT_EQ(keep.pixel(1, 0), qRgb(100, 200, 100));
  EXPECT_EQ(keep.pixel(1, 1), qRgb(77, 77, 77));
  // A scratch image of one colour changes nothing.
  QImage plain = Filled(2, 2, kRed);
  BlendImage(plain, QPoint(0, 0), Filled(2, 2, 0xFF000000), 0);
  EXPECT_EQ(plain, Filled(2, 2, kRed));
}

TEST(ImagePixels, MergeMultipliesAndEffectsClipTheScratch) {
  QImage scratch = Filled(2, 2, 0xFF123456);  // bottom-left: see-through
  scratch.setPixel(0, 0, kWhite);
  scratch.setPixel(1, 0, qRgb(0, 0, 0));
  scratch.setPixel(1, 1, qRgb(128, 64, 2));
  QImage image = White(3, 3);
  MultiplyImage(image, QPoint(1, 1), scratch);
  EXPECT_EQ(image.pixel(1, 1), qRgb(254, 254, 254));
  EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(1, 2), kWhite);
  EXPECT_EQ(image.pixel(2, 2), qRgb(127, 63, 1));
  EXPECT_EQ(image.pixel(0, 0), kWhite);
  // Above row 0 nothing; left of column 0 skipped; an empty scratch nothing.
  QImage edge = White(2, 2);
  MultiplyImage(edge, QPoint(0, -1), scratch);
  BlendImage(edge, QPoint(0, -1), scratch, 0);
  MultiplyImage(edge, QPoint(0, 0), QImage());
  EXPECT_EQ(edge, White(2, 2));
  MultiplyImage(edge, QPoint(-1, 0), scratch);
  EXPECT_EQ(edge.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(edge.pixel(1, 0), kWhite);
  MultiplyImage(edge, QPoint(INT_MAX, 0), scratch);
  MultiplyImage(edge, QPoint(INT_MIN, 0), scratch);
}

}  // namespace
