// The real program on the X server the test runs on: its window appears under its caption with
// a fixed size, and a close request from the window system ends the program promptly.

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

const QString programPath = QStringLiteral(SORVEL_BINARY_DIR "/sorvel");
const QString readyCaption = QStringLiteral("Sorvel ペイント");

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// A connection of the test's own, speaking to the X server as a window manager would.
class XServer {
public:
    XServer() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~XServer() { xcb_disconnect(m_connection); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return xcb_connection_has_error(m_connection) == 0; }

    xcb_atom_t atom(const char* name)
    {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    QString utf8Title(xcb_window_t window)
    {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 1024), nullptr));
        if (!reply)
            return {};
        return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 xcb_get_property_value_length(reply.get()));
    }

    // The mapped top-level window with that title.
    std::optional<xcb_window_t> findWindow(const QString& title)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr));
        if (!tree)
            return std::nullopt;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && utf8Title(children[i]) == title)
                return children[i];
        }
        return std::nullopt;
    }

    QSize size(xcb_window_t window)
    {
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
        return geometry ? QSize(geometry->width, geometry->height) : QSize();
    }

    // WM_NORMAL_HINTS: minimum and maximum size, if the window gives them.
    std::pair<QSize, QSize> sizeLimits(xcb_window_t window)
    {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, 18),
            nullptr));
        if (!reply || xcb_get_property_value_length(reply.get()) < 9 * 4)
            return {};
        const auto* hints = static_cast<const int32_t*>(xcb_get_property_value(reply.get()));
        constexpr int32_t minSizeFlag = 1 << 4;
        constexpr int32_t maxSizeFlag = 1 << 5;
        QSize minimum, maximum;
        if (hints[0] & minSizeFlag)
            minimum = QSize(hints[5], hints[6]);
        if (hints[0] & maxSizeFlag)
            maximum = QSize(hints[7], hints[8]);
        return {minimum, maximum};
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
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

private:
    xcb_connection_t* m_connection;
};

} // namespace

class X11WindowTest : public QObject {
    Q_OBJECT
private slots:
    void closeRequestEndsTheProgram();
};

void X11WindowTest::closeRequestEndsTheProgram()
{
    QVERIFY2(QFileInfo(programPath).isExecutable(), qPrintable(programPath));
    XServer server;
    QVERIFY(server.ok());

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(programPath, {});
    QVERIFY(program.waitForStarted());

    std::optional<xcb_window_t> window;
    QTRY_VERIFY_WITH_TIMEOUT((window = server.findWindow(readyCaption)).has_value(), 20000);
    QCOMPARE(server.size(*window), QSize(433, 312));
    const auto [minimum, maximum] = server.sizeLimits(*window);
    QCOMPARE(minimum, QSize(433, 312));
    QCOMPARE(maximum, QSize(433, 312));
    QCOMPARE(program.state(), QProcess::Running);

    QElapsedTimer sinceRequest;
    sinceRequest.start();
    server.requestClose(*window);
    QVERIFY2(program.waitForFinished(5000), "the program is still running after the close request");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!server.findWindow(readyCaption));
    qInfo("ended %lld ms after the close request", static_cast<long long>(sinceRequest.elapsed()));
}

QTEST_GUILESS_MAIN(X11WindowTest)
#include "tst_x11_window.moc"
