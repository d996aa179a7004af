#include "platform/pane_text_codec.h"

#include "recode/cp1251_unicode.h"

namespace lirvane {

QString BytesToPaneText(std::string_view bytes) {
  QString text;
  text.resize(static_cast<qsizetype>(bytes.size()));
  QChar* out = text.data();
  qsizetype n = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b == '\r') {
      out[n++] = u'\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      out[n++] = QChar(static_cast<char16_t>(Cp1251ToUnicode(b)));
    }
  }
  text.truncate(n);
  return text;
}

std::string PaneTextToBytes(QStringView text) {
  bool exact = true;
  return PaneTextToBytes(text, exact);
}

std::string PaneTextToBytes(QStringView text, bool& exact) {
  exact = true;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()) + 64);
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t u = text[i].unicode();
    if (u == u'\r') {
      // CR LF and a lone CR are one break each, like LF: text from the
      // clipboard or a drop may carry any of them.
      bytes.append("\r\n");
      if (i + 1 < size && text[i + 1] == u'\n') ++i;
    } else if (u == u'\n' || u == 0x2029 || u == 0x2028) {
      bytes.append("\r\n");
      if (u == 0x2028) exact = false;
    } else {
      const int b = UnicodeToCp1251(u);
      bytes.push_back(b < 0 ? '?' : static_cast<char>(b));
      if (b < 0) exact = false;
      // A character beyond 16 bits is one "?", not one for each half.
      if (QChar::isHighSurrogate(u) && i + 1 < size && text[i + 1].isLowSurrogate()) ++i;
    }
  }
  return bytes;
}

QString WithPaneLineBreaks(QString text) {
  QChar* chars = text.data();
  const qsizetype size = text.size();
  qsizetype n = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t u = chars[i].unicode();
    if (u == u'\r') {
      chars[n++] = u'\n';
      if (i + 1 < size && chars[i + 1] == u'\n') ++i;
    } else if (u == 0x2029) {
      chars[n++] = u'\n';
    } else {
      chars[n++] = chars[i];
    }
  }
  text.truncate(n);
  return text;
}

QString Utf8ToPaneText(std::string_view utf8) {
  return WithPaneLineBreaks(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string PaneTextToUtf8(QStringView text) {
  // Breaks as CR LF first, so that the one conversion to UTF-8 needs no
  // pass of its own over the result.
  QString joined;
  joined.reserve(text.size() + 64);
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t u = text[i].unicode();
    if (u == u'\r') {
      joined.append(u"\r\n");
      if (i + 1 < size && text[i + 1] == u'\n') ++i;
    } else if (u == u'\n' || u == 0x2029) {
      joined.append(u"\r\n");
    } else {
      joined.append(text[i]);
    }
  }
  const QByteArray utf8 = joined.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

}  // namespace lirvane
