// Output waiting for the output area comes back exactly as it was added,
// whatever its characters and however the pieces fall.
#include <gtest/gtest.h>

#include <QString>

#include "host/waiting_output.h"

namespace {

QString Drained(WaitingOutput& waiting) {
  QString all;
  waiting.Drain([&](const QString& text) {
    EXPECT_FALSE(text.isEmpty());
    all += text;
  });
  EXPECT_TRUE(waiting.IsEmpty());
  return all;
}

}  // namespace

TEST(WaitingOutput, GivesBackEveryCharacterInOrder) {
  WaitingOutput waiting;
  EXPECT_TRUE(waiting.IsEmpty());
  waiting.Add(u"");
  EXPECT_TRUE(waiting.IsEmpty());

  // Latin-1 text (its top byte included), then wide characters and lone
  // surrogates, then Latin-1 again, over many pieces.
  QString expected;
  const QString texts[] = {QStringLiteral("plain \u00e9\u00ff\n"), QStringLiteral("\u65e5\u672c\n"),
                           QString(QChar(0xD800)) + QChar(0xDC00) + QChar(0xDFFF) + QChar(0),
                           QStringLiteral("\u0100"), QStringLiteral("ascii again\n")};
  for (int i = 0; i < 20000; ++i) {
    const QString& text = texts[i % std::size(texts)];
    waiting.Add(text);
    expected += text;
  }
  // One text longer than a piece.
  const QString longText(WaitingOutput::kPieceSize * 2 + 1, QChar(u'x'));
  waiting.Add(longText);
  expected += longText;
  waiting.Add(u"\u00e9");
  expected += u'\u00e9';
  ASSERT_GT(expected.size(), WaitingOutput::kPieceSize * 4);
  EXPECT_EQ(Drained(waiting), expected);

  // It starts again empty, and Clear drops what waits.
  waiting.Add(u"after");
  EXPECT_EQ(Drained(waiting), QStringLiteral("after"));
  waiting.Add(u"dropped");
  waiting.Clear();
  EXPECT_TRUE(waiting.IsEmpty());
  EXPECT_EQ(Drained(waiting), QString());
}
