#include "tests/differential/program_run.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "components/keywords/component_keywords.h"
#include "core/interpreter_state.h"
#include "core/reference_mode.h"
#include "library/library_builtins.h"
#include "platform/text_codec.h"
#include "tests/runner/console_host.h"
#ifdef VELL_DATABASES
#include "library/sql/database_manager.h"
#endif

namespace vell::differential {

namespace {

namespace fs = std::filesystem;

// The same seed for every run, so that RND draws alike in both modes.
constexpr int32_t kRandomSeed = 12345;

// The console host, ending the run after a budget of statements (each
// statement sends one pump request first) and counting them.
class BudgetHost final : public console::ConsoleHost {
 public:
  BudgetHost(std::FILE* out, std::FILE* prompts, std::FILE* in, int64_t budget)
      : ConsoleHost(out, prompts, in), budget_(budget) {
    pumpGate = nullptr;  // every pump is counted
  }

  void HandleHostRequest(Interpreter& interp) override {
    if (RequestSlots(interp)[0].ItemInt() == RequestPump) {
      if (++statements_ > budget_) SetRunState(interp, StateEnd);
      return;
    }
    ConsoleHost::HandleHostRequest(interp);
  }
  int64_t Statements() const { return statements_; }

 private:
  int64_t budget_;
  int64_t statements_ = 0;
};

// A stream that collects what is written to it.
class MemoryStream {
 public:
  MemoryStream() : file_(::open_memstream(&buffer_, &size_)) {
    if (file_ == nullptr) throw std::runtime_error("open_memstream failed");
  }
  ~MemoryStream() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(buffer_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  std::FILE* file() const { return file_; }
  // What was written since the last call.
  std::string Take() {
    std::fflush(file_);
    std::string written(buffer_ + taken_, size_ - taken_);
    taken_ = size_;
    return written;
  }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  size_t taken_ = 0;
  std::FILE* file_;
};

// A stream that reads the given text (an empty one reads nothing).
std::FILE* OpenInput(std::string& text) {
  if (text.empty()) return std::fopen("/dev/null", "r");
  return ::fmemopen(text.data(), text.size(), "r");
}

// A folder that is removed with everything in it when it goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(const fs::path& copyOf) {
    std::string pattern = (fs::temp_directory_path() / "vell-differential-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (!copyOf.empty()) {
      fs::copy(copyOf, path_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Runs in another working folder while it lives.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& to) : saved_(fs::current_path()) { fs::current_path(to); }
  ~WorkingFolder() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
  }
  WorkingFolder(const WorkingFolder&) = delete;
  WorkingFolder& operator=(const WorkingFolder&) = delete;

 private:
  fs::path saved_;
};

// A value as kind and contents, read without converting it.
void RecordValue(std::string& out, const vellvar& v) {
  switch (v.kind) {
    case KindInteger:
      out += "i:" + std::to_string(v.IntValue());
      break;
    case KindReal: {
      char digits[40];
      std::snprintf(digits, sizeof digits, "%.17g", v.RealValue());
      out += "r:";
      out += digits;
      break;
    }
    case KindNarrow:
      out += "n:'";
      out += v.NarrowView();
      out += "'";
      break;
    case KindWide:
      out += "w:'" + text::WideToUtf8(v.WideView()) + "'";
      break;
    default:
      out += "?:" + std::to_string(v.kind);
      break;
  }
}

// A node and its subtree, one line per node, indented by depth (without
// recursion: trees may be deep).
void RecordTree(std::string& out, const vellarray& root) {
  std::vector<std::pair<const vellarray*, int>> work{{&root, 0}};
  while (!work.empty()) {
    const auto [node, depth] = work.back();
    work.pop_back();
    out.append(size_t(depth) * 2, ' ');
    out += std::to_string(node->kind) + " ";
    RecordValue(out, node->Key());
    out += " = ";
    RecordValue(out, node->item);
    out += " (" + std::to_string(node->ChildCount()) + ")\n";
    for (int32_t i = node->ChildCount() - 1; i >= 0; --i)
      work.emplace_back(node->Child(i), depth + 1);
  }
}

void RecordState(std::string& out, const Interpreter& interp) {
  out += "-- run state " + std::to_string(interp.runState) + ", subtop " +
         std::to_string(interp.subTop) + ", last value ";
  RecordValue(out, interp.lastValue);
  out += "\n";
  for (int i = 0; i < kTableEntries && interp.globals[i].kind != NodeFree; ++i) {
    RecordTree(out, interp.globals[i]);
  }
  out += "-- request slots\n";
  for (int i = 0; i < kRequestSlotCount; ++i) RecordTree(out, interp.requestSlots[i]);
}

std::string RunIn(const ProgramRun& run, const fs::path& folder) {
  WorkingFolder inside(folder);
  MemoryStream output;
  MemoryStream prompts;
  std::string input = run.input;
  std::FILE* in = OpenInput(input);
  if (in == nullptr) throw std::runtime_error("cannot open the input");
  BudgetHost host(output.file(), prompts.file(), in, run.statementBudget);
  std::string record;

  InterpreterEntry(EntryCreate, &host, &host);
  Interpreter* interp = gInterpreter;
  if (interp == nullptr) throw std::runtime_error("no interpreter");
  interp->seed = kRandomSeed;
  RegisterLibraryBuiltins(*interp);
  RegisterComponentKeywords(*interp);
#ifdef VELL_DATABASES
  sql::InstallDatabaseManager(*interp);
#endif
  AppendCommandLine(*interp, u"vellrun");
  AppendCommandLine(*interp, run.fileName);
  for (const std::u16string& p : run.parameters) AppendCommandLine(*interp, p);
  SetProgramText(*interp, run.text);
  for (int i = 0; i < run.repeats; ++i) {
    InterpreterEntry(EntryRun);
    record += "== run " + std::to_string(i + 1) + "\n" + output.Take();
    record += "\n-- prompts\n" + prompts.Take();
    RecordState(record, *interp);
  }
  InterpreterEntry(EntryDestroy);
  record += "-- after the end\n" + output.Take();
  record += "-- statements " + std::to_string(host.Statements()) + "\n";
  std::fclose(in);
  return record;
}

}  // namespace

std::string RunAndRecord(const ProgramRun& run, bool reference) {
  const bool saved = ReferenceMode();
  SetReferenceMode(reference);
  std::string record;
  try {
    ScratchFolder folder(run.folder);
    record = RunIn(run, folder.path());
  } catch (...) {
    SetReferenceMode(saved);
    throw;
  }
  SetReferenceMode(saved);
  return record;
}

}  // namespace vell::differential
