#include "host/error_box.h"

#include "host/output_area.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/utf16_qstring.h"

void ErrorBox::Show(const QString& text) {
  output_.Flush();
  vell::qt::Dialogs().ShowWarning(&window_, caption_, text);
}

void ErrorBox::ShowServiceError(std::u16string_view message) {
  Show(vell::qt::ToQString(message));
}
