// The desktop services with Qt: the application clipboard and the trash.
// The test host names a member "slots", which Qt's headers turn into a
// macro: it comes first.
// clang-format off
#include "tests/support/recording_host.h"
// clang-format on

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "library/desktop_hooks.h"
#include "library/library_builtins.h"
#include "library/qt/desktop_services.h"
#include "tests/support/file_systems.h"

using namespace vell;

namespace vell {
namespace {

namespace fs = std::filesystem;

class DesktopServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterLibraryBuiltins(vm.interp());
    InstallDesktopServices(vm.interp());
  }
  void TearDown() override { SetDesktopServices(nullptr); }

  test::TestInterpreter vm;
};

TEST_F(DesktopServicesTest, ClipboardRoundTripThroughTheApplicationClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  ASSERT_NE(clipboard, nullptr);
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT SETCLIPBOARD(\"x\" + CHR(12354) + \"\\ny\")")), "1");
  EXPECT_EQ(clipboard->text(), QString::fromUtf8("x\xE3\x81\x82\ny"));

  clipboard->setText(QStringLiteral("from the desktop"));
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT GETCLIPBOARD, \" \", LEN(GETCLIPBOARD)")),
            "from the desktop 16");
  ClipboardText text = CurrentDesktopServices().GetClipboardText();
  EXPECT_EQ(text.form, ClipboardText::Unicode);
  EXPECT_EQ(text.wide, u"from the desktop");

  // Text placed and then emptied: an empty Unicode text.
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT SETCLIPBOARD(\"\"), \"[\", GETCLIPBOARD, \"]\"")), "1[]");

  // A clipboard without any text gives the empty narrow text.
  auto* image = new QMimeData;
  image->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02", 2));
  clipboard->setMimeData(image);
  text = CurrentDesktopServices().GetClipboardText();
  EXPECT_EQ(text.form, ClipboardText::None);
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT \"[\", GETCLIPBOARD, \"]\"")), "[]");
}

TEST_F(DesktopServicesTest, KillMovesToTheDesktopTrash) {
  const char* home = std::getenv("HOME");
  struct stat homeInfo {};
  struct stat tmpInfo {};
  if (home == nullptr || ::stat(home, &homeInfo) != 0 || ::stat("/tmp", &tmpInfo) != 0 ||
      homeInfo.st_dev != tmpInfo.st_dev) {
    GTEST_SKIP() << "the temporary folder is not on the home file system";
  }
  char pattern[] = "/tmp/vell-trash-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const fs::path root = pattern;
  std::optional<std::string> previous;
  if (const char* dataHome = std::getenv("XDG_DATA_HOME")) previous = dataHome;
  ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  fs::create_directories(root / "data");
  fs::create_directories(root / "work" / "folder");
  std::ofstream(root / "work" / "file.txt") << "content";
  std::ofstream(root / "work" / "folder" / "inner.txt") << "inner";

  const std::u16string program =
      u"PRINT KILL(\"" + fs::path(root / "work" / "file.txt").u16string() + u"\"), KILL(\"" +
      fs::path(root / "work" / "FOLDER").u16string() + u"\")";
  EXPECT_EQ(test::Utf8(vm.Run(program)), "00");
  EXPECT_FALSE(fs::exists(root / "work" / "file.txt"));
  EXPECT_FALSE(fs::exists(root / "work" / "folder"));
  EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "files" / "file.txt"));
  EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "files" / "folder" / "inner.txt"));
  EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "info" / "file.txt.trashinfo"));

  if (previous) {
    ::setenv("XDG_DATA_HOME", previous->c_str(), 1);
  } else {
    ::unsetenv("XDG_DATA_HOME");
  }
  fs::remove_all(root);
}

// The window's KILL uses the console runner's trash rules: an entry on
// another file system goes to the trash at the top of that file system.
TEST_F(DesktopServicesTest, KillOnAnotherFileSystemUsesItsOwnTrash) {
  test::SmallFileSystem small(1 << 20);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small file system";
  const fs::path top = small.root();
  fs::create_directories(top / "dir");
  std::ofstream(top / "dir" / "gone.txt") << "g";
  EXPECT_EQ(test::Utf8(vm.Run(u"PRINT KILL(\"" + (top / "dir" / "gone.txt").u16string() + u"\")")),
            "0");
  EXPECT_FALSE(fs::exists(top / "dir" / "gone.txt"));
  EXPECT_TRUE(fs::exists(top / (".Trash-" + std::to_string(::geteuid())) / "files" / "gone.txt"));
}

}  // namespace
}  // namespace vell
