// Key paths and value names as the store compares them: without regard to
// letter case, the way the Windows registry does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lirvane {

// The comparison form of a path or name. ASCII letters fold to lower case;
// so do Cyrillic letters, read as UTF-8 when the text is valid UTF-8 and as
// Windows-1251 otherwise. Only for comparing: never shown or stored as the
// name itself.
std::string FoldStoreName(std::string_view name);

// The path's components without empty ones, so "\A\\B\" and "A\B" both give
// {"A", "B"}; the root itself gives none.
std::vector<std::string_view> SplitStorePath(std::string_view path);

// The components joined by single backslashes, without a leading one:
// "\SOFTWARE\\Velkor\" gives "SOFTWARE\Velkor"; the root gives "".
std::string NormalizeStorePath(std::string_view path);

}  // namespace lirvane
