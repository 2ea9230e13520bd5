#include "library/qt/desktop_services.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <string>

#include "library/desktop_hooks.h"
#include "platform/qt/utf16_qstring.h"
#include "platform/text_codec.h"

namespace vell {
namespace {

// The clipboard format that carries text in the locale's character set when
// that set is not UTF-8 (the Unicode form is plain text).
QString AnsiFormat() {
  return QStringLiteral("text/plain;charset=") + QString::fromStdString(text::AnsiCharset());
}

bool AnsiIsUtf8() {
  const std::string& charset = text::AnsiCharset();
  return charset == "UTF-8" || charset == "utf-8" || charset == "UTF8";
}

class QtDesktopServices final : public DesktopServices {
 public:
  ClipboardText GetClipboardText() override {
    ClipboardText result;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr) return result;
    if (data->hasText()) {
      const QString text = data->text();
      result.form = ClipboardText::Unicode;
      result.wide = qt::ToU16String(text);
    } else if (!AnsiIsUtf8() && data->hasFormat(AnsiFormat())) {
      const QByteArray bytes = data->data(AnsiFormat());
      result.form = ClipboardText::Ansi;
      result.ansi.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
      const size_t end = result.ansi.find('\0');
      if (end != std::string::npos) result.ansi.resize(end);
    }
    return result;
  }

  bool SetClipboardText(std::u16string_view wide, std::string_view ansi) override {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    auto* data = new QMimeData;
    data->setText(qt::ToQString(wide));
    if (!AnsiIsUtf8()) {
      data->setData(AnsiFormat(), QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size())));
    }
    clipboard->setMimeData(data);  // the clipboard owns the data now
    return true;
  }

  // The same trash as the console runner's, whatever Qt's own rules.
  TrashResult MoveToTrash(const std::string& path, int* error) override {
    return MoveToDesktopTrash(path, error);
  }
};

}  // namespace

void InstallDesktopServices(Interpreter& interp) {
  (void)interp;
  static QtDesktopServices services;
  SetDesktopServices(&services);
}

}  // namespace vell
