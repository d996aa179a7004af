// Files, the recent-file list and printing.
#include "platform/text_pane.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::NewSMClick() {
  MemoBk->Clear();
  MemoF->Clear();
  MemoF2->Clear();
}

void TMainFrm::OpenSMClick() {}
void TMainFrm::SaveSMClick() {}
void TMainFrm::N4Click() {}
void TMainFrm::ShowPrintMClick() {}
void TMainFrm::PrintSMClick() {}
void TMainFrm::ToolbarButton9721Click() { LoadFileFromBox(); }
void TMainFrm::FileBoxKeyPress() { LoadFileFromBox(); }
void TMainFrm::LoadFileFromBox() {}
bool TMainFrm::NotInRecentList(const QString&) const { return true; }

}  // namespace lirvane
