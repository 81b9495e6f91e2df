#pragma once
// What main() sets up around the window: the platform to run on, the desktop identity and Qt's
// own Japanese texts for the dialogs Qt draws.

#include <QByteArray>
#include <QString>

#include <optional>

class QCoreApplication;
class QGuiApplication;

namespace sorvel {

// The application id: the desktop entry's name without ".desktop", the AppStream id and the
// icon name.
inline const QString applicationId = QStringLiteral(SORVEL_APPLICATION_ID);

// The platform to force before the application object exists, from the environment as it is:
// "xcb" on a Wayland session that also offers an X display, because the clipboard keeper and
// the fixed window size rely on X11; nothing when QT_QPA_PLATFORM is set or there is no X display.
std::optional<QByteArray> platformOverride(const QByteArray& qtPlatform, const QByteArray& waylandDisplay,
                                           const QByteArray& x11Display, const QByteArray& sessionType);
// Sets QT_QPA_PLATFORM from platformOverride() of the process environment.
void choosePlatform();

// Loads Qt's Japanese translation (qtbase_ja.qm) from directory, whatever the locale, and installs
// it on the application. False, silently and with Qt's English texts, when it cannot be loaded.
bool installQtTranslation(QCoreApplication& application, const QString& directory);
// The same from Qt's translations folder.
bool installQtTranslation(QCoreApplication& application);

// The desktop file name (for the task bar's icon and name) and Qt's Japanese texts.
void setUpApplication(QGuiApplication& application);

} // namespace sorvel
