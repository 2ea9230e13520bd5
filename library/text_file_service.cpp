// The text-file service: whole files and single lines or name=value entries
// of them. Files are read by their byte-order mark (UTF-8, UTF-16LE,
// UTF-16BE), else in the locale's character set; they are written as UTF-16LE
// with a byte-order mark, or in the locale's character set without one.
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/interpreter.h"
#include "library/service_error.h"
#include "library/services.h"
#include "library/string_list.h"
#include "platform/file_reading.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "platform/text_files.h"

namespace vell {
namespace {

// The largest text a value holds, in bytes.
constexpr int64_t kMaxFileBytes = kMaxTextBytes;

std::u16string Reason(int error) { return text::AnsiToWide(std::strerror(error)); }

std::u16string Quoted(std::u16string_view path) {
  std::u16string quoted = u"\"";
  quoted += path;
  quoted += u"\"";
  return quoted;
}

[[noreturn]] void Fail(std::u16string_view what, std::u16string_view path, int error) {
  throw ServiceError(std::u16string(what) + u" " + Quoted(path) + u": " + Reason(error));
}

std::string FilePath(std::u16string_view path, std::u16string_view what) {
  if (path.empty()) Fail(what, path, ENOENT);
  std::optional<std::string> resolved = paths::ResolveProgramPath(path);
  if (!resolved || resolved->empty()) {
    throw ServiceError(std::u16string(what) + u" " + Quoted(path) +
                       u": the name cannot be written in the system character set");
  }
  return *resolved;
}


std::string ReadBytes(const std::string& file, std::u16string_view shown) {
  constexpr std::u16string_view kWhat = u"Cannot open file";
  std::string bytes;
  // No text a value holds comes from a file larger than the largest text.
  const files::ReadOutcome outcome = files::ReadRegularFile(file, kMaxFileBytes, bytes);
  switch (outcome.failed) {
    case files::ReadFailure::None:
      return bytes;
    case files::ReadFailure::Open:
      Fail(kWhat, shown, outcome.error);
    case files::ReadFailure::NotRegular:
      throw ServiceError(std::u16string(kWhat) + u" " + Quoted(shown) + u": not a regular file");
    case files::ReadFailure::TooLarge:
      throw ServiceError(std::u16string(kWhat) + u" " + Quoted(shown) + u": the file is too large");
    case files::ReadFailure::Read:
      break;
  }
  Fail(u"Cannot read file", shown, outcome.error);
}

// Writes a whole file so that a failure leaves the old one as it was.
void WriteBytes(const std::string& file, std::u16string_view shown, std::string_view bytes) {
  files::ReplaceRequest request;
  request.size = static_cast<int64_t>(bytes.size());
  request.fill = [bytes](int fd) { return files::WriteAll(fd, bytes); };
  const files::ReplaceOutcome outcome = files::ReplaceFileContents(file, request);
  if (outcome.failed == files::ReplaceStep::Create) Fail(u"Cannot create file", shown, outcome.error);
  if (!outcome.ok()) Fail(u"Cannot write file", shown, outcome.error);
}

StringList LoadList(std::u16string_view path) {
  const std::string file = FilePath(path, u"Cannot open file");
  return StringList(text::DecodeMarkedText(ReadBytes(file, path)));
}

void SaveUnicode(std::u16string_view path, const StringList& list) {
  const std::string file = FilePath(path, u"Cannot create file");
  WriteBytes(file, path, text::EncodeUtf16LeWithMark(list.Text()));
}

bool IsExistingFile(std::u16string_view path) {
  const std::optional<std::string> file = paths::ResolveProgramPath(path);
  if (!file || file->empty()) return false;
  struct stat info {};
  return ::stat(file->c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void SetWideResult(Interpreter& interp, std::u16string_view text) {
  RequestSlots(interp)[1].SetItem(vellvar(text));
}

}  // namespace

void TextFileService(Interpreter& interp, int32_t service) {
  vellarray* slots = RequestSlots(interp);
  switch (service) {
    case ServiceReadFile: {
      const std::u16string path(slots[2].ItemWideText());
      SetWideResult(interp, LoadList(path).Text());
      break;
    }
    case ServiceWriteFile: {
      const std::u16string path(slots[2].ItemWideText());
      SaveUnicode(path, StringList(slots[3].ItemWideText()));
      break;
    }
    case ServiceWriteAnsiFile: {
      // The path is checked as wide text, so a name the character set cannot
      // hold fails instead of turning into another name; the slot is read as
      // narrow text all the same and keeps that kind, like the text's slot.
      const std::u16string path(slots[2].ItemWideText());
      slots[2].ItemText();
      const StringList list(text::AnsiToWide(slots[3].ItemText()));
      const std::string file = FilePath(path, u"Cannot create file");
      WriteBytes(file, path, text::WideToAnsi(list.Text()));
      break;
    }
    case ServiceCountFileLines: {
      const std::u16string path(slots[2].ItemWideText());
      RequestSlots(interp)[1].SetItem(vellvar(LoadList(path).Count()));
      break;
    }
    case ServiceReadFileLine: {
      const std::u16string path(slots[2].ItemWideText());
      const int32_t index = slots[3].ItemInt();
      const StringList list = LoadList(path);
      SetWideResult(interp, list.Get(index));
      break;
    }
    case ServiceReadFileValue: {
      const std::u16string path(slots[2].ItemWideText());
      const std::u16string name(slots[3].ItemWideText());
      SetWideResult(interp, LoadList(path).Value(name));
      break;
    }
    case ServiceWriteFileValue: {
      const std::u16string path(slots[2].ItemWideText());
      const std::u16string name(slots[3].ItemWideText());
      const std::u16string value(slots[4].ItemWideText());
      if (!IsExistingFile(path)) break;
      StringList list = LoadList(path);
      list.SetValue(name, value);
      SaveUnicode(path, list);
      break;
    }
    default:
      break;  // not a text-file operation: slot 1 keeps the number
  }
}

}  // namespace vell
