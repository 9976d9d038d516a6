#pragma once

#include "window/qt/ListBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace quillmark {

// The converter window's eighteen widgets, named as the controls they are.
struct FormWidgets {
    QPushButton* cmd1 = nullptr;
    QPushButton* cmd2 = nullptr;
    ListBox* List1 = nullptr;
    ListBox* List2 = nullptr;
    QLabel* lbl2 = nullptr;
    QLabel* lbl3 = nullptr;
    QPushButton* cmd3 = nullptr;
    QPushButton* cmd4 = nullptr;
    QLabel* lbl4 = nullptr;
    QLabel* lbl5 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QPlainTextEdit* rtb1 = nullptr; // HTML view
    QPlainTextEdit* rtb2 = nullptr; // source view
    QPushButton* cmd5 = nullptr;
    ListBox* List0 = nullptr;
    QLabel* Label1 = nullptr;
};

// Client area in pixels (10710 x 8445 twips).
inline constexpr int ClientWidth = 714;
inline constexpr int ClientHeight = 563;

// Pixels for a length in twips at 96 dots per inch, rounded.
constexpr int Twips(int twips)
{
    return (twips * 2 + 15) / 30;
}

// The window font and the proportional font, both 9 pt, mapped to installed Japanese fonts.
QFont GothicFont();
QFont PGothicFont();
void InstallFontSubstitutions();

// Creates the controls on client at their fixed places, with their design-time state, and
// links them in tab order.
FormWidgets BuildFormWidgets(QWidget* client);

// The window's 32 x 32 icon.
QIcon FormIcon();

} // namespace quillmark
