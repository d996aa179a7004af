// About, help and the web site.

#include "platform/dialogs.h"
#include "ui/about_box.h"
#include "ui/go_to_web.h"
#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui/main_frm.h"

namespace lirvane {

TGoToWeb* TMainFrm::MakeMakerSiteLink(TMainFrm* owner) {
  auto* link = new TGoToWeb(owner);
  link->setObjectName("GoToWeb1");
  link->SetUrl(QString::fromLatin1(kMakerSiteUrl));
  return link;
}

bool TMainFrm::SetUpHelp() {
  InstallHelpKeyFilter();
  return true;
}

void TMainFrm::AboutSMClick() {
  if (!AboutBox) AboutBox = new TAboutBox(this);
  AppDialogs().ExecModal(*AboutBox);
}

void TMainFrm::HelpSMClick() { ShowHelpTopic(kHelpContentsTopic); }

// A browser that cannot be found or started shows nothing.
void TMainFrm::VelkorHomepage1Click() { GoToWeb1->OpenUrl(); }

}  // namespace lirvane
