#include "platform/text_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/pane_text_codec.h"
#include "recode/line_breaks.h"

namespace lirvane {

TextPane::TextPane(Storage storage, QWidget* parent) : QPlainTextEdit(parent), storage_(storage) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  base_font_ = font();
  connect(document(), &QTextDocument::contentsChanged, this, [this] { cache_.reset(); });
}

std::string TextPane::Text() const {
  if (storage_ == Storage::kBuffer) {
    if (const auto* bytes = std::get_if<std::string>(&buffer_)) return *bytes;
    return PaneTextToBytes(std::get<QString>(buffer_));
  }
  if (!cache_) cache_ = PaneTextToBytes(document()->toRawText(), cache_exact_);
  return *cache_;
}

void TextPane::SetText(std::string_view text) {
  if (storage_ == Storage::kBuffer) {
    buffer_ = std::string(text);
    return;
  }
  setPlainText(BytesToPaneText(text));
  // What the document now holds, line breaks rewritten; knowing it here
  // spares the next Text() a pass over the document.
  cache_ = NormalizeLineBreaks(text);
  cache_exact_ = true;
}

std::string TextPane::Utf8Text() const {
  if (storage_ == Storage::kDocument) return PaneTextToUtf8(document()->toRawText());
  return PaneTextToUtf8(Characters());
}

void TextPane::SetUtf8Text(std::string_view utf8) { SetCharacters(Utf8ToPaneText(utf8)); }

QString TextPane::Characters() const {
  if (storage_ == Storage::kBuffer) {
    if (const auto* bytes = std::get_if<std::string>(&buffer_)) return BytesToPaneText(*bytes);
    return std::get<QString>(buffer_);
  }
  return WithPaneLineBreaks(document()->toRawText());
}

void TextPane::SetCharacters(const QString& text) {
  if (storage_ == Storage::kBuffer) {
    buffer_ = WithPaneLineBreaks(text);
    return;
  }
  setPlainText(WithPaneLineBreaks(text));
}

TextPane::Contents TextPane::WholeContents() const {
  if (storage_ == Storage::kBuffer) return buffer_;
  // Bytes when they say it all: a text of Windows-1251 characters moves as
  // its (often cached) bytes.
  std::string bytes = Text();
  if (cache_exact_) return bytes;
  return Characters();
}

void TextPane::SetWholeContents(const Contents& contents) {
  if (const auto* bytes = std::get_if<std::string>(&contents)) {
    SetText(*bytes);
  } else {
    SetCharacters(std::get<QString>(contents));
  }
}

void TextPane::CopyContentsFrom(const TextPane& other) { SetWholeContents(other.WholeContents()); }

void TextPane::SwapContents(TextPane& other) {
  if (storage_ == Storage::kBuffer || other.storage_ == Storage::kBuffer) {
    const Contents mine = WholeContents();
    CopyContentsFrom(other);
    other.SetWholeContents(mine);
    return;
  }
  // An editor deletes a previous document it owns, so both are released
  // before they change places, then each is owned by its new editor.
  QTextDocument* mine = document();
  QTextDocument* theirs = other.document();
  disconnect(mine, nullptr, this, nullptr);
  disconnect(theirs, nullptr, &other, nullptr);
  mine->setParent(nullptr);
  theirs->setParent(nullptr);
  setDocument(theirs);
  other.setDocument(mine);
  theirs->setParent(this);
  mine->setParent(&other);
  for (TextPane* pane : {this, &other}) {
    pane->document()->setDefaultFont(pane->font());
    connect(pane->document(), &QTextDocument::contentsChanged, pane,
            [pane] { pane->cache_.reset(); });
  }
  std::swap(cache_, other.cache_);
  std::swap(cache_exact_, other.cache_exact_);
}

std::string TextPane::SelectedText() const {
  if (storage_ == Storage::kBuffer) return {};
  return PaneTextToBytes(textCursor().selectedText());
}

void TextPane::ReplaceSelection(std::string_view text) {
  if (storage_ == Storage::kBuffer) {
    if (auto* bytes = std::get_if<std::string>(&buffer_)) {
      bytes->append(text);
    } else {
      std::get<QString>(buffer_).append(BytesToPaneText(text));
    }
    return;
  }
  QTextCursor cursor = textCursor();
  cursor.insertText(BytesToPaneText(text));
  setTextCursor(cursor);
}

void TextPane::ReplaceSelectionCharacters(const QString& text) {
  if (storage_ == Storage::kBuffer) {
    buffer_ = Characters() + WithPaneLineBreaks(text);
    return;
  }
  QTextCursor cursor = textCursor();
  cursor.insertText(WithPaneLineBreaks(text));
  setTextCursor(cursor);
}

void TextPane::SelectAllText() {
  if (storage_ == Storage::kDocument) selectAll();
}

void TextPane::SelectNothing() {
  if (storage_ == Storage::kBuffer) return;
  QTextCursor cursor = textCursor();
  cursor.movePosition(QTextCursor::Start);
  setTextCursor(cursor);
}

void TextPane::CopySelectionToClipboard() const {
  if (storage_ == Storage::kBuffer) return;
  // The characters as the pane shows them, line breaks as the platform's.
  QString text = textCursor().selectedText();
  text.replace(QChar(0x2029), u'\n');
  QApplication::clipboard()->setText(text);
}

void TextPane::CutSelectionToClipboard() {
  if (storage_ == Storage::kBuffer) return;
  CopySelectionToClipboard();
  textCursor().removeSelectedText();
}

bool TextPane::WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }

void TextPane::SetWordWrap(bool on) {
  setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

namespace {

bool CoversWholeDocument(const QTextCursor& cursor, const QTextDocument& document) {
  if (document.isEmpty()) return true;
  return cursor.selectionStart() == 0 && cursor.selectionEnd() >= document.characterCount() - 1;
}

}  // namespace

void TextPane::SetSelectionPointSize(int points) {
  if (storage_ == Storage::kBuffer || points < 1) return;
  const QTextCursor cursor = textCursor();
  if (CoversWholeDocument(cursor, *document())) {
    QFont f = font();
    f.setPointSize(points);
    setFont(f);
    return;
  }
  QTextCharFormat format;
  format.setFontPointSize(points);
  QTextCursor(cursor).mergeCharFormat(format);
}

void TextPane::SetSelectionFontName(const QString& name) {
  if (storage_ == Storage::kBuffer || name.isEmpty()) return;
  const QTextCursor cursor = textCursor();
  if (CoversWholeDocument(cursor, *document())) {
    QFont f = font();
    f.setFamily(name);
    setFont(f);
    return;
  }
  QTextCharFormat format;
  format.setFontFamilies({name});
  QTextCursor(cursor).mergeCharFormat(format);
}

void TextPane::SetBaseFont(const QFont& font) {
  base_font_ = font;
  setFont(font);
}

bool TextPane::event(QEvent* event) {
  // The window's menu commands own their keys (Ctrl+C, Ctrl+V, Shift+Ins,
  // Ctrl+A, ...): the pane gives up the override so the command runs, and
  // keys that no command claims still reach the pane as ordinary presses.
  if (event->type() == QEvent::ShortcutOverride) {
    event->ignore();
    return false;
  }
  return QPlainTextEdit::event(event);
}

void TextPane::keyPressEvent(QKeyEvent* event) {
  // Shift+Enter would put a line separator (U+2028) into the text: it looks
  // like a line break but is none to other programs reading a saved file.
  // It breaks the line as Enter does.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ShiftModifier)) {
    QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                    event->text(), event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QPlainTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace lirvane
