// Wrapping of lines that hold a long run without a place to break.
#pragma once

class QPlainTextEdit;

namespace vell::qt {

// Qt's word wrapping measures, for every screen line, the rest of the run of
// characters without a break opportunity before it falls back to breaking
// anywhere: a run of n characters costs time in n squared over the width,
// minutes for a line of a million characters. While the edit's text holds a
// run longer than any window is wide (which is broken anywhere in either
// mode), its lines wrap anywhere, which costs time in n; otherwise they wrap
// at word boundaries as before. Only the changed part of the text is looked
// at, so appending stays cheap.
void WrapLongRunsAnywhere(QPlainTextEdit& edit);

// The length from which a run without spaces counts as long.
inline constexpr int kLongRun = 1000;

}  // namespace vell::qt
