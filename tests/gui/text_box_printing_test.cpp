// Text box printing against a surface with simple metrics (every character
// 10 pixels wide, lines 12 high), and once into a real PDF file.
#include "components/widgets/text_box_printing.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <vector>

#include "components/widgets/component_table.h"
#include "core/codes.h"
#include "core/vellvar.h"
#include "platform/qt/memo_edit.h"
#include "tests/gui/pdf_output.h"
#include "tests/support/component_window.h"

using vell::testing::PdfEnvironment;
using vell::testing::RunTool;
using vell::widgets::PrintLayout;

namespace {

struct Drawn {
  int page;
  int x;
  int y;
  std::u16string text;
};

class FakeSurface : public vell::widgets::PrintSurface {
 public:
  int pageWidth = 1000;
  int pageHeight = 1000;
  int dpi = 254;  // 10 pixels a millimetre
  int charWidth = 10;
  int lineHeight = 12;
  bool failBegin = false;

  QString font;
  int pointSize = 0;
  int pages = 0;
  int begun = 0;
  int ended = 0;
  std::vector<Drawn> drawn;

  void SetFont(const QString& family, int size) override {
    font = family;
    pointSize = size;
  }
  int PageWidth() override { return pageWidth; }
  int PageHeight() override { return pageHeight; }
  int DpiX() override { return dpi; }
  int DpiY() override { return dpi; }
  int TextHeight(std::u16string_view) override { return lineHeight; }
  int TextExtent(std::u16string_view text) override {
    return static_cast<int>(text.size()) * charWidth;
  }
  bool BeginDocument(const QString& title, QString& error) override {
    EXPECT_EQ(title, QStringLiteral("Vell"));
    if (failBegin) {
      error = QStringLiteral("no printer");
      return false;
    }
    ++begun;
    pages = 1;
    return true;
  }
  void DrawText(int x, int y, std::u16string_view text) override {
    drawn.push_back({pages, x, y, std::u16string(text)});
  }
  void NewPage() override { ++pages; }
  bool EndDocument(QString&) override {
    ++ended;
    return true;
  }

  std::u16string Joined() const {
    std::u16string all;
    for (const Drawn& d : drawn) all += d.text + u'|';
    return all;
  }
};

// A layout with no margins and the given printable size.
PrintLayout Layout(int width, int height) {
  PrintLayout layout;
  layout.width = width;
  layout.height = height;
  return layout;
}

std::vector<std::u16string> CutLines(PrintLayout layout, FakeSurface& surface,
                                     std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  while (vell::widgets::NextPrintLine(layout, surface, text, line)) {
    lines.push_back(line);
    vell::widgets::DrawPrintLine(layout, surface, line, false);
    if (!lines.back().empty() && lines.back().back() == u'\n') layout.x = 0;
  }
  return lines;
}

}  // namespace

TEST(TextBoxPrinting, MarginsFromTheFormattingRectangle) {
  FakeSurface surface;
  surface.dpi = 600;
  surface.pageWidth = 4800;
  surface.pageHeight = 6600;
  PrintLayout layout;
  layout.x = 5;
  layout.textPos = 9;
  vell::widgets::BeginPrintLayout(layout, surface, QStringLiteral("Mono"), 9,
                                  QRect(QPoint(10, 5), QPoint(190, 95)));
  EXPECT_EQ(surface.font, QStringLiteral("Mono"));
  EXPECT_EQ(surface.pointSize, 9);
  // Pixels taken as millimetres, cut toward zero; 10 mm at the right and bottom.
  EXPECT_EQ(layout.left, 236);
  EXPECT_EQ(layout.top, 118);
  EXPECT_EQ(layout.right, 236);
  EXPECT_EQ(layout.bottom, 236);
  EXPECT_EQ(layout.width, 4800 - 236 - 236);
  EXPECT_EQ(layout.height, 6600 - 118 - 236);
  EXPECT_EQ(layout.x, 0);
  EXPECT_EQ(layout.textPos, 0);
  EXPECT_EQ(layout.tab, 8);
}

TEST(TextBoxPrinting, TabsAndLineBreaks) {
  FakeSurface surface;
  const PrintLayout layout = Layout(10000, 10000);
  EXPECT_EQ(CutLines(layout, surface, u"\tx\r\nabc\tx\nabcdefgh\tx"),
            (std::vector<std::u16string>{u"        x\n", u"abc     x\n", u"abcdefgh        x"}));
  // A lone CR neither prints nor breaks.
  EXPECT_EQ(CutLines(layout, surface, u"a\rb\r\n\r\nc"),
            (std::vector<std::u16string>{u"ab\n", u"\n", u"c"}));
  EXPECT_TRUE(CutLines(layout, surface, u"").empty());
}

TEST(TextBoxPrinting, LongLinesContinueWithoutLoss) {
  FakeSurface surface;
  // 10 characters fit: the 10th plus a "W" in reserve passes 100 pixels.
  const PrintLayout layout = Layout(100, 10000);
  EXPECT_EQ(CutLines(layout, surface, u"abcdefghijklmnopqrstuvwxy"),
            (std::vector<std::u16string>{u"abcdefghij\n", u"klmnopqrst\n", u"uvwxy"}));
  // A tab that reaches the edge ends the line with the space that passed it;
  // the next line starts after the tab.
  EXPECT_EQ(CutLines(layout, surface, u"abcdefgh\tXYZ"),
            (std::vector<std::u16string>{u"abcdefgh  \n", u"XYZ"}));
  // A character wider than the whole line still moves on.
  surface.charWidth = 500;
  EXPECT_EQ(CutLines(layout, surface, u"ab"), (std::vector<std::u16string>{u"a\n", u"b\n"}));
}

TEST(TextBoxPrinting, ALineNeverOverrunsItsBuffer) {
  FakeSurface surface;
  surface.charWidth = 1;
  const PrintLayout layout = Layout(100000, 10000);
  std::u16string text(600, u'x');
  text += u"\t\tend";
  const std::vector<std::u16string> lines = CutLines(layout, surface, text);
  std::u16string joined;
  for (const std::u16string& line : lines) {
    std::u16string body = line;
    if (!body.empty() && body.back() == u'\n') body.pop_back();
    EXPECT_LE(body.size(), static_cast<size_t>(vell::widgets::kPrintLineMaxChars));
    joined += body;
  }
  ASSERT_EQ(lines.size(), 3u);
  // 600 letters: 254, 254, then 92 and the tabs (to 96, 104) and "end".
  EXPECT_EQ(joined, std::u16string(600, u'x') + std::u16string(12, u' ') + u"end");
}

TEST(TextBoxPrinting, PagesBreakByHeight) {
  FakeSurface surface;
  surface.pageWidth = 1000;
  surface.pageHeight = 100;
  QString error;
  PrintLayout layout;
  // Lines 12 high, 16 apart; a page of 100 holds lines at 0, 16, ... 80
  // (a seventh at 96 would pass 100 with its spacing).
  vell::widgets::BeginPrintLayout(layout, surface, QStringLiteral("Mono"), 9, QRect(0, 0, 1, 1));
  layout.height = 100;  // the bottom margin aside
  ASSERT_TRUE(vell::widgets::BeginPrintDocument(surface, error));
  EXPECT_TRUE(vell::widgets::PrintTextOnPrinter(layout, surface, u"1\n2\n3\n4\n5\n6\n7\n8"));
  ASSERT_EQ(surface.drawn.size(), 8u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(surface.drawn[i].page, 1);
    EXPECT_EQ(surface.drawn[i].y, 16 * i);
  }
  EXPECT_EQ(surface.drawn[6].page, 2);
  EXPECT_EQ(surface.drawn[6].y, 0);
  EXPECT_EQ(surface.drawn[7].y, 16);

  // The last line break filling the page starts a new, empty page.
  FakeSurface full;
  PrintLayout fullLayout = Layout(1000, 100);
  EXPECT_TRUE(vell::widgets::PrintTextOnPrinter(fullLayout, full, u"1\n2\n3\n4\n5\n6\n"));
  EXPECT_EQ(full.pages, 1);  // NewPage once (the fake counts from 0 unbegun)
  EXPECT_EQ(full.drawn.size(), 6u);
  FakeSurface shortPage;
  PrintLayout shortLayout = Layout(1000, 100);
  EXPECT_FALSE(vell::widgets::PrintTextOnPrinter(shortLayout, shortPage, u"1\n2\n3\n4\n5\n6"));
  EXPECT_EQ(shortPage.pages, 0);
}

TEST(TextBoxPrinting, MemoPrintsAtItsMargins) {
  FakeSurface surface;
  MemoEdit memo;
  memo.resize(200, 100);
  memo.SetFormatRect(memo.ClientRect().adjusted(3, 5, -3, -5));
  memo.SetText(u"ab\tc\r\nd");
  QString error;
  ASSERT_TRUE(vell::widgets::PrintMemo(memo, surface, error));
  EXPECT_EQ(surface.begun, 1);
  EXPECT_EQ(surface.ended, 1);
  EXPECT_EQ(surface.font, memo.font().family());
  EXPECT_GT(surface.pointSize, 0);
  ASSERT_EQ(surface.drawn.size(), 2u);
  // 3 and 5 "millimetres" at 10 pixels each.
  EXPECT_EQ(surface.drawn[0].x, 30);
  EXPECT_EQ(surface.drawn[0].y, 50);
  EXPECT_EQ(surface.drawn[0].text, u"ab      c");
  EXPECT_EQ(surface.drawn[1].y, 50 + 16);

  // An empty text opens and closes the document without a line.
  FakeSurface empty;
  memo.SetText(u"");
  ASSERT_TRUE(vell::widgets::PrintMemo(memo, empty, error));
  EXPECT_EQ(empty.ended, 1);
  EXPECT_TRUE(empty.drawn.empty());

  // A printer that cannot start reports why.
  FakeSurface broken;
  broken.failBegin = true;
  EXPECT_FALSE(vell::widgets::PrintMemo(memo, broken, error));
  EXPECT_EQ(error, QStringLiteral("no printer"));
  EXPECT_EQ(broken.ended, 0);
}

// A program's lone CR stays in the box as a character and prints as
// nothing: "x" CR "y" is one line "xy".
TEST(TextBoxPrinting, ALoneReturnFromAProgramBreaksNoLine) {
  vell::test::StandInWindow window;
  vell::mwin table(window);
  const auto interp = std::make_unique<vell::Interpreter>();
  vell::vellarray& value = interp->requestSlots[4];
  value.SetItem(vell::vellvar(static_cast<int>(vell::TypeTextBox)));
  const int slot = table.SetMember(*interp, 0, vell::MemberCreate, value);
  auto* memo = qobject_cast<MemoEdit*>(table.Slot(slot).object.data());
  ASSERT_NE(memo, nullptr);
  memo->resize(200, 100);
  value.SetItem(vell::vellvar(u"x\ry\nz"));
  ASSERT_EQ(table.SetMember(*interp, slot, vell::MemberText, value), 1);
  FakeSurface surface;
  QString error;
  ASSERT_TRUE(vell::widgets::PrintMemo(*memo, surface, error));
  EXPECT_EQ(surface.Joined(), u"xy|z|");
  table.DestroyAllComponents();
}

TEST(TextBoxPrinting, PrintsIntoThePdfFileNamed) {
  if (!vell::testing::HaveTools({"pdfinfo", "pdftotext"})) {
    GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
  }
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
  PdfEnvironment env(pdf);
  MemoEdit memo;
  memo.resize(300, 200);
  memo.SetFormatRect(memo.ClientRect().adjusted(10, 5, -10, -5));
  std::u16string text = u"First line\r\nsecond\tline\r\n";
  for (int i = 0; i < 80; ++i) text += u"filler\r\n";
  text += u"last";
  memo.SetText(text);
  QString error;
  QPrinter printer(QPrinter::HighResolution);
  {
    // The page is laid out on the output the document goes to.
    vell::widgets::PrinterSurface surface(printer);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), pdf);
    EXPECT_EQ(surface.DpiX(), printer.logicalDpiX());
  }
  ASSERT_TRUE(vell::widgets::PrintMemoOnPrinter(memo, printer, error)) << error.toStdString();

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Vell\\n"))))
      << info.toStdString();
  const QRegularExpressionMatch pages =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
  EXPECT_GE(pages.captured(1).toInt(), 2);
  const QString words = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  EXPECT_TRUE(words.contains(QStringLiteral("First line"))) << words.toStdString();
  EXPECT_TRUE(words.contains(QStringLiteral("last")));
  EXPECT_EQ(words.count(QStringLiteral("filler")), 80) << words.toStdString();
}
