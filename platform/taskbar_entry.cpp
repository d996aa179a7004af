#include "platform/taskbar_entry.h"

#include <QGuiApplication>
#include <QWidget>

#if defined(LIRVANE_HAVE_XCB)
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#endif

namespace lirvane {

#if defined(LIRVANE_HAVE_XCB)
namespace {

xcb_connection_t* X11Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
      xcb_intern_atom_reply(c, cookie, nullptr), &free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window) {
  std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &free);
  return geometry ? geometry->root : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

bool CanSkipTaskbar() { return X11Connection() != nullptr; }

void SetSkipTaskbar(QWidget& window, bool skip) {
  xcb_connection_t* c = X11Connection();
  if (!c) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
  const xcb_atom_t skip_taskbar = Atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
  if (state == XCB_ATOM_NONE || skip_taskbar == XCB_ATOM_NONE) return;

  // Not yet managed: the window manager reads the property when it maps
  // the window.
  std::vector<xcb_atom_t> atoms;
  {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr),
        &free);
    if (reply && reply->format == 32) {
      const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
      atoms.assign(values, values + xcb_get_property_value_length(reply.get()) / 4);
    }
  }
  std::erase(atoms, skip_taskbar);
  if (skip) atoms.push_back(skip_taskbar);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                      static_cast<uint32_t>(atoms.size()), atoms.data());

  // Managed: the window manager owns the property and takes a request.
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = id;
  event.type = state;
  event.data.data32[0] = skip ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
  event.data.data32[1] = skip_taskbar;
  event.data.data32[3] = 1;  // from an ordinary application
  if (const xcb_window_t root = RootOf(c, id); root != XCB_WINDOW_NONE) {
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
  }
  xcb_flush(c);
}

#else

bool CanSkipTaskbar() { return false; }
void SetSkipTaskbar(QWidget&, bool) {}

#endif

}  // namespace lirvane
