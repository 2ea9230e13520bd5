// The main window: command line, autorun, program files, Run and stop, close.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include "gui_support.h"
#include "host/file_association.h"
#include "host/program_file.h"

using namespace vell;

using namespace vell::testing;

namespace {

QByteArray Utf16(const QString& text, bool bigEndian) {
  QByteArray bytes;
  for (QChar c : text) {
    const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
    bytes.append(bigEndian ? hi : lo);
    bytes.append(bigEndian ? lo : hi);
  }
  return bytes;
}

}  // namespace

TEST(MainWindow, CommandLine) {
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("prog.vell"));
  WriteBytes(program, "PRINT \"ran\"\n");

  {  // No parameters: nothing loaded, the list empty, Run enabled by the header.
    WindowFixture w;
    EXPECT_EQ(w.start, TFormMain::StartResult::Run);
    EXPECT_TRUE(w.CommandLine().empty());
    EXPECT_EQ(w.form->Caption(), QStringLiteral("Vell"));
    EXPECT_TRUE(w.form->MenuProgRun->isEnabled());
  }
  {  // A program followed by two parameters.
    WindowFixture w({program, QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(w.CommandLine(), (std::vector<std::u16string>{u"/opt/vell/vell",
                                                            program.toStdU16String(), u"a", u"b"}));
    EXPECT_EQ(w.form->Caption(), QFileInfo(program).absoluteFilePath());
    EXPECT_EQ(QDir::currentPath(), QFileInfo(program).absolutePath());
    EXPECT_EQ(vell::qt::MemoText(*w.form->MemoProg), u"PRINT \"ran\"\r\n");
  }
  {  // "/v": minimised, the switch listed too, the program loaded.
    WindowFixture w({QStringLiteral("/v"), program});
    EXPECT_TRUE(w.form->StartMinimized());
    EXPECT_EQ(w.CommandLine()[1], u"/v");
    w.form->ShowAsStarted();
    EXPECT_TRUE(WaitFor([&] { return w.Output() == u"ran"; }));
  }
  {  // "/S" is no switch, and a missing file loads nothing without a word.
    WindowFixture w({QStringLiteral("/S")});
    EXPECT_EQ(w.start, TFormMain::StartResult::Run);
    EXPECT_EQ(w.CommandLine(), (std::vector<std::u16string>{u"/opt/vell/vell", u"/S"}));
    EXPECT_EQ(w.form->Caption(), QStringLiteral("Vell"));
  }
  {
    WindowFixture missing({dir.filePath(QStringLiteral("none.vell"))});
    EXPECT_TRUE(missing.form->MemoProg->toPlainText().isEmpty());
    EXPECT_TRUE(missing.dialogs.warnings.empty());
  }
}

TEST(MainWindow, FileAssociationSwitches) {
  QTemporaryDir data, config;
  const QByteArray old = qgetenv("XDG_DATA_HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_DATA_HOME", data.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  const QString desktop = data.filePath(QStringLiteral("applications/vell.desktop"));
  const QString mime = data.filePath(QStringLiteral("mime/packages/vell-program.xml"));
  {
    WindowFixture w({QStringLiteral("/s"), QStringLiteral("ignored.vell")});
    EXPECT_EQ(w.start, TFormMain::StartResult::Terminate);
    EXPECT_EQ(gInterpreter, nullptr);
  }
  const QString entry = QString::fromUtf8(ReadBytes(desktop));
  EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=text/x-vell;")));
  EXPECT_TRUE(entry.contains(QStringLiteral(" %f")));
  EXPECT_TRUE(QString::fromUtf8(ReadBytes(mime)).contains(QStringLiteral("*.vell")));
  EXPECT_TRUE(ReadBytes(config.filePath(QStringLiteral("mimeapps.list")))
                  .contains("text/x-vell=vell.desktop"));
  {
    WindowFixture w({QStringLiteral("/u")});
    EXPECT_EQ(w.start, TFormMain::StartResult::Terminate);
  }
  EXPECT_FALSE(QFile::exists(desktop));
  EXPECT_FALSE(QFile::exists(mime));
  {  // A failed "/s" leaves the application running as without parameters.
    qputenv("XDG_DATA_HOME", "/proc/vell-no-such-place");
    WindowFixture w({QStringLiteral("/s")});
    EXPECT_EQ(w.start, TFormMain::StartResult::Run);
    EXPECT_EQ(w.dialogs.warnings.size(), 1u);
    EXPECT_TRUE(w.CommandLine().empty());
  }
  for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", old}, {"XDG_CONFIG_HOME", oldConfig}}) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  }
}

TEST(MainWindow, AutorunRunsOnce) {
  QTemporaryDir dir;
  const QString program = dir.filePath(QStringLiteral("once.vell"));
  WriteBytes(program, "PRINT \"*\"\n");
  WindowFixture w({program});
  w.form->ShowAsStarted();
  EXPECT_TRUE(WaitFor([&] { return !w.Output().empty(); }));
  // Activations after the first run nothing more.
  QApplication::setActiveWindow(w.form.get());
  w.form->activateWindow();
  QEvent activation(QEvent::ActivationChange);
  QCoreApplication::sendEvent(w.form.get(), &activation);
  QTest::qWait(50);
  EXPECT_EQ(w.Output(), u"*");
}

TEST(MainWindow, ProgramFilesInEveryEncoding) {
  QTemporaryDir dir;
  const QString text = QStringLiteral("PRINT \"") + QString::fromUtf16(u"日本語 é") +
                       QStringLiteral("\"\r\nREM a\nREM b\rEND");
  const std::u16string expected = u"PRINT \"日本語 é\"\r\nREM a\r\nREM b\r\nEND";
  const std::vector<std::pair<const char*, QByteArray>> files = {
      {"utf8.vell", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
      {"le.vell", QByteArray("\xFF\xFE") + Utf16(text, false)},
      {"be.vell", QByteArray("\xFE\xFF") + Utf16(text, true)},
      {"ansi.vell", text.toUtf8()},  // the tests run in a UTF-8 locale
  };
  WindowFixture w;
  for (const auto& [name, bytes] : files) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    WriteBytes(path, bytes);
    w.dialogs.openAnswers.push_back(path);
    w.form->MenuFileOpenClick();
    EXPECT_EQ(vell::qt::MemoText(*w.form->MemoProg), expected) << name;
    EXPECT_EQ(w.form->Caption(), path);
  }
  // The open dialog was offered the program filter with "*.*" for all files.
  ASSERT_FALSE(w.dialogs.openSetups.empty());
  EXPECT_EQ(vell::qt::QtNameFilters(w.dialogs.openSetups[0].filter).last(),
            QString::fromUtf16(u"すべてのファイル(*.*) (*)"));

  // Save As offers the caption and writes FF FE and UTF-16LE as the area has it.
  const QString saved = dir.filePath(QStringLiteral("saved"));
  w.dialogs.saveAnswers.push_back(saved);
  w.form->MenuFileSaveAsClick();
  ASSERT_EQ(w.dialogs.saveSetups.size(), 1u);
  EXPECT_EQ(w.dialogs.saveSetups[0].fileName, dir.filePath(QStringLiteral("ansi.vell")));
  const QByteArray bytes = ReadBytes(saved + QStringLiteral(".vell"));
  EXPECT_EQ(bytes, QByteArray("\xFF\xFE") + Utf16(QString::fromStdU16String(expected), false));
  EXPECT_EQ(w.form->Caption(), saved + QStringLiteral(".vell"));

  // A save that cannot be written says so and changes nothing.
  w.dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("no/such/folder/x.vell")));
  w.form->MenuFileSaveAsClick();
  EXPECT_EQ(w.dialogs.warnings.size(), 1u);
  EXPECT_EQ(w.form->Caption(), saved + QStringLiteral(".vell"));

  // A cancelled open changes nothing; an unreadable file is reported.
  w.form->MenuFileOpenClick();
  EXPECT_EQ(vell::qt::MemoText(*w.form->MemoProg), expected);
  w.dialogs.openAnswers.push_back(dir.filePath(QStringLiteral("missing.vell")));
  w.form->MenuFileOpenClick();
  EXPECT_EQ(w.dialogs.warnings.size(), 2u);
  EXPECT_EQ(w.form->Caption(), saved + QStringLiteral(".vell"));

  // A fresh window offers "Vell", which the default extension completes.
  WindowFixture fresh;
  fresh.dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("Vell")));
  fresh.form->MenuFileSaveAsClick();
  EXPECT_EQ(fresh.dialogs.saveSetups.at(0).fileName, QStringLiteral("Vell"));
  EXPECT_EQ(ReadBytes(dir.filePath(QStringLiteral("Vell.vell"))), QByteArray("\xFF\xFE"));
}

// A NUL inside a program file is part of the program: Run reports it at its
// line instead of ending there silently; a UTF-32 file is reported likewise.
TEST(MainWindow, ANulInTheProgramIsReported) {
  QTemporaryDir dir;
  const QString nul = dir.filePath(QStringLiteral("nul.vell"));
  const QString wide = dir.filePath(QStringLiteral("utf32.vell"));
  WriteBytes(nul, QByteArray("PRINT 1\nPRINT 2\n\0PRINT 3\n", 26));
  WriteBytes(wide, QByteArray("\xFF\xFE\0\0P\0\0\0", 8));
  WindowFixture w;
  for (const QString& path : {nul, wide}) {
    w.dialogs.openAnswers.push_back(path);
    w.form->MenuFileOpenClick();
    w.form->MenuProgClsClick();
    w.form->MenuProgRunClick();
  }
  EXPECT_EQ(w.Output(), u"");
  ASSERT_EQ(w.dialogs.messages.size(), 2u);
  EXPECT_EQ(w.dialogs.messages[0], QStringLiteral("\n 3 : undefined error"));
  EXPECT_EQ(w.dialogs.messages[1], QStringLiteral("\n 1 : undefined error"));
}

TEST(MainWindow, RunAndStopWithoutAMessage) {
  WindowFixture w;
  w.form->show();
  // End item during an endless loop; Run is disabled meanwhile.
  bool runEnabledDuringRun = true;
  QTimer::singleShot(30, w.form.get(), [&] {
    runEnabledDuringRun = w.form->MenuProgRun->isEnabled();
    w.form->MenuProgEnd->trigger();
  });
  w.Run(u"PRINT \"start\"\nWHILE 1 { }\nPRINT \"never\"");
  EXPECT_FALSE(runEnabledDuringRun);
  EXPECT_EQ(w.Output(), u"start");
  EXPECT_TRUE(w.dialogs.messages.empty());
  EXPECT_TRUE(w.form->MenuProgRun->isEnabled());

  // The Pause key on the program area stops it too, and the key reaches the area.
  QTimer::singleShot(30, w.form.get(), [&] { QTest::keyClick(w.form->MemoProg, Qt::Key_Pause); });
  w.Run(u"WHILE 1 { }");
  EXPECT_TRUE(w.dialogs.messages.empty());
  EXPECT_EQ(gInterpreter->runState, StateEnd);

  // An error is shown once.
  w.Run(u"PRINT 1 / 0");
  ASSERT_EQ(w.dialogs.messages.size(), 1u);
  EXPECT_TRUE(w.dialogs.messages[0].endsWith(QStringLiteral("arithmetic error")));
}

TEST(MainWindow, CloseWaitsForTheRunningProgram) {
  WindowFixture w;
  w.form->show();
  bool refused = false;
  QTimer::singleShot(30, w.form.get(), [&] {
    refused = !w.form->close();
    refused = refused && w.form->isVisible() && gInterpreter != nullptr;
  });
  w.Run(u"WHILE 1 { }");
  EXPECT_TRUE(refused);
  EXPECT_EQ(w.closedCount, 1);
  EXPECT_EQ(gInterpreter, nullptr);
  EXPECT_TRUE(w.dialogs.messages.empty());

  // EXIT closes the window when the run returns.
  WindowFixture exiting;
  exiting.form->show();
  exiting.Run(u"PRINT \"bye\"\nEXIT\nPRINT \"never\"");
  EXPECT_EQ(exiting.closedCount, 1);
}

// With the bar between the areas dragged to the top, hiding the program area
// and showing it again gives back the window's height and both areas'.
TEST(MainWindow, ProgramAreaShownAgainAfterTheBarWasDragged) {
  WindowFixture w;
  TFormMain& f = *w.form;
  f.show();
  const QList<int> sizes = f.Splitter->sizes();
  f.Splitter->setSizes({0, sizes[0] + sizes[1]});
  const QList<int> dragged = f.Splitter->sizes();
  const int height = f.height();
  f.MenuProgDisp->trigger();
  EXPECT_TRUE(f.MemoProg->isHidden());
  EXPECT_EQ(f.height(), height - dragged[1]);
  f.MenuProgDisp->trigger();
  EXPECT_EQ(f.height(), height);
  EXPECT_EQ(f.Splitter->sizes(), dragged);
}

// Releasing the program's components on the way out lets the window handle
// messages: a menu command that arrives meanwhile starts nothing, and the
// window closes.
TEST(MainWindow, NothingStartsOnceTheCloseHasBegun) {
  WindowFixture w;
  w.form->show();
  w.Run(u"DIM I, B\nPRINT \"ran\"\nWHILE I < 20 {\n B = CREATE BUTTON\n I = I + 1\n}");
  ASSERT_EQ(w.Output(), u"ran");
  int handled = 0;
  QTimer::singleShot(0, w.form.get(), [&] {
    ++handled;
    for (QAction* item : {w.form->MenuProgRun, w.form->MenuFileOpen, w.form->MenuFileSaveAs,
                          w.form->MenuProgCls, w.form->MenuProgDisp, w.form->MenuHelpFile}) {
      item->trigger();
    }
    QTest::keyClick(w.form.get(), Qt::Key_F9);
  });
  w.form->close();
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(w.closedCount, 1);
  EXPECT_EQ(gInterpreter, nullptr);
  EXPECT_EQ(w.Output(), u"ran");
  EXPECT_TRUE(w.dialogs.messages.empty());
  EXPECT_TRUE(w.dialogs.warnings.empty());
  EXPECT_TRUE(w.dialogs.openSetups.empty());
  EXPECT_TRUE(w.dialogs.saveSetups.empty());
  EXPECT_FALSE(w.form->MemoProg->isHidden());
}

TEST(MainWindow, MenusAroundTheProgram) {
  WindowFixture w;
  w.form->show();
  w.Run(u"PRINT \"text\"");
  // Clear output empties the area and shows it again.
  w.form->MemoOut->setVisible(false);
  w.form->MenuProgCls->trigger();
  EXPECT_TRUE(w.Output().empty());
  EXPECT_FALSE(w.form->MemoOut->isHidden());
  // Help without its file warns.
  w.form->MenuHelpFile->trigger();
  EXPECT_EQ(w.dialogs.warnings.size(), 1u);
  EXPECT_TRUE(w.dialogs.openedUrls.empty());
  // A caption with "[*]" shows as it is.
  w.form->SetCaption(QStringLiteral("/tmp/a[*]b.vell"));
  EXPECT_EQ(w.form->Caption(), QStringLiteral("/tmp/a[*]b.vell"));
  EXPECT_EQ(w.form->windowTitle(), QStringLiteral("/tmp/a[*][*]b.vell"));
}
