#include "x11_window_finder.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace ravelin {

namespace {

struct Disconnect {
    void operator()(xcb_connection_t *c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// An atom nobody has used yet is created only when asked: a property that would carry it cannot
// exist yet, but a message type must be valid.
xcb_atom_t atom(xcb_connection_t *c, const char *name, bool create = false) {
    const auto cookie =
        xcb_intern_atom(c, create ? 0 : 1, static_cast<uint16_t>(std::strlen(name)), name);
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The property's value as bytes; empty when absent.
QByteArray property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                    uint32_t maxLongs) {
    if (name == XCB_ATOM_NONE) return {};
    const auto cookie = xcb_get_property(c, 0, window, name, type, 0, maxLongs);
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                             &std::free);
    if (!reply || reply->type == XCB_ATOM_NONE) return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QString windowTitle(xcb_connection_t *c, xcb_window_t window, xcb_atom_t netWmName,
                    xcb_atom_t utf8) {
    QByteArray title = property(c, window, netWmName, utf8, 64);
    if (title.isEmpty())
        return QString::fromLatin1(property(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 64));
    return QString::fromUtf8(title);
}

void activate(xcb_connection_t *c, xcb_window_t root, xcb_window_t window, xcb_atom_t active) {
    xcb_map_window(c, window);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = active;
    event.data.data32[0] = 2; // asked for by a tool acting for the user
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    // A round trip, so the server has acted on all of it before this copy disconnects and ends.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

WindowSearch activateX11Window(const QString &titleStart, int minLength) {
    int screenNumber = 0;
    Connection c(xcb_connect(nullptr, &screenNumber));
    if (!c || xcb_connection_has_error(c.get())) return WindowSearch::NoWindowList;
    const xcb_setup_t *setup = xcb_get_setup(c.get());
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem) return WindowSearch::NoWindowList;
    const xcb_window_t root = screens.data->root;

    const xcb_atom_t clientList = atom(c.get(), "_NET_CLIENT_LIST");
    const QByteArray list = property(c.get(), root, clientList, XCB_ATOM_WINDOW, 4096);
    if (clientList == XCB_ATOM_NONE || list.isEmpty()) return WindowSearch::NoWindowList;

    const xcb_atom_t netWmName = atom(c.get(), "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c.get(), "UTF8_STRING");
    const xcb_atom_t activeWindow = atom(c.get(), "_NET_ACTIVE_WINDOW", true);
    std::vector<xcb_window_t> windows(list.size() / sizeof(xcb_window_t));
    std::memcpy(windows.data(), list.constData(), windows.size() * sizeof(xcb_window_t));
    for (xcb_window_t window : windows) {
        // A dialog names its owner window; only windows without one count.
        if (!property(c.get(), window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1).isEmpty())
            continue;
        const QString title = windowTitle(c.get(), window, netWmName, utf8).left(63);
        if (title.size() >= minLength && title.startsWith(titleStart)) {
            activate(c.get(), root, window, activeWindow);
            return WindowSearch::Activated;
        }
    }
    return WindowSearch::NotFound;
}

} // namespace ravelin
