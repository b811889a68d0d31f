// The open filter's reset and its window.
#include "dialogs/file/UnitOpenFilter.h"

#include "dialogs/general/InputDialogs.h"
#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "semantics/codec/SemDialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void ResetOpenFilter(TOpenFilter& filter)
{
    filter = TOpenFilter();   // its defaults are the reset values
}

void ResetOpenFilter()
{
    if (MainMap)
        ResetOpenFilter(MainMap->OpenFilter);
}

TModalResult OpenFilterDlg()
{
    const auto& hook = ProgramDialogHooks().OpenFilter;
    if (!MainMap || !hook)
        return mrCancel;
    return hook(MainMap->OpenFilter);
}

TFormOpenFilter::TFormOpenFilter(const TOpenFilter& filter, QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Фильтр открытия файла"));
    SetClientSize(520, 250);

    struct TRow {
        QCheckBox** Box;
        QLineEdit** Edit;
        QPushButton** Button;
        const char* BoxName;
        const char* EditName;
        const char* ButtonName;
        const char* Caption;
        std::uint8_t Flag;
        const QString* Semantics;
    };
    const TRow rows[3] = {
        {&cbRepPoint, &edRepPoint, &Button1, "cbRepPoint", "edRepPoint", "Button1",
         "Заменять семантику точек на", filter.ReplacePoint, &filter.PointSemantics},
        {&cbRepLine, &edRepLine, &Button2, "cbRepLine", "edRepLine", "Button2",
         "Заменять семантику линий на", filter.ReplaceLine, &filter.LineSemantics},
        {&cbRepPolygon, &edRepPolygon, &Button3, "cbRepPolygon", "edRepPolygon", "Button3",
         "Заменять семантику полигонов на", filter.ReplacePolygon, &filter.PolygonSemantics}};
    for (int i = 0; i < 3; ++i) {
        const TRow& r = rows[i];
        const int top = 10 + i * 30;
        *r.Box = new QCheckBox(QString::fromUtf8(r.Caption), this);
        (*r.Box)->setObjectName(QLatin1String(r.BoxName));
        (*r.Box)->setChecked(r.Flag == 1);
        Place(*r.Box, QRect(8, top, 220, 21));
        *r.Edit = new QLineEdit(*r.Semantics, this);
        (*r.Edit)->setObjectName(QLatin1String(r.EditName));
        Place(*r.Edit, QRect(230, top, 206, 21));
        *r.Button = new QPushButton(QStringLiteral("выбрать"), this);
        (*r.Button)->setObjectName(QLatin1String(r.ButtonName));
        (*r.Button)->setAutoDefault(false);
        Place(*r.Button, QRect(442, top - 1, 70, 23));
        QLineEdit* edit = *r.Edit;
        connect(*r.Button, &QPushButton::clicked, this, [this, i, edit] { Choose(i, edit); });
    }

    struct TLoad { QCheckBox** Box; const char* Name; const char* Caption; std::uint8_t Flag; };
    const TLoad loads[5] = {{&cbLoadRastrs, "cbLoadRastrs", "загружать растры", filter.LoadRastrs},
                            {&cbLoadTexts, "cbLoadTexts", "загружать надписи", filter.LoadTexts},
                            {&cbLoadPoints, "cbLoadPoints", "загружать точки", filter.LoadPoints},
                            {&cbLoadLines, "cbLoadLines", "загружать линии", filter.LoadLines},
                            {&cbLoadPolygons, "cbLoadPolygons", "загружать полигоны",
                             filter.LoadPolygons}};
    for (int i = 0; i < 5; ++i) {
        *loads[i].Box = new QCheckBox(QString::fromUtf8(loads[i].Caption), this);
        (*loads[i].Box)->setObjectName(QLatin1String(loads[i].Name));
        (*loads[i].Box)->setChecked(loads[i].Flag == 1);
        Place(*loads[i].Box, QRect(8, 106 + i * 22, 220, 20));
    }

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(356, 218, 75, 24), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = AddButton(QStringLiteral("Отмена"), QRect(437, 218, 75, 24), mrCancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    // The window sees the keys first: Enter is "Готово" wherever the focus is.
    PreviewKeys(this, mrOk, false);
}

void TFormOpenFilter::StoreTo(TOpenFilter& filter) const
{
    filter.ReplacePoint = cbRepPoint->isChecked() ? 1 : 0;
    filter.ReplaceLine = cbRepLine->isChecked() ? 1 : 0;
    filter.ReplacePolygon = cbRepPolygon->isChecked() ? 1 : 0;
    filter.PointSemantics = edRepPoint->text();
    filter.LineSemantics = edRepLine->text();
    filter.PolygonSemantics = edRepPolygon->text();
    filter.LoadRastrs = cbLoadRastrs->isChecked() ? 1 : 0;
    filter.LoadTexts = cbLoadTexts->isChecked() ? 1 : 0;
    filter.LoadPoints = cbLoadPoints->isChecked() ? 1 : 0;
    filter.LoadLines = cbLoadLines->isChecked() ? 1 : 0;
    filter.LoadPolygons = cbLoadPolygons->isChecked() ? 1 : 0;
}

void TFormOpenFilter::Choose(int lm, QLineEdit* edit)
{
    QString sem;
    int kind = lm;
    SemDlg(0, kind, sem);
    edit->setText(sem);
}
