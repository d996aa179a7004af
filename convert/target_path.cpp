#include "convert/target_path.h"

#include <charconv>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lirvane {
namespace {

#ifndef _WIN32
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
#endif

}  // namespace

ResolvedTarget ResolveTarget(std::string_view name) {
  ResolvedTarget target;
  target.path = PathFromText(name);
#ifdef _WIN32
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target.path, error);
  if (!std::filesystem::exists(status))
    target.kind = ResolvedTarget::Kind::kNewFile;
  else if (std::filesystem::is_regular_file(status))
    target.kind = ResolvedTarget::Kind::kRegularFile;
  else
    target.kind = ResolvedTarget::Kind::kOther;
  return target;
#else
  // As many links as the system itself follows before it gives up.
  for (int hops = 0; hops < 40; ++hops) {
    if (const int fd = DescriptorOf(target.path.string()); fd >= 0) {
      target.kind = ResolvedTarget::Kind::kDescriptor;
      target.descriptor = fd;
      return target;
    }
    struct stat st;
    if (::lstat(target.path.c_str(), &st) != 0) {
      target.kind = ResolvedTarget::Kind::kNewFile;
      return target;
    }
    if (S_ISLNK(st.st_mode)) {
      std::error_code error;
      const std::filesystem::path link = std::filesystem::read_symlink(target.path, error);
      if (error) break;
      target.path = link.is_absolute() ? link : target.path.parent_path() / link;
      continue;
    }
    if (S_ISREG(st.st_mode)) {
      target.kind = ResolvedTarget::Kind::kRegularFile;
      target.kept = {static_cast<unsigned>(st.st_mode), static_cast<unsigned>(st.st_uid),
                     static_cast<unsigned>(st.st_gid)};
    } else if (S_ISDIR(st.st_mode)) {
      target.kind = ResolvedTarget::Kind::kOther;
    } else {
      target.kind = ResolvedTarget::Kind::kWriteInto;
    }
    return target;
  }
  // A loop of links: the name as given, which the rename then reports.
  target.path = PathFromText(name);
  target.kind = ResolvedTarget::Kind::kOther;
  return target;
#endif
}

}  // namespace lirvane
