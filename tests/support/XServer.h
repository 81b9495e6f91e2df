#pragma once
// A connection of the test's own to the X server, speaking as a window manager or a user
// would: finds windows by title, reads their properties, clicks and sends close requests.
// Header-only; a test that includes it links libxcb (and libxcb-xtest for clicks).

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

#ifdef SORVEL_TEST_XTEST
#include <xcb/xtest.h>
#endif

namespace sorvel::test {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

class XServer {
public:
    XServer() : c(xcb_connect(nullptr, nullptr)) { }
    ~XServer() { xcb_disconnect(c); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

    xcb_atom_t atom(const char* name)
    {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr));
        return reply ? QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                  xcb_get_property_value_length(reply.get()))
                     : QByteArray();
    }

    // The mapped top-level window with that title.
    std::optional<xcb_window_t> findWindow(const QString& title)
    {
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root()), nullptr));
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t child = xcb_query_tree_children(tree.get())[i];
            const Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, child), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                property(child, atom("_NET_WM_NAME"), atom("UTF8_STRING")) == title.toUtf8())
                return child;
        }
        return std::nullopt;
    }

    QSize size(xcb_window_t window)
    {
        const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        return geometry ? QSize(geometry->width, geometry->height) : QSize();
    }

    // The window's top-left corner on the screen.
    QPoint position(xcb_window_t window)
    {
        const Reply<xcb_translate_coordinates_reply_t> reply(
            xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root(), 0, 0), nullptr));
        return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint();
    }

    // What a window manager sends for the close button.
    void requestClose(xcb_window_t window)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(c);
    }

#ifdef SORVEL_TEST_XTEST
    // A left click at point of the window, through the XTEST extension, as from the mouse.
    void click(xcb_window_t window, QPoint point)
    {
        const QPoint at = position(window) + point;
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root(), static_cast<int16_t>(at.x()),
                            static_cast<int16_t>(at.y()), 0);
        xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
    }

    // Presses and releases the key that gives keysym without modifiers (a Latin letter: its
    // lower-case code), through XTEST. False when no key gives it.
    bool typeKey(xcb_keysym_t keysym)
    {
        const xcb_setup_t* setup = xcb_get_setup(c);
        const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        const Reply<xcb_get_keyboard_mapping_reply_t> mapping(
            xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr));
        if (!mapping)
            return false;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
        for (int key = 0; key < count; ++key) {
            if (keysyms[key * mapping->keysyms_per_keycode] != keysym)
                continue;
            const auto keycode = static_cast<uint8_t>(setup->min_keycode + key);
            xcb_test_fake_input(c, XCB_KEY_PRESS, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_test_fake_input(c, XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
            xcb_flush(c);
            return true;
        }
        return false;
    }
#endif

    xcb_connection_t* c;
};

} // namespace sorvel::test
