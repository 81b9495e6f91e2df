#include "app/ApplicationSetup.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sorvel {

std::optional<QByteArray> platformOverride(const QByteArray& qtPlatform, const QByteArray& waylandDisplay,
                                           const QByteArray& x11Display, const QByteArray& sessionType)
{
    if (!qtPlatform.isEmpty() || x11Display.isEmpty())
        return std::nullopt;
    if (waylandDisplay.isEmpty() && sessionType != "wayland")
        return std::nullopt;
    return QByteArray("xcb");
}

void choosePlatform()
{
    const std::optional<QByteArray> platform = platformOverride(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                                                                qgetenv("DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (platform)
        qputenv("QT_QPA_PLATFORM", *platform);
}

bool installQtTranslation(QCoreApplication& application, const QString& directory)
{
    // Owned by the application, which keeps it installed for its whole life.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ja"), directory)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool installQtTranslation(QCoreApplication& application)
{
    return installQtTranslation(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void setUpApplication(QGuiApplication& application)
{
    QGuiApplication::setDesktopFileName(applicationId);
    installQtTranslation(application);
}

} // namespace sorvel
