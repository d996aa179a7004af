// Loading, saving and printing a pane.
#include <QFile>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>

#include "platform/pane_text_codec.h"
#include "platform/print_document.h"
#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"
#include "platform/text_pane.h"
#include "recode/line_breaks.h"

namespace lirvane {
namespace {

std::string ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw PaneFileError(file.errorString().toStdString());
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw PaneFileError(file.errorString().toStdString());
  return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace

void TextPane::LoadFromFile(const QString& path) {
  std::string content = ReadWholeFile(path);
  if (rtf_mode_) {
    // Not valid rich text: the bytes are taken as plain text instead.
    if (std::optional<std::string> text = ReadRtfText(content)) content = std::move(*text);
  }
  SetText(content);
}

void TextPane::SaveToFile(const QString& path) const {
  const std::string content =
      rtf_mode_ ? WriteRtfDocument(Text(), PaneTextToBytes(font().family()), font().pointSize())
                : Text();
  // The old file is replaced only once the new content is wholly written.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw PaneFileError(file.errorString().toStdString());
  if (file.write(content.data(), static_cast<qint64>(content.size())) !=
          static_cast<qint64>(content.size()) ||
      !file.commit())
    throw PaneFileError(file.errorString().toStdString());
}

bool TextPane::Print(QPrinter& printer, const QString& title) const {
  printer.setDocName(title);
  QTextDocument copy;
  copy.setDefaultFont(font());
  copy.setPlainText(BytesToPaneText(Text()));
  return PrintFullPage(copy, printer);
}

}  // namespace lirvane
