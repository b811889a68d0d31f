// "Надпись": one text of the main plan created or edited, its text, position, rotation,
// size factor and its look, a text style of the sign library (page "Стиль") or a font of
// its own (page "Шрифт"). On "Готово" it issues mcNewText or mcSetTextProp; the button
// "Изменить" moves the text at once with commands of its own.
#pragma once

#include "dialogs/objects/ObjectValues.h"
#include "foundation/ui/DialogBase.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TFontComboBox;
class TNumEdit;

// The window on the text at (page, layer, index), a new one when isNew. On 1 the command
// is issued. Page, layer and index are written back whatever the result. 2 without a
// window or a main plan.
TModalResult TextPropDlg(int& page, int& layer, int& index, bool isNew);

// The text's values on opening: a new text's defaults (the first style of the library,
// or none), or what the getter reports.
RTextValues TextOnOpening(bool isNew, int page, int layer, int index);

// The comment lines of a style's comment file "шрифты/<scale>/<comment>.wri", or the one
// line "Комментарии к стилю не найдены" when there is no such file.
QStringList StyleComment(int scale, const QString& comment);

// A colour as stored (0x00BBGGRR) to and from the toolkit's colour.
QColor ColorOfTColor(int color);
int TColorOfColor(const QColor& color);

class TFormTextProp : public TDialogBase {
    Q_OBJECT
public:
    // styles: the names of the library's text styles, in library order.
    TFormTextProp(const RTextValues& values, bool isNew, int page, int layer, int index,
                  const QStringList& styles, QWidget* parent = nullptr);

    // The values as the window holds them: own font 1 while the page "Шрифт" is shown,
    // else 0 and the style chosen (none: empty); with own font the style name read on
    // opening.
    RTextValues Values() const;
    const QString& Params() const { return ConfirmedParams; }
    TMapCommand Command() const { return IsNew ? mcNewText : mcSetTextProp; }

    int Page;
    int Layer;
    int Index;

    QLineEdit* eText;
    TNumEdit* neX;
    TNumEdit* neY;
    TNumEdit* neAngle;
    TNumEdit* neKSz;
    QLabel* LPage;
    QLabel* LLayer;
    QPushButton* sbChangePageLayer;   // "Изменить"
    QTabWidget* PageControl1;
    QWidget* csStyle;
    QWidget* csFont;
    QComboBox* cbStyle;
    QPlainTextEdit* Memo1;
    TFontComboBox* FontSelector;
    QCheckBox* CheckBox1;
    TNumEdit* neFS;
    QToolButton* sbFB;
    QToolButton* sbFI;
    QToolButton* sbFU;
    QPushButton* pnColor;
    QPushButton* BitBtn1;             // "Готово"

    void cbStyleChange();
    void pnColorClick();
    void sbChangePageLayerClick();
    // Builds the command; a text the formatter refuses is shown and the window stays.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ShowStyle(const QString& comment, std::uint8_t flags, const QString& fontName,
                   Extended size, int color);
    void SetColor(int color);
    void ShowPlace();

    bool IsNew;
    QString OpeningStyleName;
    // The list entry shown at the opening (the stored style, added when the library lacks
    // it); -1 for none.
    int OpeningStyleIndex = -1;
    int Color = 0;
    QString ConfirmedParams;
};
