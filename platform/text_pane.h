// The text pane: a plain-text editor whose contents are read and written as
// Windows-1251 byte strings, lines joined by CR LF.
//
// A pane that is never shown (the remembered text, the swap buffer) keeps
// only its bytes, so moving large texts through it costs a copy.
#pragma once

#include <QFont>
#include <QPlainTextEdit>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

  std::string Text() const;
  void SetText(std::string_view text);
  void Clear() { SetText({}); }

  // Exchanges the whole contents of two panes without copying the texts;
  // each pane keeps its own font.
  void SwapContents(TextPane& other);

  std::string SelectedText() const;
  // Replaces the selection, or inserts at the caret when nothing is selected.
  void ReplaceSelection(std::string_view text);
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
  // end in CR LF on saving); RTF mode reads and writes a rich-text document.
  void LoadFromFile(const QString& path);
  void SaveToFile(const QString& path) const;

  // Prints the whole content in its fonts over the printer's full page;
  // false when the job failed.
  bool Print(QPrinter& printer, const QString& title) const;

 protected:
  bool event(QEvent* event) override;

 private:
  Storage storage_;
  std::string buffer_;                       // kBuffer: the whole text
  mutable std::optional<std::string> cache_;  // kDocument: bytes of the document
  bool rtf_mode_ = false;
  QFont base_font_;
};

}  // namespace lirvane
