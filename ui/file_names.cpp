#include "ui/file_names.h"

namespace lirvane {
namespace {

bool IsPathDelimiter(QChar c) {
#ifdef _WIN32
  return c == '/' || c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

}  // namespace

QString FolderPart(const QString& name) {
  for (qsizetype i = name.size() - 1; i >= 0; --i)
    if (IsPathDelimiter(name[i])) return name.left(i + 1);
  return {};
}

bool HasRtfEnding(const QString& name) {
  const qsizetype dot = name.lastIndexOf('.');
  if (dot < 0) return false;
  for (qsizetype i = dot + 1; i < name.size(); ++i)
    if (IsPathDelimiter(name[i])) return false;
  // Only ASCII letters are folded: QByteArray::toLower leaves others alone.
  return name.mid(dot).toLatin1().toLower() == ".rtf";
}

}  // namespace lirvane
