#pragma once
// The fonts a request may name: the installed ones, by any of their names, and font files
// loaded for this run. Safe from any thread; the font database is read once.

#include "text/FontList.h"

#include <QString>
#include <QStringList>

namespace sorvel::render_command {

// The installed families as the window's font list spells them, each with the other names the
// font configuration knows it by (its name in other languages).
const QList<FontFamilyNames>& acceptedFontFamilies();

// The family name is known by, as the font list spells it: name matched without regard to case
// against every family's name and its other names, so that a name works whatever the locale.
// Raises CommandError (Failed) for a font that is not installed.
QString acceptedFontName(const QString& name);

// What --list-fonts prints, a line a family: its name, then each other name after a tab.
QStringList fontListLines();

// The family of the font in a TrueType or OpenType file, loaded into this run's font database
// on the first call for that path. Raises CommandError (Failed) when it cannot be loaded.
QString familyOfFontFile(const QString& path);

} // namespace sorvel::render_command
