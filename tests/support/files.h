// File helpers for tests on real folders.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vell::test {

// Writes a file (and its folders); reads a file's bytes ("" when missing).
void PutFile(const std::filesystem::path& path, std::string_view bytes);
std::string FileBytes(const std::filesystem::path& path);

}  // namespace vell::test
