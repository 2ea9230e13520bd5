// Whole-file writes that fail part of the way, both where a new file takes
// the old one's place and where the file is written in place.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/file_replacement.h"
#include "tests/support/files.h"

namespace vell::files {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vell-replace-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
  }
  void TearDown() override { fs::remove_all(root); }

  // Writes `bytes`, failing with EIO after `failAfter` of them.
  static ReplaceRequest Writing(const std::string& bytes, size_t failAfter) {
    ReplaceRequest request;
    request.size = static_cast<int64_t>(bytes.size());
    request.fill = [bytes, failAfter](int fd) {
      const size_t n = std::min(bytes.size(), failAfter);
      if (::write(fd, bytes.data(), n) != static_cast<ssize_t>(n)) return errno;
      return n < bytes.size() ? EIO : 0;
    };
    return request;
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(root), fs::directory_iterator()));
  }

  fs::path root;
};

TEST_F(FileReplacementTest, AFailedWriteLeavesTheOldContentsWhole) {
  const fs::path single = root / "single.txt";
  const fs::path linked = root / "linked.txt";
  test::PutFile(single, "the old text of the single file");
  test::PutFile(linked, "the old text of the linked file");
  fs::create_hard_link(linked, root / "second.txt");

  for (const fs::path& file : {single, linked}) {
    const ReplaceOutcome outcome =
        ReplaceFileContents(file.string(), Writing(std::string(5000, 'n'), 1000));
    EXPECT_EQ(outcome.failed, ReplaceStep::Write);
    EXPECT_EQ(outcome.error, EIO);
  }
  EXPECT_EQ(test::FileBytes(single), "the old text of the single file");
  EXPECT_EQ(test::FileBytes(linked), "the old text of the linked file");
  EXPECT_EQ(Entries(), 3u);

  // Shorter contents that are written in full leave nothing of the old.
  EXPECT_TRUE(ReplaceFileContents(linked.string(), Writing("new", 3)).ok());
  EXPECT_EQ(test::FileBytes(root / "second.txt"), "new");
  EXPECT_TRUE(ReplaceFileContents((root / "made.txt").string(), Writing("made", 4)).ok());
  EXPECT_EQ(test::FileBytes(root / "made.txt"), "made");
  EXPECT_EQ(ReplaceFileContents((root / "none.txt").string(), Writing("made", 2)).failed,
            ReplaceStep::Write);
  EXPECT_FALSE(fs::exists(root / "none.txt"));
  EXPECT_EQ(Entries(), 4u);
}

}  // namespace
}  // namespace vell::files
