// "Авто": detect what garbled the source text and undo it.
#include <QStatusBar>
#include <QToolButton>

#include "platform/busy_cursor.h"
#include "platform/glyphs.h"
#include "platform/pane_text_codec.h"
#include "platform/text_pane.h"
#include "recode/detect_describe.h"
#include "recode/detect_recoding.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::AutoWin1Click() {
  BusyCursor busy;
  const std::string text = MemoF->Text();
  const Detection found = DetectRecoding(text);
  // With nothing to judge by, the result pane keeps what it had.
  if (found.judged) MemoF2->SetText(ApplyRecodingChain(text, found.chain));
  // The status line appears with the first verdict.
  if (!findChild<QStatusBar*>("StatusBar")) statusBar()->setObjectName("StatusBar");
  statusBar()->showMessage(BytesToPaneText(DescribeDetection(found)));
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
