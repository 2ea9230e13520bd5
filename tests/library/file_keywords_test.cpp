// The file, folder and clipboard keywords, run from programs on a real
// temporary folder (the current folder while a test runs).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "library/desktop_hooks.h"
#include "library/library_builtins.h"
#include "platform/text_codec.h"
#include "tests/support/file_systems.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell {
namespace {

namespace fs = std::filesystem;

class FileKeywordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vell-files-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    previousFolder = fs::current_path();
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr) previousDataHome = dataHome;
    fs::create_directory(root / "work");
    fs::create_directory(root / "data");
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    fs::current_path(root / "work");
    RegisterLibraryBuiltins(vm.interp());
  }
  void TearDown() override {
    fs::current_path(previousFolder);
    if (previousDataHome) {
      ::setenv("XDG_DATA_HOME", previousDataHome->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
    fs::remove_all(root);
  }

  std::string Run(std::u16string_view program) { return test::Utf8(vm.Run(program)); }

  static void Put(const fs::path& path, std::string_view bytes) { test::PutFile(path, bytes); }
  static std::string Bytes(const fs::path& path) { return test::FileBytes(path); }
  fs::path Trash() const { return root / "data" / "Trash"; }

  test::TestInterpreter vm;
  fs::path root;
  fs::path previousFolder;
  std::optional<std::string> previousDataHome;
};

TEST_F(FileKeywordsTest, CopyBehavesAsTheDesktopCopy) {
  Put("a.txt", "alpha");
  Put("tree/one.txt", "1");
  Put("tree/deep/two.txt", "2");
  Put("pics/X.TXT", "x");
  Put("pics/y.txt", "y");
  Put("pics/z.dat", "z");
  EXPECT_EQ(Run(uR"(
    PRINT COPY("a.txt", "new\\folder\\b.txt"), " "
    PRINT COPY("a.txt", "tree"), " "
    PRINT COPY("tree", "copy"), " "
    PRINT COPY("PICS\\*.txt", "only"), " "
    PRINT COPY("pics\\*.*", "pics"), " "
  )"),
            "0 0 0 0 113 ");
  EXPECT_EQ(Bytes("new/folder/b.txt"), "alpha");
  EXPECT_EQ(Bytes("tree/a.txt"), "alpha");
  EXPECT_EQ(Bytes("copy/deep/two.txt"), "2");
  EXPECT_EQ(Bytes("copy/a.txt"), "alpha");
  EXPECT_TRUE(fs::exists("only/X.TXT"));
  EXPECT_TRUE(fs::exists("only/y.txt"));
  EXPECT_FALSE(fs::exists("only/z.dat"));
  EXPECT_EQ(Bytes("pics/y.txt"), "y");  // copying onto itself changes nothing

  // Existing targets are overwritten; failures give non-zero codes.
  Put("b.txt", "bravo");
  EXPECT_EQ(Run(uR"(
    PRINT COPY("b.txt", "a.txt"), " "
    PRINT COPY("missing.txt", "c.txt") != 0, " "
    PRINT COPY("*.none", "c") != 0, " "
    PRINT COPY("tree", "tree\\deep") != 0
  )"),
            "0 1 1 1");
  EXPECT_EQ(Bytes("a.txt"), "bravo");
  EXPECT_FALSE(fs::exists("c.txt"));
  // A pipe that nobody reads is a failure, not a wait without end.
  ASSERT_EQ(::mkfifo("pipe", 0600), 0);
  EXPECT_EQ(Run(u"PRINT COPY(\"b.txt\", \"pipe\") != 0"), "1");
  EXPECT_FALSE(fs::exists("c"));
  EXPECT_FALSE(fs::exists("tree/deep/tree"));
}

// A copy that cannot be completed leaves an existing target as it was and
// no new one behind.
TEST_F(FileKeywordsTest, ACopyThatFailsHalfWayChangesNothing) {
  const std::string big(100000, 'b');
  Put("big.bin", big);
  Put("dest.bin", "old");
  test::FileSizeLimit limit(4096);
  ASSERT_TRUE(limit.applied());
  const std::string answer = Run(uR"(PRINT COPY("big.bin", "dest.bin") != 0, COPY("big.bin", "fresh.bin") != 0)");
  ASSERT_TRUE(limit.Lift());
  EXPECT_EQ(answer, "11");
  EXPECT_EQ(Bytes("dest.bin"), "old");
  EXPECT_FALSE(fs::exists("fresh.bin"));
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);

  // On a full file system the answer says so.
  test::SmallFileSystem small(1 << 20);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small file system";
  Put(small.root() / "dest.bin", "old");
  small.FillLeaving(32768);
  const std::u16string into = small.root().u16string();
  EXPECT_EQ(Run(u"PRINT COPY(\"big.bin\", \"" + into + u"/dest.bin\"), \" \", COPY(\"big.bin\", \"" +
                into + u"/new.bin\")"),
            "112 112");
  EXPECT_EQ(Bytes(small.root() / "dest.bin"), "old");
  EXPECT_FALSE(fs::exists(small.root() / "new.bin"));
  EXPECT_EQ(std::distance(fs::directory_iterator(small.root()), fs::directory_iterator()), 2);
  // A copy that fits replaces the target, permissions and times included.
  Put("small.bin", "new");
  ::chmod("small.bin", 0600);
  EXPECT_EQ(Run(u"PRINT COPY(\"small.bin\", \"" + into + u"/dest.bin\")"), "0");
  EXPECT_EQ(Bytes(small.root() / "dest.bin"), "new");
  EXPECT_EQ(fs::status(small.root() / "dest.bin").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::last_write_time(small.root() / "dest.bin"), fs::last_write_time("small.bin"));
}

TEST_F(FileKeywordsTest, KillMovesToTheTrashAndRefusesDangerousPaths) {
  Put("doomed.txt", "d");
  Put("logs/a.LOG", "a");
  Put("logs/b.log", "b");
  Put("logs/keep.txt", "k");
  Put("folder/inner.txt", "i");
  EXPECT_EQ(Run(uR"(
    PRINT KILL("doomed.txt"), " "
    PRINT KILL("logs\\*.log"), " "
    PRINT KILL("FOLDER"), " "
    PRINT KILL("missing.txt") != 0
  )"),
            "0 0 0 1");
  EXPECT_FALSE(fs::exists("doomed.txt"));
  EXPECT_FALSE(fs::exists("folder"));
  EXPECT_TRUE(fs::exists("logs/keep.txt"));
  EXPECT_EQ(Bytes(Trash() / "files" / "doomed.txt"), "d");
  EXPECT_EQ(Bytes(Trash() / "files" / "folder" / "inner.txt"), "i");
  EXPECT_TRUE(fs::exists(Trash() / "files" / "a.LOG"));
  EXPECT_TRUE(fs::exists(Trash() / "files" / "b.log"));
  const std::string info = Bytes(Trash() / "info" / "doomed.txt.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=/", 0), 0u) << info;
  EXPECT_NE(info.find("/work/doomed.txt\nDeletionDate="), std::string::npos) << info;

  // A second entry of the same name gets a name of its own in the trash.
  Put("doomed.txt", "again");
  EXPECT_EQ(Run(u"PRINT KILL(\"doomed.txt\")"), "0");
  EXPECT_EQ(Bytes(Trash() / "files" / "doomed.txt"), "d");
  EXPECT_EQ(Bytes(Trash() / "files" / "doomed.txt.2"), "again");

  // The empty path, ".", "..", "/" and paths ending in them touch nothing.
  EXPECT_EQ(Run(uR"(
    PRINT KILL("") != 0, KILL(".") != 0, KILL("..") != 0, KILL("/") != 0
    PRINT KILL("\\") != 0, KILL("logs\\..") != 0, KILL(".\\") != 0
  )"),
            "1111111");
  EXPECT_TRUE(fs::exists("logs/keep.txt"));
  EXPECT_TRUE(fs::exists(root / "work"));
}

// An entry on another file system goes to the trash at the top of that file
// system, as the window's KILL does.
TEST_F(FileKeywordsTest, KillOnAnotherFileSystemUsesItsOwnTrash) {
  test::SmallFileSystem small(1 << 20);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small file system";
  const fs::path top = small.root();
  const std::string uid = std::to_string(::geteuid());
  Put(top / "dir" / "gone.txt", "g");
  Put(top / "shared.txt", "s");
  EXPECT_EQ(Run(u"PRINT KILL(\"" + (top / "DIR" / "gone.txt").u16string() + u"\")"), "0");
  EXPECT_FALSE(fs::exists(top / "dir" / "gone.txt"));
  const fs::path own = top / (".Trash-" + uid);
  EXPECT_EQ(Bytes(own / "files" / "gone.txt"), "g");
  EXPECT_EQ(Bytes(own / "info" / "gone.txt.trashinfo").rfind("[Trash Info]\nPath=dir/gone.txt\n", 0),
            0u);
  EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);

  // A trash folder made by the administrator, with the sticky bit, comes first.
  fs::create_directory(top / ".Trash");
  fs::permissions(top / ".Trash", fs::perms::all | fs::perms::sticky_bit);
  EXPECT_EQ(Run(u"PRINT KILL(\"" + (top / "shared.txt").u16string() + u"\")"), "0");
  EXPECT_EQ(Bytes(top / ".Trash" / uid / "files" / "shared.txt"), "s");
  EXPECT_FALSE(fs::exists(Trash()));
}

// Trash answers of a desktop for the cases a test folder cannot produce.
class FixedTrash : public DesktopServices {
 public:
  explicit FixedTrash(TrashResult answer) : answer_(answer) {}
  ClipboardText GetClipboardText() override { return {}; }
  bool SetClipboardText(std::u16string_view, std::string_view) override { return false; }
  TrashResult MoveToTrash(const std::string&, int* error) override {
    *error = answer_ == TrashResult::Failed ? EACCES : 0;
    return answer_;
  }

 private:
  TrashResult answer_;
};

TEST_F(FileKeywordsTest, KillDeletesForGoodOnlyWhereThereIsNoTrash) {
  Put("kept/file.txt", "k");
  Put("gone/deep/file.txt", "g");
  FixedTrash failing(TrashResult::Failed);
  SetDesktopServices(&failing);
  EXPECT_EQ(Run(u"PRINT KILL(\"kept\") != 0"), "1");
  FixedTrash none(TrashResult::NoTrash);
  SetDesktopServices(&none);
  EXPECT_EQ(Run(u"PRINT KILL(\"gone\")"), "0");
  SetDesktopServices(nullptr);
  EXPECT_EQ(Bytes("kept/file.txt"), "k");
  EXPECT_FALSE(fs::exists("gone"));
  EXPECT_FALSE(fs::exists(Trash()));
}

TEST_F(FileKeywordsTest, RenameNeverReplacesAndFolderKeywordsWork) {
  Put("old.txt", "old");
  Put("taken.txt", "taken");
  EXPECT_EQ(Run(uR"(
    PRINT RENAME("old.txt", "taken.txt"), " "
    PRINT RENAME("OLD.TXT", "new.txt"), " "
    PRINT RENAME("missing", "other"), " "
    PRINT MKDIR("made"), MKDIR("made"), MKDIR("no\\such\\parent"), " "
    PRINT RENAME("new.txt", "made\\moved.txt"), " "
    PRINT EXIST("MADE\\MOVED.TXT"), EXIST("made"), EXIST("nothing"), " "
    PRINT CHDIR("made"), CHDIR("nowhere"), " "
    PRINT GETFOLDERFILE("")
  )"),
            "0 1 0 100 1 100 10 moved.txt");
  EXPECT_EQ(Bytes(root / "work" / "taken.txt"), "taken");
  EXPECT_EQ(Bytes(root / "work" / "made" / "moved.txt"), "old");
  EXPECT_FALSE(fs::exists(root / "work" / "old.txt"));
  EXPECT_EQ(fs::current_path(), root / "work" / "made");
}

TEST_F(FileKeywordsTest, RenameChangesTheCaseOfAName) {
  Put("f.txt", "f");
  Put("a.txt", "a");
  Put("b.txt", "b");
  Put("dir/g.txt", "g");
  EXPECT_EQ(Run(uR"(
    PRINT RENAME("f.txt", "F.txt"), RENAME("dir\\g.txt", "DIR\\G.TXT"), RENAME("a.txt", "B.TXT")
  )"),
            "110");
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(".")) {
    if (entry.is_regular_file()) names.push_back(entry.path().lexically_relative(".").string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"F.txt", "a.txt", "b.txt", "dir/G.TXT"}));
  EXPECT_EQ(Bytes("F.txt"), "f");
  EXPECT_EQ(Bytes("b.txt"), "b");
}

TEST_F(FileKeywordsTest, RenameToAnotherFileSystemMovesFilesButNeverReplaces) {
  struct stat here {};
  struct stat shm {};
  if (::stat(".", &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev ||
      ::access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no second writable file system";
  }
  char pattern[] = "/dev/shm/vell-rename-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const fs::path other = pattern;
  Put("move.txt", "moving");
  Put("stay.txt", "staying");
  Put(other / "taken.txt", "taken");
  const std::u16string program =
      u"PRINT RENAME(\"move.txt\", \"" + (other / "moved.txt").u16string() +
      u"\"), RENAME(\"stay.txt\", \"" + (other / "taken.txt").u16string() + u"\")";
  EXPECT_EQ(Run(program), "10");
  EXPECT_EQ(Bytes(other / "moved.txt"), "moving");
  EXPECT_FALSE(fs::exists("move.txt"));
  EXPECT_EQ(Bytes(other / "taken.txt"), "taken");
  EXPECT_EQ(Bytes("stay.txt"), "staying");
  fs::remove_all(other);
}

TEST_F(FileKeywordsTest, GetFolderFileListsPlainVisibleFilesInOrder) {
  Put("list/beta.txt", "");
  Put("list/Alpha.txt", "");
  Put("list/alpha2", "");
  Put("list/.hidden", "");
  Put("list/sub/inside.txt", "");
  fs::create_symlink("beta.txt", "list/link.txt");
  EXPECT_EQ(Run(uR"(
    PRINT "[", GETFOLDERFILE("list"), "]"
    PRINT "[", GETFOLDERFILE("LIST\\"), "]"
    PRINT "[", GETFOLDERFILE("list\\sub"), "][", GETFOLDERFILE("missing"), "]"
    PRINT COUNTLIST(GETFOLDERFILE("list"))
  )"),
            "[Alpha.txt\nalpha2\nbeta.txt\nlink.txt][Alpha.txt\nalpha2\nbeta.txt\nlink.txt]"
            "[inside.txt][]4");
}

TEST_F(FileKeywordsTest, TextFileKeywordsWriteThroughTheServices) {
  fs::create_directory("sub");
  EXPECT_EQ(Run(uR"(
    PRINT WRITEFILE("sub\\w.txt", "a"), WRITEANSIFILE("SUB\\n.txt", "b\nc"), " "
    PRINT COUNTLIST(READFILE("sub\\W.TXT"))
  )"),
            "11 1");
  EXPECT_EQ(Bytes("sub/w.txt"), std::string("\xFF\xFE"
                                            "a\0\r\0\n\0",
                                            8));
  EXPECT_EQ(Bytes("sub/n.txt"), "b\r\nc\r\n");
  EXPECT_TRUE(vm.host.serviceErrors.messages.empty());
}

}  // namespace
}  // namespace vell
