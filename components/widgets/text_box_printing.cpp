#include "components/widgets/text_box_printing.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <cmath>
#include <memory>
#include <optional>

#include "platform/qt/memo_edit.h"
#include "platform/qt/utf16_qstring.h"

namespace vell::widgets {

namespace {

constexpr char16_t kTab = 9;
constexpr char16_t kLineFeed = 10;
constexpr char16_t kReturn = 13;
constexpr double kMillimetresPerInch = 25.4;
constexpr int kRightBottomMillimetres = 10;

int32_t MillimetresToPixels(int millimetres, int dpi) {
  return static_cast<int32_t>(
      std::trunc(millimetres * static_cast<double>(dpi) / kMillimetresPerInch));
}

// True when the line so far, plus one "W" in reserve, passes the printable
// width, or when the line buffer is full.
bool LineFull(PrintLayout& layout, PrintSurface& surface, const std::u16string& line) {
  if (static_cast<int>(line.size()) >= kPrintLineMaxChars) return true;
  return layout.x + surface.TextExtent(line) + surface.TextExtent(u"W") > layout.width;
}

}  // namespace

void BeginPrintLayout(PrintLayout& layout, PrintSurface& surface, const QString& fontFamily,
                      int fontPointSize, const QRect& formatRect) {
  surface.SetFont(fontFamily, fontPointSize);
  const int pageWidth = surface.PageWidth();
  const int pageHeight = surface.PageHeight();
  layout.dpiX = surface.DpiX();
  layout.dpiY = surface.DpiY();
  // The formatting rectangle's pixels are taken as millimetres on paper.
  layout.left = MillimetresToPixels(formatRect.left(), layout.dpiX);
  layout.top = MillimetresToPixels(formatRect.top(), layout.dpiY);
  layout.right = MillimetresToPixels(kRightBottomMillimetres, layout.dpiX);
  layout.bottom = MillimetresToPixels(kRightBottomMillimetres, layout.dpiY);
  layout.width = pageWidth - layout.left - layout.right;
  layout.height = pageHeight - layout.top - layout.bottom;
  layout.x = 0;
  layout.y = 0;
  layout.tab = 8;
  layout.textPos = 0;
}

bool BeginPrintDocument(PrintSurface& surface, QString& error) {
  return surface.BeginDocument(QString::fromLatin1(kPrintDocumentTitle), error);
}

bool NextPrintLine(PrintLayout& layout, PrintSurface& surface, std::u16string_view text,
                   std::u16string& line) {
  line.clear();
  size_t i = static_cast<size_t>(std::max(0, layout.textPos));
  for (;;) {
    if (i >= text.size() || text[i] == 0) {
      layout.textPos = static_cast<int32_t>(i);
      return !line.empty();
    }
    const char16_t c = text[i];
    if (c == kTab) {
      ++i;
      const int spaces = layout.tab - static_cast<int>(line.size()) % layout.tab;
      for (int n = 0; n < spaces; ++n) {
        line += u' ';
        if (LineFull(layout, surface, line)) {
          // The space that passed the edge stays; the tab's others are dropped.
          line += kLineFeed;
          layout.textPos = static_cast<int32_t>(i);
          return true;
        }
      }
    } else if (c == kLineFeed) {
      line += kLineFeed;
      layout.textPos = static_cast<int32_t>(i + 1);
      return true;
    } else if (c == kReturn) {
      ++i;
    } else {
      line += c;
      ++i;
      if (LineFull(layout, surface, line)) {
        line += kLineFeed;
        layout.textPos = static_cast<int32_t>(i);
        return true;
      }
    }
  }
}

bool DrawPrintLine(PrintLayout& layout, PrintSurface& surface, std::u16string& line, bool draw) {
  bool lineBreak = false;
  const size_t end = line.find(kLineFeed);
  if (end != std::u16string::npos) {
    line.resize(end);
    lineBreak = true;
  }
  const int width = surface.TextExtent(line);
  if (draw) surface.DrawText(layout.left + layout.x, layout.top + layout.y, line);
  layout.x += width;
  return lineBreak;
}

void NewPrintPage(PrintLayout& layout, PrintSurface& surface) {
  surface.NewPage();
  layout.x = 0;
  layout.y = 0;
}

bool PrintTextOnPrinter(PrintLayout& layout, PrintSurface& surface, std::u16string_view text) {
  const int h = surface.TextHeight(u"H");
  bool newPage = false;
  std::u16string line;
  line.reserve(kPrintLineMaxChars + 1);
  while (NextPrintLine(layout, surface, text, line)) {
    bool pageBreak = false;
    if (DrawPrintLine(layout, surface, line, true)) {
      layout.y += h + h / 3;
      layout.x = 0;
      pageBreak = layout.y + h / 3 + h > layout.height;
    }
    if (pageBreak) {
      NewPrintPage(layout, surface);
      newPage = true;
    }
  }
  return newPage;
}

bool EndPrintDocument(PrintSurface& surface, QString& error) { return surface.EndDocument(error); }

bool PrintMemo(const MemoEdit& memo, PrintSurface& surface, QString& error) {
  const QFont font = memo.font();
  int points = font.pointSize();
  if (points <= 0) {
    // A font given in pixels: its size in points on the screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    points = static_cast<int>(std::lround(font.pixelSize() * 72.0 / dpi));
  }
  PrintLayout layout;
  BeginPrintLayout(layout, surface, font.family(), points, memo.FormatRect());
  if (!BeginPrintDocument(surface, error)) return false;
  PrintTextOnPrinter(layout, surface, memo.Text());
  return EndPrintDocument(surface, error);
}

// ---------------------------------------------------------------------------
// The printer.

QString SelectPrinterOutput(QPrinter& printer) {
  const QString pdf = QString::fromLocal8Bit(qgetenv(kPrintPdfVariable));
  if (!pdf.isEmpty()) {
    if (printer.outputFormat() != QPrinter::PdfFormat) printer.setOutputFormat(QPrinter::PdfFormat);
    if (printer.outputFileName() != pdf) printer.setOutputFileName(pdf);
  } else if (printer.outputFormat() != QPrinter::NativeFormat ||
             !printer.outputFileName().isEmpty()) {
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
  }
  return pdf;
}

bool BeginPrinterDocument(QPrinter& printer, QPainter& painter, const QString& title,
                          QString& error) {
  const QString pdf = SelectPrinterOutput(printer);
  if (pdf.isEmpty() && printer.printerName().isEmpty() && QPrinterInfo::defaultPrinter().isNull()) {
    error = QString::fromLatin1(kNoPrinterText);
    return false;
  }
  printer.setDocName(title);
  printer.setCreator(title);
  if (!painter.begin(&printer)) {
    error = pdf.isEmpty() ? QString::fromLatin1(kNoPrinterText)
                          : QStringLiteral("Cannot create file \"%1\".").arg(pdf);
    return false;
  }
  return true;
}

struct PrinterSurface::State {
  QPrinter& printer;
  QFont font;
  std::optional<QFontMetrics> metrics;    // line height and ascent
  std::optional<QFontMetricsF> advances;  // the characters' widths, unrounded
  QHash<char32_t, double> cache;
  QPainter painter;

  explicit State(QPrinter& p) : printer(p) {}

  void Measure(const QFont& measured) {
    metrics.emplace(measured, &printer);
    advances.emplace(measured, &printer);
    cache.clear();
  }

  double Advance(char32_t code) {
    auto found = cache.constFind(code);
    if (found != cache.constEnd()) return *found;
    const double advance = advances->horizontalAdvance(QString::fromUcs4(&code, 1));
    cache.insert(code, advance);
    return advance;
  }
};

PrinterSurface::PrinterSurface(QPrinter& printer) : state_(new State(printer)) {
  // The page and its resolution are the ones the document goes to.
  SelectPrinterOutput(printer);
  state_->Measure(state_->font);
}

PrinterSurface::~PrinterSurface() {
  if (state_->painter.isActive()) state_->painter.end();
  delete state_;
}

void PrinterSurface::SetFont(const QString& family, int pointSize) {
  state_->font = QFont(family);
  if (pointSize > 0) state_->font.setPointSize(pointSize);
  // Plain characters, as measured: no ligatures, no kerning.
  state_->font.setStyleStrategy(QFont::PreferNoShaping);
  state_->Measure(state_->font);
  if (state_->painter.isActive()) state_->painter.setFont(state_->font);
}

int PrinterSurface::PageWidth() { return state_->printer.width(); }
int PrinterSurface::PageHeight() { return state_->printer.height(); }
int PrinterSurface::DpiX() { return state_->printer.logicalDpiX(); }
int PrinterSurface::DpiY() { return state_->printer.logicalDpiY(); }

int PrinterSurface::TextHeight(std::u16string_view) { return state_->metrics->height(); }

namespace {

// Calls `each` with every character (code point) of the text.
template <class Each>
void ForEachCharacter(std::u16string_view text, Each each) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (QChar::isHighSurrogate(code) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
      code = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    each(code);
  }
}

}  // namespace

int PrinterSurface::TextExtent(std::u16string_view text) {
  // The characters' advances at the printer's resolution added up, as the
  // painter places them (no kerning, no ligatures), rounded once for the
  // whole text; a line drawn is as wide as measured.
  double width = 0;
  ForEachCharacter(text, [this, &width](char32_t code) { width += state_->Advance(code); });
  return static_cast<int>(std::lround(width));
}

bool PrinterSurface::BeginDocument(const QString& title, QString& error) {
  QPrinter& printer = state_->printer;
  if (!BeginPrinterDocument(printer, state_->painter, title, error)) return false;
  state_->painter.setFont(state_->font);
  state_->painter.setBackgroundMode(Qt::TransparentMode);
  // Measure with the font as the painter resolved it on this device.
  state_->Measure(state_->painter.font());
  return true;
}

void PrinterSurface::DrawText(int x, int y, std::u16string_view text) {
  if (!state_->painter.isActive() || text.empty()) return;
  // The pen position is the top of the line; Qt draws at the baseline.
  state_->painter.drawText(x, y + state_->metrics->ascent(), qt::ToQString(text));
}

void PrinterSurface::NewPage() {
  if (state_->painter.isActive()) state_->printer.newPage();
}

bool PrinterSurface::EndDocument(QString& error) {
  if (!state_->painter.isActive()) return true;
  if (!state_->painter.end()) {
    error = QString::fromLatin1(kDocumentNotFinishedText);
    return false;
  }
  return true;
}

bool PrintMemoOnPrinter(const MemoEdit& memo, QPrinter& printer, QString& error) {
  PrinterSurface surface(printer);
  return PrintMemo(memo, surface, error);
}

}  // namespace vell::widgets
