// The desktop services the file and clipboard keywords use: the clipboard
// and the trash. The window installs the real ones; without them (the
// console runner) an in-process clipboard stands in. Both use one trash.
#pragma once

#include <string>
#include <string_view>

namespace vell {

struct ClipboardText {
  enum Form { None, Ansi, Unicode };
  Form form = None;
  std::u16string wide;  // when form is Unicode
  std::string ansi;     // when form is Ansi: bytes in the locale's character set
};

enum class TrashResult {
  Moved,    // the entry is in the trash now
  NoTrash,  // the entry's file system has no usable trash
  Failed,   // a trash exists but the move failed; errno-style code given
};

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;
  // Unicode text wins whenever the clipboard offers it.
  virtual ClipboardText GetClipboardText() = 0;
  // Places both forms; false when the clipboard could not be written.
  virtual bool SetClipboardText(std::u16string_view wide, std::string_view ansi) = 0;
  // Moves a file or folder (a path in the locale's character set) to the trash.
  virtual TrashResult MoveToTrash(const std::string& path, int* error) = 0;
};

// The services in use: the installed ones, or the stand-in.
DesktopServices& CurrentDesktopServices();
// Installs services that outlive every later use; null restores the stand-in.
void SetDesktopServices(DesktopServices* services);

// The trash of the desktop, the same for the window and the console runner,
// as the freedesktop.org trash rules give it: an entry on the home
// trash's file system goes to the home trash ($XDG_DATA_HOME/Trash, else
// ~/.local/share/Trash); an entry elsewhere goes to the trash at the top
// folder of its own file system: $topdir/.Trash/$uid when $topdir/.Trash is
// a folder (not a link) with the sticky bit, else $topdir/.Trash-$uid.
// NoTrash where no such folder can be made.
TrashResult MoveToDesktopTrash(const std::string& path, int* error);
// A move into the home trash only (Failed with EXDEV for an entry on
// another file system).
TrashResult MoveToHomeTrash(const std::string& path, int* error);
// The folder of the home trash, and whether the path lies on its file system.
std::string HomeTrashFolder();
bool SharesHomeTrashDevice(const std::string& path);

}  // namespace vell
