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
    void custColorsBounds_data()
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
    void custColorsBounds()
    {
        QFETCH(int, index);
        QFETCH(bool, stored);
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.setCustColors(index, 0xFF00);
        QCOMPARE(dlg.CustColors(index), stored ? ColorValue(0xFF00) : ColorValue(0));
        for (int i = 0; i < 16; ++i)
            QCOMPARE(dlg.CustColors(i), stored && i == index ? ColorValue(0xFF00) : ColorValue(0));
    }

    // The start colour (red only with RGBINIT), the result, and the custom colours: shown to the
    // dialog, kept as the user left them when confirmed, and shown again by the next dialog.
    void showColor_data()
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
    void showColor()
    {
        QFETCH(int, flags);
        QFETCH(bool, confirmed);
        QFETCH(ColorValue, startColor);
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.Color = 0xFF;   // red
        dlg.Flags = flags;
        dlg.Cancel = confirmed;
        dlg.setCustColors(3, 0xFF00);
        CustomColors edited{};
        edited[0] = 0x123456;
        edited[3] = 0xFF00;
        edited[15] = 0xABCDEF;
        // A cancelled dialog may leave a colour and custom colours behind: they must not count.
        dialogs.colorDialog.queue({confirmed, 0x00C08040, edited});
        QWidget owner;

        const ColorValue returned = dlg.ShowColor(&owner);
        const ColorDialogRequest request = *dialogs.colorDialog.last();
        CustomColors shown{};
        shown[3] = 0xFF00;
        QCOMPARE(request.initialColor, startColor);
        QCOMPARE(request.flags, flags);
        QCOMPARE(request.owner, &owner);
        QCOMPARE(request.customColors, shown);
        QCOMPARE(dlg.Cancel, !confirmed);
        QCOMPARE(returned, confirmed ? ColorValue(0x00C08040) : ColorValue(0));
        QCOMPARE(dlg.Color, confirmed ? ColorValue(0x00C08040) : ColorValue(0xFF));
        QCOMPARE(dlg.Flags, flags);
        const CustomColors& expected = confirmed ? edited : shown;
        for (int i = 0; i < 16; ++i)
            QCOMPARE(dlg.CustColors(i), expected[static_cast<std::size_t>(i)]);

        dlg.ShowColor(nullptr);
        QCOMPARE(dialogs.colorDialog.last()->customColors, expected);
    }

    // Size to record and back, and what a confirmed dialog sets: weights above 400 are bold.
    void fontResults_data()
    {
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<float>("sizeBack");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("bold");
        QTest::newRow("12, weight 401 is bold") << 12.0f << 16 << 120 << 12.0f << 401 << true;   // 15.96
        QTest::newRow("10.5, weight 400 is not bold") << 10.5f << 14 << 105 << 10.5f << 400 << false;   // 13.965
        QTest::newRow("10.25: halves to even, weight 700") << 10.25f << 14 << 102 << 10.2f << 700 << true;   // 13.6325, 102.5
        QTest::newRow("10.75: halves to even") << 10.75f << 14 << 108 << 10.8f << 0 << false;   // 14.2975, 107.5
        QTest::newRow("negative: height positive") << -12.0f << 16 << -120 << -12.0f << 400 << false;
        QTest::newRow("zero") << 0.0f << 0 << 0 << 0.0f << 700 << true;
        QTest::newRow("0.25: tenths halves to even") << 0.25f << 0 << 2 << 0.2f << 400 << false;   // 0.3325, 2.5
    }
    void fontResults()
    {
        QFETCH(float, size);
        QFETCH(int, height);
        QFETCH(int, tenths);
        QFETCH(float, sizeBack);
        QFETCH(int, weight);
        QFETCH(bool, bold);
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.FontSize = size;
        dlg.FontBold = !bold;
        dlg.FontItalic = true;
        dlg.FontUnderline = true;
        // The dialog confirmed on the size it was given, with another face, weight and colour.
        dialogs.fontDialog.queueAnswer([weight](const FontDialogRequest& request) {
            FontDialogResult answer = FakeDialogService::keepFont(request);
            answer.logFont.weight = weight;
            answer.logFont.italic = answer.logFont.underline = 0;
            answer.logFont.strikeOut = 1;
            answer.logFont.faceName = QStringLiteral("IPAGothic") + QChar(0) + "xx";
            answer.color = 0x00FF00;
            return answer;
        });

        QCOMPARE(dlg.ShowFont(nullptr, nullptr), QStringLiteral("IPAGothic"));
        const FontDialogRequest request = *dialogs.fontDialog.last();
        QCOMPARE(request.logFont.height, height);
        QCOMPARE(request.pointSizeTenths, tenths);
        QCOMPARE(request.flags, 0x43);
        QCOMPARE(dlg.Cancel, false);
        QCOMPARE(dlg.FontSize, sizeBack);
        QCOMPARE(dlg.FontName, QStringLiteral("IPAGothic"));
        QCOMPARE(dlg.FontBold, bold);
        QCOMPARE(dlg.FontItalic, false);
        QCOMPARE(dlg.FontUnderline, false);
        QCOMPARE(dlg.FontStrikethrough, true);
        QCOMPARE(dlg.Color, ColorValue(0x00FF00));
    }

    void fontSizeOverflow_data()
    {
        QTest::addColumn<float>("size");
        QTest::newRow("1e10") << 1e10f;
        QTest::newRow("-1e10") << -1e10f;
        QTest::newRow("height fits, tenths do not") << 3e8f;
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity();
    }
    void fontSizeOverflow()
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

    // The record the dialog starts on: the device font's, with what the properties set; a
    // cancelled dialog then changes no property.
    void fontStartRecord_data()
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
        QTest::newRow("long name cut to 31") << false << QString(40, u'字') << false << 0 << QString(31, u'字');
    }
    void fontStartRecord()
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
        QWidget owner;
        QCOMPARE(dlg.ShowFont(&owner, hasDeviceFont ? &device : nullptr), QString());

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
        QCOMPARE(request.owner, &owner);
        // Nothing queued: cancelled, every property as before.
        QCOMPARE(dlg.Cancel, true);
        QCOMPARE(dlg.FontName, fontName);
        QCOMPARE(dlg.FontSize, 12.0f);
        QCOMPARE(dlg.FontBold, bold);
        QCOMPARE(dlg.FontItalic, true);
        QCOMPARE(dlg.FontUnderline, false);
        QCOMPARE(dlg.FontStrikethrough, true);
        QCOMPARE(dlg.Color, ColorValue(0x0000FF));
    }
};

QTEST_MAIN(TestColorFontDlg)
#include "tst_colorfontdlg.moc"
