// Finding a 1:500 sheet by a point in it, through the main plan's nomenclature.
#include "dialogs/find/UnitFindPlanNom.h"

#include "dialogs/find/UnitFindPlanCoord.h"
#include "dialogs/general/InputDialogs.h"
#include "engine/GeoMap.h"
#include "foundation/ui/NumEdit.h"

#include <QLabel>
#include <QPushButton>

TFormFindPlanNom::TFormFindPlanNom(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Найти планшет по координатам"));
    SetClientSize(330, 130);

    const struct {
        TNumEdit** Edit;
        const char* Name;
        const char* Axis;
        int Top;
    } rows[2] = {{&ResX, "ResX", "X", 12}, {&ResY, "ResY", "Y", 40}};
    for (const auto& row : rows) {
        auto* label = new QLabel(QString::fromLatin1(row.Axis) + QLatin1Char('='), this);
        Place(label, QRect(12, row.Top + 3, 20, 16));
        auto* edit = new TNumEdit(this);
        edit->setObjectName(QLatin1String(row.Name));
        edit->setToolTip(QLatin1String(row.Axis));
        edit->ClearTextIFValueNotFloat = true;
        edit->UniversalDecimalSeparator = true;
        edit->EnableFloatPrecision = true;
        edit->SetNumberOfDecimalDigits(2);
        Place(edit, QRect(34, row.Top, 130, 21));
        connect(edit, &TNumEdit::Changed, this, [this] { ResXChange(); });
        *row.Edit = edit;
    }

    Label1 = NomenclatureLabel(this);
    Place(Label1, QRect(172, 22, 150, 30));

    Button1 = AddButton(QStringLiteral("Показать планшет"), QRect(12, 94, 140, 26), mrNone);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BitBtn1 = AddButton(QStringLiteral("Закрыть окно"), QRect(208, 94, 110, 26), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    PreviewKeys(this, mrOk);
    ResX->setFocus();
}

void TFormFindPlanNom::ResXChange()
{
    if (ResX->ExistFloatValue() && ResY->ExistFloatValue() && MainMap)
        Label1->setText(MainMap->CoordToNomenclature(ResX->FloatValue(), ResY->FloatValue()));
    // "" is what a table of another kind gives: no name to look up either.
    const QString name = Label1->text();
    Button1->setEnabled(!name.isEmpty() && name != QLatin1String("?"));
}

void TFormFindPlanNom::Button1Click()
{
    Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (MainMap && MainMap->NomenclatureToCoord(Label1->text(), x1, y1, x2, y2))
        ShowPlanView(x1, y1, x2, y2);
}

TModalResult RunFindPlanNom()
{
    TFormFindPlanNom form(DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}
