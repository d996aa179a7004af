// Renaming that never replaces: the rename fails when the new name is
// taken, so a file repaired into a name that exists cannot remove another.
#pragma once

#include <filesystem>
#include <system_error>

namespace lirvane {

// std::errc::file_exists when `to` exists.
std::error_code RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace lirvane
