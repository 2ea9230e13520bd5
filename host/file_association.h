// The association of program files (".vell") with the application in the
// desktop's MIME database, application list, default applications and icon
// theme of the current user.
#pragma once

#include <QByteArray>
#include <QString>

namespace vell::host {

// The folder the association's data lives in: $XDG_DATA_HOME, else
// ~/.local/share.
QString AssociationDataHome();
// The folder of mimeapps.list: $XDG_CONFIG_HOME, else ~/.config.
QString AssociationConfigHome();

// The modes of RegisterFileType.
inline constexpr int kRemoveFileType = 0;
inline constexpr int kWriteFileType = 1;

// Mode 1 writes the association for the `vell` executable in the folder of
// `executablePath`, mode 0 removes what of it is there; afterwards the
// desktop's databases are refreshed for what changed. False with a message
// (the failing file and the system's reason) when a file could not be
// written or removed; the files are written in an order that leaves a
// working, if partial, association when a later one fails.
bool RegisterFileType(int mode, const QString& executablePath, QString& error);

// The building blocks, open to the tests.
namespace association {

// The MIME package (UTF-8).
QByteArray MimePackage();
// The desktop entry that opens a file with the `vell` executable of
// `executableFolder` (UTF-8).
QByteArray DesktopEntry(const QString& executableFolder);
// One argument of a desktop entry's Exec line: quoted and escaped so that
// the launcher hands exactly `argument` to the program.
QString QuoteExecArgument(const QString& argument);
// mimeapps.list with the program files' default application set to our
// desktop entry; every other line kept byte for byte.
QByteArray WithDefaultApplication(const QByteArray& list);
// mimeapps.list without the program files' default application where it
// names our desktop entry alone; every other line kept byte for byte.
QByteArray WithoutDefaultApplication(const QByteArray& list);

}  // namespace association

}  // namespace vell::host
