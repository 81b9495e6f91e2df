#pragma once
// The request made real: checked against the installed fonts, the font system and the
// background picture file, rendered with the window's renderer, and written.

#include "command/CommandLine.h"
#include "render/TextImageSettings.h"

#include "text/CharacterBox.h"

#include <QSize>

#include <vector>

namespace sorvel::render_command {

// A PNG is no text for a terminal: raises CommandError (UsageError) when the request writes to
// standard output and that is a terminal.
void checkOutputStream(const RenderRequest& request);

// Whether the request's pictures need Qt's image format plugins: JPEG output, or a BMP or JPEG
// background (the loader also accepts GIF under those names). PNG and BMP writing and PNG
// reading are built into Qt.
bool needsImagePlugins(const RenderRequest& request);

// The window's start-up settings changed by the request, with text as the text. Raises
// CommandError for a size the fonts do not take (UsageError), a font that is not installed or
// a background picture that cannot be read (Failed). Needs the application object.
TextImageSettings settingsFor(const RenderRequest& request, const QString& text);

// What a written picture gives beyond its file.
struct RenderResult {
    QSize size;
    QString missing;                 // the characters no font could draw, when asked or found
    std::vector<CharacterBox> boxes; // when the request asks for them in its result
    QString warning;                 // with --missing warn: the line that names the missing characters
};

// Renders settings and writes the picture where the request says, in its format, and the
// character boxes where --boxes says. Raises CommandError (Failed) when the picture is empty or
// cannot be written, or, with --missing error, when a character has no font; a file is then
// left as it was (or not created). listMissing: find the missing characters whatever --missing says.
RenderResult renderAndWrite(const RenderRequest& request, const TextImageSettings& settings, bool listMissing = false);

// One picture from start to end: the text read, the settings made, rendered and written, as
// above. Single runs and every job of a batch go through here, so that both write the same
// bytes. Safe to call from several threads at once for different outputs.
RenderResult renderRequest(const RenderRequest& request, bool listMissing = false);

} // namespace sorvel::render_command
