// Printing a text box's whole text as plain lines in the box's font: margins
// from the box's formatting rectangle, lines cut at the printable width, tabs
// expanded to 8-character stops, pages broken by height.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

class MemoEdit;
class QPainter;
class QPrinter;

namespace vell::widgets {

// What the printing draws on: the shared printer, or a fake in tests.
// Lengths are in the surface's pixels.
class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  // The font of everything measured and drawn from now on.
  virtual void SetFont(const QString& family, int pointSize) = 0;
  // The printable page, and the pixels per inch across and down.
  virtual int PageWidth() = 0;
  virtual int PageHeight() = 0;
  virtual int DpiX() = 0;
  virtual int DpiY() = 0;
  virtual int TextHeight(std::u16string_view text) = 0;
  virtual int TextExtent(std::u16string_view text) = 0;
  // Starts the document; false with the reason when the printer cannot.
  virtual bool BeginDocument(const QString& title, QString& error) = 0;
  virtual void DrawText(int x, int y, std::u16string_view text) = 0;
  virtual void NewPage() = 0;
  // Ends the document; false with the reason when it could not be finished.
  virtual bool EndDocument(QString& error) = 0;
};

// One print job's layout (pixels of the surface).
struct PrintLayout {
  int32_t left = 0;  // margins
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t width = 0;   // printable width: page width less left and right
  int32_t height = 0;  // printable height: page height less top and bottom
  int32_t dpiX = 0;
  int32_t dpiY = 0;
  int32_t x = 0;  // pen, from the left and top margins
  int32_t y = 0;
  int32_t tab = 8;      // tab stops, in characters
  int32_t textPos = 0;  // where the next line starts in the text
};

// The class library's text when a print starts without any printer.
inline constexpr char kNoPrinterText[] = "There is no default printer currently selected";

// When a document could not be finished (its file not written whole).
inline constexpr char kDocumentNotFinishedText[] = "The document could not be finished.";

// The title of every printed document in the print queue.
inline constexpr char kPrintDocumentTitle[] = "Vell";

// The environment variable that sends every printed document into the PDF
// file it names instead of to the printer.
inline constexpr char kPrintPdfVariable[] = "VELL_PRINT_PDF";

// Points the printer at the PDF file that VELL_PRINT_PDF names, else at the
// printer itself, so that its page and resolution are the document's; the
// PDF file's name, empty for the printer.
QString SelectPrinterOutput(QPrinter& printer);

// Starts a document on the printer, or in the PDF file that VELL_PRINT_PDF
// names, with the painter drawing on it; false with the class library's
// text when no printer can be opened. The text box's and the form's
// printing both start their documents here.
bool BeginPrinterDocument(QPrinter& printer, QPainter& painter, const QString& title,
                          QString& error);

// A cut line holds at most this many characters, so that with its line feed
// and terminator it fills the 256 units of a line buffer.
constexpr int kPrintLineMaxChars = 254;

// Sets the surface's font and fills the layout. The formatting rectangle's
// left and top edges (screen pixels) are the left and top margins in
// millimetres; the right and bottom margins are 10 mm.
void BeginPrintLayout(PrintLayout& layout, PrintSurface& surface, const QString& fontFamily,
                      int fontPointSize, const QRect& formatRect);
// Starts the document titled "Vell".
bool BeginPrintDocument(PrintSurface& surface, QString& error);
// Prints the text (CR LF line breaks, a NUL ends it); true when it started at
// least one new page.
bool PrintTextOnPrinter(PrintLayout& layout, PrintSurface& surface, std::u16string_view text);
// Cuts the next line into `line` (its characters, then LF when a line break
// follows); false at the end of the text.
bool NextPrintLine(PrintLayout& layout, PrintSurface& surface, std::u16string_view text,
                   std::u16string& line);
// Draws the line at the pen (when `draw`) and moves the pen across it; true
// when a line break follows it. The line's LF is removed.
bool DrawPrintLine(PrintLayout& layout, PrintSurface& surface, std::u16string& line, bool draw);
void NewPrintPage(PrintLayout& layout, PrintSurface& surface);
bool EndPrintDocument(PrintSurface& surface, QString& error);

// The whole job for an edit: layout from its font and formatting
// rectangle, the document, its text. False with the reason on failure.
bool PrintMemo(const MemoEdit& memo, PrintSurface& surface, QString& error);

// The surface on a printer, in the printer's own pixels. When the
// environment variable VELL_PRINT_PDF names a file the document goes into
// that PDF file instead. Texts are measured with the same advances the
// painter draws them with, so a line on paper is as wide as measured.
class PrinterSurface : public PrintSurface {
 public:
  explicit PrinterSurface(QPrinter& printer);
  ~PrinterSurface() override;
  PrinterSurface(const PrinterSurface&) = delete;
  PrinterSurface& operator=(const PrinterSurface&) = delete;

  void SetFont(const QString& family, int pointSize) override;
  int PageWidth() override;
  int PageHeight() override;
  int DpiX() override;
  int DpiY() override;
  int TextHeight(std::u16string_view text) override;
  int TextExtent(std::u16string_view text) override;
  bool BeginDocument(const QString& title, QString& error) override;
  void DrawText(int x, int y, std::u16string_view text) override;
  void NewPage() override;
  bool EndDocument(QString& error) override;

 private:
  struct State;
  State* state_;
};

// Prints an edit's text on the printer (or into the PDF file named by
// VELL_PRINT_PDF). False with the printer's error text when it cannot print.
bool PrintMemoOnPrinter(const MemoEdit& memo, QPrinter& printer, QString& error);

}  // namespace vell::widgets
