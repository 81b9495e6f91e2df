#include "app/SorvelMain.h"
#include "text/FontSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    sorvel::installFontSubstitutions();
    sorvel::SorvelMain window(sorvel::realDependencies());
    window.Form_Load();
    return QApplication::exec();
}
