#include "library/qt/desktop_services.h"

namespace vell {

void InstallDesktopServices(Interpreter& interp) { (void)interp; }

}  // namespace vell
