// Printing from a program in the window into the PDF file that
// VELL_PRINT_PDF names, read back with the poppler tools: a form's image in
// a document of its own, and a text box's lines placed on paper at the
// margins in millimetres.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>

#include "tests/gui/gui_support.h"
#include "tests/gui/pdf_output.h"

using vell::testing::HaveTools;
using vell::testing::PdfEnvironment;
using vell::testing::RunTool;
using vell::testing::WindowFixture;

namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

int PageCount(const QString& pdf) {
  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  const QRegularExpressionMatch pages =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// The part of a page image that is not white.
QRect InkBox(const QImage& page) {
  QRect box;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) < 250) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace

TEST(FormPrinting, PrintsTheFormsImageInADocumentOfItsOwn) {
  if (!HaveTools({"pdfinfo", "pdftoppm", "pdftotext"})) {
    GTEST_SKIP() << "the poppler tools are not installed";
  }
  QTemporaryDir dir;
  const QString boxPdf = dir.filePath(QStringLiteral("box.pdf"));
  const QString formPdf = dir.filePath(QStringLiteral("form.pdf"));
  PdfEnvironment env(boxPdf);
  WindowFixture w;
  // A text box's document first: the form's does not replace it.
  w.Run(u"DIM T\nT = CREATE TEXTBOX\nT.TEXT = \"box text\"\nT.PRINTER\n");
  env.Use(formPdf);
  const std::u16string out = w.Run(
      u"DIM F, B, L, E, X\nF = CREATE FORM\nF.CLIENTWIDTH = 320\nF.CLIENTHEIGHT = 240\n"
      u"B = CREATE BUTTON\nB.PARENT = F\nB.CAPTION = \"Print\"\n"
      u"L = CREATE LABEL\nL.PARENT = F\nL.TOP = 40\nL.CAPTION = \"A label\"\n"
      u"E = CREATE TEXTBOX\nE.PARENT = F\nE.TOP = 80\nE.TEXT = \"typed\"\n"
      u"F.SHOW\nX = F.PRINTER\nPRINT X\n");
  EXPECT_EQ(out, u"1");
  EXPECT_TRUE(w.dialogs.warnings.empty());
  for (const QString& m : w.dialogs.messages) ADD_FAILURE() << m.toStdString();

  EXPECT_EQ(PageCount(formPdf), 1);
  EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {formPdf})
                  .contains(QRegularExpression(QStringLiteral("Title:\\s+Vell\\n"))));
  EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {boxPdf, QStringLiteral("-")})
                  .contains(QStringLiteral("box text")));

  // The image stands on the page at the form's size on the screen: 320
  // pixels of 96 to the inch are 100 pixels of a page rendered at 30.
  const QString root = dir.filePath(QStringLiteral("page"));
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-gray"),
           QStringLiteral("-singlefile"), formPdf, root});
  const QImage page(root + QStringLiteral(".pgm"));
  ASSERT_FALSE(page.isNull());
  const QRect ink = InkBox(page);
  ASSERT_FALSE(ink.isEmpty()) << "the page is blank";
  EXPECT_NEAR(ink.width(), 100, 3);
  EXPECT_NEAR(ink.height(), 75, 3);
}

TEST(FormPrinting, APrinterThatCannotBeOpenedIsShown) {
  QTemporaryDir dir;
  PdfEnvironment env(dir.filePath(QStringLiteral("missing/form.pdf")));
  WindowFixture w;
  w.Run(u"DIM F\nF = CREATE FORM\nF.PRINTER\nPRINT \"on\"\n");
  ASSERT_EQ(w.dialogs.warnings.size(), 1u);
  EXPECT_TRUE(w.dialogs.warnings[0].startsWith(QStringLiteral("Cannot create file")))
      << w.dialogs.warnings[0].toStdString();
  EXPECT_EQ(w.Output(), u"on");
}

// A cut line fills the printable width less the margins: its left edge is
// the MARGIN in millimetres inside the printable area, its right edge no
// further than 10 mm from the printable area's right and less than the
// reserve of one "W" short of it. The characters differ in width, so the
// line is only as long on paper as measured when both use the same widths.
TEST(TextBoxPrintingOnPaper, MarginsComeOutInMillimetres) {
  if (!HaveTools({"pdftotext"})) GTEST_SKIP() << "pdftotext is not installed";
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("lines.pdf"));
  PdfEnvironment env(pdf);
  WindowFixture w;
  std::u16string wide;
  for (int i = 0; i < 150; ++i) wide += u"Wii";
  const std::u16string program =
      u"DIM T\nT = CREATE TEXTBOX\nT.WIDTH = 300\nT.HEIGHT = 100\n"
      u"T.FONTNAME = \"DejaVu Sans\"\nT.FONTSIZE = 9\nT.MARGIN = 12\nT.TEXT = \"";
  w.Run(program + wide + u"\"\nT.PRINTER\n");
  ASSERT_TRUE(w.dialogs.warnings.empty());

  const QString boxes =
      RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const QRegularExpressionMatch first =
      QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                        "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([Wi]+)</word>"))
          .match(boxes);
  ASSERT_TRUE(first.hasMatch()) << boxes.toStdString();
  const double xMin = first.captured(1).toDouble();
  const double xMax = first.captured(3).toDouble();
  ASSERT_LT(first.captured(5).size(), static_cast<qsizetype>(wide.size()));  // the line was cut

  // The printable area of a PDF printer as the printer set-up starts it,
  // and the width of a "W" on it, in points.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(9);
  const double w72 = QFontMetricsF(font, &printer).horizontalAdvance(QLatin1Char('W')) * 72.0 /
                     printer.logicalDpiX();

  // A printer pixel (1/1200 inch) is 0.06 points, a screen pixel 0.75.
  constexpr double kTolerance = 0.15;  // points
  EXPECT_NEAR(xMin, printable.left() + 12 * kPointsPerMillimetre, kTolerance);
  const double rightEdge = printable.right() - 10 * kPointsPerMillimetre;
  EXPECT_LE(xMax, rightEdge + kTolerance);
  EXPECT_GT(xMax, rightEdge - w72 - kTolerance);
}
