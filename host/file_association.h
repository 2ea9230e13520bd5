// The association of program files (".vell") with the application in the
// desktop's MIME database and application list of the current user.
#pragma once

#include <QString>

namespace vell::host {

// The folder the association lives in: $XDG_DATA_HOME, else ~/.local/share.
QString AssociationDataHome();

// Mode 1 writes the association for the executable at `executablePath`,
// mode 0 removes it; afterwards the desktop's caches are refreshed. False with
// a message when a file could not be written or removed.
bool RegisterFileType(int mode, const QString& executablePath, QString& error);

}  // namespace vell::host
