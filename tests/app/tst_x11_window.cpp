// The real program on the X server the test runs on: its window appears under its caption with
// a fixed size, and a close request from the window system ends the program promptly.
#include <QProcess>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// A connection of the test's own, speaking to the X server as a window manager would.
class XServer {
public:
    XServer() : c(xcb_connect(nullptr, nullptr)) {}
    ~XServer() { xcb_disconnect(c); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

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
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
            const xcb_window_t child = xcb_query_tree_children(tree.get())[i];
            const Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, child), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE
                && property(child, atom("_NET_WM_NAME"), atom("UTF8_STRING")) == title.toUtf8())
                return child;
        }
        return std::nullopt;
    }

    QSize size(xcb_window_t window)
    {
        const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        return geometry ? QSize(geometry->width, geometry->height) : QSize();
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

    xcb_connection_t* c;
};

} // namespace

class X11WindowTest : public QObject {
    Q_OBJECT
private slots:
    void closeRequestEndsTheProgram()
    {
        XServer server;
        QVERIFY(xcb_connection_has_error(server.c) == 0);
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(SORVEL_BINARY_DIR "/sorvel"), {"-platform", "xcb"});   // over the offscreen the test runs with
        QVERIFY(program.waitForStarted());

        std::optional<xcb_window_t> window;
        QTRY_VERIFY_WITH_TIMEOUT((window = server.findWindow(QStringLiteral("Sorvel ペイント"))).has_value(), 20000);
        QCOMPARE(server.size(*window), QSize(433, 312));

        server.requestClose(*window);
        QVERIFY2(program.waitForFinished(5000), "the program is still running after the close request");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(X11WindowTest)
#include "tst_x11_window.moc"
