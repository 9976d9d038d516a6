#pragma once

#include "window/FormDesign.h"
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

// Pixels for a length in twips at 96 dots per inch, rounded.
constexpr int Twips(int twips)
{
    return (twips * 2 + 15) / 30;
}

// Client area in pixels.
inline constexpr int ClientWidth = Twips(FormWidth);
inline constexpr int ClientHeight = Twips(FormHeight);

// One of the window's fonts; installed Japanese fonts stand in for them.
QFont FormFont(FontFace face);
void InstallFontSubstitutions();

// Creates the controls on client as the window's design has them, in tab order.
FormWidgets BuildFormWidgets(QWidget* client);

// The window's 32 x 32 icon.
QIcon FormIcon();

} // namespace quillmark
