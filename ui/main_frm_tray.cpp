// The notification icon and autorun.
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::Tray1Click() {}
void TMainFrm::MAutoRunClick() {}
void TMainFrm::TrayIconMouseDown() {}

}  // namespace lirvane
