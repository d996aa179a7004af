// View options of the main window.
#include "platform/text_pane.h"
#include "ui/main_frm.h"

#include <QAction>

namespace lirvane {

void TMainFrm::WrapSMClick() {
  WrapSM->setChecked(!MemoF2->WordWrap());
  MemoF2->SetWordWrap(WrapSM->isChecked());
}

}  // namespace lirvane
