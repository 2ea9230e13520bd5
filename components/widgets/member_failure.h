// A member that the control refuses (a range that cannot be, a file that
// cannot be played) shows the reason in a message, and the program goes on.
#pragma once

#include <QString>

#include "components/widgets/component_table.h"
#include "platform/qt/dialogs.h"

namespace vell {

inline void ReportMemberFailure(MemberCall& call, const QString& text) {
  qt::Dialogs().ShowWarning(call.table.Host().MainWindowWidget(), QStringLiteral("Vell"), text);
}

}  // namespace vell
