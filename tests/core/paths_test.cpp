// Program paths: backslashes, upper-cased names and what cannot be found.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/paths.h"
#include "platform/text_codec.h"

using namespace vell;

namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_CTYPE, "");
    char pattern[] = "/tmp/vell_paths_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    fs::create_directories(root / "Sub Dir" / "Inner");
    std::ofstream(root / "Sub Dir" / "Inner" / "Prog.vell") << "x";
    std::ofstream(root / "twin.txt") << "a";
    std::ofstream(root / "TWIN.txt") << "b";
  }
  void TearDown() override { fs::remove_all(root); }

  std::u16string Wide(const fs::path& p) { return vell::text::Utf8ToWide(p.string()); }

  fs::path root;
};

TEST_F(PathsTest, BackslashesAndCaseAreResolved) {
  const std::string exact = (root / "Sub Dir" / "Inner" / "Prog.vell").string();
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"\\Sub Dir\\Inner\\Prog.vell"), exact);
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"/SUB DIR\\INNER/PROG.VELL"), exact);
  // A trailing separator stays.
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"\\sub dir\\"),
            (root / "Sub Dir").string() + "/");
}

TEST_F(PathsTest, UnresolvableNamesStayAsSpelled) {
  // Two entries differ only by case: the spelling given is kept.
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"/Twin.TXT"), (root / "Twin.TXT").string());
  // An exact name is taken as it is.
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"/TWIN.txt"), (root / "TWIN.txt").string());
  // A missing folder: the rest is left as written.
  EXPECT_EQ(vell::paths::ResolveProgramPath(Wide(root) + u"\\NONE\\PROG.VELL"),
            (root / "NONE" / "PROG.VELL").string());
  EXPECT_EQ(vell::paths::ResolveProgramPath(u""), std::string());
}

TEST_F(PathsTest, TextTheCharacterSetCannotHoldIsRefused) {
  if (vell::text::AnsiRoundTrips(u"\xD800")) GTEST_SKIP() << "the character set holds lone surrogates";
  EXPECT_FALSE(vell::paths::ResolveProgramPath(u"a\xD800.vell").has_value());
}

}  // namespace
