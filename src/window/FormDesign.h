#pragma once

// The converter window as it is designed: its title, size, fonts and eighteen controls, with
// places in twips. Each toolkit builds its window from this and turns twips into its pixels.

#include "window/Controls.h"

#include <array>
#include <cstddef>
#include <optional>

namespace quillmark {

inline constexpr const char* FormTitle = "Quillmark";
// Client area, in twips.
inline constexpr int FormWidth = 10710;
inline constexpr int FormHeight = 8445;

// Both fonts are 9 pt, normal weight, Shift-JIS; the fixed-pitch one is the window's own.
enum class FontFace { Gothic, PGothic };

struct FontDesign {
    const char* family;
    bool fixedPitch;
};

inline constexpr int FontPoints = 9;
inline constexpr int FontWeight = 400;
inline constexpr std::array<FontDesign, 2> FormFonts = {{
    {"ＭＳ ゴシック", true},
    {"ＭＳ Ｐゴシック", false},
}};

constexpr const FontDesign& FontOf(FontFace face)
{
    return FormFonts[static_cast<std::size_t>(face)];
}

enum class ControlKind { CommandButton, ListBox, Label, CheckBox, TextView };

struct ControlDesign {
    const char* name;
    ControlKind kind;
    const char* caption;
    const char* tip;
    FontFace font;
    int left, top, width, height; // twips
    // Colours that differ from the toolkit's own for the kind.
    std::optional<OleColor> foreColor{};
    std::optional<OleColor> backColor{};
    bool visible = true;
};

// A control's place in the table, which is the tab order.
namespace control {
enum Index : std::size_t {
    cmd1,
    cmd2,
    List1,
    List2,
    lbl2,
    lbl3,
    cmd3,
    cmd4,
    lbl4,
    lbl5,
    Check1,
    Check2,
    Check3,
    rtb1,
    rtb2,
    cmd5,
    List0,
    Label1,
    Count
};
} // namespace control

inline constexpr OleColor vbBlack = 0x000000;

// The controls in the order of control::Index. Labels and check boxes are black; the HTML view
// is light grey, and starts hidden under the source view so that it never takes the focus.
inline constexpr std::array<ControlDesign, control::Count> FormDesign = {{
    {"cmd1", ControlKind::CommandButton, "変換", "テキストを変換", FontFace::PGothic, 6960, 7920, 975, 375},
    {"cmd2", ControlKind::CommandButton, "閉じる", "閉じる", FontFace::PGothic, 9720, 7920, 855, 375},
    {"List1", ControlKind::ListBox, "", "クリックで選択", FontFace::PGothic, 8040, 1350, 2535, 2220},
    {"List2", ControlKind::ListBox, "", "クリックでソースを表示", FontFace::PGothic, 8040, 3840, 2535, 3840},
    {"lbl2", ControlKind::Label, "モジュールリスト", "", FontFace::PGothic, 8040, 1130, 1935, 255, vbBlack},
    {"lbl3", ControlKind::Label, "プロシージャリスト", "", FontFace::PGothic, 8040, 3620, 1935, 255, vbBlack},
    {"cmd3", ControlKind::CommandButton, "ｿｰｽｺｰﾄﾞ", "ソースコードを表示", FontFace::PGothic, 8160, 7920, 975, 375},
    {"cmd4", ControlKind::CommandButton, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ", "テキストをクリップボードへ転送", FontFace::PGothic, 5640, 7920,
     1095, 375},
    {"lbl4", ControlKind::Label, "モジュール", "", FontFace::PGothic, 120, 7800, 5415, 255, vbBlack},
    {"lbl5", ControlKind::Label, "処理", "", FontFace::PGothic, 120, 8040, 5415, 375, vbBlack},
    {"Check1", ControlKind::CheckBox, "　リンクタグを先頭に生成", "", FontFace::PGothic, 5400, 50, 2295, 375, vbBlack},
    {"Check2", ControlKind::CheckBox, " 右端で折り返す", "", FontFace::Gothic, 240, 50, 1695, 375, vbBlack},
    {"Check3", ControlKind::CheckBox, " 追記モード", "", FontFace::Gothic, 3720, 50, 1575, 375, vbBlack},
    {"rtb1", ControlKind::TextView, "", "", FontFace::Gothic, 120, 480, 7815, 7215, {}, 0xE0E0E0, false},
    {"rtb2", ControlKind::TextView, "", "", FontFace::Gothic, 120, 480, 7815, 7215},
    {"cmd5", ControlKind::CommandButton, "編集", "", FontFace::Gothic, 2160, 70, 735, 320},
    {"List0", ControlKind::ListBox, "", "", FontFace::PGothic, 8040, 480, 2535, 600},
    {"Label1", ControlKind::Label, "プロジェクトリスト", "", FontFace::Gothic, 8040, 240, 2055, 255, vbBlack},
}};

} // namespace quillmark
