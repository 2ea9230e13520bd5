// Keeps the language guide (docs/language.md) true to the interpreter.
//
// Names: a line "<!-- names: CATEGORY -->" says that the table after it lists
// names of that category, one a row, the name in backquotes in the row's
// first cell. The categories are "statements", "builtins" (functions,
// commands, directives and the component keywords; several tables),
// "component types" and "members of TYPE" (properties, methods and events of
// one type). Together the tables must list exactly the registered names.
//
// Examples: a ```vell block followed by an ```output block is run with the
// console runner in an empty folder (no input, no parameters); what it
// prints must equal the output block byte for byte, every line of the block
// ended by a line feed, or, for "```output noeol", the last line without one.
// A runner built without databases passes over the examples that use them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "tests/support/registered_names.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarkerStart = "<!-- names: ";
constexpr std::string_view kMarkerEnd = " -->";
constexpr std::string_view kStatements = "statements";
constexpr std::string_view kBuiltins = "builtins";
constexpr std::string_view kTypes = "component types";
constexpr std::string_view kMembersOf = "members of ";

std::vector<std::string> GuideLines() {
  std::ifstream in(VELL_GUIDE);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Utf8(std::u16string_view text) { return vell::text::WideToUtf8(text); }

// A name listed in the guide and the line (counted from 1) that lists it.
struct Listed {
  std::string name;
  size_t line;
};

// The names of every marked table, by category. A row whose first cell is
// not one name in backquotes is kept as an empty name, which no registered
// name equals.
std::map<std::string, std::vector<Listed>> ListedNames(const std::vector<std::string>& lines) {
  std::map<std::string, std::vector<Listed>> byCategory;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!line.starts_with(kMarkerStart) || !line.ends_with(kMarkerEnd)) continue;
    const std::string category =
        line.substr(kMarkerStart.size(), line.size() - kMarkerStart.size() - kMarkerEnd.size());
    std::vector<Listed>& names = byCategory[category];
    size_t j = i + 1;
    while (j < lines.size() && lines[j].empty()) ++j;
    // The header row and the row under it name nothing.
    for (j += 2; j < lines.size() && lines[j].starts_with("|"); ++j) {
      const size_t end = lines[j].find('|', 1);
      std::string cell = lines[j].substr(1, end == std::string::npos ? end : end - 1);
      cell.erase(0, cell.find_first_not_of(' '));
      cell.erase(cell.find_last_not_of(' ') + 1);
      const bool quoted = cell.size() > 2 && cell.front() == '`' && cell.back() == '`' &&
                          cell.find_first_of("` ", 1) == cell.size() - 1;
      names.push_back({quoted ? cell.substr(1, cell.size() - 2) : std::string(), j + 1});
    }
  }
  return byCategory;
}

// Compares the names a category lists with the registered ones.
void ExpectSameNames(const std::string& category, const std::vector<Listed>& listed,
                     const std::vector<std::u16string>& registered) {
  std::set<std::string> known;
  for (const std::u16string& name : registered) known.insert(Utf8(name));
  std::set<std::string> seen;
  for (const Listed& entry : listed) {
    if (entry.name.empty()) {
      ADD_FAILURE() << "docs/language.md line " << entry.line << " begins a row of the " << category
                    << " with no name in backquotes";
      continue;
    }
    EXPECT_TRUE(known.count(entry.name) != 0)
        << "docs/language.md line " << entry.line << " lists \"" << entry.name << "\" among the "
        << category << ", which has no such name";
    EXPECT_TRUE(seen.insert(entry.name).second)
        << "docs/language.md line " << entry.line << " lists \"" << entry.name
        << "\" a second time among the " << category;
  }
  for (const std::string& name : known) {
    EXPECT_TRUE(seen.count(name) != 0)
        << "docs/language.md lists no \"" << name << "\" among the " << category;
  }
}

TEST(LanguageGuide, ListsExactlyTheStatementsAndBuiltins) {
  auto listed = ListedNames(GuideLines());
  ExpectSameNames(std::string(kStatements), listed[std::string(kStatements)],
                  vell::test::StatementKeywords());
  ExpectSameNames(std::string(kBuiltins), listed[std::string(kBuiltins)],
                  vell::test::BuiltinNames());
}

TEST(LanguageGuide, ListsExactlyTheComponentTypesAndTheirMembers) {
  auto listed = ListedNames(GuideLines());
  const std::vector<vell::test::ComponentTypeNames> types = vell::test::ComponentTypes();
  std::vector<std::u16string> typeNames;
  for (const auto& type : types) {
    typeNames.push_back(type.type);
    const std::string category = std::string(kMembersOf) + Utf8(type.type);
    EXPECT_TRUE(listed.count(category) != 0) << "docs/language.md has no table of the " << category;
    ExpectSameNames(category, listed[category], type.members);
  }
  ExpectSameNames(std::string(kTypes), listed[std::string(kTypes)], typeNames);
  // Every category is one of the above.
  std::set<std::string> categories = {std::string(kStatements), std::string(kBuiltins),
                                      std::string(kTypes)};
  for (const auto& type : types) categories.insert(std::string(kMembersOf) + Utf8(type.type));
  for (const auto& [category, names] : listed) {
    EXPECT_TRUE(categories.count(category) != 0)
        << "docs/language.md marks a table of \"" << category << "\", which is no category";
  }
}

struct Example {
  size_t line;  // of the ```vell fence
  std::string program;
  std::string output;
};

// The text of the fenced block that opens at lines[i]; i moves past its end.
std::string FencedText(const std::vector<std::string>& lines, size_t& i) {
  std::string text;
  for (++i; i < lines.size() && lines[i] != "```"; ++i) text += lines[i] + "\n";
  return text;
}

std::vector<Example> RunnableExamples(const std::vector<std::string>& lines) {
  std::vector<Example> examples;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "```vell") continue;
    Example example{i + 1, FencedText(lines, i), {}};
    size_t j = i + 1;
    while (j < lines.size() && lines[j].empty()) ++j;
    if (j >= lines.size() || !lines[j].starts_with("```output")) continue;
    const bool noEol = lines[j] == "```output noeol";
    example.output = FencedText(lines, j);
    if (noEol && !example.output.empty()) example.output.pop_back();
    examples.push_back(std::move(example));
    i = j;
  }
  return examples;
}

// Runs the program with the console runner in an empty folder and returns
// what it printed.
std::string RunExample(const Example& example) {
  char pattern[] = "/tmp/vell-guide-XXXXXX";
  const char* dir = ::mkdtemp(pattern);
  if (dir == nullptr) return "(no folder for the example)";
  const fs::path folder(dir);
  std::ofstream(folder / "example.vell", std::ios::binary) << example.program;
  const std::string out = (folder / ".output").string();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(dir) != 0) ::_exit(126);
    const int in = ::open("/dev/null", O_RDONLY);
    const int to = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open("/dev/null", O_WRONLY);
    if (in < 0 || to < 0 || err < 0) ::_exit(126);
    ::dup2(in, 0);
    ::dup2(to, 1);
    ::dup2(err, 2);
    ::execl(VELL_RUNNER, VELL_RUNNER, "example.vell", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  if (child > 0) ::waitpid(child, &status, 0);
  std::ifstream printed(out, std::ios::binary);
  std::stringstream bytes;
  bytes << printed.rdbuf();
  fs::remove_all(folder);
  if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    return "(the runner failed) " + bytes.str();
  }
  return bytes.str();
}

TEST(LanguageGuide, RunnableExamplesPrintWhatTheGuideShows) {
  const std::vector<Example> examples = RunnableExamples(GuideLines());
  EXPECT_GT(examples.size(), 0u) << "docs/language.md shows no runnable example";
  for (const Example& example : examples) {
#ifndef VELL_RUNNER_DATABASES
    if (example.program.find("OPENDB") != std::string::npos) continue;
#endif
    EXPECT_EQ(RunExample(example), example.output)
        << "the example at docs/language.md line " << example.line;
  }
}

}  // namespace
