// The web link: opens a web address in the browser that the system has
// registered for HTML files. Windows names it in the open command of the
// file classes of ".htm" and its kin; freedesktop systems name a default
// handler of web addresses instead, which is asked when the class keys
// give nothing.
//
// The browser is always started as a program with arguments, never through
// a command interpreter, so nothing in an address can run a command.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/browser_lookup/class_root.h"
#include "platform/browser_lookup/desktop_browser.h"

namespace lirvane {

// The program path and the fixed parameters of a registered open command.
struct BrowserCommand {
  std::string path;
  std::string parameters;
};

// The endings whose file classes are asked for the browser, in this order.
inline constexpr const char* kBrowserEndings[] = {".HTM", ".HTML", ".SHTML", ".SHTM"};

// Registry values count up to their first NUL and at most this many
// characters.
inline constexpr std::size_t kMaxRegistryText = 1024;

// Removes every "%" with the character after it ("%1" and the like); a "%"
// in the last place stays.
std::string RemovePlaceholders(std::string command);

// Splits a cleaned, upper-cased open command into program and parameters.
BrowserCommand SplitBrowserCommand(std::string command);

// Splits a parameter string into arguments the way a Windows command line
// is split: blanks separate, double quotes group ("" is an empty argument).
QStringList SplitParameterString(const QString& parameters);

class TGoToWeb : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Url READ Url WRITE SetUrl)

 public:
  // Starts a program; true when it started. On Windows the argument list
  // holds the one parameter string that the shell passes on.
  using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
  // The desktop's own default browser for an address, where there is one.
  using DesktopLookup = std::function<std::optional<DesktopLaunch>(const QString& url)>;

  explicit TGoToWeb(QObject* parent = nullptr);
  ~TGoToWeb() override;

  QString Url() const { return url_; }
  void SetUrl(const QString& url) { url_ = url; }

  // True when the browser was started.
  bool OpenUrl();
  // The open command of the HTML file class, cleaned; empty if none.
  std::string FindBrowserCommand() const;
  // Path and parameters of the browser, upper case; empty if none.
  BrowserCommand GetBrowser() const;

  void SetClassRoot(std::unique_ptr<ClassRootReader> class_root);
  void SetLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
  // An empty lookup turns the desktop's default browser off.
  void SetDesktopLookup(DesktopLookup lookup) { desktop_lookup_ = std::move(lookup); }

 private:
  QString url_;
  std::unique_ptr<ClassRootReader> class_root_;
  Launcher launcher_;
  DesktopLookup desktop_lookup_;
};

}  // namespace lirvane
