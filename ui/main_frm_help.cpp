// About, help and the web site.

#include "platform/dialogs.h"
#include "ui/about_box.h"
#include "ui/go_to_web.h"
#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui/main_frm.h"

namespace lirvane {

void TMainFrm::CreateHelp() {
  InstallHelpKeyFilter();  // installing it again does nothing
  GoToWeb1 = new TGoToWeb(this);
  GoToWeb1->setObjectName("GoToWeb1");
  GoToWeb1->SetUrl(QString::fromLatin1(kMakerSiteUrl));
}

void TMainFrm::AboutSMClick() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AppDialogs().ExecModal(*AboutBox);
}

void TMainFrm::HelpSMClick() { ShowHelpTopic(kHelpContentsTopic); }

// A browser that cannot be found or started shows nothing.
void TMainFrm::VelkorHomepage1Click() { GoToWeb1->OpenUrl(); }

}  // namespace lirvane
