#include "cli/display.h"

#include <cstdlib>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#endif

namespace lirvane {
namespace {

#ifndef _WIN32
bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool ConnectsTo(std::string_view socket_name, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const size_t skip = abstract ? 1 : 0;  // an abstract name starts with a zero byte
  if (socket_name.size() + skip >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path + skip, socket_name.data(), socket_name.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const socklen_t length =
      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + skip + socket_name.size());
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  ::close(fd);
  return connected;
}

// A local X display (":N", "unix:N", with or without ".screen") is there
// when its socket accepts a connection; any other is left for Qt to judge.
bool LocalX11DisplayAnswers(std::string_view display) {
  const size_t colon = display.rfind(':');
  if (colon == std::string_view::npos) return true;
  const std::string_view host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return true;
  std::string_view number = display.substr(colon + 1);
  number = number.substr(0, number.find('.'));
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
    return true;
  const std::string socket_name = "/tmp/.X11-unix/X" + std::string(number);
  return ConnectsTo(socket_name, true) || ConnectsTo(socket_name, false);
}
#endif

}  // namespace

bool HaveDisplay() {
#ifdef _WIN32
  return true;
#else
  // A platform named outright (offscreen, vnc, wayland) is Qt's to judge,
  // except X11, which is checked like the default.
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool x11_named = platform != nullptr && std::string_view(platform).starts_with("xcb");
  if (Set("QT_QPA_PLATFORM") && !x11_named) return true;
  if (Set("WAYLAND_DISPLAY") && !x11_named) return true;
  return Set("DISPLAY") && LocalX11DisplayAnswers(std::getenv("DISPLAY"));
#endif
}

}  // namespace lirvane
