// Paths as programs write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vell::paths {

// A path from a program as a file-system path: backslashes become slashes,
// the text goes through the locale's character set, and where a component
// does not exist as spelled but exactly one entry of its folder matches it
// case-insensitively, that entry is used (identifiers arrive upper-cased).
// Empty when the path cannot be represented in the locale's character set.
std::optional<std::string> ResolveProgramPath(std::u16string_view path);

}  // namespace vell::paths
