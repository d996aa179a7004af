// The start-up's part in the desktop integration: the shell verbs at every
// start, the ".ATT" question on a first run and the autorun check mark on
// later runs. The notification icon is switched by TMainFrm::SwitchTrayIcon.
#pragma once

class QWidget;

namespace lirvane {

class ShellIntegration;
class TMainFrm;

// Rewrites the verbs for the running executable. Throws StoreError.
void WriteShellVerbsAtStart(ShellIntegration& shell);

// Asks whether ".ATT" files are to open with the program; anything but No
// (Yes, or the box closed) writes the association. Throws StoreError when
// it cannot be written.
void AskAttQuestion(QWidget* parent, ShellIntegration& shell);

// Ticks MAutoRun when an autorun entry exists; never fails.
void SetAutorunCheckMark(TMainFrm& frm, ShellIntegration& shell);

}  // namespace lirvane
