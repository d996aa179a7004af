// About, help and the web site.
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::AboutSMClick() {}
void TMainFrm::HelpSMClick() {}
void TMainFrm::VelkorHomepage1Click() {}

}  // namespace lirvane
