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
    // Custom colours 0..15 (others read 0, write nothing) and the start colour (Color only with
    // RGBINIT) go to the dialog; what a confirmed one leaves is kept, what a cancelled one leaves is not.
    void showColor()
    {
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.Color = 0xFF;
        dlg.Flags = 0x2; // full open only: starts on black
        for (const int index : {0, 15})
            dlg.setCustColors(index, 0xFF00);
        for (const int index : {16, -1})
            dlg.setCustColors(index, 0x1);
        CustomColors shown{}, edited{};
        shown[0] = shown[15] = 0xFF00;
        edited[15] = 0xABCDEF;
        dialogs.colorDialog.queue({false, 0x00C08040, edited});
        QCOMPARE(dlg.ShowColor(nullptr), ColorValue(0));
        QCOMPARE(*dialogs.colorDialog.last(), (ColorDialogRequest{nullptr, 0, 0x2, shown}));
        QVERIFY(dlg.Cancel && dlg.Color == 0xFF);

        dlg.Flags = 0x1;
        dialogs.colorDialog.queue({true, 0x00C08040, edited});
        QCOMPARE(dlg.ShowColor(nullptr), ColorValue(0x00C08040));
        QCOMPARE(*dialogs.colorDialog.last(), (ColorDialogRequest{nullptr, 0xFF, 0x1, shown}));
        QVERIFY(!dlg.Cancel && dlg.Color == 0x00C08040);
        QVERIFY(dlg.CustColors(15) == 0xABCDEF && dlg.CustColors(0) == 0 && dlg.CustColors(16) == 0);
        dlg.ShowColor(nullptr);
        QCOMPARE(dialogs.colorDialog.last()->customColors, edited);
    }

    // The record starts as the device font's, with what the properties set: size to height
    // (x 1.33) and tenths (x 10, halves to even) and back. Weights above 400 come back bold.
    void fontResults_data()
    {
        QTest::addColumn<float>("size");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("tenths"); // the size that comes back, in tenths
        QTest::addColumn<int>("weight");
        QTest::newRow("10.25 comes back 10.2, weight 401 is bold") << 10.25f << 14 << 102 << 401; // 13.6325, 102.5
        QTest::newRow("10.75 comes back 10.8, weight 400") << 10.75f << 14 << 108 << 400;
        QTest::newRow("negative: height positive") << -12.0f << 16 << -120 << 0;
    }
    void fontResults()
    {
        QFETCH(float, size);
        QFETCH(int, height);
        QFETCH(int, tenths);
        QFETCH(int, weight);
        const bool bold = weight > 400;
        FakeDialogService dialogs;
        ColorFontDlg dlg(dialogs);
        dlg.FontName = QString(40, u'字');
        dlg.FontSize = size;
        dlg.FontBold = !bold;
        dlg.FontItalic = dlg.FontUnderline = true;
        dlg.Color = 0xFF;
        QFont device(QStringLiteral("DejaVu Sans"));
        device.setStrikeOut(true); // overridden by FontStrikethrough
        device.setStyleHint(QFont::Serif);
        // Confirmed on the size it was given, with another face, weight and colour.
        const LogFont chosen{
            .weight = weight, .strikeOut = 1, .faceName = QStringLiteral("IPAGothic") + QChar(0) + "x"};
        dialogs.fontDialog.queue({true, chosen, tenths, 0x00FF00});

        QCOMPARE(dlg.ShowFont(nullptr, &device), QStringLiteral("IPAGothic"));
        // Weight, character set and family (from the style hint) are the device font's.
        const LogFont expected{.height = height,
                               .weight = bold ? 400 : 700,
                               .italic = 1,
                               .underline = 1,
                               .charSet = 1,
                               .pitchAndFamily = LogFontValue::familyRoman,
                               .faceName = QString(31, u'字')};
        QCOMPARE(*dialogs.fontDialog.last(), (FontDialogRequest{nullptr, expected, tenths, 0xFF, 0x43}));
        QCOMPARE(dlg.FontSize, tenths / 10.0f);
        QVERIFY(!dlg.Cancel && dlg.FontName == u"IPAGothic" && dlg.FontBold == bold);
        QVERIFY(!dlg.FontItalic && !dlg.FontUnderline && dlg.FontStrikethrough && dlg.Color == 0x00FF00);
    }

    // Out of range before any dialog; Cancel already false, no property changed.
    void fontSizeOverflow()
    {
        FakeDialogService dialogs;
        for (const float size :
             {-1e10f, 3e8f /* height fits, tenths do not */, std::numeric_limits<float>::infinity()}) {
            ColorFontDlg dlg(dialogs);
            dlg.FontSize = size;
            dlg.Cancel = true;
            std::optional<FailureKind> raised;
            try {
                dlg.ShowFont(nullptr, nullptr);
            } catch (const Failure& error) {
                raised = error.kind();
            }
            QCOMPARE(raised, FailureKind::OutOfRange);
            QCOMPARE(dialogs.totalCalls(), 0);
            QVERIFY(!dlg.Cancel && dlg.FontSize == size);
        }
    }
};

QTEST_MAIN(TestColorFontDlg)
#include "tst_colorfontdlg.moc"
