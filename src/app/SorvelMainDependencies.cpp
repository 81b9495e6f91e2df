#include "app/SorvelMainDependencies.h"

#include <QCoreApplication>

namespace sorvel {

SorvelMainDependencies realDependencies()
{
    SorvelMainDependencies dependencies;
    dependencies.fontList = std::make_unique<InstalledFontList>();
    dependencies.endProgram = [] { QCoreApplication::quit(); };
    return dependencies;
}

} // namespace sorvel
