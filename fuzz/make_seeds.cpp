// Writes the seed corpus of the fuzz targets: sorvel-fuzz-seeds OUTDIR makes OUTDIR/picture
// (valid small pictures and hostile headers), OUTDIR/text (inputs of the text target),
// OUTDIR/roundtrip (pictures for the writers' round trip) and OUTDIR/command (command lines,
// among them one for every option of the command's table).

#include "TextCase.h"
#include "command/CommandOptions.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>

using sorvel::fuzzing::TextCase;
using namespace sorvel::render_command;

namespace {

void save(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "sorvel-fuzz-seeds: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QImage sample(QImage::Format format, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, (x + y) % 256, (x * 32) % 256));
    return image.convertToFormat(format);
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(50);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image)) {
        std::fprintf(stderr, "sorvel-fuzz-seeds: cannot encode %s: %s\n", format, qPrintable(writer.errorString()));
        std::exit(1);
    }
    return bytes;
}

void appendBig32(QByteArray& bytes, quint32 value)
{
    char out[4];
    qToBigEndian(value, out);
    bytes.append(out, 4);
}

void appendLittle32(QByteArray& bytes, quint32 value)
{
    char out[4];
    qToLittleEndian(value, out);
    bytes.append(out, 4);
}

void appendLittle16(QByteArray& bytes, quint16 value)
{
    char out[2];
    qToLittleEndian(value, out);
    bytes.append(out, 2);
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendPngChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    appendBig32(png, static_cast<quint32>(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    png.append(typed);
    appendBig32(png, crc32(typed));
}

// A PNG whose header claims width x height; idat is its only (short) image data.
QByteArray pngClaiming(quint32 width, quint32 height, const QByteArray& idat)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBig32(header, width);
    appendBig32(header, height);
    header.append(QByteArray("\x08\x06\x00\x00\x00", 5)); // 8 bits, RGBA, deflate, no filter, no interlace
    appendPngChunk(png, "IHDR", header);
    if (!idat.isEmpty())
        appendPngChunk(png, "IDAT", idat);
    appendPngChunk(png, "IEND", {});
    return png;
}

// A BMP with a Windows information header claiming the given geometry, followed by pixels
// bytes of data.
QByteArray bmpClaiming(qint32 width, qint32 height, quint16 bitsPerPixel, quint32 colorsUsed, int pixels,
                       quint32 dataOffset = 54)
{
    QByteArray bmp("BM", 2);
    appendLittle32(bmp, static_cast<quint32>(54 + pixels));
    appendLittle32(bmp, 0);
    appendLittle32(bmp, dataOffset);
    appendLittle32(bmp, 40);
    appendLittle32(bmp, static_cast<quint32>(width));
    appendLittle32(bmp, static_cast<quint32>(height));
    appendLittle16(bmp, 1);
    appendLittle16(bmp, bitsPerPixel);
    appendLittle32(bmp, 0); // no compression
    appendLittle32(bmp, static_cast<quint32>(pixels));
    appendLittle32(bmp, 3780);
    appendLittle32(bmp, 3780);
    appendLittle32(bmp, colorsUsed);
    appendLittle32(bmp, 0);
    for (int i = 0; i < pixels; ++i)
        bmp.append(static_cast<char>(i * 37));
    return bmp;
}

// The JPEG with its frame header changed to claim width x height.
QByteArray jpegClaiming(QByteArray jpeg, quint16 width, quint16 height)
{
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0 || frame + 9 > jpeg.size()) {
        std::fprintf(stderr, "sorvel-fuzz-seeds: no baseline frame header in the sample JPEG\n");
        std::exit(1);
    }
    qToBigEndian(height, jpeg.data() + frame + 5);
    qToBigEndian(width, jpeg.data() + frame + 7);
    return jpeg;
}

void writePictureSeeds(const QDir& dir)
{
    save(dir, QStringLiteral("empty"), {});

    // Valid small pictures.
    save(dir, QStringLiteral("rgb.bmp"), encoded(sample(QImage::Format_RGB32, 13, 7), "bmp"));
    save(dir, QStringLiteral("alpha.bmp"), encoded(sample(QImage::Format_ARGB32, 9, 5), "bmp"));
    save(dir, QStringLiteral("indexed.bmp"), encoded(sample(QImage::Format_Indexed8, 6, 6), "bmp"));
    save(dir, QStringLiteral("mono.bmp"), encoded(sample(QImage::Format_Mono, 17, 3), "bmp"));
    const QByteArray jpeg = encoded(sample(QImage::Format_RGB32, 24, 16), "jpeg");
    save(dir, QStringLiteral("rgb.jpg"), jpeg);
    save(dir, QStringLiteral("gray.jpg"), encoded(sample(QImage::Format_Grayscale8, 8, 8), "jpeg"));
    save(dir, QStringLiteral("progressive.jpg"), encoded(sample(QImage::Format_RGB32, 16, 16), "jpeg", true));
    save(dir, QStringLiteral("rgb.png"), encoded(sample(QImage::Format_RGB32, 11, 9), "png"));
    save(dir, QStringLiteral("alpha.png"), encoded(sample(QImage::Format_ARGB32, 11, 9), "png"));
    save(dir, QStringLiteral("indexed.png"), encoded(sample(QImage::Format_Indexed8, 5, 5), "png"));
    save(dir, QStringLiteral("gray16.png"), encoded(sample(QImage::Format_Grayscale16, 4, 4), "png"));
    save(dir, QStringLiteral("rgba64.png"), encoded(sample(QImage::Format_RGBA64, 3, 3), "png"));
    // The smallest GIF: one black pixel.
    save(dir, QStringLiteral("pixel.gif"),
         QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff"
                    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                    35));

    // Headers that claim more than the limits allow, or more than the file holds.
    save(dir, QStringLiteral("claims-60000x60000.png"), pngClaiming(60000, 60000, {}));
    save(dir, QStringLiteral("claims-32768x1.png"), pngClaiming(32768, 1, {}));
    save(dir, QStringLiteral("claims-8192x8192-truncated.png"),
         pngClaiming(8192, 8192, QByteArray("\x78\x9c\x63\x60\x00\x00", 6)));
    save(dir, QStringLiteral("truncated-half.jpg"), jpeg.left(jpeg.size() / 2));
    save(dir, QStringLiteral("truncated-header.jpg"), jpeg.left(jpeg.indexOf(QByteArray("\xFF\xDA", 2)) + 4));
    save(dir, QStringLiteral("claims-65000x65000.jpg"), jpegClaiming(jpeg, 65000, 65000));
    save(dir, QStringLiteral("claims-8000x8000.jpg"), jpegClaiming(jpeg, 8000, 8000));
    save(dir, QStringLiteral("negative-width.bmp"), bmpClaiming(-16, 16, 24, 0, 64));
    save(dir, QStringLiteral("negative-height.bmp"), bmpClaiming(4, -4, 24, 0, 48));
    save(dir, QStringLiteral("most-negative-height.bmp"), bmpClaiming(4, INT32_MIN, 24, 0, 48));
    save(dir, QStringLiteral("huge.bmp"), bmpClaiming(INT32_MAX, INT32_MAX, 32, 0, 16));
    save(dir, QStringLiteral("wide.bmp"), bmpClaiming(100000, -1, 24, 0, 32));
    save(dir, QStringLiteral("huge-palette.bmp"), bmpClaiming(2, 2, 8, 0xFFFFFFFFu, 16));
    save(dir, QStringLiteral("data-beyond-end.bmp"), bmpClaiming(2, 2, 24, 0, 16, 0x7FFFFFF0u));

    // 16 bits a pixel: 5-5-5 without masks, 5-6-5 and 4-4-4-4 as bit fields.
    save(dir, QStringLiteral("rgb555.bmp"), bmpClaiming(3, 2, 16, 0, 16));
    QByteArray rgb565 = bmpClaiming(3, 2, 16, 0, 16, 66);
    qToLittleEndian<quint32>(3, rgb565.data() + 30);
    QByteArray masks;
    for (const quint32 mask : {0xF800u, 0x07E0u, 0x001Fu})
        appendLittle32(masks, mask);
    rgb565.insert(54, masks);
    save(dir, QStringLiteral("rgb565.bmp"), rgb565);
    QByteArray argb4444 = bmpClaiming(3, 2, 16, 0, 16, 70);
    qToLittleEndian<quint32>(6, argb4444.data() + 30);
    argb4444.insert(54, QByteArray("\x00\x0f\x00\x00\xf0\x00\x00\x00\x0f\x00\x00\x00\x00\xf0\x00\x00", 16));
    save(dir, QStringLiteral("argb4444.bmp"), argb4444);
}

TextCase textCase(const QString& text, const QString& sizeText = QStringLiteral("14"))
{
    TextCase input;
    input.text = text;
    input.sizeText = sizeText;
    return input;
}

QString units(std::initializer_list<char16_t> list)
{
    QString text;
    for (const char16_t u : list)
        text.append(QChar(u));
    return text;
}

void writeTextSeeds(const QDir& dir)
{
    int n = 0;
    const auto put = [&](const TextCase& input) {
        save(dir, QStringLiteral("text-%1").arg(n++, 2, 10, QLatin1Char('0')), sorvel::fuzzing::encodeTextCase(input));
    };

    put(textCase(QStringLiteral("Sorvel")));
    put(textCase(QString()));
    TextCase framedEmpty = textCase(QString());
    framedEmpty.frame = true;
    put(framedEmpty);

    TextCase japanese = textCase(QStringLiteral("文字を絵にする\r\nソーヴェル"), QStringLiteral("２４"));
    japanese.bold = true;
    put(japanese);

    // Lone and reversed surrogates.
    TextCase surrogates =
        textCase(units({u'a', 0xD800, u'b', 0xDC00, u'c', 0xDFFF, 0xDE00, 0xD83D, 0xD83D}), QStringLiteral("14.25"));
    surrogates.rainbow = true;
    put(surrogates);
    put(textCase(units({0xDBFF})));

    // Combining marks: at the start, after a line break, piled up.
    TextCase marks = textCase(units({0x0301, u'e', 0x0301, 0x0302, 0x0303, 0x0304, 0x0305, 0x0306, 0x0307, 0x0308,
                                     0x0309, 0x030A, u'\r', u'\n', 0x0327, u'A', 0x20DD, 0x0E34, 0x0E49}));
    marks.italic = true;
    marks.underline = true;
    marks.rainbow = true;
    put(marks);
    QString zalgo = QStringLiteral("Z");
    for (int i = 0; i < 300; ++i)
        zalgo.append(QChar(static_cast<char16_t>(0x0300 + i % 0x70)));
    put(textCase(zalgo, QStringLiteral("36")));

    // Emoji sequences: ZWJ family, flags, skin tone, keycap, variation selectors.
    TextCase emoji =
        textCase(QStringLiteral("👨‍👩‍👧‍👦🇯🇵🇺🇳👍🏽1️⃣❤︎❤️🏳️‍🌈"));
    emoji.shadow = true;
    emoji.rainbow = true;
    emoji.strikeOut = true;
    put(emoji);

    // Scripts few machines have a font for (Gurmukhi, Oriya, Ogham, Tibetan, Sinhala, N'Ko),
    // in rainbow colours.
    TextCase scripts = textCase(QStringLiteral("ਅਂ ଅ ᚁ ཀ අ ߊ"));
    scripts.rainbow = true;
    scripts.underline = true;
    put(scripts);

    // Control characters and invisible formatting.
    TextCase controls = textCase(units({0x0000, u'\t', 0x0007, 0x001B, 0x0085, 0x2028, u'x', 0x2029, 0x200B, 0xFEFF,
                                        0x202E, u'a', u'b', 0x000B, 0x000C, 0x00AD, 0xFFFE, 0xFFFF, 0x061C}));
    controls.frame = true;
    put(controls);

    // CR and LF anywhere.
    TextCase breaks = textCase(QStringLiteral("\r\nA\rB\nC\n\rD\r\r\nE\r\n\r\n\r"));
    breaks.shadow = true;
    breaks.frame = true;
    put(breaks);
    put(textCase(QStringLiteral("\n\n\n\r\r\r")));

    // Mixed directions.
    TextCase bidi = textCase(QStringLiteral("abc שלום مرحبا 123 ‏x‎"), QStringLiteral("1e1"));
    bidi.serif = true;
    bidi.italic = true;
    put(bidi);

    // Size box texts the conversion and the font system must cope with.
    const QStringList sizes = {
        QStringLiteral("0"),      QStringLiteral("-5"),     QStringLiteral("1e3"),    QStringLiteral("2160"),
        QStringLiteral("2160.5"), QStringLiteral("0.0001"), QStringLiteral("abc"),    QString(),
        QStringLiteral(" 72 "),   QStringLiteral("1e400"),  QStringLiteral("nan"),    QStringLiteral("inf"),
        QStringLiteral("1,5"),    QStringLiteral("32768"),  QStringLiteral("-32769"), QStringLiteral("300")};
    for (const QString& size : sizes) {
        TextCase sized = textCase(QStringLiteral("Ag"), size);
        sized.shadow = true;
        put(sized);
    }

    // Wider than the fuzz build's canvas may be at 18 points, and tall enough with empty lines
    // to reach its area limit; then the largest size it takes on a short line.
    QString wall = QString(100, QChar(0xFF37)); // full-width W
    for (int line = 0; line < 60; ++line)
        wall.append(QStringLiteral("\r\n"));
    put(textCase(wall, QStringLiteral("18")));
    TextCase large = textCase(QStringLiteral("Ｗg\r\nÅ"), QStringLiteral("48"));
    large.shadow = true;
    large.underline = true;
    put(large);
}

// Inputs of fuzz_png_roundtrip: width - 1, height - 1, flags, palette size, zlib level, bytes.
void writeRoundTripSeeds(const QDir& dir)
{
    const auto put = [&](const QString& name, std::initializer_list<int> header, const QByteArray& rest) {
        QByteArray bytes;
        for (const int byte : header)
            bytes.append(static_cast<char>(byte));
        save(dir, name, bytes + rest);
    };
    QByteArray noise;
    for (int i = 0; i < 512; ++i)
        noise.append(static_cast<char>((i * 167 + 13) % 251));
    put(QStringLiteral("rgb"), {15, 9, 0x00, 0, 10}, noise);
    put(QStringLiteral("rgb-odd-unused"), {15, 9, 0x10, 0, 6}, noise);
    put(QStringLiteral("grey"), {31, 3, 0x04, 0, 10}, noise);
    put(QStringLiteral("palette-2"), {20, 20, 0x08, 0, 9}, noise);
    put(QStringLiteral("palette-256"), {63, 7, 0x08, 127, 10}, noise);
    put(QStringLiteral("palette-257"), {63, 63, 0x08, 128, 10}, noise);
    put(QStringLiteral("argb"), {9, 9, 0x01, 0, 10}, noise);
    put(QStringLiteral("premultiplied"), {9, 9, 0x0A, 3, 10}, noise);
    put(QStringLiteral("rgb888-grey"), {5, 5, 0x07, 0, 1}, noise);
    put(QStringLiteral("region"), {40, 30, 0x68, 5, 7}, noise);
    put(QStringLiteral("region-too-large"), {3, 3, 0x80, 0, 0}, noise);
}

// Inputs of fuzz_render_command: the number of arguments, the arguments each ending in NUL,
// then the job text.
void writeCommandSeeds(const QDir& dir)
{
    int n = 0;
    const auto put = [&](const QStringList& arguments, const QByteArray& jobText = {}) {
        QByteArray bytes(1, static_cast<char>(arguments.size()));
        for (const QString& argument : arguments)
            bytes.append(argument.toUtf8()).append('\0');
        save(dir, QStringLiteral("command-%1").arg(n++, 2, 10, QLatin1Char('0')), bytes + jobText);
    };
    put({"-o", "out.png", "Hello"});
    put({"--help"});
    put({"--version"});
    put({"-o", "-", "--rainbow", "--frame", "--shadow", "--", "-dash"});
    put({"--font", "DejaVu Serif", "--size", "12.5", "--bold", "--italic", "--underline", "--strike", "-o", "a.bmp",
         "Styles"});
    put({"--color", "12", "--background", "#FFF8E0", "-o", "b.jpg", "--quality", "85", "Colours"});
    put({"--color", "16", "x"});
    put({"--background", "#F800", "-o", "x.png", "x"});
    put({"--size", "2161", "-o", "x.png", "x"});
    put({"--size", "big", "-o", "x.png", "x"});
    put({"--picture", "paper.jpg", "-o", "x.png", "tiled"});
    put({"--picture", "paper.png", "--frame", "-o", "x.gif", "tiled"});
    put({"--picture", "paper.jpeg", "-o", "x.png", "no background"});
    put({"--text-file", "subtitle.txt", "-o", "t.png"}, "first line\r\nsecond line\n");
    put({"-o", "s.png"}, "\xef\xbb\xbf一行目\n二行目\n");
    put({"-o", "s.png", "--text-file", "-"}, "\x82\xa0 not UTF-8");
    put({"-o", "e.png", ""});
    put({"--nope", "x"});
    put({"x", "--size"});
    put({"-o", "out.jpeg", "x"});
    put({"--quality", "256", "-o", "q.jpg", "x"});
    // Layout options and batches: job lines on top of the command line's defaults.
    put({"--width", "60", "--wrap", "char", "--align", "center", "--margin", "1 2 3 4", "-o", "w.png",
         "wrapped words here"});
    put({"--background", "transparent", "-o", "t.png", "see-through"});
    put({"--background", "#FF800080", "-o", "t.jpg", "refused"});
    put({"--font-file", "face.ttf", "-o", "f.png", "x"});
    put({"--outline", "2:#FF000080", "--outline", "1", "--shadow-offset", "-3,2", "--shadow-blur", "2", "--italic",
         "--width", "40", "-o", "o.png", "outlined words"});
    put({"--batch", "-", "--shadow-color", "12"},
        "{\"text\": \"a\", \"output\": \"a.png\", \"outline\": [\"1\", 2, \"3:15\"]}\n"
        "{\"text\": \"b\", \"output\": \"b.png\", \"outline\": [\"1\", \"1\", \"1\", \"1\"]}\n");
    put({"--list-fonts"});
    put({"--batch", "-", "--jobs", "2", "--bold"},
        "{\"text\": \"one\", \"output\": \"a.png\"}\n\n"
        "{\"text\": \"二\", \"output\": \"b.png\", \"color\": 12, \"width\": 40, \"align\": \"right\"}\n"
        "{\"text\": \"x\", \"output\": \"c.bmp\", \"background\": \"transparent\"}\n"
        "{\"text\": 3, \"output\": \"d.png\"}\n"
        "{\"nope\": true}\n"
        "not json\n"
        "{\"text-file\": \"t.txt\", \"output\": \"e.png\", \"margin\": \"10 20\", \"shadow\": true}\n");
    put({"--letter-spacing", "-2.5", "--line-spacing", "1.5", "--missing", "warn", "--boxes", "b.json", "-o", "x.png",
         "A\u0A05 \U0001F44D\U0001F3FD\U0001F1EF\U0001F1F5"});
    put({"--batch", "-", "--missing", "error"},
        "{\"text\": \"ab\\u0007\", \"output\": \"a.png\", \"boxes\": true, \"letter-spacing\": 3}\n");
    // Every option of the command's table once, so that an option added to it is fuzzed from
    // the start: on the command line, and as a job's key where it is one.
    for (const CommandOption& option : commandOptions()) {
        const QString name = QStringLiteral("--") + option.longName();
        const bool flag = option.kind == OptionKind::Flag;
        put(flag ? QStringList{"-o", "x.png", name, "x"} : QStringList{"-o", "x.png", name, "1", "x"});
        if (option.jsonKey) {
            const QString value = flag ? QStringLiteral("true") : QStringLiteral("\"1\"");
            put({"--batch", "-"}, QStringLiteral("{\"text\": \"x\", \"output\": \"x.png\", \"%1\": %2}\n")
                                      .arg(QString::fromLatin1(option.jsonKey), value)
                                      .toUtf8());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sorvel-fuzz-seeds OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("picture")) || !out.mkpath(QStringLiteral("text")) ||
        !out.mkpath(QStringLiteral("roundtrip")) || !out.mkpath(QStringLiteral("command"))) {
        std::fprintf(stderr, "sorvel-fuzz-seeds: cannot create folders in %s\n", argv[1]);
        return 1;
    }
    writePictureSeeds(QDir(out.filePath(QStringLiteral("picture"))));
    writeTextSeeds(QDir(out.filePath(QStringLiteral("text"))));
    writeRoundTripSeeds(QDir(out.filePath(QStringLiteral("roundtrip"))));
    writeCommandSeeds(QDir(out.filePath(QStringLiteral("command"))));
    return 0;
}
