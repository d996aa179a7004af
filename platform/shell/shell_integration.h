// How the program hooks itself into the desktop: its verb on text and HTML
// files, the ".ATT" association and the autorun entry. On Windows these are
// registry values written through the store accessor; elsewhere they are
// freedesktop.org files (desktop entries, a MIME package, mimeapps.list and
// an autostart entry).
//
// Every failing write throws StoreError with the message the user sees:
// "Failed to set data for ''" for the verbs and the association,
// "Failed to set data for 'Velkor Lirvane'" for autorun.
#pragma once

#include <memory>

namespace lirvane {

class StoreAccessor;

enum class AutorunSwitch {
  kSwitched,           // the entry was written or removed
  kRunKeyUnavailable,  // the place for autorun entries cannot be opened:
                       // nothing was done
};

class ShellIntegration {
 public:
  virtual ~ShellIntegration() = default;

  // The "open with this program" verb for text and HTML files, pointing at
  // the running executable; rewritten at every start.
  virtual void WriteShellVerbs() = 0;
  // Makes the program the opener of ".ATT" files.
  virtual void WriteAttAssociation() = 0;
  // True when an autorun entry with a non-empty command exists, whichever
  // copy of the program it names. Never throws: a failure reads as false.
  virtual bool AutorunEnabled() = 0;
  // Writes (on) or removes (off) the autorun entry.
  virtual AutorunSwitch SwitchAutorun(bool on) = 0;
};

// The realisation for this platform, for the running executable.
std::unique_ptr<ShellIntegration> MakeShellIntegration(StoreAccessor& store);

}  // namespace lirvane
