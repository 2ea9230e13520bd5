// The text-file service on real files in a temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter_state.h"
#include "library/service_router.h"
#include "platform/text_codec.h"
#include "tests/support/file_systems.h"
#include "tests/support/recording_host.h"

using namespace vell;

namespace vell {
namespace {

// The bytes of a literal, zero bytes included.
template <size_t N>
std::string B(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

class TextFileServiceTest : public ::testing::Test, public test::ServiceFixture {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vell-textfile-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Path(const std::string& name) { return folder + "/" + name; }
  std::u16string WidePath(const std::string& name) { return text::Utf8ToWide(Path(name)); }

  void Put(const std::string& name, std::string_view bytes) { test::PutFile(Path(name), bytes); }
  std::string Bytes(const std::string& name) { return test::FileBytes(Path(name)); }

  std::string folder;
};

TEST_F(TextFileServiceTest, WritesUnicodeAndAnsiByteForByte) {
  Request(2002, vellvar(std::u16string_view(WidePath("e.txt"))), vellvar(u""));
  EXPECT_EQ(Bytes("e.txt"), "\xFF\xFE");
  Request(2002, vellvar(std::u16string_view(WidePath("j.txt"))), vellvar(u"\u3042\nb\r"));
  EXPECT_EQ(Bytes("j.txt"), B("\xFF\xFE\x42\x30\r\0\n\0b\0\r\0\n\0"));
  EXPECT_EQ(Result().IntValue(), 2002);

  Request(2003, vellvar(std::u16string_view(WidePath("n.txt"))), vellvar(u""));
  EXPECT_EQ(Bytes("n.txt"), "");
  Request(2003, vellvar(std::u16string_view(WidePath("m.txt"))), vellvar(u"x\n\u00E9"));
  EXPECT_EQ(Bytes("m.txt"), "x\r\n\xC3\xA9\r\n");
  EXPECT_EQ(Result().IntValue(), 2003);
  // A number is written as its text.
  Request(2003, vellvar(std::u16string_view(WidePath("k.txt"))), vellvar(42));
  EXPECT_EQ(Bytes("k.txt"), "42\r\n");
  // Writing over an existing file replaces all of it.
  Request(2002, vellvar(std::u16string_view(WidePath("m.txt"))), vellvar(u"z"));
  EXPECT_EQ(Bytes("m.txt"), B("\xFF\xFE"
                              "z\0\r\0\n\0"));
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TextFileServiceTest, LinesAndNameValueEntries) {
  Put("v.txt", B("\xFE\xFF\0x\0=\0"
                 "1\0\n\0K\0e\0y\0=\0a\0=\0b"));
  const vellvar path(std::u16string_view(WidePath("v.txt")));
  Request(2004, path);
  EXPECT_EQ(Result().IntValue(), 2);
  Request(2005, path, vellvar(1));
  EXPECT_EQ(interp->requestSlots[1].ItemWideText(), std::u16string(u"Key=a=b"));
  Request(2006, path, vellvar(u"KEY"));
  EXPECT_EQ(interp->requestSlots[1].ItemWideText(), std::u16string(u"a=b"));
  Request(2006, path, vellvar(u"none"));
  EXPECT_EQ(interp->requestSlots[1].ItemWideText(), std::u16string(u""));
  // 2007 rewrites the whole file as UTF-16LE, the name spelled as given.
  Request(2007, path, vellvar(u"KEY"), vellvar(u"9"));
  EXPECT_EQ(Result().IntValue(), 2007);
  EXPECT_EQ(Bytes("v.txt"), B("\xFF\xFEx\0=\0"
                              "1\0\r\0\n\0K\0E\0Y\0=\0"
                              "9\0\r\0\n\0"));
  Request(2007, path, vellvar(u"x"), vellvar(u""));
  EXPECT_EQ(Bytes("v.txt"), B("\xFF\xFEK\0E\0Y\0=\0"
                              "9\0\r\0\n\0"));
  // 2007 never creates a file, nor writes to a folder.
  Request(2007, vellvar(std::u16string_view(WidePath("missing.txt"))), vellvar(u"a"),
          vellvar(u"1"));
  EXPECT_FALSE(std::filesystem::exists(Path("missing.txt")));
  EXPECT_EQ(Result().IntValue(), 2007);
  EXPECT_TRUE(sink.messages.empty());

  Request(2005, path, vellvar(1));  // one line left: index 1 is out of range
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(Result().IntValue(), 2005);
}

// Each service reads its slots as the text it needs, and the slots keep
// that kind afterwards: 2003 reads its path and text narrow, the others
// wide; an index is read as a number and left as it was.
TEST_F(TextFileServiceTest, SlotsKeepTheKindOfTextReadFromThem) {
  Put("s.txt", "a=1\r\nb\r\n");
  vellvar narrowPath;
  narrowPath.AssignNarrow(Path("s.txt"));
  vellvar narrowName;
  narrowName.AssignNarrow("a");
  const vellvar widePath(std::u16string_view(WidePath("s.txt")));
  const auto kinds = [&] {
    std::string out;
    for (int slot = 2; slot <= 4; ++slot) out += char('0' + interp->requestSlots[slot].item.kind);
    return out;
  };
  Request(2003, widePath, vellvar(5), vellvar(1));
  EXPECT_EQ(kinds(), "220");
  EXPECT_EQ(Bytes("s.txt"), "5\r\n");
  Request(2002, narrowPath, vellvar(5), narrowName);
  EXPECT_EQ(kinds(), "332");
  Request(2001, narrowPath, vellvar(7), vellvar(1.5));
  EXPECT_EQ(kinds(), "301");
  Request(2004, narrowPath, narrowName, vellvar(1));
  EXPECT_EQ(kinds(), "320");
  Request(2005, narrowPath, narrowName, narrowName);
  EXPECT_EQ(kinds(), "322");  // "a" reads as the index 0
  Request(2006, narrowPath, narrowName, vellvar(1));
  EXPECT_EQ(kinds(), "330");
  Request(2007, narrowPath, narrowName, vellvar(2));
  EXPECT_EQ(kinds(), "333");
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(TextFileServiceTest, FailuresShowAMessageAndKeepTheServiceNumber) {
  Request(2001, vellvar(std::u16string_view(WidePath("missing.txt"))));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find(WidePath("missing.txt")), std::u16string::npos);
  EXPECT_NE(sink.messages[0].find(u"No such file"), std::u16string::npos);
  EXPECT_EQ(Result().kind, KindInteger);
  EXPECT_EQ(Result().IntValue(), 2001);

  std::filesystem::create_directory(Path("dir"));
  for (int service : {2001, 2002, 2003, 2004}) {
    Request(service, vellvar(std::u16string_view(WidePath("dir"))), vellvar(u"x"));
    EXPECT_EQ(Result().IntValue(), service);
  }
  Request(2002, vellvar(std::u16string_view(WidePath("no/such/folder.txt"))), vellvar(u"x"));
  EXPECT_EQ(Result().IntValue(), 2002);
  Request(2001, vellvar(u""));
  EXPECT_EQ(Result().IntValue(), 2001);
  EXPECT_EQ(sink.messages.size(), 7u);

  // A name the character set cannot hold is refused, never approximated.
  std::u16string odd = WidePath("x");
  odd += u'\xD800';
  Request(2002, vellvar(std::u16string_view(odd)), vellvar(u"x"));
  Request(2003, vellvar(std::u16string_view(odd)), vellvar(u"x"));
  EXPECT_EQ(sink.messages.size(), 9u);
  EXPECT_EQ(Result().IntValue(), 2003);
  EXPECT_EQ(std::filesystem::directory_iterator(folder)->path().filename(), "dir");
}

// A pipe that nobody reads is an error, not a wait without end.
TEST_F(TextFileServiceTest, WritingToAPipeWithoutReaderFails) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  const vellvar pipe(std::u16string_view(WidePath("pipe")));
  Request(2002, pipe, vellvar(u"x"));
  EXPECT_EQ(Result().IntValue(), 2002);
  Request(2003, pipe, vellvar(u"x"));
  EXPECT_EQ(Result().IntValue(), 2003);
  Request(2007, pipe, vellvar(u"a"), vellvar(u"1"));
  EXPECT_EQ(Result().IntValue(), 2007);
  EXPECT_EQ(sink.messages.size(), 3u);
}

// A write that fails half-way leaves the file as it was; a write that works
// keeps the file's permissions and a symbolic link pointing at it.
TEST_F(TextFileServiceTest, AFailedWriteKeepsTheOldFile) {
  Put("keep.txt", "old=1\nother=2\n");
  ::chmod(Path("keep.txt").c_str(), 0640);
  const vellvar path(std::u16string_view(WidePath("keep.txt")));
  const std::u16string big(100000, u'x');

  test::FileSizeLimit limit(4096);
  ASSERT_TRUE(limit.applied());
  Request(2002, path, vellvar(std::u16string_view(big)));
  EXPECT_EQ(Result().IntValue(), 2002);
  Request(2003, path, vellvar(std::u16string_view(big)));
  Request(2007, path, vellvar(u"old"), vellvar(std::u16string_view(big)));
  ASSERT_TRUE(limit.Lift());
  EXPECT_EQ(sink.messages.size(), 3u);
  EXPECT_EQ(Bytes("keep.txt"), "old=1\nother=2\n");
  // Nothing is left behind beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);

  std::filesystem::create_symlink("keep.txt", Path("link.txt"));
  Request(2007, vellvar(std::u16string_view(WidePath("link.txt"))), vellvar(u"old"),
          vellvar(u"3"));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
  EXPECT_EQ(Bytes("keep.txt"), B("\xFF\xFEo\0l\0d\0=\0"
                                 "3\0\r\0\n\0o\0t\0h\0e\0r\0=\0"
                                 "2\0\r\0\n\0"));
  struct stat info {};
  ASSERT_EQ(::stat(Path("keep.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(sink.messages.size(), 3u);
}

// A file the user may not write stays as it was, whichever way it would be
// written; a file replaced by a new one keeps its group.
TEST_F(TextFileServiceTest, AReadOnlyFileIsRefusedAndAReplacedFileKeepsItsGroup) {
  {
    test::OrdinaryUser user(folder);
    if (::geteuid() == 0) GTEST_SKIP() << "cannot act as an ordinary user";
    Put("ro.txt", "precious\n");
    ASSERT_EQ(::chmod(Path("ro.txt").c_str(), 0444), 0);
    const vellvar path(std::u16string_view(WidePath("ro.txt")));
    Request(2002, path, vellvar(u"overwritten"));
    Request(2003, path, vellvar(u"overwritten"));
    Request(2007, path, vellvar(u"a"), vellvar(u"1"));
    EXPECT_EQ(Bytes("ro.txt"), "precious\n");
    ASSERT_EQ(sink.messages.size(), 3u);
    EXPECT_NE(sink.messages[0].find(u"Cannot create file"), std::u16string::npos);
    EXPECT_NE(sink.messages[0].find(u"Permission denied"), std::u16string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(Path("ro.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
  }
  if (::geteuid() != 0) return;  // giving a file another group needs root
  Put("shared.txt", "old");
  ASSERT_EQ(::chown(Path("shared.txt").c_str(), 0, 65534), 0);
  ASSERT_EQ(::chmod(Path("shared.txt").c_str(), 0664), 0);
  Request(2002, vellvar(std::u16string_view(WidePath("shared.txt"))), vellvar(u"new"));
  EXPECT_EQ(Bytes("shared.txt"), B("\xFF\xFEn\0e\0w\0\r\0\n\0"));
  struct stat info {};
  ASSERT_EQ(::stat(Path("shared.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 0777, 0664u);
  EXPECT_EQ(sink.messages.size(), 3u);
}

// A file with a second hard link is written in place; when the new text does
// not fit, the old text stays whole.
TEST_F(TextFileServiceTest, AFileWrittenInPlaceKeepsItsTextWhenTheNewOneDoesNotFit) {
  Put("linked.txt", "old=1\n");
  ASSERT_EQ(::link(Path("linked.txt").c_str(), Path("other.txt").c_str()), 0);
  const vellvar path(std::u16string_view(WidePath("linked.txt")));
  const std::u16string big(100000, u'x');

  test::FileSizeLimit limit(4096);
  ASSERT_TRUE(limit.applied());
  Request(2002, path, vellvar(std::u16string_view(big)));
  Request(2003, path, vellvar(std::u16string_view(big)));
  ASSERT_TRUE(limit.Lift());
  EXPECT_EQ(Bytes("linked.txt"), "old=1\n");
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_NE(sink.messages[0].find(u"Cannot write file"), std::u16string::npos);

  // The same on a file system that is full.
  test::SmallFileSystem small(1 << 20);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a small file system";
  test::PutFile(small.root() / "full.txt", "old=2\n");
  ASSERT_EQ(::link((small.root() / "full.txt").c_str(), (small.root() / "link.txt").c_str()), 0);
  small.FillLeaving(32768);
  const std::u16string full = text::Utf8ToWide((small.root() / "full.txt").string());
  Request(2002, vellvar(std::u16string_view(full)), vellvar(std::u16string_view(big)));
  EXPECT_EQ(test::FileBytes(small.root() / "full.txt"), "old=2\n");
  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_NE(sink.messages[2].find(u"No space left"), std::u16string::npos);
  // A text that fits is written.
  Request(2003, vellvar(std::u16string_view(full)), vellvar(u"short"));
  EXPECT_EQ(test::FileBytes(small.root() / "link.txt"), "short\r\n");
  EXPECT_EQ(sink.messages.size(), 3u);
}

// A file larger than any text a value may hold is refused before it is read.
TEST_F(TextFileServiceTest, AFileTooLargeForAnyTextIsRefused) {
  Put("huge.txt", "");
  ASSERT_EQ(::truncate(Path("huge.txt").c_str(), (int64_t{1} << 30) + 1), 0);
  const vellvar path(std::u16string_view(WidePath("huge.txt")));
  for (int service : {2001, 2004, 2005, 2006}) {
    Request(service, path, vellvar(0));
    EXPECT_EQ(Result().IntValue(), service);
  }
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_NE(sink.messages[0].find(u"too large"), std::u16string::npos);
}

}  // namespace
}  // namespace vell
