#include "base/file_io.h"

#include <cerrno>
#include <fcntl.h>

#include <sys/stat.h>

#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lirvane {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

#ifdef _WIN32
int OpenRead(const std::filesystem::path& p) { return _wopen(p.c_str(), _O_RDONLY | _O_BINARY); }
int OpenWrite(const std::filesystem::path& p) {
  return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long ReadSome(int fd, char* b, size_t n) {
  return _read(fd, b, static_cast<unsigned>(n > (1u << 30) ? (1u << 30) : n));
}
long long WriteSome(int fd, const char* b, size_t n) {
  return _write(fd, b, static_cast<unsigned>(n > (1u << 30) ? (1u << 30) : n));
}
int SyncFd(int fd) { return _commit(fd); }
int CloseFd(int fd) { return _close(fd); }
int OpenNew(const std::filesystem::path& p) {
  return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int OpenExistingWrite(const std::filesystem::path& p) {
  return _wopen(p.c_str(), _O_WRONLY | _O_BINARY);
}
long long FileSize(int fd) {
  struct _stat64 st;
  return _fstat64(fd, &st) == 0 && (st.st_mode & _S_IFREG) ? st.st_size : -1;
}
#else
int OpenRead(const std::filesystem::path& p) { return ::open(p.c_str(), O_RDONLY | O_CLOEXEC); }
int OpenWrite(const std::filesystem::path& p) {
  return ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}
long long ReadSome(int fd, char* b, size_t n) { return ::read(fd, b, n); }
long long WriteSome(int fd, const char* b, size_t n) { return ::write(fd, b, n); }
int SyncFd(int fd) { return ::fsync(fd); }
int CloseFd(int fd) { return ::close(fd); }
int OpenNew(const std::filesystem::path& p) {
  return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
int OpenExistingWrite(const std::filesystem::path& p) {
  return ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
}
long long FileSize(int fd) {
  struct stat st;
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : -1;
}
#endif

}  // namespace

std::filesystem::path PathFromText(std::string_view name) {
#ifdef _WIN32
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
#else
  return std::filesystem::path(std::string(name));
#endif
}

std::string PathToText(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
  return path.string();
#endif
}

std::string IoFailureText(std::string_view operation, std::string_view file,
                          const std::error_code& error) {
  std::string text(operation);
  text += " \"";
  text += file;
  text += "\": ";
  text += error.message();
  return text;
}

InputFile::~InputFile() {
  if (fd_ >= 0) CloseFd(fd_);
}

std::error_code InputFile::Open(const std::filesystem::path& path) {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = OpenRead(path);
  return fd_ < 0 ? LastError() : std::error_code();
}

void InputFile::Close() {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = -1;
}

std::error_code InputFile::Read(char* buffer, size_t capacity, size_t& got) {
  got = 0;
  for (;;) {
    const long long n = ReadSome(fd_, buffer, capacity);
    if (n >= 0) {
      got = static_cast<size_t>(n);
      return {};
    }
    if (errno != EINTR) return LastError();
  }
}

size_t InputFile::ReadSizeHint(size_t largest) const {
  const long long size = FileSize(fd_);
  if (size < 0 || static_cast<unsigned long long>(size) >= largest) return largest;
  return size == 0 ? 1 : static_cast<size_t>(size);
}

std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& out) {
  out.clear();
  InputFile file;
  if (std::error_code error = file.Open(path)) return error;
  constexpr size_t kChunk = size_t{1} << 20;
  for (;;) {
    const size_t old_size = out.size();
    out.resize(old_size + kChunk);
    size_t got = 0;
    const std::error_code error = file.Read(out.data() + old_size, kChunk, got);
    out.resize(old_size + got);
    if (error) return error;
    if (got == 0) return {};
  }
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) CloseFd(fd_);
}

std::error_code OutputFile::Create(const std::filesystem::path& path) {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = OpenWrite(path);
  return fd_ < 0 ? LastError() : std::error_code();
}

std::error_code OutputFile::CreateUnique(const std::string& prefix,
                                         std::filesystem::path& created) {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = -1;
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device device;
  std::mt19937 random(device());
  std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
    created = PathFromText(name);
    fd_ = OpenNew(created);
    if (fd_ >= 0) return {};
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code OutputFile::OpenExisting(const std::filesystem::path& path) {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = OpenExistingWrite(path);
  return fd_ < 0 ? LastError() : std::error_code();
}

std::error_code WriteAllTo(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const long long n = WriteSome(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (n == 0) return std::make_error_code(std::errc::io_error);
    p += n;
    left -= static_cast<size_t>(n);
  }
  return {};
}

std::error_code OutputFile::Write(std::string_view bytes) { return WriteAllTo(fd_, bytes); }

std::error_code OutputFile::Close() {
  if (fd_ < 0) return {};  // closed already (or never opened)
  std::error_code error;
  if (CloseFd(fd_) != 0) error = LastError();
  fd_ = -1;
  return error;
}

std::error_code OutputFile::SyncAndClose() {
  std::error_code error;
  if (SyncFd(fd_) != 0) error = LastError();
  if (CloseFd(fd_) != 0 && !error) error = LastError();
  fd_ = -1;
  return error;
}

}  // namespace lirvane
