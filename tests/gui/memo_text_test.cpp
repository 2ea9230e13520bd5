// The memos' text as programs and files see it.
#include "platform/qt/memo_text.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "platform/qt/dialogs.h"

using namespace vell;

TEST(MemoText, LineBreaksAndPositions) {
  QPlainTextEdit edit;
  vell::qt::SetMemoText(edit, u"ab\r\ncd\ref\ngh\u00A0");
  EXPECT_EQ(edit.document()->blockCount(), 4);
  // CR LF between lines; the no-break space stays what it is.
  EXPECT_EQ(vell::qt::MemoText(edit), u"ab\r\ncd\r\nef\r\ngh\u00A0");

  const QTextDocument& doc = *edit.document();
  // "ab" CR LF "cd": positions 0 1 | 2 3 | 4 5 in CR LF units.
  EXPECT_EQ(vell::qt::CrLfPosition(doc, 2), 2);
  EXPECT_EQ(vell::qt::CrLfPosition(doc, 3), 4);
  EXPECT_EQ(vell::qt::CrLfPosition(doc, 7), 9);
  EXPECT_EQ(vell::qt::QtPosition(doc, 4), 3);
  EXPECT_EQ(vell::qt::QtPosition(doc, 3), 2);  // between CR and LF: the line's end
  EXPECT_EQ(vell::qt::QtPosition(doc, 9), 7);
  EXPECT_EQ(vell::qt::QtPosition(doc, 1000), doc.characterCount() - 1);
  for (int p = 0; p < doc.characterCount(); ++p) {
    EXPECT_EQ(vell::qt::QtPosition(doc, vell::qt::CrLfPosition(doc, p)), p);
  }
}

TEST(MemoText, DialogFilters) {
  const QStringList filters =
      vell::qt::QtNameFilters(QStringLiteral("Text (*.txt)|*.txt;*.log|All|*.*|Broken"));
  ASSERT_EQ(filters.size(), 2);
  EXPECT_EQ(filters[0], QStringLiteral("Text (*.txt) (*.txt *.log)"));
  EXPECT_EQ(filters[1], QStringLiteral("All (*)"));
}
