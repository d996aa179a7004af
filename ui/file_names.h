// What the file commands need to know of a file name.
#pragma once

#include <QString>

namespace lirvane {

// The part of a name up to and including its last path delimiter; empty
// when it has none.
QString FolderPart(const QString& name);

// Whether the name's ending (from its last "." after the last path
// delimiter) is ".rtf", ASCII letters in any case.
bool HasRtfEnding(const QString& name);

}  // namespace lirvane
