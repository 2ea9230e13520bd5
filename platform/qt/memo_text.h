// The text of a multi-line edit in the form programs and files see it: lines
// separated by CR LF, positions counting each line break as two units.
#pragma once

#include <string>
#include <string_view>

class QPlainTextEdit;
class QTextDocument;
class QString;

namespace vell::qt {

// The whole text with CR LF between lines (taken raw, so a no-break space
// stays U+00A0).
std::u16string MemoText(const QPlainTextEdit& edit);
QString MemoQText(const QPlainTextEdit& edit);
// Replaces the whole text; CR, LF and CR LF each end a line.
void SetMemoText(QPlainTextEdit& edit, std::u16string_view text);
// Every line break (CR, LF or CR LF) as LF, the form the edit takes.
QString ToEditText(std::u16string_view text);

// Caret positions: Qt's position (one unit per line break) and the position
// counted with CR LF as two units.
int CrLfPosition(const QTextDocument& document, int qtPosition);
int QtPosition(const QTextDocument& document, int crLfPosition);

}  // namespace vell::qt
