#include "ui/go_to_web.h"

#include <QProcess>
#include <algorithm>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>
#endif

namespace lirvane {
namespace {

constexpr const char* kProgramEndings[] = {".EXE", ".BAT", ".COM"};

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlankOrControl(s[begin])) ++begin;
  while (end > begin && IsBlankOrControl(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Trimmed first, so that a blank uncovered by a removed quote stays.
std::string CleanParameters(const std::string& rest) {
  std::string parameters = Trim(rest);
  const size_t first = parameters.find_first_not_of('"');
  parameters.erase(0, first == std::string::npos ? parameters.size() : first);
  return parameters;
}

std::string RegistryText(std::optional<std::string> value) {
  if (!value) return {};
  std::string text = std::move(*value);
  text.resize(std::min({text.find('\0'), text.size(), kMaxRegistryText}));
  return text;
}

void UpperAscii(std::string& s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// The end of the last ".EXE", ".BAT" or ".COM", or 0 when there is none.
size_t ProgramEnd(const std::string& command) {
  for (size_t end = command.size(); end >= 4; --end)
    for (const char* ending : kProgramEndings)
      if (command.compare(end - 4, 4, ending) == 0) return end;
  return 0;
}

bool StartDetached(const QString& program, const QStringList& arguments) {
#ifdef _WIN32
  // The shell's default verb with the whole parameter string, as the class
  // keys expect; the program is not a command interpreter's input.
  const QString parameters = arguments.join(' ');
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(program.utf16()),
                    reinterpret_cast<LPCWSTR>(parameters.utf16()), nullptr, SW_SHOWNORMAL));
  return result > 32;
#else
  return QProcess::startDetached(program, arguments);
#endif
}

}  // namespace

std::string RemovePlaceholders(std::string command) {
  size_t i = 0;
  while (i + 1 < command.size()) {
    if (command[i] == '%')
      command.erase(i, 2);  // look again at what now stands here
    else
      ++i;
  }
  return command;
}

BrowserCommand SplitBrowserCommand(std::string command) {
  BrowserCommand browser;
  const size_t end = ProgramEnd(command);
  if (end == 0) {
    // No program ending at all ("rundll32 url.dll,..."): the first word,
    // or the quoted text it starts with, is the program.
    command = Trim(command);
    size_t split;
    if (!command.empty() && command.front() == '"') {
      const size_t close = command.find('"', 1);
      browser.path = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      split = close == std::string::npos ? command.size() : close + 1;
    } else {
      split = std::find_if(command.begin(), command.end(), IsBlankOrControl) - command.begin();
      browser.path = command.substr(0, split);
    }
    browser.parameters = CleanParameters(command.substr(split));
    return browser;
  }
  if (end < command.size()) {
    browser.parameters = CleanParameters(command.substr(end));
    command.resize(end);
  }
  if (!command.empty() && command.front() == '"') command.erase(0, 1);
  browser.path = std::move(command);
  return browser;
}

QStringList SplitParameterString(const QString& parameters) {
  QStringList arguments;
  QString current;
  bool in_argument = false;
  bool in_quotes = false;
  for (const QChar c : parameters) {
    if (c == '"') {
      in_quotes = !in_quotes;
      in_argument = true;
    } else if (!in_quotes && (c == ' ' || c == '\t')) {
      if (in_argument) arguments << current;
      current.clear();
      in_argument = false;
    } else {
      current += c;
      in_argument = true;
    }
  }
  if (in_argument) arguments << current;
  return arguments;
}

TGoToWeb::TGoToWeb(QObject* parent)
    : QObject(parent), class_root_(MakeSystemClassRoot()), launcher_(&StartDetached) {
#ifndef _WIN32
  desktop_lookup_ = [](const QString& url) {
    return FindDesktopBrowserLaunch(XdgFolders::FromEnvironment(), url);
  };
#endif
}

TGoToWeb::~TGoToWeb() = default;

void TGoToWeb::SetClassRoot(std::unique_ptr<ClassRootReader> class_root) {
  class_root_ = class_root ? std::move(class_root) : std::make_unique<MemoryClassRoot>();
}

std::string TGoToWeb::FindBrowserCommand() const {
  const std::string command_key = "\\shell\\open\\command";
  for (const char* ending : kBrowserEndings) {
    const std::optional<std::string> type_value = class_root_->DefaultValue(ending);
    if (!type_value) continue;
    const std::string type_name = RegistryText(type_value);
    std::string command;
    if (!type_name.empty())
      command = RegistryText(class_root_->DefaultValue(type_name + command_key));
    if (command.empty()) command = RegistryText(class_root_->DefaultValue(ending + command_key));
    if (!command.empty()) return RemovePlaceholders(std::move(command));
  }
  return {};
}

BrowserCommand TGoToWeb::GetBrowser() const {
  std::string command = FindBrowserCommand();
  if (command.empty()) return {};
  UpperAscii(command);
  return SplitBrowserCommand(std::move(command));
}

bool TGoToWeb::OpenUrl() {
  if (!launcher_) return false;
  const BrowserCommand browser = GetBrowser();
  if (!browser.path.empty()) {
    const QString program = QString::fromStdString(browser.path);
    const QString parameters = QString::fromStdString(browser.parameters);
#ifdef _WIN32
    // A blank always stands between the parameters and the address.
    return launcher_(program, {parameters + ' ' + url_});
#else
    // The address is one argument whatever it holds.
    return launcher_(program, SplitParameterString(parameters) << url_);
#endif
  }
  if (!desktop_lookup_) return false;
  const std::optional<DesktopLaunch> launch = desktop_lookup_(url_);
  if (!launch) return false;
  return launcher_(launch->program, launch->arguments);
}

}  // namespace lirvane
