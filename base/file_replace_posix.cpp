// FileReplacement on POSIX systems: every step relative to an open folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <deque>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/file_replace.h"
#include "base/removal_on_signal.h"

namespace lirvane {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ~Fd() { Reset(); }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes, reporting a failed close.
  std::error_code Close() {
    const int fd = Release();
    return fd >= 0 && ::close(fd) != 0 ? LastError() : std::error_code();
  }

 private:
  int fd_ = -1;
};

// The descriptor number in "/proc/self/fd/N" or "/dev/fd/N", or -1. Such a
// name stands for a file this process already has open (the shell's
// redirection of standard output, a pipe); writing through that same open
// file keeps its position and append mode.
int DescriptorOf(const std::string& path) {
  for (std::string_view prefix : {"/proc/self/fd/", "/dev/fd/"}) {
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
    int number = -1;
    const char* begin = path.data() + prefix.size();
    const char* end = path.data() + path.size();
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error == std::errc() && stop == end) return number;
  }
  return -1;
}

// As many links as the kernel itself follows before it gives up.
constexpr int kMostLinks = 40;

// The kernel's protected_* rules at their strictest: in a sticky folder
// that others may write, only what belongs to the caller or to the
// folder's owner is trusted. Links are judged in world-writable folders,
// FIFOs and files in group-writable ones too.
bool Trusted(const struct stat& folder, const struct stat& node) {
  return node.st_uid == ::geteuid() || node.st_uid == folder.st_uid;
}
bool SharedForLinks(const struct stat& folder) {
  return (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
}
bool SharedForFiles(const struct stat& folder) {
  return (folder.st_mode & S_ISVTX) && (folder.st_mode & (S_IWOTH | S_IWGRP));
}

// A symbolic link's text, read from the link itself (open as O_PATH).
std::error_code ReadLink(int link, std::string& text) {
  text.assign(4096, '\0');
  const ssize_t length = ::readlinkat(link, "", text.data(), text.size());
  if (length < 0) return LastError();
  if (static_cast<size_t>(length) >= text.size())
    return std::make_error_code(std::errc::filename_too_long);
  text.resize(static_cast<size_t>(length));
  return {};
}

// Opens the folder `path` names, relative to `base` (-1: the current
// folder), one name at a time, so that every link on the way is judged as
// the kernel's protected_symlinks would judge it. `hops` counts the links
// followed, with those of the caller.
std::error_code OpenFolder(int base, const std::string& path, int& hops, Fd& folder) {
  const auto root = [] { return Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)); };
  Fd current = !path.empty() && path[0] == '/' ? root()
               : base >= 0                     ? Fd(::fcntl(base, F_DUPFD_CLOEXEC, 0))
                                               : Fd(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current) return LastError();
  std::deque<std::string> names;
  const auto add_front = [&names](const std::string& text) {
    std::vector<std::string> parts;
    for (size_t at = 0; at <= text.size();) {
      const size_t slash = std::min(text.find('/', at), text.size());
      if (slash > at) parts.push_back(text.substr(at, slash - at));
      at = slash + 1;
    }
    names.insert(names.begin(), parts.begin(), parts.end());
  };
  add_front(path);
  while (!names.empty()) {
    const std::string name = names.front();
    names.pop_front();
    if (name == ".") continue;
    Fd node(::openat(current.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!node) return LastError();
    struct stat node_stat, folder_stat;
    if (::fstat(node.get(), &node_stat) != 0 || ::fstat(current.get(), &folder_stat) != 0)
      return LastError();
    if (S_ISLNK(node_stat.st_mode)) {
      if (SharedForLinks(folder_stat) && !Trusted(folder_stat, node_stat))
        return make_error_code(ReplaceRefusal::kForeignLink);
      if (++hops > kMostLinks)
        return std::make_error_code(std::errc::too_many_symbolic_link_levels);
      std::string link;
      if (std::error_code error = ReadLink(node.get(), link)) return error;
      if (!link.empty() && link[0] == '/') {
        current = root();
        if (!current) return LastError();
      }
      add_front(link);
      continue;
    }
    if (!S_ISDIR(node_stat.st_mode)) return std::make_error_code(std::errc::not_a_directory);
    current = std::move(node);
  }
  folder = std::move(current);
  return {};
}

std::string RandomLetters(int count) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device device;
  std::mt19937 random(device());
  std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
  std::string letters;
  for (int i = 0; i < count; ++i) letters += kLetters[pick(random)];
  return letters;
}

// An unnamed file for the text that will be written over a file in place:
// in the target's folder when the caller may write there (same device),
// else in the temporary-files folder. Nothing of it stays on any exit.
Fd UnnamedFile(int folder) {
  int fd = ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return Fd(fd);
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string where = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  fd = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return Fd(fd);
  // A file system without unnamed files: a named one, unlinked at once.
  std::string name = where + "/lirvane-XXXXXX";
  SignalsHeldBack held;
  fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return Fd(fd);
}

// Copies the extended attributes of `from` onto `to`, each as far as the
// process may. File capabilities are left behind: a write drops them.
void CopyExtendedAttributes(int from, int to) {
  ssize_t size = ::flistxattr(from, nullptr, 0);
  if (size <= 0) return;
  std::string names(static_cast<size_t>(size), '\0');
  size = ::flistxattr(from, names.data(), names.size());
  if (size <= 0) return;
  names.resize(static_cast<size_t>(size));
  std::vector<char> value;
  for (size_t at = 0; at < names.size();) {
    const std::string name(names.c_str() + at);
    at += name.size() + 1;
    if (name.empty() || name == "security.capability") continue;
    const ssize_t length = ::fgetxattr(from, name.c_str(), nullptr, 0);
    if (length < 0) continue;
    value.resize(static_cast<size_t>(length) + 1);
    const ssize_t got = ::fgetxattr(from, name.c_str(), value.data(), value.size());
    if (got < 0) continue;
    (void)::fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(got), 0);
  }
}

// Whether a new file of this process can be given the owner and group of
// `old`. Where it cannot (another user's file the caller may write), the
// old file is written in place, as by `>`, and stays its owner's.
bool CanGiveAway(const struct stat& old) {
  if (::geteuid() == 0) return true;
  if (old.st_uid != ::geteuid()) return false;
  if (old.st_gid == ::getegid()) return true;
  std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
  for (int i = 0; i < count; ++i)
    if (groups[static_cast<size_t>(i)] == old.st_gid) return true;
  return false;
}

// Owner first (a change of owner clears the set-id bits), then the mode,
// then the attributes: an ACL set last keeps the mode's group bits in step.
std::error_code KeepWhatTheOldFileHad(int old_fd, const struct stat& old, int fd) {
  struct stat own;
  if (::fstat(fd, &own) != 0) return LastError();
  if (own.st_uid != old.st_uid || own.st_gid != old.st_gid) {
    // Only root may give a file away; a group of the caller's may be kept.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
      (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  if (::fchmod(fd, old.st_mode & 07777) != 0) return LastError();
  CopyExtendedAttributes(old_fd, fd);
  return {};
}

}  // namespace

struct FileReplacement::State {
  Way way = Way::kNewFile;
  Fd folder;              // the folder holding the target (O_PATH)
  std::string name;       // the target's name in it
  std::string given;      // the target as named
  std::string shown;      // the target as a path, links followed
  struct stat old {};     // the file replaced (kReplace, kInPlace)
  Fd target;              // the target open for writing (kReplace, kInPlace, kWriteInto)
  Fd file;                // what the text goes into
  std::string temporary;  // the temporary file's name in the folder
  bool armed = false;     // the temporary file is there and not yet renamed
  bool rename_failed = false;

  std::string FolderText() const {
    const size_t slash = shown.rfind('/');
    return slash == std::string::npos ? std::string() : shown.substr(0, slash + 1);
  }

  std::error_code Resolve(const std::filesystem::path& named);
  std::error_code CreateTemporary();
  std::error_code CommitRenamed();
  std::error_code CommitInPlace();
  void RemoveTemporary();
};

std::error_code FileReplacement::State::Resolve(const std::filesystem::path& named) {
  std::string path = named.string();  // relative to `base`
  given = path;
  shown = path;
  Fd base;  // the folder `path` is relative to; none: the current folder
  for (int hops = 0; hops <= kMostLinks; ++hops) {
    if (const int fd = DescriptorOf(shown); fd >= 0) {
      target.Reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
      if (!target) return LastError();
      way = Way::kWriteInto;
      return {};
    }
    const size_t slash = path.rfind('/');
    const std::string folder_part = slash == std::string::npos ? "."
                                    : slash == 0               ? "/"
                                                               : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
      return std::make_error_code(std::errc::is_a_directory);

    if (std::error_code error = OpenFolder(base ? base.get() : -1, folder_part, hops, folder))
      return error;
    struct stat folder_stat;
    if (::fstat(folder.get(), &folder_stat) != 0) return LastError();

    Fd node(::openat(folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!node) {
      if (errno != ENOENT) return LastError();
      way = Way::kNewFile;
      return {};
    }
    struct stat node_stat;
    if (::fstat(node.get(), &node_stat) != 0) return LastError();

    if (S_ISLNK(node_stat.st_mode)) {
      if (SharedForLinks(folder_stat) && !Trusted(folder_stat, node_stat))
        return make_error_code(ReplaceRefusal::kForeignLink);
      std::string link;
      if (std::error_code error = ReadLink(node.get(), link)) return error;
      // The link's own text is read relative to the folder that holds it.
      shown = !link.empty() && link[0] == '/' ? link : FolderText() + link;
      path = link;
      base = std::move(folder);
      continue;
    }
    if (S_ISDIR(node_stat.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    const bool fifo = S_ISFIFO(node_stat.st_mode);
    const bool regular = S_ISREG(node_stat.st_mode);
    if ((fifo || regular) && SharedForFiles(folder_stat) && !Trusted(folder_stat, node_stat))
      return make_error_code(fifo ? ReplaceRefusal::kForeignFifo : ReplaceRefusal::kForeignFile);

    // The kernel's own verdict on writing it; a FIFO waits for its reader
    // here, as it does for the shell. A regular file is opened without
    // waiting: were it swapped for a FIFO meanwhile, the check below tells.
    target.Reset(
        ::openat(folder.get(), name.c_str(),
                 O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | (regular ? O_NONBLOCK : 0)));
    if (!target) return LastError();
    struct stat opened;
    if (::fstat(target.get(), &opened) != 0) return LastError();
    if (opened.st_dev != node_stat.st_dev || opened.st_ino != node_stat.st_ino)
      return make_error_code(ReplaceRefusal::kForeignFile);  // swapped meanwhile
    if (!regular) {
      way = Way::kWriteInto;
      return {};
    }
    old = opened;
    way = opened.st_nlink > 1 || !CanGiveAway(opened) ? Way::kInPlace : Way::kReplace;
    return {};
  }
  return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

std::error_code FileReplacement::State::CreateTemporary() {
  constexpr size_t kLongestName = 255;
  constexpr size_t kAdded = 4 + 6;  // "~tmp" and the run's own characters
  std::string prefix =
      name.size() > kLongestName - kAdded ? name.substr(0, kLongestName - kAdded) : name;
  prefix += "~tmp";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = prefix + RandomLetters(6);
    SignalsHeldBack held;
    const int fd = ::openat(folder.get(), candidate.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      file.Reset(fd);
      temporary = candidate;
      ArmRemovalOnSignal(folder.get(), temporary.c_str());
      armed = true;
      return {};
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code FileReplacement::State::CommitRenamed() {
  // Replacing a file waits until the new text is on the device, so that a
  // crash leaves the old text or the new one. A new file has nothing to
  // lose, and the conversion runs at copying speed.
  std::error_code error;
  if (way == Way::kReplace) {
    error = KeepWhatTheOldFileHad(target.get(), old, file.get());
    if (!error && ::fsync(file.get()) != 0) error = LastError();
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(file.get(), 0666 & ~mask) != 0) error = LastError();
  }
  if (const std::error_code closed = file.Close(); !error) error = closed;
  target.Reset();
  if (error) return error;
  SignalsHeldBack held;
  if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
    // The complete text stays in the temporary file.
    error = LastError();
    rename_failed = true;
  }
  armed = false;
  DisarmRemovalOnSignal();
  return error;
}

std::error_code FileReplacement::State::CommitInPlace() {
  // The whole text is ready; it goes over the old one from the start, and
  // the file is cut to its length.
  off_t length = ::lseek(file.get(), 0, SEEK_CUR);
  if (length < 0 || ::lseek(file.get(), 0, SEEK_SET) != 0) return LastError();
  if (::lseek(target.get(), 0, SEEK_SET) != 0) return LastError();
  std::vector<char> buffer(size_t{256} << 10);
  for (off_t left = length; left > 0;) {
    const ssize_t got = ::read(file.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (got == 0) return std::make_error_code(std::errc::io_error);
    if (std::error_code error = WriteAllTo(target.get(), {buffer.data(), static_cast<size_t>(got)}))
      return error;
    left -= got;
  }
  if (::ftruncate(target.get(), length) != 0 || ::fsync(target.get()) != 0) return LastError();
  file.Reset();
  return target.Close();
}

void FileReplacement::State::RemoveTemporary() {
  if (!armed) return;
  file.Reset();
  SignalsHeldBack held;
  ::unlinkat(folder.get(), temporary.c_str(), 0);
  armed = false;
  DisarmRemovalOnSignal();
}

FileReplacement::FileReplacement() : state_(std::make_unique<State>()) {}

FileReplacement::~FileReplacement() { state_->RemoveTemporary(); }

std::error_code FileReplacement::Open(const std::filesystem::path& target) {
  State& s = *state_;
  if (std::error_code error = s.Resolve(target)) return error;
  switch (s.way) {
    case Way::kWriteInto:
      s.file = std::move(s.target);
      return {};
    case Way::kReplace:
      // A folder the caller may not write still lets a file in it be
      // written in place.
      if (std::error_code error = s.CreateTemporary()) {
        if (error != std::errc::permission_denied && error != std::errc::operation_not_permitted)
          return error;
        s.way = Way::kInPlace;
      } else {
        return {};
      }
      [[fallthrough]];
    case Way::kInPlace:
      s.file = UnnamedFile(s.folder.get());
      return s.file ? std::error_code() : LastError();
    case Way::kNewFile:
      return s.CreateTemporary();
  }
  return {};
}

FileReplacement::Way FileReplacement::way() const { return state_->way; }

std::string FileReplacement::WrittenName() const {
  const State& s = *state_;
  if (s.way == Way::kNewFile || s.way == Way::kReplace) return s.FolderText() + s.temporary;
  return s.given;
}

std::string FileReplacement::TargetName() const { return state_->shown; }

std::error_code FileReplacement::Write(std::string_view bytes) {
  return WriteAllTo(state_->file.get(), bytes);
}

std::error_code FileReplacement::Commit() {
  State& s = *state_;
  switch (s.way) {
    case Way::kWriteInto:
      return s.file.Close();
    case Way::kInPlace:
      return s.CommitInPlace();
    case Way::kNewFile:
    case Way::kReplace:
      break;
  }
  return s.CommitRenamed();
}

bool FileReplacement::RenameFailed() const { return state_->rename_failed; }

}  // namespace lirvane
