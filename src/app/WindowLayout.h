#pragma once
// Where every control of the main window sits and what it says: position and size in twips
// (1/1440 inch, 15 twips a pixel at 96 dpi) from the top-left corner of its container, caption
// and tooltip. The window builds itself from this table alone.

#include <QRect>
#include <QString>
#include <QStringView>

#include <array>

namespace sorvel::layout {

struct Place {
    int left;
    int top;
    int width;
    int height;
};

struct Control {
    Place place;
    QStringView caption; // empty: none
    QStringView toolTip; // empty: none
};

constexpr int twipsPerPixel = 15;

// Nearest whole pixel (280 twips -> 19 px).
constexpr int toPixels(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}
constexpr QRect toPixels(const Place& p)
{
    return QRect(toPixels(p.left), toPixels(p.top), toPixels(p.width), toPixels(p.height));
}

inline constexpr Place clientArea{0, 0, 6495, 4680}; // 433 x 312 px

inline constexpr QStringView readyCaption = u"Sorvel ペイント";
inline constexpr QStringView busyCaption = u"フォント名取得中 - Sorvel ペイント";

// What assistive technology calls the controls that have no caption or tooltip to go by.
inline constexpr QStringView previewName = u"プレビュー";
inline constexpr QStringView swatchNamePattern = u"色 %1"; // numbered from 1

// clang-format off
//                                           left   top  width height   caption                      tooltip
// In the window:
inline constexpr Control previewLabel     {{ 120,  120,  795,  180}, u"プレビュー",                {}};
inline constexpr Control viewport         {{ 240,  360, 5895, 1215}, {},                           {}};
inline constexpr Control verticalBar      {{6120,  360,  255, 1215}, {},                           {}};
inline constexpr Control horizontalBar    {{ 240, 1560, 5895,  255}, {},                           {}};
inline constexpr Control textFrame        {{ 120, 1920, 6255,  735}, u"文字",                      {}};
inline constexpr Control fontFrame        {{ 120, 2760, 6255,  735}, u"フォント",                  {}};
inline constexpr Control colorFrame       {{ 120, 3600, 3495,  975}, u"色　（右クリックで背景色）", u"色の変更、右クリックで背景色"};
inline constexpr Control shadowBox        {{3720, 3600, 1215,  255}, u"影を付ける",                u"影をつけます"};
inline constexpr Control rainbowBox       {{4920, 3600,  735,  255}, u"虹色",                      {}};
inline constexpr Control frameBox         {{5760, 3600,  615,  255}, u"枠",                        {}};
inline constexpr Control copyButton       {{4080, 3960,  495,  495}, {},                           u"クリップボードにコピー"};
inline constexpr Control saveButton       {{5040, 3960,  495,  495}, {},                           u"ファイルへ保存"};
// In the viewport; the preview starts at its design size, the renderer sizes it.
inline constexpr Control preview          {{   0,    0, 5055,  855}, {},                           {}};
// In the text frame:
inline constexpr Control textBox          {{ 120,  240, 6015,  420}, {},                           {}};
// In the font frame:
inline constexpr Control fontList         {{ 120,  240, 2895,  405}, {},                           u"フォント"};
inline constexpr Control sizeLabel        {{3120,  360,  510,  180}, u"サイズ",                    {}};
inline constexpr Control sizeBox          {{3720,  240,  855,  405}, u"14",                        u"文字のサイズ"};
// Bold, italic, underline, strikethrough; bold and italic show a picture instead of a caption.
inline constexpr std::array<Control, 4> styleButtons {{
    {{4680,  240,  375,  375}, {},                           u"太字"},
    {{5040,  240,  375,  375}, {},                           u"斜体"},
    {{5400,  240,  375,  375}, u"U",                         u"下線"},
    {{5760,  240,  375,  375}, u"S",                         u"取り消し線"},
}};
// In the colour frame:
inline constexpr Control swatchPanel      {{ 120,  240, 3255,  615}, {},                           {}};
// In the swatch panel:
inline constexpr Control backgroundButton {{2520,    0,  735,  255}, u"背景",                      u"背景画像の選択"};
inline constexpr Control otherColorButton {{2520,  360,  735,  255}, u"その他",                    u"その他の色"};
// Swatches 0-7 in the upper row, 8-15 below; the steps between columns are uneven.
inline constexpr std::array<int, 8> swatchLefts{0, 280, 590, 900, 1200, 1520, 1830, 2160};
inline constexpr std::array<int, 2> swatchTops{0, 360};
inline constexpr int swatchSide = 255;
// clang-format on

// The swatches' colours by name, in palette order, and what their tooltip says about them.
inline constexpr std::array<QStringView, 16> swatchColorNames{
    u"黒",   u"紺", u"緑",   u"青緑", u"えんじ", u"紫",   u"オリーブ", u"明るい灰色",
    u"灰色", u"青", u"黄緑", u"水色", u"赤",     u"赤紫", u"黄",       u"白",
};
inline constexpr QStringView swatchToolTipPattern = u"%1\n左クリック：文字の色\n右クリック：背景色";

inline QString swatchToolTip(int index)
{
    return swatchToolTipPattern.toString().arg(swatchColorNames.at(static_cast<std::size_t>(index)));
}

constexpr Place swatchPlace(int index)
{
    return {swatchLefts[static_cast<std::size_t>(index % 8)], swatchTops[static_cast<std::size_t>(index / 8)],
            swatchSide, swatchSide};
}

} // namespace sorvel::layout
