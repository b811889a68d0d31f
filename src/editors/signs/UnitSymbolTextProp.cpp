// The text primitive window.
#include "editors/signs/UnitSymbolTextProp.h"

#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/signs/Symbols.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

TModalResult SymbolTextPropDlg(RVpText& text, TSymbols& symbols)
{
    TFormSymbolTextProp window(text, symbols, DialogOwner());
    const TModalResult result = window.ShowModal();
    if (result == mrOk)
        window.WriteBack();
    return result;
}

TFormSymbolTextProp::TFormSymbolTextProp(RVpText& text, TSymbols& symbols, QWidget* parent)
    : TFormTextStyleBase(symbols, 80, parent), Text(text)
{
    setObjectName(QStringLiteral("FormSymbolTextProp"));
    SetClientSize(340, 322);

    auto* textLabel = new QLabel(QStringLiteral("Надпись"), this);
    Place(textLabel, QRect(8, 6, 120, 16));
    eText = new QLineEdit(this);
    eText->setObjectName(QStringLiteral("eText"));
    Place(eText, QRect(8, 22, 324, 21));

    auto* angleLabel = new QLabel(QStringLiteral("Поворот"), this);
    Place(angleLabel, QRect(8, 54, 60, 16));
    neAngle = new TNumEdit(this);
    neAngle->setObjectName(QStringLiteral("neAngle"));
    neAngle->UniversalDecimalSeparator = true;
    neAngle->ClearTextIFValueNotFloat = true;
    neAngle->EnableFloatPrecision = true;
    neAngle->SetNumberOfDecimalDigits(2);
    neAngle->setText(QStringLiteral("0"));
    Place(neAngle, QRect(70, 51, 70, 21));

    btOk = AddButton(QStringLiteral("Готово"), QRect(252, 289, 80, 25), mrOk);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);

    FillStyles();
    if (text.OwnStyle) {
        ShowPage(csFont);
        ShowUserStyle(*text.OwnStyle);
    } else {
        ShowPage(csStyle);
        TUserStyle over;
        symbols.SelectTextStyleOver(text, over);
        ShowUserStyle(over);
        ChooseStyle(text.StyleName);
    }
    eText->setText(text.Text);
    neAngle->SetFloatValue(text.Angle);
    PlaceScreenCentre();
}

void TFormSymbolTextProp::WriteBack()
{
    if (!StylePageActive()) {
        const TUserStyle chosen = FontPageStyle();
        if (!Text.OwnStyle)
            Text.OwnStyle = std::make_unique<TUserStyle>();
        *Text.OwnStyle = chosen;
    } else if (ChosenStyle() >= 0) {
        // With no entry chosen there is no style to name: the text keeps the one it has.
        Text.OwnStyle.reset();
        Text.StyleName = cbStyle->itemText(ChosenStyle());
    }
    Text.Text = eText->text();
    Text.Angle = neAngle->FloatValue();
}

void TFormSymbolTextProp::showEvent(QShowEvent* e)
{
    TFormTextStyleBase::showEvent(e);
    if (FirstShown)
        return;
    FirstShown = true;
    eText->selectAll();
    eText->setFocus();
}

// Enter confirms and Esc closes with 2 when the key reaches the window: the focused
// control has not taken it.
void TFormSymbolTextProp::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        SetModalResult(mrOk);
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        SetModalResult(mrCancel);
        return;
    }
    TFormTextStyleBase::keyPressEvent(e);
}
