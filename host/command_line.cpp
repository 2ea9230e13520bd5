#include "host/command_line.h"

namespace vell::host {

int FileTypeSwitch(QStringView parameter) {
  if (parameter == kRegisterSwitch) return kWriteFileType;
  if (parameter == kUnregisterSwitch) return kRemoveFileType;
  return kNoFileTypeSwitch;
}

QStringList Parameters(int argc, const char* const* argv) {
  QStringList parameters;
  for (int i = 1; i < argc && argv[i] != nullptr; ++i)
    parameters << QString::fromLocal8Bit(argv[i]);
  return parameters;
}

}  // namespace vell::host
