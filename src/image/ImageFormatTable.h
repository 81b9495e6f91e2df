#pragma once
// The picture formats the program knows, one row for each name ending. The ending is the last
// four characters of a path, lowered, compared exactly (sorvel-render also takes a row's longer
// ending): it alone decides what a save writes, whether a file can be a background picture,
// and which reader takes it.

#include "image/ImageWriteResult.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace sorvel {

enum class ImageFormat {
    None,   // any other ending: nothing is written
    Bitmap, // ".bmp", and ".gif" too (the same Windows bitmap bytes whatever the name says)
    Jpeg,   // ".jpg", after the quality prompt
    Png,    // ".png"
};

// The two readers of picture files (see PictureLoader.h).
enum class PictureKind {
    BitmapOrJpeg, // the picture loader: BMP, JPEG (and GIF), whatever the name says
    Png,          // the PNG reader
};

// The bytes of the top-left width x height pixels of a canvas in one format (see
// ImageWriters.h); quality is the JPEG writer's and means nothing to the others.
using ImageEncoder = WriteResult (*)(const QImage& canvas, int width, int height, std::uint8_t quality,
                                     QByteArray& bytes) noexcept;
// The same bytes streamed into a sink as they are encoded (see ImageWriters.h).
using ImageStreamWriter = WriteResult (*)(const QImage& canvas, int width, int height, std::uint8_t quality,
                                          QIODevice& sink) noexcept;

struct ImageFormatRow {
    const char* ending;      // ".png": the last four characters of a path, lowered
    ImageFormat format;      // what a save to such a name writes
    ImageEncoder encode;     // the bytes of that format
    ImageStreamWriter write; // the same bytes into a file or stream
    const char* contentName; // Qt's name of what such a file holds when it is read
    PictureKind reader;      // the reader that takes such contents
    bool background;         // a background picture may have this ending
    bool keepsAlpha;         // the format keeps an alpha channel
    const char* longEnding;  // a longer ending sorvel-render takes for the same row (".jpeg"), or nullptr
};

// Whose rules read a name's ending: the window's take the four-character endings only;
// sorvel-render's also take each row's longer ending, as other programs name such files.
enum class NameEndings { Window, Command };

// Every row, one for each ending.
std::span<const ImageFormatRow> imageFormatRows();

// The last four characters of path in lower case, or all of it when it is shorter.
QString formatKey(const QString& path);

// The row of path's ending; nullptr for an ending the program does not know.
const ImageFormatRow* imageFormatRowFor(const QString& path, NameEndings endings = NameEndings::Window);

// The first row that writes format; nullptr for ImageFormat::None.
const ImageFormatRow* imageFormatRowOf(ImageFormat format);

ImageFormat imageFormatForPath(const QString& path, NameEndings endings = NameEndings::Window);

// The reader of a background picture named path; no value for a name that is no background.
std::optional<PictureKind> backgroundReaderFor(const QString& path, NameEndings endings = NameEndings::Window);

// The name patterns of background pictures for an open dialog: "*.bmp;*.jpg;*.png".
QString backgroundNamePatterns();

// Whether pictures written in format keep their alpha channel (false for None).
bool formatKeepsAlpha(ImageFormat format);

// Qt's names of the contents reader takes ("png"; "bmp", "gif", "jpeg").
QList<QByteArray> contentNamesReadBy(PictureKind reader);

} // namespace sorvel
