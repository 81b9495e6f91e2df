#include "app/ApplicationSetup.h"
#include "app/SorvelMain.h"
#include "app/WindowCommandLine.h"
#include "text/FontSystem.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> answer = sorvel::commandLineAnswer(arguments)) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        return 0;
    }

    sorvel::choosePlatform();
    QApplication application(argc, argv);
    sorvel::setUpApplication(application);
    sorvel::installFontSubstitutions();
    sorvel::SorvelMain window(sorvel::realDependencies());
    window.start();
    return QApplication::exec();
}
