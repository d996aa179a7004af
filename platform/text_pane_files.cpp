// Loading, saving and printing a pane.
#include <QFile>
#include <QPrinter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextDocument>

#include "platform/pane_text_codec.h"
#include "platform/print_document.h"
#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"
#include "platform/text_pane.h"
#include "platform/text_file_form.h"
#include "recode/line_breaks.h"
#include "recode/utf8_recode.h"

namespace lirvane {
namespace {

std::string ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw PaneFileError(file.errorString().toStdString());
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) throw PaneFileError(file.errorString().toStdString());
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

// The characters of `bytes` when they are wholly valid UTF-8 (overlong
// forms and surrogates are not); a byte-order mark in front is dropped.
std::optional<QString> DecodeStrictUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (decoder.hasError()) return std::nullopt;
  return text;
}

}  // namespace

TextFileForm TextPane::LoadFromFile(const QString& path, bool utf8_files) {
  std::string content = ReadWholeFile(path);
  TextFileForm form;
  if (rtf_mode_) {
    // Not valid rich text: the bytes are taken as plain text instead.
    if (std::optional<std::string> text = ReadRtfTextUtf8(content)) {
      SetUtf8Text(*text);
      return form;
    }
  }
  form.line_break = FirstLineBreak(content);
  if (utf8_files) {
    if (std::optional<QString> text = DecodeStrictUtf8(content)) {
      form.utf8 = true;
      form.byte_order_mark = StartsWithUtf8Bom(content);
      SetCharacters(*text);
      return form;
    }
  }
  SetText(content);
  return form;
}

void TextPane::SaveToFile(const QString& path, const TextFileForm& form) const {
  std::string content;
  if (rtf_mode_) {
    content =
        WriteRtfDocumentUtf8(Utf8Text(), PaneTextToBytes(font().family()), font().pointSize());
  } else if (form.utf8) {
    content = JoinLinesWith(Utf8Text(), form.line_break);
    if (form.byte_order_mark) content.insert(0, "\xEF\xBB\xBF");
  } else {
    content = JoinLinesWith(Text(), form.line_break);
  }
  // The old file is replaced only once the new content is wholly written.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw PaneFileError(file.errorString().toStdString());
  if (file.write(content.data(), static_cast<qint64>(content.size())) !=
          static_cast<qint64>(content.size()) ||
      !file.commit())
    throw PaneFileError(file.errorString().toStdString());
}

bool TextPane::Print(QPrinter& printer, const QString& title) const {
  printer.setDocName(title);
  QTextDocument copy;
  copy.setDefaultFont(font());
  copy.setPlainText(Characters());
  return PrintFullPage(copy, printer);
}

}  // namespace lirvane
