// File-type lists: the "|" filter text as Qt name filters, and the extension a save dialog
// gives a name typed without one.

#include "dialogs/FilterString.h"
#include "platform/widgets/NameFilterSuffix.h"

#include <QTest>

using namespace sorvel;

class TestFileTypes : public QObject {
    Q_OBJECT

private slots:
    void nameFilters_data();
    void nameFilters();
    void defaultSuffix_data();
    void defaultSuffix();
    void withSuffix_data();
    void withSuffix();
};

void TestFileTypes::nameFilters_data()
{
    QTest::addColumn<QString>("filterText");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two pairs") << "A|*.a|B|*.b|" << QStringList{"A (*.a)", "B (*.b)"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("lone bar") << "|" << QStringList{};
    QTest::newRow("closing bar missing") << "A|*.a|B|*.b" << QStringList{"A (*.a)", "B (*.b)"};
    QTest::newRow("description without pattern at end") << "A|*.a|B|" << QStringList{"A (*.a)"};
    QTest::newRow("description only, no bar") << "A" << QStringList{};
    QTest::newRow("empty pattern skipped") << "A||B|*.b|" << QStringList{"B (*.b)"};
    QTest::newRow("empty description shows masks") << "|*.a;*.b|" << QStringList{"*.a *.b"};
    QTest::newRow("masks joined by spaces, blanks dropped")
        << "画像| *.bmp ;;*.jpg|" << QStringList{"画像 (*.bmp *.jpg)"};
    QTest::newRow("save list")
        << "ビットマップファイル|*.bmp|PNGファイル|*.png|JPEGファイル|*.jpg|すべてのファイル|*.*|"
        << QStringList{"ビットマップファイル (*.bmp)", "PNGファイル (*.png)", "JPEGファイル (*.jpg)",
                       "すべてのファイル (*.*)"};
    QTest::newRow("background list")
        << "使用可能な画像|*.bmp;*.jpg;*.png|ビットマップファイル|*.bmp|JPEGファイル|*.jpg|"
           "PNGファイル|*.png|すべてのファイル|*.*|"
        << QStringList{"使用可能な画像 (*.bmp *.jpg *.png)", "ビットマップファイル (*.bmp)",
                       "JPEGファイル (*.jpg)", "PNGファイル (*.png)", "すべてのファイル (*.*)"};
}

void TestFileTypes::nameFilters()
{
    QFETCH(QString, filterText);
    QFETCH(QStringList, expected);
    QCOMPARE(toNameFilters(filterText), expected);
}

void TestFileTypes::defaultSuffix_data()
{
    QTest::addColumn<QString>("nameFilter");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("png") << "PNGファイル (*.png)" << "png";
    QTest::newRow("first mask counts") << "使用可能な画像 (*.bmp *.jpg *.png)" << "bmp";
    QTest::newRow("all files") << "すべてのファイル (*.*)" << "";
    QTest::newRow("star") << "Anything (*)" << "";
    QTest::newRow("wildcard in extension") << "JPEG (*.jp?)" << "";
    QTest::newRow("no parentheses") << "*.txt" << "txt";
    QTest::newRow("plain name") << "Readme (README)" << "";
    QTest::newRow("parenthesis in description") << "Bild (neu) (*.gif)" << "gif";
    QTest::newRow("empty") << "" << "";
}

void TestFileTypes::defaultSuffix()
{
    QFETCH(QString, nameFilter);
    QFETCH(QString, suffix);
    QCOMPARE(defaultSuffixOfNameFilter(nameFilter), suffix);
}

void TestFileTypes::withSuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("nameFilter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("extension added") << "/tmp/文字" << "PNGファイル (*.png)" << "/tmp/文字.png";
    QTest::newRow("extension kept") << "/tmp/a.jpg" << "PNGファイル (*.png)" << "/tmp/a.jpg";
    QTest::newRow("all files adds nothing") << "/tmp/a" << "すべてのファイル (*.*)" << "/tmp/a";
    QTest::newRow("dot in folder only") << "/tmp/x.d/a" << "ビットマップファイル (*.bmp)" << "/tmp/x.d/a.bmp";
    QTest::newRow("trailing dot kept") << "/tmp/a." << "PNGファイル (*.png)" << "/tmp/a.";
    QTest::newRow("folder path unchanged") << "/tmp/" << "PNGファイル (*.png)" << "/tmp/";
}

void TestFileTypes::withSuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, nameFilter);
    QFETCH(QString, expected);
    QCOMPARE(withDefaultSuffix(path, nameFilter), expected);
}

QTEST_GUILESS_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
