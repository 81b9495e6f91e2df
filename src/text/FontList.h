#pragma once
// The list of installed screen font names, read by position.
//
// The installed list is honest: it names only faces that really render. That is every family
// the font database knows, once, whatever foundries make it (the font database names a family
// made by several as "Nimbus Sans [UKWN]", "Nimbus Sans [URW ]"; the family's own name draws
// with the face the database prefers), plus the program's default name "ＭＳ Ｐゴシック" when one
// of the Japanese gothics that installFontSubstitutions() maps it to is installed. On a desktop
// that has the face under its own name the name is not added twice; on one without any Japanese
// gothic the default name is left out, and the window starts without a selected font.

#include <QList>
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

// The font database's family names with any " [foundry]" taken off, each family once, in the
// order of its first appearance.
QStringList familiesOnce(const QStringList& databaseFamilies);

// One installed family: its name as the font list shows it, and the other names the font
// configuration knows it by (a Japanese face's Latin and Japanese names; which of them the
// font database shows depends on the locale).
struct FontFamilyNames {
    QString name;
    QStringList otherNames;

    bool operator==(const FontFamilyNames&) const = default;
};

// installedFontNames() with the other names of each family (none for the default name).
QList<FontFamilyNames> installedFontFamilies();

// The other names of families: for each font of the font configuration whose names include one
// of families, its names that are not themselves among families. fontNames holds each font's
// names as the configuration lists them. Exposed for tests.
QList<FontFamilyNames> otherFamilyNames(const QStringList& families, const QList<QStringList>& fontNames);

} // namespace sorvel
