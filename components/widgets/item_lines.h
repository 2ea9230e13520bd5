// The lines of a list or combo box as one text, the way programs hand them
// over: a line ends at CR, LF or CR LF, and a final line break adds no empty
// line; read back, every line is followed by one LF.
#pragma once

#include <QString>
#include <QStringList>

namespace vell {

QStringList LinesOfText(const QString& text);
QString TextOfLines(const QStringList& lines);

}  // namespace vell
