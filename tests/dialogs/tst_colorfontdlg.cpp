// ColorFontDlg: custom colours, the colour dialog's start and results, and the font record the
// font dialog starts on and what it gives back.

#include "dialogs/ColorFontDlg.h"
#include "support/FakeDialogService.h"

#include <QFont>
#include <QTest>

using namespace sorvel;

class TestColorFontDlg : public QObject {
    Q_OBJECT

private slots:
    // Index 0..15 stores; any other index reads 0 and writes nothing.
    void custColorsBounds()
    {
        for (const int index : {0, 15, 16, -1, 32767, -32768}) {
            FakeDialogService dialogs;
            ColorFontDlg dlg(dialogs);
            dlg.setCustColors(index, 0xFF00);
            QCOMPARE(dlg.CustColors(index), index >= 0 && index < 16 ? ColorValue(0xFF00) : ColorValue(0));
            for (int i = 0; i < 16; ++i)
                QCOMPARE(dlg.CustColors(i), i == index ? ColorValue(0xFF00) : ColorValue(0));
        }
    }

    // The start colour (Color only with RGBINIT), the result, and the custom colours: shown to
    // the dialog, kept as the user left them when confirmed, and shown again by the next dialog.
    void showColor_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("RGBINIT, confirmed") << 0x1 << true;
        QTest::newRow("RGBINIT and full open, cancelled") << 0x3 << false;
        QTest::newRow("full open only: starts on black") << 0x2 << true;
    }
    void showColor()
    {
        QFETCH(int, flags);
        QFETCH(bool, confirmed);
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.Color = 0xFF;
        dlg.Flags = flags;
        dlg.Cancel = confirmed;
        dlg.setCustColors(3, 0xFF00);
        CustomColors shown{}, edited{};
        shown[3] = edited[3] = 0xFF00;
        edited[0] = 0x123456;
        edited[15] = 0xABCDEF;
        // A cancelled dialog may leave a colour and custom colours behind: they must not count.
        dialogs.colorDialog.queue({confirmed, 0x00C08040, edited});

        QCOMPARE(dlg.ShowColor(nullptr), confirmed ? ColorValue(0x00C08040) : ColorValue(0));
        QCOMPARE(dialogs.colorDialog.last()->initialColor, (flags & 1) ? ColorValue(0xFF) : ColorValue(0));
        QCOMPARE(dialogs.colorDialog.last()->customColors, shown);
        QCOMPARE(dlg.Cancel, !confirmed);
        QCOMPARE(dlg.Color, confirmed ? ColorValue(0x00C08040) : ColorValue(0xFF));
        const CustomColors& expected = confirmed ? edited : shown;
        for (int i = 0; i < 16; ++i)
            QCOMPARE(dlg.CustColors(i), expected[static_cast<std::size_t>(i)]);
        dlg.ShowColor(nullptr);
        QCOMPARE(dialogs.colorDialog.last()->customColors, expected);
    }

    // The record starts as the device font's, with what the properties set: size to height
    // (x 1.33) and tenths (x 10, halves to even) and back. Weights above 400 come back bold.
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
        QTest::newRow("10.25 comes back 10.2") << 10.25f << 14 << 102 << 10.2f << 700 << true;   // 102.5
        QTest::newRow("10.75 comes back 10.8") << 10.75f << 14 << 108 << 10.8f << 0 << false;   // 107.5
        QTest::newRow("negative: height positive") << -12.0f << 16 << -120 << -12.0f << 400 << false;
    }
    void fontResults()
    {
        QFETCH(float, size);
        QFETCH(int, weight);
        QFETCH(bool, bold);
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.FontName = QString(40, u'字');
        dlg.FontSize = size;
        dlg.FontBold = !bold;
        dlg.FontItalic = dlg.FontUnderline = true;
        QFont device(QStringLiteral("DejaVu Sans"));
        device.setPixelSize(20);
        device.setStrikeOut(true);   // overridden by FontStrikethrough
        device.setStyleHint(QFont::Serif);
        // Confirmed on the size it was given, with another face, weight and colour.
        dialogs.fontDialog.queueAnswer([weight](const FontDialogRequest& request) {
            FontDialogResult answer = FakeDialogService::keepFont(request);
            answer.logFont.weight = weight;
            answer.logFont.italic = answer.logFont.underline = 0;
            answer.logFont.strikeOut = 1;
            answer.logFont.faceName = QStringLiteral("IPAGothic") + QChar(0) + "xx";
            answer.color = 0x00FF00;
            return answer;
        });

        QCOMPARE(dlg.ShowFont(nullptr, &device), QStringLiteral("IPAGothic"));
        LogFont expected;
        QFETCH(int, height);
        expected.height = height;
        expected.weight = bold ? 400 : 700;   // the device font's unless FontBold
        expected.italic = expected.underline = 1;
        expected.charSet = LogFontValue::defaultCharSet;
        expected.pitchAndFamily = LogFontValue::familyRoman;   // kept from the device font
        expected.faceName = QString(31, u'字');
        QCOMPARE(dialogs.fontDialog.last()->logFont, expected);
        QTEST(dialogs.fontDialog.last()->pointSizeTenths, "tenths");
        QCOMPARE(dialogs.fontDialog.last()->flags, 0x43);
        QCOMPARE(dlg.Cancel, false);
        QTEST(dlg.FontSize, "sizeBack");
        QCOMPARE(dlg.FontName, QStringLiteral("IPAGothic"));
        QCOMPARE(dlg.FontBold, bold);
        QVERIFY(!dlg.FontItalic && !dlg.FontUnderline && dlg.FontStrikethrough);
        QCOMPARE(dlg.Color, ColorValue(0x00FF00));

        // Cancelled (nothing queued): no property changes.
        QCOMPARE(dlg.ShowFont(nullptr, &device), QString());
        QVERIFY(dlg.Cancel && dlg.FontName == u"IPAGothic" && dlg.FontBold == bold && dlg.FontStrikethrough);
        QTEST(dlg.FontSize, "sizeBack");
    }

    // Error 6 before any dialog; Cancel already false, no property changed.
    void fontSizeOverflow()
    {
        for (const float size : {-1e10f, 3e8f /* height fits, tenths do not */, std::numeric_limits<float>::infinity()}) {
            FakeDialogService dialogs;
            ColorFontDlg dlg(dialogs);
            dlg.FontSize = size;
            dlg.FontName = "before";
            dlg.Cancel = true;
            int raised = 0;
            try {
                dlg.ShowFont(nullptr, nullptr);
            } catch (const RunTimeError& error) {
                raised = error.code();
            }
            QCOMPARE(raised, 6);
            QCOMPARE(dialogs.totalCalls(), 0);
            QVERIFY(!dlg.Cancel && dlg.FontName == u"before" && dlg.FontSize == size);
        }
    }
};

QTEST_MAIN(TestColorFontDlg)
#include "tst_colorfontdlg.moc"
