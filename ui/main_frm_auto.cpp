// "Авто": detect what garbled the source text and undo it.
#include <QStatusBar>
#include <QToolButton>

#include "platform/busy_cursor.h"
#include "platform/glyphs.h"
#include "platform/text_pane.h"
#include "recode/repair.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::AutoWin1Click() {
  BusyCursor busy;
  // The left pane's text as it stands, as characters: a repair is judged on
  // what the text says, not on the bytes the recoding commands see.
  // So "Ïðèâåò" or a text with 😀 in it are judged whole.
  const Repair repair = RepairText(MemoF->Utf8Text());
  // The result pane always gets this text's verdict, also when that is the
  // text unchanged, so it never shows an earlier, unrelated result.
  MemoF2->SetUtf8Text(repair.text);
  // The status line appears with the first verdict.
  if (!findChild<QStatusBar*>("StatusBar")) statusBar()->setObjectName("StatusBar");
  statusBar()->showMessage(QString::fromUtf8(repair.description));
}

void TMainFrm::SetAutoButtonView() {
  const bool pictures = options_.show_pictures;
  const bool captions = options_.show_captions;
  BtnAuto->setIcon(pictures ? QIcon(AutoRecodingPicture()) : QIcon());
  BtnAuto->setText(captions ? QString::fromUtf8(kAutoCaption) : QString());
  if (!pictures && !captions) return;
  BtnAuto->setToolButtonStyle(Btn0->toolButtonStyle());
  BtnAuto->setFixedHeight(Btn0->maximumHeight());
}

}  // namespace lirvane
