// The text pane: a plain-text editor that holds any text. The recoding
// commands read and write it as Windows-1251 byte strings, lines joined by
// CR LF (Text, SetText: a character Windows-1251 has no byte for reads as
// "?"); the whole text also goes out and comes in as UTF-8 (Utf8Text,
// SetUtf8Text) or as the characters themselves (Characters, SetCharacters)
// with nothing lost.
//
// A pane that is never shown (the remembered text, the swap buffer) keeps
// only what it was given, bytes or characters, so moving large texts
// through it costs a copy.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "platform/text_file_form.h"

class QPrinter;

namespace lirvane {

// A file could not be read or written; what() says why.
class PaneFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TextPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  enum class Storage { kDocument, kBuffer };

  explicit TextPane(Storage storage = Storage::kDocument, QWidget* parent = nullptr);

  // Windows-1251 bytes, lines joined by CR LF.
  std::string Text() const;
  void SetText(std::string_view text);
  void Clear() { SetText({}); }

  // UTF-8, lines joined by CR LF; any line break is taken.
  std::string Utf8Text() const;
  void SetUtf8Text(std::string_view utf8);

  // The characters, each line break as '\n'; any line break is taken.
  QString Characters() const;
  void SetCharacters(const QString& text);

  // Takes the other pane's whole text as it stands, every character kept.
  void CopyContentsFrom(const TextPane& other);

  // Exchanges the whole contents of two panes without copying the texts;
  // each pane keeps its own font.
  void SwapContents(TextPane& other);

  std::string SelectedText() const;
  // Replaces the selection, or inserts at the caret when nothing is selected.
  void ReplaceSelection(std::string_view text);
  // The same with characters (a paste), every character kept.
  void ReplaceSelectionCharacters(const QString& text);
  void SelectAllText();
  // The selection becomes empty with the caret at the start of the text.
  void SelectNothing();

  void CopySelectionToClipboard() const;
  void CutSelectionToClipboard();

  bool WordWrap() const;
  void SetWordWrap(bool on);

  // Character size (points) and font name of the selected characters. With
  // the whole text selected (or no text at all) the pane's text font
  // changes, so text that later replaces the content keeps it.
  void SetSelectionPointSize(int points);
  void SetSelectionFontName(const QString& name);

  // The font the pane got at start-up; the font commands leave it alone.
  QFont BaseFont() const { return base_font_; }
  void SetBaseFont(const QFont& font);

  // Rich-text mode: on only for one load or one save.
  bool RtfMode() const { return rtf_mode_; }
  void SetRtfMode(bool on) { rtf_mode_ = on; }

  // Replace the content with a file's / write the content to a file; throw
  // PaneFileError on failure. Plain mode keeps the bytes as they are (lines
  // end in CR LF on saving); RTF mode reads and writes a rich-text document,
  // every character kept.
  //
  // With `utf8_files`, a file that is wholly valid UTF-8 is read as UTF-8
  // (a byte-order mark in front is dropped) and any other as bytes. The
  // load says how the file was written; saving in plain mode writes the
  // given form: UTF-8 or bytes, its byte-order mark and its line break.
  TextFileForm LoadFromFile(const QString& path, bool utf8_files = false);
  void SaveToFile(const QString& path, const TextFileForm& form = {}) const;

  // Prints the whole content in its fonts over the printer's full page;
  // false when the job failed.
  bool Print(QPrinter& printer, const QString& title) const;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  using Contents = std::variant<std::string, QString>;  // bytes or characters
  Contents WholeContents() const;
  void SetWholeContents(const Contents& contents);

  Storage storage_;
  // kBuffer: the whole text, as bytes or as characters, as it was given.
  Contents buffer_;
  mutable std::optional<std::string> cache_;  // kDocument: bytes of the document
  // The cached bytes stand for the document's characters exactly, so a copy
  // of them is a copy of the text.
  mutable bool cache_exact_ = false;
  bool rtf_mode_ = false;
  QFont base_font_;
};

}  // namespace lirvane
