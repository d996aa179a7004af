#include "base/file_replace.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace lirvane {
namespace {

class RefusalCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "file replacement"; }
  std::string message(int value) const override {
    switch (static_cast<ReplaceRefusal>(value)) {
      case ReplaceRefusal::kForeignLink:
        return "another user's symbolic link in a shared sticky folder";
      case ReplaceRefusal::kForeignFifo:
        return "another user's FIFO in a shared sticky folder";
      case ReplaceRefusal::kForeignFile:
        return "another user's file in a shared sticky folder";
    }
    return "refused";
  }
};

}  // namespace

const std::error_category& ReplaceRefusalCategory() {
  static const RefusalCategory category;
  return category;
}

std::error_code make_error_code(ReplaceRefusal refusal) {
  return {static_cast<int>(refusal), ReplaceRefusalCategory()};
}

std::error_code ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes) {
  FileReplacement replacement;
  if (std::error_code error = replacement.Open(target)) return error;
  if (std::error_code error = replacement.Write(bytes)) return error;
  return replacement.Commit();
}

#ifdef _WIN32
namespace {

std::error_code LastError() { return {static_cast<int>(GetLastError()), std::system_category()}; }

}  // namespace

std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return LastError();
}

std::error_code CopyOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (CopyFileW(from.c_str(), to.c_str(), /*bFailIfExists=*/FALSE)) return {};
  return LastError();
}
#else
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return error;
}

std::error_code CopyOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::error_code error;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  return error;
}
#endif

}  // namespace lirvane
