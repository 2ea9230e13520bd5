// vell_differential: runs programs twice, once in the reference mode (every
// cache and index of the interpreter left out) and once as usual, and fails
// when anything the two runs leave behind differs: output, prompts, the
// number of statements, the globals' trees.
//
//   vell_differential corpus PATH...      every program given, and every
//                                         .vell file in a folder given
//   vell_differential generate [--seed N] [--count N] [--seconds N] [--save DIR]
//                                         random programs (see program_generator.h)
//   vell_differential show SEED           prints the program generated from SEED
//
// A difference is printed with the program, and generated programs that
// differ are saved under --save (default: the current folder).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/vellarray.h"
#include "platform/memory.h"
#include "platform/text_codec.h"
#include "platform/text_files.h"
#include "tests/differential/program_generator.h"
#include "tests/differential/program_run.h"

namespace fs = std::filesystem;
using vell::differential::GeneratedProgram;
using vell::differential::ProgramGenerator;
using vell::differential::ProgramRun;
using vell::differential::RunAndRecord;

namespace {

// The line where two records part, with a little around it.
void ShowDifference(const std::string& reference, const std::string& fast) {
  std::istringstream a(reference), b(fast);
  std::string la, lb;
  int line = 1;
  for (;; ++line) {
    const bool ga = static_cast<bool>(std::getline(a, la));
    const bool gb = static_cast<bool>(std::getline(b, lb));
    if (!ga && !gb) return;
    if (ga != gb || la != lb) {
      std::cerr << "  first difference at record line " << line << ":\n"
                << "  reference: " << (ga ? la.substr(0, 300) : "(end)") << "\n"
                << "  usual:     " << (gb ? lb.substr(0, 300) : "(end)") << "\n";
      return;
    }
  }
}

bool Compare(const ProgramRun& run, const std::string& what) {
  const std::string reference = RunAndRecord(run, true);
  const std::string fast = RunAndRecord(run, false);
  if (reference == fast) return true;
  std::cerr << "DIFFERENT: " << what << "\n";
  ShowDifference(reference, fast);
  return false;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::u16string> ReadParameters(const fs::path& path) {
  std::vector<std::u16string> parameters;
  if (!fs::exists(path)) return parameters;
  std::istringstream lines(ReadFile(path));
  for (std::string line; std::getline(lines, line);) {
    parameters.push_back(vell::text::Utf8ToWide(line));
  }
  return parameters;
}

// A program file as the program tests run it: NAME.in is its input and
// NAME.args its parameters, one a line.
ProgramRun CorpusProgram(const fs::path& file) {
  ProgramRun run;
  run.text = vell::text::DecodeMarkedText(ReadFile(file));
  run.fileName = vell::text::Utf8ToWide(file.filename().string());
  fs::path input = file;
  input.replace_extension(".in");
  if (fs::exists(input)) run.input = ReadFile(input);
  fs::path parameters = file;
  parameters.replace_extension(".args");
  run.parameters = ReadParameters(parameters);
  run.folder = file.parent_path();
  return run;
}

int RunCorpus(const std::vector<std::string>& paths) {
  std::vector<fs::path> files;
  for (const std::string& p : paths) {
    if (fs::is_directory(p)) {
      for (const auto& entry : fs::directory_iterator(p)) {
        if (entry.is_regular_file() && entry.path().extension() == ".vell") {
          files.push_back(entry.path());
        }
      }
    } else {
      files.emplace_back(p);
    }
  }
  int failed = 0;
  for (const fs::path& file : files) {
    if (!Compare(CorpusProgram(fs::absolute(file)), file.string())) ++failed;
  }
  std::cout << files.size() << " programs, " << failed << " different\n";
  return failed == 0 ? 0 : 1;
}

struct GenerateOptions {
  uint64_t seed = 1;
  long count = -1;      // -1: as many as the time allows
  double seconds = 30;  // at most this long
  fs::path save = ".";
};

int RunGenerated(const GenerateOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  long done = 0;
  int failed = 0;
  for (uint64_t seed = options.seed;; ++seed) {
    if (options.count >= 0 && done >= options.count) break;
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    if (spent.count() >= options.seconds) break;
    ProgramGenerator generator(seed);
    const GeneratedProgram program = generator.Generate();
    ProgramRun run;
    run.text = program.text;
    run.input = program.input;
    run.statementBudget = 20'000;
    run.repeats = seed % 4 == 0 ? 2 : 1;  // a second run sees the first one's globals
    ++done;
    if (Compare(run, "generated program, seed " + std::to_string(seed))) continue;
    ++failed;
    const fs::path saved = options.save / ("differential-" + std::to_string(seed) + ".vell");
    std::ofstream(saved, std::ios::binary) << vell::text::WideToUtf8(program.text);
    std::cerr << "  saved as " << saved.string() << "\n";
    if (failed >= 5) break;
  }
  std::cout << done << " generated programs from seed " << options.seed << ", " << failed
            << " different\n";
  return failed == 0 ? 0 : 1;
}

int Usage() {
  std::cerr << "usage: vell_differential corpus PATH...\n"
               "       vell_differential generate [--seed N] [--count N] [--seconds N] "
               "[--save DIR]\n"
               "       vell_differential show SEED\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Programs that outgrow this end as they would in the window, only sooner.
  // Nodes are counted, alike in both modes, and run out long before the
  // memory does, whose use differs by what each mode keeps.
  vell::SetMemoryBudget(std::size_t(512) << 20);
  vell::vellarray::SetNodeBudget(2'000'000);
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  try {
    if (command == "corpus") {
      return RunCorpus(std::vector<std::string>(argv + 2, argv + argc));
    }
    if (command == "show" && argc == 3) {
      ProgramGenerator generator(std::strtoull(argv[2], nullptr, 10));
      std::cout << vell::text::WideToUtf8(generator.Generate().text);
      return 0;
    }
    if (command == "generate") {
      GenerateOptions options;
      for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--seed") options.seed = std::strtoull(value, nullptr, 10);
        else if (option == "--count") options.count = std::strtol(value, nullptr, 10);
        else if (option == "--seconds") options.seconds = std::strtod(value, nullptr);
        else if (option == "--save") options.save = value;
        else return Usage();
      }
      return RunGenerated(options);
    }
  } catch (const std::exception& e) {
    std::cerr << "vell_differential: " << e.what() << "\n";
    return 2;
  }
  return Usage();
}
