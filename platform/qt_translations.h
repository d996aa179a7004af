// Qt's own dialogs (open, save, font, print, page set-up) in Russian, from
// the translations Qt is installed with (Debian: qt6-translations-l10n).
#pragma once

namespace lirvane {

// Loads "qtbase_ru" into the running application; false when it is not
// installed, and Qt's dialogs then stay in English.
bool InstallQtTranslations();

}  // namespace lirvane
