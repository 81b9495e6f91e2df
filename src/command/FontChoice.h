#pragma once
// The fonts a request may name: the installed ones, as the window's font list shows them, and
// font files loaded for this run. Safe from any thread; the font database is read once.

#include <QString>
#include <QStringList>

namespace sorvel::render_command {

// The names --font takes, as the window's font list spells them.
const QStringList& acceptedFontNames();

// name as the font list spells it (matched without regard to case). Raises CommandError
// (Failed) for a font that is not installed.
QString acceptedFontName(const QString& name);

// The family of the font in a TrueType or OpenType file, loaded into this run's font database
// on the first call for that path. Raises CommandError (Failed) when it cannot be loaded.
QString familyOfFontFile(const QString& path);

} // namespace sorvel::render_command
