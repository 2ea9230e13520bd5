// The text-file service: whole files and single lines or name=value entries
// of them. Files are read by their byte-order mark (UTF-8, UTF-16LE,
// UTF-16BE), else in the locale's character set; they are written as UTF-16LE
// with a byte-order mark, or in the locale's character set without one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "core/interpreter.h"
#include "library/service_error.h"
#include "library/services.h"
#include "library/string_list.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace vell {
namespace {

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

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string ReadBytes(const std::string& file, std::u16string_view shown) {
  constexpr std::u16string_view kWhat = u"Cannot open file";
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) Fail(kWhat, shown, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) Fail(kWhat, shown, errno);
  if (S_ISDIR(info.st_mode)) Fail(kWhat, shown, EISDIR);
  if (!S_ISREG(info.st_mode)) {
    throw ServiceError(std::u16string(kWhat) + u" " + Quoted(shown) + u": not a regular file");
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(u"Cannot read file", shown, errno);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

void WriteBytes(const std::string& file, std::u16string_view shown, std::string_view bytes) {
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) Fail(u"Cannot create file", shown, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(u"Cannot write file", shown, errno);
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd.Release()) != 0) Fail(u"Cannot write file", shown, errno);
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

std::u16string DecodeText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return text::Utf8ToWide(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  return text::AnsiToWide(bytes);
}

std::string EncodeUtf16LittleEndian(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + text.size() * 2);
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

StringList LoadList(std::u16string_view path) {
  const std::string file = FilePath(path, u"Cannot open file");
  return StringList(DecodeText(ReadBytes(file, path)));
}

void SaveUnicode(std::u16string_view path, const StringList& list) {
  const std::string file = FilePath(path, u"Cannot create file");
  WriteBytes(file, path, EncodeUtf16LittleEndian(list.Text()));
}

bool IsExistingFile(std::u16string_view path) {
  const std::optional<std::string> file = paths::ResolveProgramPath(path);
  if (!file || file->empty()) return false;
  struct stat info {};
  return ::stat(file->c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void SetWideResult(Interpreter& interp, std::u16string_view text) {
  interp.requestSlots[1].SetItem(vellvar(text));
}

}  // namespace

void TextFileService(Interpreter& interp, int32_t service) {
  vellarray* slots = interp.requestSlots;
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
      // hold fails instead of turning into another name.
      const std::u16string path(slots[2].ItemWideText());
      const StringList list(text::AnsiToWide(slots[3].ItemText()));
      const std::string file = FilePath(path, u"Cannot create file");
      WriteBytes(file, path, text::WideToAnsi(list.Text()));
      break;
    }
    case ServiceCountFileLines: {
      const std::u16string path(slots[2].ItemWideText());
      interp.requestSlots[1].SetItem(vellvar(LoadList(path).Count()));
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
