// The command line as the program was given it, and the switches it knows.
// Qt is handed the program's name alone: every parameter is the program's,
// and none of Qt's own options (-style, -reverse, -platform ...) reaches Qt.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "host/file_association.h"

namespace vell::host {

// The switches, compared exactly (case and whole text).
inline constexpr char16_t kRegisterSwitch[] = u"/s";
inline constexpr char16_t kUnregisterSwitch[] = u"/u";
inline constexpr char16_t kMinimizedRunSwitch[] = u"/v";

// What FileTypeSwitch gives for a parameter that is neither "/s" nor "/u".
inline constexpr int kNoFileTypeSwitch = -1;

// kWriteFileType for "/s", kRemoveFileType for "/u", else kNoFileTypeSwitch.
int FileTypeSwitch(QStringView parameter);

// Every parameter after the program's name, in the locale's character set
// as Qt reads it, none left out.
QStringList Parameters(int argc, const char* const* argv);

}  // namespace vell::host
