#include "schemes/scheme_file_location.h"

#include <system_error>

#include "base/executable_path.h"
#include "base/home_folder.h"
#include "schemes/scheme_file.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace lirvane {
namespace {

constexpr char kSchemeFileName[] = "circuits.dat";

bool IsFile(const std::filesystem::path& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

#ifndef _WIN32
bool FolderIsWritable(const std::filesystem::path& folder) {
  return !folder.empty() && ::access(folder.c_str(), W_OK) == 0;
}
#endif

}  // namespace

std::filesystem::path SchemeFileLocation::FileToRead() const {
  return !IsFile(file) && IsFile(starter) ? starter : file;
}

SchemeFileLocation ChooseSchemeFileLocation(const SchemeFilePlaces& places,
                                            bool executable_folder_writable) {
  const std::filesystem::path beside = places.executable_folder / kSchemeFileName;
  const bool installed = IsFile(places.starter_file);
  // An installed copy never writes into its bin folder, even when the
  // superuser runs it there.
  if (IsFile(beside) || (!installed && executable_folder_writable)) return {beside, {}, false};
  // Without a home folder there is nowhere to keep the user's schemes: the
  // starter is read, and saving fails with its own message.
  const std::filesystem::path file =
      places.data_home.empty() ? places.data_home : places.data_home / "lirvane" / kSchemeFileName;
  return {file, installed ? places.starter_file : std::filesystem::path(), true};
}

SchemeFilePlaces RunningSchemeFilePlaces() {
  const std::filesystem::path data = InstalledDataFolder();  // empty if the system cannot tell
  return {ExecutableFolder(), data.empty() ? data : data / "starter" / kSchemeFileName,
          DataHomeFolder()};
}

SchemeFileLocation FindSchemeFileLocation() {
#ifdef _WIN32
  // Windows copies keep the file beside the executable, as they always did.
  return {ExecutableFolder() / kSchemeFileName, {}, false};
#else
  const SchemeFilePlaces places = RunningSchemeFilePlaces();
  return ChooseSchemeFileLocation(places, FolderIsWritable(places.executable_folder));
#endif
}

bool SaveSchemes(SchemeTable& table, const SchemeFileLocation& location, MessageSink& sink) {
  if (location.in_data_home && !location.file.empty()) {
    // A folder that cannot be made shows up as the save's own failure.
    std::error_code ignored;
    std::filesystem::create_directories(location.file.parent_path(), ignored);
  }
  return SaveSchemes(table, location.file, sink);
}

}  // namespace lirvane
