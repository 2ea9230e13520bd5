// Members that the control refuses, run as programs in the window with the
// message answered through the dialog seam: the message is shown, the
// program goes on, and the member's value is the operation number of the
// request (6 for a set or call) instead of an answer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "gui_support.h"
#include "pdf_output.h"

using namespace vell;
using namespace vell::testing;

namespace {

// A window whose current folder is a fresh temporary one.
class FailingMembers : public ::testing::Test {
 protected:
  FailingMembers() { QDir::setCurrent(dir.path()); }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  // A program text with `path` put in for every "%1".
  static std::u16string With(const char16_t* text, const QString& path) {
    const QString program = QString::fromUtf16(text).arg(path);
    return std::u16string(reinterpret_cast<const char16_t*>(program.utf16()),
                          static_cast<size_t>(program.size()));
  }

  QTemporaryDir dir;
  WindowFixture w;
};

TEST_F(FailingMembers, ARangeThatCannotBeAnswersTheOperation) {
  EXPECT_EQ(w.Run(u"DIM S, X, Y\nS = CREATE SCROLLBAR\nX = S.MAX = -5\nY = S.MAX\n"
                  u"PRINT X, \" \", Y\nX = S.MAX = 40\nPRINT \" \", X"),
            u"6 100 1");
  ASSERT_EQ(w.dialogs.warnings.size(), 1u);
  EXPECT_EQ(w.dialogs.warnings[0], QStringLiteral("Scrollbar property out of range"));
}

TEST_F(FailingMembers, APlayThatFailsAnswersTheOperation) {
  WriteBytes(Path("noise.wav"), "RIFF this is no sound at all");
  EXPECT_EQ(w.Run(With(u"DIM M, X, Y\nM = CREATE MEDIAPLAYER\nM.FILENAME = \"%1/none.wav\"\n"
                       u"X = M.PLAY\nM.FILENAME = \"%1/noise.wav\"\nY = M.PLAY\n"
                       u"PRINT X, \" \", Y",
                       dir.path())),
            u"6 6");
  ASSERT_EQ(w.dialogs.warnings.size(), 2u);
  EXPECT_TRUE(w.dialogs.warnings[0].startsWith(QStringLiteral("The media file cannot be found")))
      << w.dialogs.warnings[0].toStdString();
  EXPECT_TRUE(w.dialogs.warnings[1].startsWith(QStringLiteral("The media file cannot be")))
      << w.dialogs.warnings[1].toStdString();
}

TEST_F(FailingMembers, FilesAndPrintersThatFailAnswerTheOperation) {
  const PdfEnvironment pdf(Path("no such folder/out.pdf"));
  EXPECT_EQ(w.Run(With(u"DIM T, G, X\nT = CREATE TEXTBOX\nT.TEXT = \"kept\"\n"
                       u"X = T.LOADFILE(\"%1/none.txt\")\nPRINT X\n"
                       u"X = T.SAVEFILE(\"%1/no such folder/out.txt\")\nPRINT X\n"
                       u"X = T.PRINTER\nPRINT X\n"
                       u"G = CREATE IMAGE\nX = G.LOADFILE(\"%1/picture.xyz\")\nPRINT X\n"
                       u"X = T.SAVEFILE(\"%1/out.txt\")\nPRINT \" \", X, \" \", T.TEXT",
                       dir.path())),
            u"6666 1 kept");
  EXPECT_EQ(w.dialogs.warnings.size(), 4u);
  EXPECT_TRUE(QFileInfo::exists(Path("out.txt")));
}

TEST_F(FailingMembers, AHiddenOrDisabledControlRefusesTheFocus) {
  const QString refused = QStringLiteral("Cannot focus a disabled or invisible window");
  w.form->show();
  EXPECT_EQ(w.Run(u"DIM C, P, D, F, X\nC = CREATE CHECKBOX\nX = C.FOCUS\nPRINT X\n"
                  u"C.VISIBLE = 0\nX = C.FOCUS\nPRINT X\n"
                  u"C.VISIBLE = 1\nC.ENABLED = 0\nX = C.FOCUS\nPRINT X\n"
                  u"P = CREATE PANEL\nD = CREATE CHECKBOX\nD.PARENT = P\nP.VISIBLE = 0\n"
                  u"X = D.FOCUS\nPRINT X\nP.VISIBLE = 1\nP.ENABLED = 0\nX = D.FOCUS\nPRINT X\n"
                  u"F = CREATE FORM\nX = F.FOCUS\nPRINT X\nPRINT \"!\""),
            u"166666!");
  ASSERT_EQ(w.dialogs.warnings.size(), 5u);
  for (const QString& text : w.dialogs.warnings) EXPECT_EQ(text, refused);
}

}  // namespace
