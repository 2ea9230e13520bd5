// One run of a program in the console host, in-process, with everything a
// program can leave behind written down: its output, its INPUT prompts, the
// number of statements it started and, after the run, every global name
// with its whole tree. Two runs that must behave alike give equal records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vell::differential {

struct ProgramRun {
  std::u16string text;                   // the program
  std::u16string fileName = u"p.vell";   // what COMMANDLINE shows as the program file
  std::vector<std::u16string> parameters;
  std::string input;                     // lines that INPUT reads
  std::filesystem::path folder;          // copied as the working folder; empty: an empty one
  int64_t statementBudget = 200'000;     // the run is ended (as END does) after this many
  int repeats = 1;                       // runs of the same text one after the other
};

// Runs the program once per repeat, in a fresh copy of its folder, with the
// reference mode on or off, and returns the record of the runs.
std::string RunAndRecord(const ProgramRun& run, bool reference);

}  // namespace vell::differential
