// ColorFontDlg: custom colours, the colour dialog's start and results, and the font record the
// font dialog starts on and what it gives back.

#include "dialogs/ColorFontDlg.h"
#include "support/FakeDialogService.h"

#include <QFont>
#include <QTest>
#include <QWidget>

using namespace sorvel;

class TestColorFontDlg : public QObject {
    Q_OBJECT

private slots:
    void custColorsBounds_data();
    void custColorsBounds();
    void custColorsThroughDialog_data();
    void custColorsThroughDialog();
    void showColor_data();
    void showColor();
    void fontSizeArithmetic_data();
    void fontSizeArithmetic();
    void fontSizeOverflow_data();
    void fontSizeOverflow();
    void fontStartRecord_data();
    void fontStartRecord();
    void fontResults_data();
    void fontResults();
    void fontCancelled();
};

void TestColorFontDlg::custColorsBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("stored");

    QTest::newRow("first") << 0 << true;
    QTest::newRow("slot 3") << 3 << true;
    QTest::newRow("last") << 15 << true;
    QTest::newRow("16") << 16 << false;
    QTest::newRow("-1") << -1 << false;
    QTest::newRow("32767") << 32767 << false;
    QTest::newRow("-32768") << -32768 << false;
}

void TestColorFontDlg::custColorsBounds()
{
    QFETCH(int, index);
    QFETCH(bool, stored);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(dlg.CustColors(i), ColorValue(0));

    dlg.setCustColors(index, 0xFF00);
    QCOMPARE(dlg.CustColors(index), stored ? ColorValue(0xFF00) : ColorValue(0));
    for (int i = 0; i < 16; ++i)
        QCOMPARE(dlg.CustColors(i), stored && i == index ? ColorValue(0xFF00) : ColorValue(0));
}

void TestColorFontDlg::custColorsThroughDialog_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed dialog keeps the user's colours") << true;
    QTest::newRow("cancelled dialog leaves them as before") << false;
}

void TestColorFontDlg::custColorsThroughDialog()
{
    QFETCH(bool, confirmed);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.setCustColors(3, 0xFF00);

    CustomColors edited{};
    edited[0] = 0x123456;
    edited[3] = 0xFF00;
    edited[15] = 0xABCDEF;
    if (confirmed)
        dialogs.colorDialog.queue(FakeDialogService::chosenColor(0xFF, edited));
    else
        dialogs.colorDialog.queue({false, 0xFF, edited});   // what a dialog might leave behind

    dlg.ShowColor(nullptr);
    CustomColors shown{};
    shown[3] = 0xFF00;
    QCOMPARE(dialogs.colorDialog.last()->customColors, shown);   // green in slot 3
    const CustomColors& expected = confirmed ? edited : shown;
    for (int i = 0; i < 16; ++i)
        QCOMPARE(dlg.CustColors(i), expected[static_cast<std::size_t>(i)]);

    // The next dialog starts from what the object now holds.
    dlg.ShowColor(nullptr);
    QCOMPARE(dialogs.colorDialog.last()->customColors, expected);
}

void TestColorFontDlg::showColor_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<ColorValue>("startColor");

    QTest::newRow("RGBINIT, confirmed") << 0x1 << true << ColorValue(0xFF);
    QTest::newRow("RGBINIT, cancelled") << 0x1 << false << ColorValue(0xFF);
    QTest::newRow("RGBINIT and full open") << 0x3 << true << ColorValue(0xFF);
    QTest::newRow("no flags: starts on black") << 0 << true << ColorValue(0);
    QTest::newRow("full open only: starts on black") << 0x2 << false << ColorValue(0);
}

void TestColorFontDlg::showColor()
{
    QFETCH(int, flags);
    QFETCH(bool, confirmed);
    QFETCH(ColorValue, startColor);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.Color = 0xFF;   // red
    dlg.Flags = flags;
    dlg.Cancel = confirmed;
    if (confirmed)
        dialogs.colorDialog.queue(FakeDialogService::chosenColor(0x00C08040));
    QWidget owner;

    const ColorValue returned = dlg.ShowColor(&owner);
    const ColorDialogRequest request = *dialogs.colorDialog.last();
    QCOMPARE(request.initialColor, startColor);
    QCOMPARE(request.flags, flags);
    QCOMPARE(request.owner, &owner);
    QCOMPARE(dlg.Cancel, !confirmed);
    QCOMPARE(returned, confirmed ? ColorValue(0x00C08040) : ColorValue(0));
    QCOMPARE(dlg.Color, confirmed ? ColorValue(0x00C08040) : ColorValue(0xFF));
    QCOMPARE(dlg.Flags, flags);
}

void TestColorFontDlg::fontSizeArithmetic_data()
{
    QTest::addColumn<float>("size");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<float>("sizeBack");

    QTest::newRow("12") << 12.0f << 16 << 120 << 12.0f;            // 15.96
    QTest::newRow("10.5") << 10.5f << 14 << 105 << 10.5f;          // 13.965
    QTest::newRow("10.25: halves to even") << 10.25f << 14 << 102 << 10.2f;   // 13.6325, 102.5
    QTest::newRow("10.75: halves to even") << 10.75f << 14 << 108 << 10.8f;   // 14.2975, 107.5
    QTest::newRow("negative: height positive") << -12.0f << 16 << -120 << -12.0f;
    QTest::newRow("zero") << 0.0f << 0 << 0 << 0.0f;
    QTest::newRow("0.25: tenths halves to even") << 0.25f << 0 << 2 << 0.2f;   // 0.3325, 2.5
}

void TestColorFontDlg::fontSizeArithmetic()
{
    QFETCH(float, size);
    QFETCH(int, height);
    QFETCH(int, tenths);
    QFETCH(float, sizeBack);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.FontSize = size;
    dialogs.fontDialog.queueAnswer(FakeDialogService::keepFont);

    dlg.ShowFont(nullptr, nullptr);
    const FontDialogRequest request = *dialogs.fontDialog.last();
    QCOMPARE(request.logFont.height, height);
    QCOMPARE(request.pointSizeTenths, tenths);
    QCOMPARE(request.flags, 0x43);
    QCOMPARE(dlg.FontSize, sizeBack);
}

void TestColorFontDlg::fontSizeOverflow_data()
{
    QTest::addColumn<float>("size");
    QTest::newRow("1e10") << 1e10f;
    QTest::newRow("-1e10") << -1e10f;
    QTest::newRow("height fits, tenths do not") << 3e8f;
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity();
}

void TestColorFontDlg::fontSizeOverflow()
{
    QFETCH(float, size);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.FontSize = size;
    dlg.FontName = "before";
    dlg.Cancel = true;
    try {
        dlg.ShowFont(nullptr, nullptr);
        QFAIL("an oversized font must raise error 6");
    } catch (const RunTimeError& error) {
        QCOMPARE(error.number(), ErrorNumber::Overflow);
    }
    QCOMPARE(dialogs.totalCalls(), 0);
    QCOMPARE(dlg.Cancel, false);
    QCOMPARE(dlg.FontName, QStringLiteral("before"));
    QCOMPARE(dlg.FontSize, size);
}

void TestColorFontDlg::fontStartRecord_data()
{
    QTest::addColumn<bool>("hasDeviceFont");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("faceName");

    QTest::newRow("no device font: zero record") << false << "" << false << 0 << "";
    QTest::newRow("no device font, bold and name set") << false << "MS Serif" << true << 700 << "MS Serif";
    QTest::newRow("bold device font stays bold") << true << "" << false << 700 << "DejaVu Sans";
    QTest::newRow("name replaces device face") << true << "ＭＳ Ｐゴシック" << false << 700 << "ＭＳ Ｐゴシック";
    QTest::newRow("long name cut to 31")
        << false << QString(40, u'字') << false << 0 << QString(31, u'字');
}

void TestColorFontDlg::fontStartRecord()
{
    QFETCH(bool, hasDeviceFont);
    QFETCH(QString, fontName);
    QFETCH(bool, bold);
    QFETCH(int, weight);
    QFETCH(QString, faceName);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.FontName = fontName;
    dlg.FontBold = bold;
    dlg.FontItalic = true;
    dlg.FontUnderline = false;
    dlg.FontStrikethrough = true;
    dlg.FontSize = 12;
    dlg.Color = 0x0000FF;

    QFont device(QStringLiteral("DejaVu Sans"));
    device.setPixelSize(20);
    device.setWeight(QFont::Bold);
    device.setUnderline(true);   // overridden by FontUnderline
    device.setStyleHint(QFont::Serif);
    dlg.ShowFont(nullptr, hasDeviceFont ? &device : nullptr);

    const FontDialogRequest request = *dialogs.fontDialog.last();
    LogFont expected;
    if (hasDeviceFont) {
        expected.charSet = LogFontValue::defaultCharSet;
        expected.pitchAndFamily = LogFontValue::familyRoman;   // kept from the device font
    }
    expected.height = 16;
    expected.weight = weight;
    expected.italic = 1;
    expected.underline = 0;
    expected.strikeOut = 1;
    expected.faceName = faceName;
    QCOMPARE(request.logFont, expected);
    QCOMPARE(request.color, ColorValue(0x0000FF));
    QCOMPARE(dlg.Cancel, true);   // nothing queued: cancelled
}

void TestColorFontDlg::fontResults_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<float>("size");

    QTest::newRow("400 is not bold") << 400 << 105 << false << 10.5f;
    QTest::newRow("401 is bold") << 401 << 120 << true << 12.0f;
    QTest::newRow("700 is bold") << 700 << 102 << true << 10.2f;
    QTest::newRow("0 is not bold") << 0 << 90 << false << 9.0f;
}

void TestColorFontDlg::fontResults()
{
    QFETCH(int, weight);
    QFETCH(int, tenths);
    QFETCH(bool, bold);
    QFETCH(float, size);
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.FontBold = !bold;
    dlg.FontItalic = true;
    dlg.FontUnderline = true;
    FontDialogResult answer;
    answer.accepted = true;
    answer.logFont.weight = weight;
    answer.logFont.strikeOut = 1;
    answer.logFont.faceName = QStringLiteral("IPAGothic") + QChar(0) + "xx";
    answer.pointSizeTenths = tenths;
    answer.color = 0x00FF00;
    dialogs.fontDialog.queue(answer);

    QCOMPARE(dlg.ShowFont(nullptr, nullptr), QStringLiteral("IPAGothic"));
    QCOMPARE(dlg.Cancel, false);
    QCOMPARE(dlg.FontName, QStringLiteral("IPAGothic"));
    QCOMPARE(dlg.FontSize, size);
    QCOMPARE(dlg.FontBold, bold);
    QCOMPARE(dlg.FontItalic, false);
    QCOMPARE(dlg.FontUnderline, false);
    QCOMPARE(dlg.FontStrikethrough, true);
    QCOMPARE(dlg.Color, ColorValue(0x00FF00));
}

void TestColorFontDlg::fontCancelled()
{
    FakeDialogService dialogs;
    ColorFontDlg dlg(dialogs);
    dlg.FontName = "Serif";
    dlg.FontSize = 10.5f;
    dlg.FontBold = true;
    dlg.FontUnderline = true;
    dlg.Color = 0x123456;
    QWidget owner;
    QCOMPARE(dlg.ShowFont(&owner, nullptr), QString());
    QCOMPARE(dialogs.fontDialog.last()->owner, &owner);
    QCOMPARE(dlg.Cancel, true);
    QCOMPARE(dlg.FontName, QStringLiteral("Serif"));
    QCOMPARE(dlg.FontSize, 10.5f);
    QCOMPARE(dlg.FontBold, true);
    QCOMPARE(dlg.FontUnderline, true);
    QCOMPARE(dlg.Color, ColorValue(0x123456));
}

QTEST_MAIN(TestColorFontDlg)
#include "tst_colorfontdlg.moc"
