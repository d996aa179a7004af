// View options of the main window: the recoding buttons' look, the three
// toolbars, the right pane's font size and font, word wrap and the
// save-settings switch.
//
// The check items are checkable QActions, the radio ones in exclusive-
// optional groups. Qt inverts an item's check mark before it emits
// triggered, so each handler below finds the mark already inverted and
// reads the new state from it.
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QToolButton>
#include <algorithm>
#include <array>

#include "platform/busy_cursor.h"
#include "platform/dialogs.h"
#include "platform/dock_toolbar.h"
#include "platform/text_pane.h"
#include "ui/main_frm.h"

namespace lirvane {

namespace {

constexpr std::array<const char*, 11> kButtonCaptions = {
    "Koi->Win", "Win->Koi", "Alt->Win", "Win->Alt", "Koi>>Win", "Iso->Win",
    "Mac->Win", "Uni->Win", "По схеме", "Utf->Win", "Win->Utf",
};

// Heights of the recoding buttons by what they show.
constexpr int kTextHeight = 21;
constexpr int kPictureHeight = 28;
constexpr int kBothHeight = 42;

// Showing or hiding CodeBar or FileBar puts both back on their start-up
// rows, which the dragging of this run may have changed.
void ApplyRememberedRows(TMainFrm& frm) {
  if (!frm.CodeBar->isHidden()) frm.CodeBar->SetRow(frm.Options().code_bar_row);
  if (!frm.FileBar->isHidden()) frm.FileBar->SetRow(frm.Options().file_bar_row);
}

// The right pane's whole text takes `points`; the pane keeps it as its
// font, so text that later replaces the content has it too.
void SetResultSize(TMainFrm& frm, QAction* item, int points) {
  if (!item->isChecked()) return;  // the checked item chosen again: size stays
  BusyCursor busy;
  QApplication::processEvents();  // once, so that the hourglass shows
  frm.MemoF2->SelectAllText();
  frm.MemoF2->SetSelectionPointSize(std::max(points, 1));
  frm.MemoF2->SelectNothing();
}

}  // namespace

void TMainFrm::SetButtonView() {
  QToolButton* const buttons[] = {Btn0, Btn1, Btn2, Btn3, Btn4, Btn5,
                                  Btn6, Btn7, Btn8, Btn9, Btn10};
  const bool pictures = options_.show_pictures;
  const bool captions = options_.show_captions;
  for (size_t i = 0; i < std::size(buttons); ++i) {
    buttons[i]->setIcon(pictures && i < ImageList.size() ? QIcon(ImageList[i]) : QIcon());
  }
  for (size_t i = 0; i < std::size(buttons); ++i) {
    buttons[i]->setText(captions ? QString::fromUtf8(kButtonCaptions[i]) : QString());
  }
  if (!pictures && !captions) return SetAutoButtonView();  // neither: heights and marks stay
  const int height = pictures && captions ? kBothHeight : pictures ? kPictureHeight : kTextHeight;
  const Qt::ToolButtonStyle style = pictures && captions ? Qt::ToolButtonTextUnderIcon
                                    : pictures           ? Qt::ToolButtonIconOnly
                                                         : Qt::ToolButtonTextOnly;
  for (QToolButton* button : buttons) {
    button->setToolButtonStyle(style);
    button->setFixedHeight(height);
  }

  (pictures && captions ? MSboth : pictures ? MSpic : MStext)->setChecked(true);
  SetAutoButtonView();
}

void TMainFrm::MSbothClick() {
  if (MSboth->isChecked()) {
    options_.show_pictures = true;
    options_.show_captions = true;
  }
  // Also when it was unchecked: the view checks the item of the options.
  SetButtonView();
}

void TMainFrm::MSpicClick() {
  if (MSpic->isChecked()) {
    options_.show_pictures = true;
    options_.show_captions = false;
  }
  SetButtonView();
}

void TMainFrm::MStextClick() {
  if (MStext->isChecked()) {
    options_.show_pictures = false;
    options_.show_captions = true;
  }
  SetButtonView();
}

void TMainFrm::MShowCodeClick() {
  CodeBar->setVisible(MShowCode->isChecked());
  ApplyRememberedRows(*this);
}

void TMainFrm::MShowFileClick() {
  FileBar->setVisible(MShowFile->isChecked());
  ApplyRememberedRows(*this);
}

void TMainFrm::MShowListClick() { PathBar->setVisible(MShowList->isChecked()); }

QMenu* TMainFrm::createPopupMenu() {
  auto* menu = new QMenu(this);  // the caller deletes it once it has been used
  menu->addActions({MShowCode, MShowFile, MShowList});
  return menu;
}

// A floating toolbar closed by its own button has hidden itself.
void TMainFrm::CodeBarClose() { MShowCode->setChecked(false); }
void TMainFrm::FileBarClose() { MShowFile->setChecked(false); }
void TMainFrm::PathBarClose() { MShowList->setChecked(false); }

void TMainFrm::WrapSMClick() {
  WrapSM->setChecked(!MemoF2->WordWrap());
  MemoF2->SetWordWrap(WrapSM->isChecked());
}

// Sizes are reckoned from the normal size every time, so they never add up.
void TMainFrm::LageFontClick() { SetResultSize(*this, LageFont, options_.normal_font_size + 2); }
void TMainFrm::NormalFontClick() { SetResultSize(*this, NormalFont, options_.normal_font_size); }
void TMainFrm::SmallFontClick() { SetResultSize(*this, SmallFont, options_.normal_font_size - 2); }

void TMainFrm::SelFontClick() {
  // The dialog opens on the base font, whatever size or font the text has
  // been given since.
  const std::optional<QFont> chosen = AppDialogs().ChooseFont(this, MemoF2->BaseFont());
  if (!chosen) return;
  BusyCursor busy;
  QApplication::processEvents();
  // A font given in pixels has no point size; the normal size then stays.
  const int points = chosen->pointSize() > 0 ? chosen->pointSize() : options_.normal_font_size;
  MemoF2->SelectAllText();
  MemoF2->SetSelectionFontName(chosen->family());
  MemoF2->SetSelectionPointSize(points);
  MemoF2->SelectNothing();
  options_.normal_font_size = points;
  options_.normal_font_name = chosen->family();
}

// Qt has already inverted the mark; the option is read at shutdown.
void TMainFrm::MSaveOptClick() {}

// The next open and save follow the mark; what the panes hold stays.
void TMainFrm::MUtf8FilesClick() { options_.utf8_files = MUtf8Files->isChecked(); }

}  // namespace lirvane
