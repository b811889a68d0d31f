// The point sign dialog.
#include "editors/signs/UnitSymPointProp.h"

#include "foundation/GeoDataObjectsSigns.h"
#include "semantics/signs/Symbols.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

TModalResult SymPointPropDlg(const QString& signFile, int scale)
{
    TFormSymPointProp window(signFile, scale, DialogOwner());
    if (!window.Load())
        return mrCancel;
    const TModalResult result = window.ShowModal();
    if (result == mrOk) {
        window.Sign()->LeaderLineDefault = window.chbLine->isChecked() ? 1 : 0;
        window.Save();
    }
    return result;
}

TFormSymPointProp::TFormSymPointProp(const QString& signFile, int scale, QWidget* parent)
    : TFormSignProp(poPointSign, signFile, scale, 520, 600, parent)
{
    setObjectName(QStringLiteral("FormSymPointProp"));
    setWindowTitle(QStringLiteral("Свойства точечного знака"));
    lbSv->setObjectName(QStringLiteral("lbPointSv"));
    sbEdit = new QPushButton(QStringLiteral("Изменить знак"), this);
    sbEdit->setObjectName(QStringLiteral("sbEdit"));
    sbEdit->setAutoDefault(false);
    Place(sbEdit, QRect(324, 8, 150, 25));
    chbLine = new QCheckBox(QStringLiteral("Линия к первой строке"), this);
    chbLine->setObjectName(QStringLiteral("chbLine"));
    Place(chbLine, QRect(324, 44, 190, 20));
    connect(sbEdit, &QPushButton::clicked, this, [this] {
        if (RVpGPoint* sign = Sign())
            EditPicture(sign->Picture);
    });
}

RVpGPoint* TFormSymPointProp::Sign() { return Symbols().VpGPoints.Item; }

TSemTexts* TFormSymPointProp::Captions()
{
    RVpGPoint* sign = Sign();
    return sign ? &sign->Captions : nullptr;
}

void TFormSymPointProp::FillControls()
{
    chbLine->setChecked(Sign()->LeaderLineDefault != 0);
}
