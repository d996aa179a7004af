// View options of the main window.
#include <QAction>

#include "platform/text_pane.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::SetButtonView() {}
void TMainFrm::MSbothClick() {}
void TMainFrm::MSpicClick() {}
void TMainFrm::MStextClick() {}
void TMainFrm::MShowCodeClick() {}
void TMainFrm::MShowFileClick() {}
void TMainFrm::MShowListClick() {}
void TMainFrm::CodeBarClose() {}
void TMainFrm::FileBarClose() {}
void TMainFrm::PathBarClose() {}
void TMainFrm::LageFontClick() {}
void TMainFrm::NormalFontClick() {}
void TMainFrm::SmallFontClick() {}
void TMainFrm::SelFontClick() {}
void TMainFrm::MSaveOptClick() {}

void TMainFrm::WrapSMClick() {
  WrapSM->setChecked(!MemoF2->WordWrap());
  MemoF2->SetWordWrap(WrapSM->isChecked());
}

}  // namespace lirvane
