// Members that the control refuses, run as programs in the window with the
// message answered through the dialog seam: the message is shown, the
// program goes on, and the member's value is the operation number of the
// request (6 for a set or call) instead of an answer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "gui_support.h"
#include "pdf_output.h"
#include "tests/support/file_systems.h"

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

// LOADFILE and File > Open read regular files only: a device that never ends
// or a named pipe that nobody writes is refused at once, and nothing changes.
TEST_F(FailingMembers, WhatIsNoRegularFileIsNotRead) {
  ASSERT_EQ(::mkfifo(Path("pipe").toLocal8Bit().constData(), 0600), 0);
  EXPECT_EQ(w.Run(With(u"DIM T, X\nT = CREATE TEXTBOX\nT.TEXT = \"kept\"\n"
                       u"X = T.LOADFILE(\"/dev/zero\")\nPRINT X\n"
                       u"X = T.LOADFILE(\"%1/pipe\")\nPRINT X\nX = T.LOADFILE(\"%1\")\n"
                       u"PRINT X, \" \", T.TEXT",
                       dir.path())),
            u"666 kept");
  ASSERT_EQ(w.dialogs.warnings.size(), 3u);
  EXPECT_TRUE(w.dialogs.warnings[0].endsWith(QStringLiteral("not a regular file")));
  EXPECT_TRUE(w.dialogs.warnings[1].endsWith(QStringLiteral("not a regular file")));
  vell::qt::SetMemoText(*w.form->MemoProg, u"PRINT 1");
  for (const QString& path : {QStringLiteral("/dev/zero"), Path("pipe")}) {
    w.dialogs.openAnswers.push_back(path);
    w.form->MenuFileOpenClick();
  }
  ASSERT_EQ(w.dialogs.warnings.size(), 5u);
  EXPECT_TRUE(w.dialogs.warnings[4].endsWith(QStringLiteral("not a regular file")));
  EXPECT_EQ(vell::qt::MemoText(*w.form->MemoProg), u"PRINT 1");
  EXPECT_EQ(w.form->Caption(), QStringLiteral("Vell"));
}

// On a full disk an image's, a text box's and the program area's file keep
// their old contents, and the message names the reason.
TEST_F(FailingMembers, AFullDiskKeepsTheOldFileAndSaysWhy) {
  test::SmallFileSystem small(2 << 20);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small file system";
  const QString root = QString::fromStdString(small.root().string());
  EXPECT_EQ(w.Run(With(u"GLOBAL G, T\nG = CREATE IMAGE\nG.SAVEFILE(\"%1/picture.bmp\")\n"
                       u"T = CREATE TEXTBOX\nT.TEXT = \"old\"\nT.SAVEFILE(\"%1/text.txt\")",
                       root)),
            u"");
  w.dialogs.saveAnswers.push_back(root + QStringLiteral("/program.vell"));
  w.form->MenuFileSaveAsClick();
  ASSERT_TRUE(w.dialogs.warnings.empty());
  const QByteArray picture = ReadBytes(root + QStringLiteral("/picture.bmp"));
  const QByteArray text = ReadBytes(root + QStringLiteral("/text.txt"));
  const QByteArray program = ReadBytes(root + QStringLiteral("/program.vell"));

  small.FillLeaving(32768);
  w.Run(
      With(u"G.WIDTH = 400\nG.HEIGHT = 400\nG.SAVEFILE(\"%1/picture.bmp\")\n"
           u"DIM S\nS = \"x\"\nWHILE LEN(S) < 100000 { S = S + S }\n"
           u"T.TEXT = S\nT.SAVEFILE(\"%1/text.txt\")",
           root));
  vell::qt::SetMemoText(*w.form->MemoProg, std::u16string(100000, u'x'));
  w.dialogs.saveAnswers.push_back(root + QStringLiteral("/program.vell"));
  w.form->MenuFileSaveAsClick();
  EXPECT_EQ(ReadBytes(root + QStringLiteral("/picture.bmp")), picture);
  EXPECT_EQ(ReadBytes(root + QStringLiteral("/text.txt")), text);
  EXPECT_EQ(ReadBytes(root + QStringLiteral("/program.vell")), program);
  ASSERT_EQ(w.dialogs.warnings.size(), 3u);
  for (const QString& warning : w.dialogs.warnings) {
    EXPECT_TRUE(warning.endsWith(QStringLiteral("No space left on device")))
        << warning.toStdString();
  }
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
