// Paths as programs write them: backslashes as separators, and names that
// the lexer has upper-cased.
#include "paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "text_codec.h"

namespace vell::paths {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

std::u16string Folded(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = vell::text::WideToUpper(c);
  return folded;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// The one entry of folder whose name equals name but for case; empty when
// there is none or more than one.
std::string MatchIgnoringCase(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return {};
  const std::u16string wanted = Folded(vell::text::AnsiToWide(name));
  std::string match;
  int matches = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (Folded(vell::text::AnsiToWide(entryName)) == wanted) {
      match = entryName;
      ++matches;
    }
  }
  ::closedir(dir);
  return matches == 1 ? match : std::string();
}

}  // namespace

std::optional<std::string> ResolveProgramPath(std::u16string_view path) {
  std::u16string slashed(path);
  for (char16_t& c : slashed) {
    if (c == u'\\') c = u'/';
  }
  if (!vell::text::AnsiRoundTrips(slashed)) return std::nullopt;
  const std::string native = vell::text::WideToAnsi(slashed);
  if (native.empty() || Exists(native)) return native;

  std::vector<std::string> parts;
  size_t from = native[0] == '/' ? 1 : 0;
  for (;;) {
    const size_t slash = native.find('/', from);
    parts.push_back(native.substr(from, slash == std::string::npos ? std::string::npos : slash - from));
    if (slash == std::string::npos) break;
    from = slash + 1;
  }

  std::string resolved = native[0] == '/' ? "/" : "";
  bool searching = true;  // once a component cannot be found, the rest stays as spelled
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.empty()) {
      if (i + 1 == parts.size() && !resolved.empty() && resolved.back() != '/') resolved += '/';
      continue;
    }
    std::string next = Join(resolved, part);
    if (searching && part != "." && part != ".." && !Exists(next)) {
      const std::string match = MatchIgnoringCase(resolved, part);
      if (match.empty()) {
        searching = false;
      } else {
        next = Join(resolved, match);
      }
    }
    resolved = std::move(next);
  }
  return resolved;
}

}  // namespace vell::paths
