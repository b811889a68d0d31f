// The base of the two "Надпись" windows: a named text style of the sign library on the
// page "Стиль", or an own font (name, colour, size in millimetres, bold, italic,
// underline) on the page "Шрифт". The page active when the window closes decides.
#pragma once

#include "foundation/GeoDataObjectsRefs.h"
#include "foundation/ui/DialogBase.h"

#include <QFrame>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class TFontComboBox;
class TNumEdit;
class TSymbols;

// The colour dialog "цвет" opens in the caption style window: true with color
// (0x00BBGGRR) when one was chosen. Tests put a scripted answer here; empty: the
// toolkit's colour dialog.
using TColorDialogHook = std::function<bool(std::int32_t& color)>;
TColorDialogHook& ColorDialogHook();
bool ExecColorDialog(std::int32_t& color);

// The colour field: a panel in the colour, clicked to change it where the window allows.
class TColorPanel : public QFrame {
    Q_OBJECT
public:
    explicit TColorPanel(QWidget* parent);
    std::int32_t Color() const { return FColor; }
    void SetColor(std::int32_t color);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    std::int32_t FColor = 0;
};

class TFormTextStyleBase : public TDialogBase {
    Q_OBJECT
public:
    // symbols: the library whose styles are offered (link, not owned). top: the client
    // pixels above the page control, where a window puts its own controls.
    TFormTextStyleBase(TSymbols& symbols, int top, QWidget* parent);

    QTabWidget* PageControl1;
    QWidget* csStyle;           // "Стиль"
    QWidget* csFont;            // "Шрифт"
    QComboBox* cbStyle;
    QPlainTextEdit* Memo1;      // the comment file of the chosen style
    TFontComboBox* FontSelector;
    QCheckBox* CheckBox1;       // "шрифт для списка"
    TNumEdit* neFS;             // size, millimetres
    TColorPanel* pnColor;
    QToolButton* sbFB;          // "Ж"
    QToolButton* sbFI;          // "К"
    QToolButton* sbFU;          // "Ч"

    // The font page's values as an own style (flags: bold, italic, underline bits).
    TUserStyle FontPageStyle();
    // The style page active at the close: the named style applies.
    bool StylePageActive() const;
    // The chosen entry of the style list, -1 when none.
    int ChosenStyle() const;

    // The comment file of a style: "шрифты/<scale>/<comment>.wri" below the program
    // folder, found ignoring letter case; its lines, or the notice that there are none.
    static QStringList CommentLines(int scale, const QString& comment);

protected:
    // Fills the list with every style of the library, in library order.
    void FillStyles();
    // Shows an own style on the font page.
    void ShowUserStyle(const TUserStyle& style);
    // Chooses the entry of that name when the list has it; the font page and the memo
    // then show that style. The memo shows the notice when there is no such entry.
    void ChooseStyle(const QString& name);
    void ShowPage(QWidget* page);

    TSymbols& Symbols;   // link, not owned

private:
    // The chosen entry's style on the font page and its comment in the memo.
    void StyleChosen(int index);
};
