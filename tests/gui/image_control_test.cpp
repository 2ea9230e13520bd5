// The IMAGE control: drawing at the pen position, the scratch image, text
// output, picture files and mouse events, read back pixel by pixel.
#include "components/widgets/image_control.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <string>

#include "tests/support/files.h"

namespace {

using vell::ImageControl;
using vell::ImageError;

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRed = 0x0000FF;  // 0x00BBGGRR

int32_t PixelAt(ImageControl& image, int x, int y) {
  const QPoint keep = image.Pos();
  image.SetPos(QPoint(x, y));
  const int32_t value = image.Pixel();
  image.SetPos(keep);
  return value;
}

TEST(ImageControl, NewImageIsWhiteAndRectanglesExcludeRightAndBottom) {
  // Defaults and colour read-backs run in window_programs/image_in_window.
  ImageControl image;
  EXPECT_EQ(image.Bitmap().size(), QSize(105, 105));
  EXPECT_EQ(PixelAt(image, 104, 104), kWhite);

  image.SetColor(kRed);
  image.Rect(10, 10);
  EXPECT_EQ(PixelAt(image, 0, 0), kRed);
  EXPECT_EQ(PixelAt(image, 9, 9), kRed);
  EXPECT_EQ(PixelAt(image, 10, 9), kWhite);
  EXPECT_EQ(PixelAt(image, 9, 10), kWhite);
  EXPECT_EQ(image.Pos(), QPoint(0, 0));

  // The ellipse's and the rounded rectangle's box is exclusive too.
  image.SetPos(QPoint(20, 20));
  image.Circle(20, 10);
  EXPECT_EQ(PixelAt(image, 20, 25), kRed);
  EXPECT_EQ(PixelAt(image, 39, 25), kRed);
  EXPECT_EQ(PixelAt(image, 40, 25), kWhite);
  EXPECT_EQ(PixelAt(image, 19, 25), kWhite);
  EXPECT_EQ(PixelAt(image, 30, 20), kRed);
  EXPECT_EQ(PixelAt(image, 30, 29), kRed);
  EXPECT_EQ(PixelAt(image, 30, 30), kWhite);
  EXPECT_EQ(PixelAt(image, 30, 24), kRed);  // filled
  image.SetPos(QPoint(50, 50));
  image.RoundRect(10, 10, 4);
  EXPECT_EQ(PixelAt(image, 55, 50), kRed);
  EXPECT_EQ(PixelAt(image, 59, 55), kRed);
  EXPECT_EQ(PixelAt(image, 60, 55), kWhite);
  EXPECT_EQ(PixelAt(image, 55, 60), kWhite);
  EXPECT_EQ(PixelAt(image, 50, 50), kWhite);  // the rounded corner
  EXPECT_EQ(image.Pos(), QPoint(50, 50));
}

TEST(ImageControl, LinesMoveThePenAndWidePensDrawTheirEnds) {
  ImageControl image;
  image.SetColor(kRed);
  image.SetPos(QPoint(10, 20));
  image.LineTo(QPoint(30, 20));
  EXPECT_EQ(image.Pos(), QPoint(30, 20));
  EXPECT_EQ(PixelAt(image, 30, 20), kWhite);
  image.SetPenWidth(5);
  image.SetPos(QPoint(50, 60));
  image.LineTo(QPoint(80, 60));
  EXPECT_EQ(PixelAt(image, 65, 58), kRed);
  EXPECT_EQ(PixelAt(image, 80, 60), kRed);  // round caps
  EXPECT_EQ(PixelAt(image, 65, 66), kWhite);
  image.SetPenStyle(0x105);  // the low byte: clear
  image.SetPos(QPoint(0, 90));
  image.LineTo(QPoint(50, 90));
  EXPECT_EQ(PixelAt(image, 20, 90), kWhite);
  EXPECT_EQ(image.Pos(), QPoint(50, 90));
}

TEST(ImageControl, PixelAndSizes) {
  ImageControl image;
  image.SetPos(QPoint(3, 3));
  image.SetPixel(0x123456);
  EXPECT_EQ(image.Pixel(), 0x123456);
  // Outside the bitmap: reads -1, writes nothing.
  for (QPoint outside : {QPoint(-1, 0), QPoint(0, -1), QPoint(105, 0), QPoint(0, 105)}) {
    image.SetPos(outside);
    image.SetPixel(0);
    EXPECT_EQ(image.Pixel(), -1);
  }

  // Sizes: the control and the bitmap; 0 or less gives an empty bitmap, and
  // content survives a shrink and a regrow (added areas white).
  image.SetHeightAndBitmap(50);
  EXPECT_EQ(image.height(), 50);
  EXPECT_EQ(image.Bitmap().size(), QSize(105, 50));
  image.SetWidthAndBitmap(0);
  EXPECT_TRUE(image.Bitmap().isNull());
  EXPECT_EQ(PixelAt(image, 0, 0), -1);
  image.Fill();
  image.Cls();
  image.Circle(5, 5);
  image.TextOut(u"x");
  image.SetWidthAndBitmap(120);
  EXPECT_EQ(image.Bitmap().size(), QSize(120, 50));
  EXPECT_EQ(PixelAt(image, 110, 10), kWhite);
  image.SetWidthAndBitmap(-3);
  EXPECT_EQ(image.width(), 0);
  // Too large: taken all the same, the control bounded to what a window
  // system shows, the bitmap to its own bounds.
  image.SetWidthAndBitmap(16385);
  EXPECT_EQ(image.width(), 16385);
  EXPECT_EQ(image.Bitmap().size(), QSize(vell::kMaxBitmapSide, 50));
  image.SetHeightAndBitmap(1 << 30);
  EXPECT_EQ(image.height(), vell::kMaxControlSide);
  EXPECT_EQ(
      image.Bitmap().size(),
      QSize(vell::kMaxBitmapSide, static_cast<int>(vell::kMaxBitmapPixels / vell::kMaxBitmapSide)));
  const int boundedHeight = image.Bitmap().height();
  image.SetWidthAndBitmap(30);
  EXPECT_EQ(image.Bitmap().size(), QSize(30, boundedHeight));
  EXPECT_EQ(PixelAt(image, 29, boundedHeight - 1), kWhite);
}

TEST(ImageControl, TransparentPasteKeepsWhatLiesUnderTheSeeThroughColour) {
  QImage scratch;
  ImageControl image;
  image.SetColor(kRed);
  image.SetPos(QPoint(5, 5));
  image.Rect(3, 3);
  image.Copy(20, 10, scratch);  // red in its top-left corner, white elsewhere
  image.SetColor(0x00FF00);
  image.SetPos(QPoint(60, 60));
  image.Rect(20, 10);
  image.SetTransparent(true);
  image.Paste(scratch);
  EXPECT_EQ(PixelAt(image, 60, 60), kRed);
  EXPECT_EQ(PixelAt(image, 70, 65), 0x00FF00);
  image.SetTransparent(false);
  image.Paste(scratch);
  EXPECT_EQ(PixelAt(image, 70, 65), kWhite);
  EXPECT_EQ(image.Pos(), QPoint(60, 60));
  // COPY of 0 or less empties the scratch image; too large fails.
  image.Copy(0, 10, scratch);
  EXPECT_TRUE(scratch.isNull());
  EXPECT_THROW(image.Copy(20000, 1, scratch), ImageError);
}

TEST(ImageControl, TextOutRunsPastTheEndOfTheCoordinates) {
  constexpr int kLastCoordinate = 2147483647;
  ImageControl image;
  // One line break near the end of the coordinates: the pen stops there.
  image.SetFontSize(1000);
  image.SetPos(QPoint(0, 2147483000));
  image.TextOut(u"W");
  EXPECT_EQ(image.Pos().y(), kLastCoordinate);
  image.SetPos(QPoint(0, 2147483000));
  image.TextOut(u"\nW");
  EXPECT_EQ(image.Pos().y(), kLastCoordinate);
  // So many lines from the top that their heights add up past it.
  image.SetFontSize(2000);
  image.SetPos(QPoint(0, 0));
  const QFontMetrics metrics(image.DrawingFont());
  const std::u16string lines(kLastCoordinate / metrics.height() + 2, u'\n');
  image.TextOut(lines);
  EXPECT_EQ(image.Pos(), QPoint(0, kLastCoordinate));
}

TEST(ImageControl, TheLargestFontSizesDrawAtTheLargestHeight) {
  // Points are pixels * 96 / 72 and negative sizes are pixels: the extremes
  // of an int end at the bound of either, not at a wrapped (refused) size.
  ImageControl image;
  for (const int points : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
                           -std::numeric_limits<int>::max()}) {
    image.SetFontSize(10);
    image.SetFontSize(points);
    EXPECT_EQ(image.DrawingFont().pixelSize(), vell::kMaxBitmapSide) << points;
  }
}

TEST(ImageControl, TextOutPlacesCharactersOneByOne) {
  ImageControl image;
  image.SetWidthAndBitmap(300);
  const QFontMetrics metrics(image.DrawingFont());
  const int wa = metrics.horizontalAdvance(QStringLiteral("A"));
  const int wb = metrics.horizontalAdvance(QStringLiteral("B"));
  const int lh = metrics.height();

  image.SetPos(QPoint(10, 10));
  image.TextOut(u"AB");
  EXPECT_EQ(image.Pos(), QPoint(12 + wa + wb, 10));
  // The text is black, drawn inside the first character's box.
  bool inked = false;
  for (int y = 10; y < 10 + lh; ++y) {
    for (int x = 10; x < 10 + wa; ++x) inked |= PixelAt(image, x, y) == 0;
  }
  EXPECT_TRUE(inked);
  EXPECT_EQ(PixelAt(image, 9, 10 + lh / 2), kWhite);

  // Line breaks: LF, backslash-n; a double backslash draws one; a backslash
  // and any other character are dropped; a final backslash ends the text.
  const int wBackslash = metrics.horizontalAdvance(QStringLiteral("\\"));
  struct Case {
    std::u16string text;
    QPoint end;
  } cases[] = {
      {u"A\\nB", QPoint(10 + wb + 1, 10 + lh)},
      {u"A\nB", QPoint(10 + wb + 1, 10 + lh)},
      {u"\nB", QPoint(10 + wb + 1, 10 + lh)},
      {u"A\\\\B", QPoint(10 + wa + wBackslash + wb + 3, 10)},
      {u"A\\qB", QPoint(10 + wa + wb + 2, 10)},
      {u"A\\", QPoint(10 + wa + 1, 10)},
      {u"", QPoint(10, 10)},
  };
  for (const Case& c : cases) {
    image.SetPos(QPoint(10, 10));
    image.TextOut(c.text);
    EXPECT_EQ(image.Pos(), c.end) << std::string(c.text.begin(), c.text.end());
  }

  // A surrogate pair is one character with one gap after it.
  const std::u16string pair = u"\U0001F600";
  const int wPair = metrics.horizontalAdvance(QString::fromStdU16String(pair));
  image.SetPos(QPoint(0, 0));
  image.TextOut(pair);
  EXPECT_EQ(image.Pos(), QPoint(wPair + 1, 0));

  // A control narrower than a character plus 6: each character on a line of
  // its own, the first included.
  image.SetWidthAndBitmap(wa + 5);
  image.SetPos(QPoint(0, 0));
  image.TextOut(u"AA");
  EXPECT_EQ(image.Pos(), QPoint(wa + 1, 2 * lh));
}

class ImageFiles : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  // A 16 x 8 picture: the left half red, the right half blue (blocks that
  // JPEG keeps apart).
  static constexpr int kW = 16, kH = 8;
  static bool IsRed(int x) { return x < kW / 2; }
  static QImage Picture() {
    QImage picture(kW, kH, QImage::Format_RGB32);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x)
        picture.setPixel(x, y, IsRed(x) ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    }
    return picture;
  }
  // The same picture as a GIF (Qt reads GIF but does not write it): two
  // palette entries, 3-bit LZW codes with a clear code every two pixels so
  // that the code width never grows.
  static std::string Gif() {
    std::string bytes("GIF89a\x10\x00\x08\x00\x80\x00\x00", 13);
    bytes += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
    bytes += std::string("\x2C\x00\x00\x00\x00\x10\x00\x08\x00\x00\x02", 11);
    std::vector<int> codes;
    for (int i = 0; i < kW * kH; ++i) {
      if (i % 2 == 0) codes.push_back(4);  // clear
      codes.push_back(IsRed(i % kW) ? 0 : 1);
    }
    codes.push_back(5);  // end of information
    std::string data;
    unsigned bits = 0, count = 0;
    for (int code : codes) {
      bits |= static_cast<unsigned>(code) << count;
      count += 3;
      while (count >= 8) {
        data += static_cast<char>(bits & 0xFF);
        bits >>= 8;
        count -= 8;
      }
    }
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    bytes += static_cast<char>(data.size());
    bytes += data;
    bytes += std::string("\x00\x3B", 2);
    return bytes;
  }
  QTemporaryDir dir_;
};

TEST_F(ImageFiles, PictureDecodersArePresent) {
  EXPECT_EQ(vell::MissingPictureDecoders(), QStringList());
}

TEST_F(ImageFiles, LoadEachFormatTheTestWrote) {
  for (const char* name : {"p.png", "p.bmp", "p.gif", "p.ico", "p.JPG", "p.jpeg"}) {
    const QString path = Path(name);
    QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"jpg") extension = QStringLiteral("jpeg");
    if (extension == u"gif") {
      vell::test::PutFile(path.toStdString(), Gif());
    } else {
      QImageWriter writer(path, extension.toLatin1());
      ASSERT_TRUE(writer.write(Picture())) << name << " " << writer.errorString().toStdString();
    }

    ImageControl image;
    image.SetPos(QPoint(7, 8));
    image.LoadFile(path);
    EXPECT_EQ(image.Bitmap().size(), QSize(kW, kH)) << name;
    EXPECT_EQ(image.width(), 105) << name;  // the control keeps its size
    EXPECT_EQ(image.Pos(), QPoint(7, 8));
    if (extension == u"jpeg") {
      const QRgb red = image.Bitmap().pixel(2, 2);
      const QRgb blue = image.Bitmap().pixel(13, 5);
      EXPECT_GT(qRed(red), 200) << name;
      EXPECT_LT(qBlue(red), 60) << name;
      EXPECT_GT(qBlue(blue), 200) << name;
      EXPECT_LT(qRed(blue), 60) << name;
    } else {
      EXPECT_EQ(PixelAt(image, 0, 0), kRed) << name;
      EXPECT_EQ(PixelAt(image, kW - 1, kH - 1), 0xFF0000) << name;
      EXPECT_EQ(PixelAt(image, kW, 0), -1) << name;  // the bitmap took the picture's size
    }
  }
}

TEST_F(ImageFiles, SaveWritesABitmapThatLoadsUnderAnyName) {
  ImageControl image;
  image.SetColor(kRed);
  image.SetPos(QPoint(1, 1));
  image.Rect(2, 2);
  const QString path = Path("saved.png");
  image.SaveFile(path);
  EXPECT_EQ(vell::test::FileBytes(path.toStdString()).substr(0, 2), "BM");

  ImageControl again;
  again.LoadFile(path);
  EXPECT_EQ(again.Bitmap(), image.Bitmap().convertToFormat(again.Bitmap().format()));

  // AUTOSIZE fits the control to a loaded picture; CLS then whitens that area.
  ImageControl big;
  QImage picture(300, 200, QImage::Format_RGB32);
  picture.fill(0);
  ASSERT_TRUE(picture.save(Path("big.bmp")));
  big.LoadFile(Path("big.bmp"));
  EXPECT_EQ(big.width(), 105);
  big.Cls();
  EXPECT_EQ(PixelAt(big, 104, 104), kWhite);
  EXPECT_EQ(PixelAt(big, 105, 104), 0);
  big.SetAutoSize(true);
  EXPECT_EQ(big.size(), QSize(300, 200));
}

TEST_F(ImageFiles, LoadAndSaveFailuresAreErrors) {
  vell::test::PutFile(Path("drawing.wmf").toStdString(), "not a picture");
  vell::test::PutFile(Path("text.txt").toStdString(), "text");
  vell::test::PutFile(Path("broken.png").toStdString(), "broken");
  ImageControl image;
  for (const char* name : {"drawing.wmf", "drawing.EMF", "text.txt", "missing.png", "broken.png"}) {
    EXPECT_THROW(image.LoadFile(Path(name)), ImageError) << name;
  }
  EXPECT_EQ(image.Bitmap().size(), QSize(105, 105));
  EXPECT_THROW(image.SaveFile(Path("no/such/folder/x.bmp")), ImageError);
  image.SetWidthAndBitmap(0);
  EXPECT_THROW(image.SaveFile(Path("empty.bmp")), ImageError);
}

}  // namespace
