// Whether the system's own text encoding is UTF-8, as it is on nearly
// every Linux desktop. Windows keeps its ANSI code page for files, so
// there the answer is no.
#pragma once

namespace lirvane {

bool SystemEncodingIsUtf8();

}  // namespace lirvane
