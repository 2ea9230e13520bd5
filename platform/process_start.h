// Starting other programs and handing documents to the desktop, for RUN.
// Nothing here ever goes through a shell: a program receives exactly the
// arguments it is given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vell::process {

// Splits a parameter text the way Windows programs split their command line:
// blanks and tabs separate arguments; double quotes group (and are removed);
// inside quotes "" stands for one quote; 2n backslashes before a quote give n
// backslashes and the quote acts, 2n+1 give n backslashes and a literal quote;
// other backslashes are literal.
std::vector<std::u16string> SplitParameters(std::u16string_view parameters);

// What a file given to RUN names.
struct RunTarget {
  enum Kind {
    Missing,   // nothing to start or open
    Program,   // an executable file: path is the file-system path to start
    Document,  // an existing file that is not executable, or a folder: path is absolute
    Url,       // a URL such as http://..., mailto:...: path is the text as given
  };
  Kind kind = Missing;
  std::string path;  // bytes in the locale's character set (a URL: UTF-8)
};

// A text with a scheme of two or more characters and a colon is a URL (a
// one-letter scheme is a drive letter). A name containing a slash or a
// backslash is a path (backslashes are folder separators, and letter case
// need not match); any other name is looked up in PATH, and when it is not
// found there a document or folder of that name in the current folder is
// opened (a bare name never starts an executable of the current folder).
RunTarget LocateRunTarget(std::u16string_view file);

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts the program at path with these arguments (the program's own name
  // not included). wait: returns only when the program has ended; otherwise
  // the program runs on its own and leaves no zombie behind. True when the
  // program was started.
  virtual bool StartProgram(const std::string& path, const std::vector<std::string>& arguments,
                            bool wait) = 0;
  // Hands a document, a folder or a URL to the desktop's opener without
  // waiting; true when the opener took it.
  virtual bool OpenDocument(const RunTarget& target) = 0;
};

// Starts programs with fork and exec; has no desktop opener (OpenDocument
// answers false).
class PosixProcessStarter : public ProcessStarter {
 public:
  bool StartProgram(const std::string& path, const std::vector<std::string>& arguments,
                    bool wait) override;
  bool OpenDocument(const RunTarget& target) override;
};

// The starter in use: the installed one, or a PosixProcessStarter.
ProcessStarter& CurrentProcessStarter();
// Installs a starter that outlives every later use (null: the default);
// returns the one installed before.
ProcessStarter* SetProcessStarter(ProcessStarter* starter);

}  // namespace vell::process
