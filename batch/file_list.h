// The files a folder command works on: the regular files named, and with
// -r every regular file under the folders named, in name order. Symbolic
// links met inside a folder, devices, FIFOs and sockets are passed over,
// as `find -type f` does; a link named on the command line is followed.
#pragma once

#include <string>
#include <vector>

namespace lirvane {

struct ListedItem {
  std::string path;     // as named, or the folder's path and the file's name
  bool folder = false;  // a folder, listed after what it holds
  std::string error;    // why the path cannot be worked on; empty when it can
};

// `with_folders`: the folders under the paths are listed too (after their
// contents), for renaming.
std::vector<ListedItem> ListFiles(const std::vector<std::string>& paths, bool recursive,
                                  bool with_folders);

}  // namespace lirvane
