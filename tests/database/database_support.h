// An interpreter with the library and a database manager, running programs
// in a temporary folder of its own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "library/library_builtins.h"
#include "library/sql/database_manager.h"
#include "platform/text_codec.h"
#include "tests/support/recording_host.h"

namespace vell::test {

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vell-database-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder = pattern;
    previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    Start();
  }
  void TearDown() override {
    vell.reset();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }

  // A fresh interpreter (the previous one is destroyed first).
  void Start() {
    vell.reset();
    vell = std::make_unique<TestInterpreter>();
    RegisterLibraryBuiltins(vell->interp());
    sql::InstallDatabaseManager(vell->interp());
  }

  // What the program printed, as UTF-8.
  std::string Run(std::u16string_view program) { return Utf8(vell->Run(program)); }

  // The messages of failed services since the last run started, joined by " / ".
  std::string Errors() {
    std::string out;
    for (const auto& m : vell->host.serviceErrors.messages) out += (out.empty() ? "" : " / ") + Utf8(m);
    return out;
  }

  bool Exists(const std::string& name) { return std::filesystem::exists(folder + "/" + name); }

  std::unique_ptr<TestInterpreter> vell;
  std::string folder;
  std::filesystem::path previous;
};

}  // namespace vell::test
