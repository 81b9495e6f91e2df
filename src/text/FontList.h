#pragma once
// The list of installed screen font names, read by position.
//
// The installed list is honest: it names only faces that really render. That is every family
// the font database knows, plus the program's default name "ＭＳ Ｐゴシック" when one of the
// Japanese gothics that installFontSubstitutions() maps it to is installed. On a desktop that
// has the face under its own name the name is not added twice; on one without any Japanese
// gothic the default name is left out, and the window starts without a selected font.

#include <QString>
#include <QStringList>

#include <optional>

namespace sorvel {

class FontList {
public:
    virtual ~FontList() = default;

    virtual int count() = 0;
    // Fails with OutOfRange for a position outside 0 .. count() - 1.
    virtual QString name(int index) = 0;

protected:
    FontList() = default;
    FontList(const FontList&) = default;
    FontList& operator=(const FontList&) = default;
};

// The font database of the desktop, collected on the first query and kept.
class InstalledFontList final : public FontList {
public:
    int count() override;
    QString name(int index) override;

private:
    const QStringList& names();

    std::optional<QStringList> m_names;
};

// The families of the font database, plus the default name when a face standing for it is
// installed (see above). Exposed for the list above and for tests.
QStringList installedFontNames();

} // namespace sorvel
