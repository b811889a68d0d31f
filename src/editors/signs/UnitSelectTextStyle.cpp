// The caption style window.
#include "editors/signs/UnitSelectTextStyle.h"

#include "semantics/signs/Symbols.h"

#include <QComboBox>
#include <QPushButton>

TModalResult SelectTextStyleDlg(RSemText& rule, TSymbols& symbols)
{
    TFormSelectTextStyle window(rule, symbols, DialogOwner());
    const TModalResult result = window.ShowModal();
    if (result == mrOk)
        window.WriteBack(rule);
    return result;
}

TFormSelectTextStyle::TFormSelectTextStyle(const RSemText& rule, TSymbols& symbols, QWidget* parent)
    : TFormTextStyleBase(symbols, 8, parent)
{
    setObjectName(QStringLiteral("FormSelectTextStyle"));
    SetClientSize(340, 250);

    btOk = AddButton(QStringLiteral("Готово"), QRect(164, 217, 80, 25), mrOk);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    btCancel = AddButton(QStringLiteral("Отмена"), QRect(252, 217, 80, 25), mrCancel);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setAutoDefault(false);

    connect(pnColor, &TColorPanel::Clicked, this, [this] {
        std::int32_t color = pnColor->Color();
        if (ExecColorDialog(color))
            pnColor->SetColor(color);
    });

    FillStyles();
    if (rule.OwnStyle) {
        ShowPage(csFont);
        ShowUserStyle(*rule.OwnStyle);
    } else {
        ShowPage(csStyle);
        ChooseStyle(rule.StyleName);
    }
    PlaceScreenCentre();
}

void TFormSelectTextStyle::WriteBack(RSemText& rule)
{
    if (!StylePageActive()) {
        const TUserStyle chosen = FontPageStyle();
        rule.StyleName.clear();
        if (!rule.OwnStyle)
            rule.OwnStyle = std::make_unique<TUserStyle>();
        *rule.OwnStyle = chosen;
    } else if (ChosenStyle() >= 0) {
        // With no entry chosen there is no style to name: the rule keeps the one it has.
        rule.OwnStyle.reset();
        rule.StyleName = cbStyle->itemText(ChosenStyle());
    }
}
