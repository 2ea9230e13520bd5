// Every Japanese text of the application, as UTF-16
// literals. They go straight to Qt through QString::fromUtf16 and never pass
// through the locale's character set.
#pragma once

#include <QString>

namespace vell::jp {

// Menus.
inline constexpr char16_t kMenuFile[] = u"ファイル(&F)";
inline constexpr char16_t kMenuFileOpen[] = u"開く(&O)...";
inline constexpr char16_t kMenuFileSaveAs[] = u"名前を付けて保存(&A)...";
inline constexpr char16_t kMenuFileExit[] = u"終了(&X)";
inline constexpr char16_t kMenuProg[] = u"プログラム(&P)";
inline constexpr char16_t kMenuProgRun[] = u"実行(&R)";
inline constexpr char16_t kMenuProgEnd[] = u"プログラムの終了(&E)";
inline constexpr char16_t kMenuProgDisp[] = u"プログラムを表示(&P)";
inline constexpr char16_t kMenuProgCls[] = u"出力エリアクリア(&C)";
inline constexpr char16_t kMenuHelp[] = u"ヘルプ(&H)";
inline constexpr char16_t kMenuHelpFile[] = u"Vell ヘルプ(&C)";
inline constexpr char16_t kMenuHelpVersion[] = u"バージョン情報(&A)...";

// The input dialog's abort button.
inline constexpr char16_t kAbortButton[] = u"中止";

// Asked before a program is stopped from a message or the input dialog
// (the trailing blank belongs to the text).
inline constexpr char16_t kConfirmEnd[] = u"プログラムを終了しますか？ ";

// The filter of the open and save dialogs, in the "text|pattern|..." form.
inline constexpr char16_t kProgramFileFilter[] =
    u"Vellファイル(*.vell)|*.vell|すべてのファイル(*.*)|*.*";

// The memos' edit popup menu: captions, and hints as "short|long".
inline constexpr char16_t kPopupUndo[] = u"元に戻す(&U)";
inline constexpr char16_t kPopupCut[] = u"切り取り(&T)";
inline constexpr char16_t kPopupCopy[] = u"コピー(&C)";
inline constexpr char16_t kPopupPaste[] = u"貼り付け(&P)";
inline constexpr char16_t kPopupDelete[] = u"削除(&D)";
inline constexpr char16_t kPopupSelectAll[] = u"すべてを選択(&A)";
inline constexpr char16_t kPopupDeleteAll[] = u"すべてを削除(&N)";
inline constexpr char16_t kHintUndo[] = u"元に戻す|直前の変更を元に戻す";
inline constexpr char16_t kHintCut[] = u"切り取り|選択部分を切り取り、クリップボードに送る";
inline constexpr char16_t kHintCopy[] = u"コピー|選択部分をコピーし、クリップボードに送る";
inline constexpr char16_t kHintPaste[] = u"貼り付け|クリップボードの内容を貼り付ける";
inline constexpr char16_t kHintDelete[] = u"削除|選択部分を削除する";
inline constexpr char16_t kHintSelectAll[] = u"すべてを選択|ドキュメント全体を選択する";
inline constexpr char16_t kHintDeleteAll[] = u"すべてを削除|ドキュメント全体を削除する";
// Asked before the whole text of a memo is deleted (the trailing blank
// belongs to the text).
inline constexpr char16_t kConfirmDeleteAll[] = u"すべてを削除しますか？ ";

// The file type's display name in the desktop's file association.
inline constexpr char16_t kFileTypeName[] = u"Vellファイル";

// The memos' font as the window asks for it.
inline constexpr char16_t kMemoFontFamily[] = u"ＭＳ ゴシック";

inline QString Q(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace vell::jp
