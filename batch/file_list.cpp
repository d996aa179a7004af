#include "batch/file_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/file_io.h"

namespace fs = std::filesystem;

namespace lirvane {
namespace {

void ListFolder(const fs::path& folder, const std::string& shown, bool with_folders,
                std::vector<ListedItem>& out) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) {
    out.push_back({shown, true, error.message()});
    return;
  }
  // Each name with its type, which the listing itself mostly tells (no
  // lstat for each of thousands of files).
  // Names as text: sorting paths compares them part by part, at many
  // times the cost.
  std::vector<std::pair<std::string, fs::file_type>> names;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    // A link is not followed; symlink_status would ask the system again.
    std::error_code type_error;
    fs::file_type type = fs::file_type::symlink;
    if (!it->is_symlink(type_error) && !type_error)
      type = it->is_directory(type_error)      ? fs::file_type::directory
             : it->is_regular_file(type_error) ? fs::file_type::regular
                                               : fs::file_type::unknown;
    if (!type_error) names.emplace_back(PathToText(it->path().filename()), type);  // else gone
  }
  if (error) out.push_back({shown, true, error.message()});
  std::sort(names.begin(), names.end());
  const std::string prefix = shown.ends_with('/') ? shown : shown + "/";
  for (const auto& [name, type] : names) {
    if (type == fs::file_type::directory)
      ListFolder(folder / PathFromText(name), prefix + name, with_folders, out);
    else if (type == fs::file_type::regular)
      out.push_back({prefix + name, false, {}});
  }
  if (with_folders) out.push_back({shown, true, {}});
}

}  // namespace

std::vector<ListedItem> ListFiles(const std::vector<std::string>& paths, bool recursive,
                                  bool with_folders) {
  std::vector<ListedItem> out;
  for (const std::string& shown : paths) {
    const fs::path path = PathFromText(shown);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
      out.push_back(
          {shown, false,
           (error ? error : std::make_error_code(std::errc::no_such_file_or_directory)).message()});
    } else if (fs::is_directory(status)) {
      if (recursive)
        ListFolder(path, shown, with_folders, out);
      else
        out.push_back({shown, true, "is a folder (-r works through folders)"});
    } else if (fs::is_regular_file(status)) {
      out.push_back({shown, false, {}});
    } else {
      out.push_back({shown, false, "is not a regular file"});
    }
  }
  return out;
}

}  // namespace lirvane
