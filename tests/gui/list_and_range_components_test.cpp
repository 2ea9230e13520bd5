// List and combo boxes, scroll bars, group boxes and panels, timers, the
// media player and the predefined dialogs offscreen: what each member reads
// back, the events they raise, and the dialogs answered through the seam.
#include <gtest/gtest.h>

// clang-format off
// Before Qt's headers, which make "slots" a keyword.
#include "tests/support/recording_host.h"
// clang-format on

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "components/keywords/component_keywords.h"
#include "components/widgets/component_events.h"
#include "components/widgets/component_table.h"
#include "components/widgets/item_lines.h"
#include "library/library_builtins.h"
#include "platform/qt/dialogs.h"
#include "tests/support/component_window.h"

using namespace vell;

namespace {

using vell::mwin;
using vell::test::TestInterpreter;
using vell::test::Utf8;

// Answers the file and printer dialogs from queues and records warnings.
class AnsweringDialogs : public qt::DialogSeam {
 public:
  std::deque<std::optional<QString>> fileAnswers;  // empty: Cancel
  std::deque<bool> printerAnswers;                 // empty: Cancel
  std::vector<qt::FileDialogSetup> openSetups, saveSetups;
  std::vector<QPrinter*> printers;
  std::vector<QString> warnings;

  std::optional<QString> GetOpenFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    openSetups.push_back(setup);
    return Next();
  }
  std::optional<QString> GetSaveFileName(QWidget*, const qt::FileDialogSetup& setup,
                                         int*) override {
    saveSetups.push_back(setup);
    return Next();
  }
  bool SetUpPrinter(QWidget*, QPrinter& printer) override {
    printers.push_back(&printer);
    if (printerAnswers.empty()) return false;
    const bool answer = printerAnswers.front();
    printerAnswers.pop_front();
    return answer;
  }
  void ShowWarning(QWidget*, const QString&, const QString& text) override {
    warnings.push_back(text);
  }

 private:
  std::optional<QString> Next() {
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<QString> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

class ListAndRangeComponents : public ::testing::Test {
 protected:
  ListAndRangeComponents() : window(400, 300, 300), table(window) {
    previousDialogs = qt::SetDialogs(&dialogs);
    t.host.onComponent = [this](Interpreter& interp) { table.HandleHostRequest(interp); };
    test::PrepareComponentTable(table, I());
  }
  ~ListAndRangeComponents() override {
    test::ReleaseComponentTable(table);
    qt::SetDialogs(previousDialogs);
  }
  Interpreter& I() { return t.interp(); }
  std::string Run(std::u16string_view text) { return Utf8(t.Run(text)); }
  // Lets the window's events through for `ms` milliseconds.
  static void ProcessEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  // The object of the last component a program created.
  template <class T>
  T* LastCreated() {
    for (int i = vell::kComponentSlots - 1; i >= vell::kFirstProgramSlot; --i) {
      if (table.Slot(i).Usable()) return qobject_cast<T*>(table.Slot(i).object.data());
    }
    return nullptr;
  }

  AnsweringDialogs dialogs;
  qt::DialogSeam* previousDialogs = nullptr;
  TestInterpreter t;
  test::StandInWindow window;
  mwin table;
};

TEST(ItemLines, LineBreaksOfEveryKindAndNoEmptyLastLine) {
  EXPECT_EQ(LinesOfText(QStringLiteral("a\nb")), QStringList({"a", "b"}));
  EXPECT_EQ(LinesOfText(QStringLiteral("a\r\nb\r\n")), QStringList({"a", "b"}));
  EXPECT_EQ(LinesOfText(QStringLiteral("a\rb\n\nc")), QStringList({"a", "b", "", "c"}));
  EXPECT_EQ(LinesOfText(QStringLiteral("\n")), QStringList({""}));
  EXPECT_TRUE(LinesOfText(QString()).isEmpty());
  EXPECT_EQ(TextOfLines({"a", "", "b"}), QStringLiteral("a\n\nb\n"));
  EXPECT_EQ(TextOfLines({}), QString());
}

// Lines and selection by index also run in window_programs/list_and_combo_boxes.
TEST_F(ListAndRangeComponents, ListBoxItemsSelectionAndBorder) {
  EXPECT_EQ(Run(u"GLOBAL L, X\nL = CREATE LISTBOX\nL.ITEMS = \"one\" + CHR(10) + \"two\"\n"
                u"L.ITEMINDEX = 1\nL.ITEMINDEX = -5\nX = L.ITEMINDEX\nPRINT X\n"),
            "-1");
  // New lines drop the selection; an empty text empties the list.
  EXPECT_EQ(
      Run(u"L.ITEMINDEX = 0\nL.ITEMS = \"x\"\nX = L.ITEMINDEX\nPRINT X\n"
          u"L.ITEMS = \"\"\nX = L.ITEMS\nPRINT \"[\" + X + \"]\"\nX = L.ITEMINDEX\nPRINT X\n"),
      "-1[]-1");
  EXPECT_EQ(Run(u"X = L.BORDERSTYLE\nPRINT X\nL.BORDERSTYLE = 0\nX = L.BORDERSTYLE\nPRINT X\n"
                u"L.BORDERSTYLE = 2\nX = L.BORDERSTYLE\nPRINT X\n"),
            "100");
  EXPECT_NE(Run(u"X = L.PARENT").find("undefined error"), std::string::npos);
}

TEST_F(ListAndRangeComponents, ListBoxClickRunsOnlyWhenTheUserSelects) {
  window.main.show();
  Run(u"GLOBAL L, N, X\nN = 0\nSUB PICKED() { N = N + 1 }\nL = CREATE LISTBOX\n"
      u"L.ITEMS = \"a\" + CHR(10) + \"b\" + CHR(10) + \"c\"\nL.ONCLICK = PICKED\n"
      u"L.ITEMINDEX = 1\nL.ITEMS = \"a\" + CHR(10) + \"b\" + CHR(10) + \"c\"\n");
  EXPECT_EQ(Run(u"PRINT N"), "0");
  auto* view = LastCreated<QAbstractItemView>();
  ASSERT_NE(view, nullptr);
  QApplication::processEvents();
  const QRect item = view->visualRect(view->model()->index(2, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  EXPECT_EQ(Run(u"PRINT N\nX = L.ITEMINDEX\nPRINT X"), "12");
  QTest::keyClick(view, Qt::Key_Up);
  EXPECT_EQ(Run(u"PRINT N\nX = L.ITEMINDEX\nPRINT X"), "21");
}

TEST_F(ListAndRangeComponents, ComboBoxSelectsNothingAfterItemsAndKeepsItsText) {
  EXPECT_EQ(Run(u"GLOBAL C, X\nC = CREATE COMBOBOX\nC.TEXT = \"typed\"\n"
                u"C.ITEMS = \"red\" + CHR(13) + \"green\"\nX = C.ITEMS\nPRINT \"|\" + X + \"|\"\n"
                u"C.ITEMINDEX = 7\nX = C.ITEMINDEX\nPRINT X\nX = C.TEXT\nPRINT \"[\" + X + \"]\"\n"),
            "|red\ngreen\n|-1[]");
  // Enter in the edit field adds nothing to the list.
  auto* combo = LastCreated<QComboBox>();
  ASSERT_NE(combo, nullptr);
  combo->setEditText(QStringLiteral("blue"));
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo->count(), 2);
}

// Range and kind read-backs also run in window_programs/scroll_bar_and_containers.
TEST_F(ListAndRangeComponents, ScrollBarRangeKindAndRefusedMaximum) {
  Run(u"GLOBAL S, X\nS = CREATE SCROLLBAR\n");
  auto* bar = LastCreated<QScrollBar>();
  ASSERT_NE(bar, nullptr);
  const QSize flat = bar->size();
  EXPECT_EQ(Run(u"S.KIND = 1\nS.MAX = 50\nS.POSITION = -3\nX = S.POSITION\nPRINT X\n"), "0");
  EXPECT_EQ(bar->size(), flat.transposed());
  // KIND 256 is kind 0 by its low byte; 7 is no kind and changes nothing.
  EXPECT_EQ(Run(u"S.KIND = 256\nX = S.KIND\nPRINT X\nS.KIND = 7\nX = S.KIND\nPRINT X"), "00");
  // A maximum below the minimum is refused with a message; the program goes on.
  EXPECT_EQ(Run(u"S.POSITION = 30\nS.MAX = -1\nX = S.MAX\nPRINT X\nX = S.POSITION\nPRINT X"),
            "5030");
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_EQ(dialogs.warnings[0], QStringLiteral("Scrollbar property out of range"));
  // A maximum below the position brings the position down with it.
  EXPECT_EQ(Run(u"S.MAX = 10\nX = S.POSITION\nPRINT X\nS.MAX = 0\nX = S.POSITION\nPRINT X"), "100");
}

TEST_F(ListAndRangeComponents, ScrollBarChangesAndComboChoicesRunTheClickSub) {
  window.main.show();
  Run(u"GLOBAL S, C, N, M, X\nN = 0\nM = 0\nSUB MOVED() { N = N + 1 }\nSUB CHOSEN() { M = M + 1 }\n"
      u"S = CREATE SCROLLBAR\nS.ONCLICK = MOVED\nS.POSITION = 10\nS.POSITION = 10\n"
      u"C = CREATE COMBOBOX\nC.ITEMS = \"a\" + CHR(10) + \"b\"\nC.ONCLICK = CHOSEN\nC.ITEMINDEX = "
      u"1\n");
  // The bar's change runs the SUB whoever moved it; the same position again is no change.
  EXPECT_EQ(Run(u"PRINT N"), "1");
  auto* combo = LastCreated<QComboBox>();
  ASSERT_NE(combo, nullptr);
  auto* bar = qobject_cast<QScrollBar*>(
      table.Slot(combo->property(kSlotProperty).toInt() - 1).object.data());
  ASSERT_NE(bar, nullptr);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Run(u"PRINT N\nX = S.POSITION\nPRINT X"), "211");
  // A combo box runs it when the user chooses a line, not when the program does.
  EXPECT_EQ(Run(u"PRINT M"), "0");
  QTest::keyClick(combo, Qt::Key_Up);
  EXPECT_EQ(Run(u"PRINT M\nX = C.ITEMINDEX\nPRINT X"), "10");
}

TEST_F(ListAndRangeComponents, TimerDefaultsAndTicksCounted) {
  // The defaults' read-backs run in window_programs/timer_and_media_player.
  Run(u"GLOBAL T, N, X\nN = 0\nSUB TICK() { N = N + 1 }\nT = CREATE TIMER\n");
  auto* timer = LastCreated<QTimer>();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  // Unbound, ticks run nothing; bound, each tick runs the SUB.
  Run(u"T.INTERVAL = 20");
  ProcessEventsFor(100);
  EXPECT_EQ(Run(u"PRINT N"), "0");
  Run(u"T.ONTIMER = TICK");
  ProcessEventsFor(300);
  const int ticks = std::stoi(Run(u"PRINT N"));
  EXPECT_GE(ticks, 5);
  EXPECT_LE(ticks, 16);
  // Disabled, or with an interval of 0 or less, it does not tick.
  EXPECT_EQ(Run(u"T.ENABLED = 0\nX = T.ENABLED\nPRINT X\nN = 0"), "0");
  ProcessEventsFor(100);
  EXPECT_EQ(Run(u"T.ENABLED = 5\nT.INTERVAL = 0\nX = T.INTERVAL\nPRINT X\nPRINT N"), "00");
  ProcessEventsFor(100);
  EXPECT_EQ(Run(u"T.INTERVAL = -10\nX = T.INTERVAL\nPRINT X\nPRINT N"), "-100");
  ProcessEventsFor(100);
  EXPECT_EQ(Run(u"T.INTERVAL = 20\nPRINT N"), "0");
  ProcessEventsFor(100);
  EXPECT_GT(std::stoi(Run(u"PRINT N")), 0);
}

TEST_F(ListAndRangeComponents, TimerTicksDoNotNestInsideTheirOwnSub) {
  // Every statement lets the window's events through, as in the window.
  t.host.onPump = [](Interpreter&, int) { QCoreApplication::processEvents(); };
  Run(u"GLOBAL T, N, D, DEEPEST\nN = 0\nD = 0\nDEEPEST = 0\n"
      u"SUB SLOW() { D = D + 1\nT.ENABLED = 0\nT.ENABLED = 1\nIF D > DEEPEST { DEEPEST = D }\nN = "
      u"N + 1\n"
      u"DIM I\nI = NOW\nWHILE (NOW - I) * 86400 < 0.05 { }\nD = D - 1 }\n"
      u"T = CREATE TIMER\nT.INTERVAL = 5\nT.ONTIMER = SLOW\n"
      u"DIM S\nS = NOW\nWHILE (NOW - S) * 86400 < 0.4 { }\nT.ENABLED = 0\n");
  EXPECT_EQ(Run(u"PRINT DEEPEST"), "1");
  EXPECT_GE(std::stoi(Run(u"PRINT N")), 3);
}

TEST_F(ListAndRangeComponents, FileDialogsAnsweredThroughTheSeam) {
  table.OpenDialogSetup().initialDir = QStringLiteral("/tmp/start");
  table.OpenDialogSetup().filter = QStringLiteral("Text|*.txt|All|*.*");
  dialogs.fileAnswers = {QStringLiteral("/tmp/chosen.txt"), std::nullopt};
  EXPECT_EQ(Run(u"GLOBAL X\nX = OpenDialog.FILENAME = \"start.txt\"\nPRINT X\n"
                u"X = OpenDialog.EXECUTE\nPRINT X\nX = OpenDialog.FILENAME\nPRINT X\n"
                u"X = OpenDialog.EXECUTE\nPRINT X\nX = OpenDialog.FILENAME\nPRINT X\n"),
            "11/tmp/chosen.txt0/tmp/chosen.txt");
  ASSERT_EQ(dialogs.openSetups.size(), 2u);
  EXPECT_EQ(dialogs.openSetups[0].fileName, QStringLiteral("start.txt"));
  EXPECT_EQ(dialogs.openSetups[0].initialDir, QStringLiteral("/tmp/start"));
  EXPECT_EQ(qt::QtNameFilters(dialogs.openSetups[0].filter),
            QStringList({"Text (*.txt)", "All (*)"}));
  EXPECT_EQ(table.OpenDialogSetup().fileName, QStringLiteral("/tmp/chosen.txt"));
  // The save dialog keeps a state of its own.
  dialogs.fileAnswers = {QStringLiteral("/tmp/saved.txt")};
  EXPECT_EQ(Run(u"SaveDialog.FILENAME = \"name.txt\"\nX = SaveDialog.FILENAME\nPRINT X\n"
                u"X = SaveDialog.EXECUTE\nPRINT X\nX = SaveDialog.FILENAME\nPRINT X\n"),
            "name.txt1/tmp/saved.txt");
  ASSERT_EQ(dialogs.saveSetups.size(), 1u);
  EXPECT_EQ(dialogs.saveSetups[0].fileName, QStringLiteral("name.txt"));
  EXPECT_EQ(table.OpenDialogSetup().fileName, QStringLiteral("/tmp/chosen.txt"));
  EXPECT_NE(Run(u"CREATE OPENDIALOG").find("area overflow"), std::string::npos);
}

TEST_F(ListAndRangeComponents, PrinterDialogSetsUpTheSharedPrinter) {
  dialogs.printerAnswers = {true, false};
  EXPECT_EQ(
      Run(u"GLOBAL X\nX = PrinterDialog.EXECUTE\nPRINT X\nX = PrinterDialog.EXECUTE\nPRINT X"),
      "10");
  ASSERT_EQ(dialogs.printers.size(), 2u);
  EXPECT_EQ(dialogs.printers[0], &table.PrinterDialog()->Printer());
  EXPECT_EQ(dialogs.printers[1], dialogs.printers[0]);
}

// A second of silence as a WAV file.
void WriteWav(const QString& path) {
  const int rate = 8000;
  QByteArray data(rate * 2, '\0');
  QByteArray wav;
  auto u32 = [&wav](quint32 v) {
    for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&wav](quint16 v) { wav.append(char(v & 0xFF)).append(char(v >> 8)); };
  wav.append("RIFF");
  u32(36 + data.size());
  wav.append("WAVEfmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(rate);
  u32(rate * 2);
  u16(2);
  u16(16);
  wav.append("data");
  u32(data.size());
  wav.append(data);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(wav);
}

TEST_F(ListAndRangeComponents, MediaPlayerPlaysAWavAndRefusesMissingMidiAndUndecodableFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString wav = dir.filePath(QStringLiteral("sound.wav"));
  WriteWav(wav);
  const QString midi = dir.filePath(QStringLiteral("tune.dat"));
  {
    QFile file(midi);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x04\0\xff\x2f\0", 26));
  }
  auto wide = [](const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()));
  };
  Run(u"GLOBAL M, X\nM = CREATE MEDIAPLAYER\nM.STOP\n");
  auto* player = LastCreated<QWidget>();
  ASSERT_NE(player, nullptr);
  EXPECT_FALSE(player->isVisible());
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(Run(u"M.FILENAME = \"" + wide(wav) +
                u"\"\nX = M.FILENAME\nPRINT X\nM.PLAY\nM.PLAY\nM.STOP\n"),
            Utf8(wide(wav)));
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_TRUE(dialogs.warnings.empty()) << dialogs.warnings[0].toStdString();
  Run(u"M.FILENAME = \"" + wide(dir.filePath(QStringLiteral("none.wav"))) + u"\"\nM.PLAY\n");
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_TRUE(dialogs.warnings[0].contains(QStringLiteral("cannot be found")))
      << dialogs.warnings[0].toStdString();
  Run(u"M.FILENAME = \"" + wide(midi) + u"\"\nM.PLAY\nM.FILENAME = \"\"\nM.PLAY\n");
  ASSERT_EQ(dialogs.warnings.size(), 3u);
  EXPECT_TRUE(dialogs.warnings[1].contains(QStringLiteral("MIDI")))
      << dialogs.warnings[1].toStdString();

  // A file that is no sound at all is refused once Qt has read it.
  const QString noise = dir.filePath(QStringLiteral("noise.wav"));
  {
    QFile file(noise);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
  }
  Run(u"M.FILENAME = \"" + wide(noise) + u"\"\nM.PLAY\n");
  ASSERT_EQ(dialogs.warnings.size(), 4u);
  EXPECT_TRUE(dialogs.warnings[3].contains(QStringLiteral("cannot be played")))
      << dialogs.warnings[3].toStdString();
  Run(u"DELETE M");
}

}  // namespace
