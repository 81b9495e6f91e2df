#include "app/WindowCommandLine.h"

namespace sorvel {

namespace {

const QString helpText =
    QStringLiteral("Usage: sorvel [OPTION]...\n"
                   "Opens the Sorvel window, which turns a piece of text into a picture.\n"
                   "\n"
                   "Type the text, pick a font, a size, bold, italic, underline or strike-through, a text\n"
                   "and a background colour (left button on a palette swatch: text colour, right button:\n"
                   "background), a background picture tiled behind the text, a grey shadow, rainbow\n"
                   "characters and a one-pixel frame. The preview follows every keystroke. The picture is\n"
                   "copied to the clipboard, or saved as BMP, PNG or JPEG. The interface is Japanese,\n"
                   "including the dialogs that Qt draws.\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help        Show this help and exit.\n"
                   "  -v, --version     Show the version and exit.\n"
                   "  -platform NAME    Qt platform to run on (xcb, wayland, offscreen).\n"
                   "  -display DISPLAY  X display to open (also the DISPLAY variable).\n"
                   "\n"
                   "Environment:\n"
                   "  QT_QPA_PLATFORM   Qt platform to run on. When it is not set and a Wayland session\n"
                   "                    also offers an X display, the window runs through XWayland:\n"
                   "                    keeping the clipboard after the window closes and the fixed\n"
                   "                    window size rely on X11.\n"
                   "\n"
                   "On X11 a picture copied to the clipboard stays there after the window closes: the\n"
                   "helper sorvel-clipboard-keeper serves it until another program takes the clipboard.\n"
                   "\n"
                   "See also sorvel-render(1), which draws the same pictures from the command line.\n");

} // namespace

std::optional<QString> commandLineAnswer(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h")
            return helpText;
        if (argument == u"--version" || argument == u"-v")
            return QStringLiteral("sorvel " SORVEL_VERSION "\n");
    }
    return std::nullopt;
}

} // namespace sorvel
