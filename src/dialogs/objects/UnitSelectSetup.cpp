// The selection filter's window.
#include "dialogs/objects/UnitSelectSetup.h"

#include "controls/ExCheckListBox.h"
#include "dialogs/general/InputDialogs.h"
#include "engine/GeoMap.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>

namespace {

// The sheet lines are columns counted in characters.
QFont ListFont()
{
    QFont font(QStringLiteral("Courier New"), 9);
    font.setStyleHint(QFont::Monospace);
    return font;
}

QRadioButton* NewRadio(QWidget* parent, const char* name, const char* caption, const QRect& at)
{
    auto* b = new QRadioButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(at);
    return b;
}

TExCheckListBox* NewCheckList(QWidget* parent, const char* name, const QRect& at)
{
    auto* list = new TExCheckListBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setFont(ListFont());
    list->setGeometry(at);
    return list;
}

}  // namespace

TFormSelectSetup::TFormSelectSetup(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Параметры выбора объектов"));
    SetClientSize(640, 334);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Place(PageControl1, QRect(8, 8, 624, 286));

    auto* tsPages = new QWidget;
    tsPages->setObjectName(QStringLiteral("tsPages"));
    rbPageAll = NewRadio(tsPages, "rbPageAll", "Все", QRect(8, 6, 70, 20));
    rbPageUser = NewRadio(tsPages, "rbPageUser", "выбранные", QRect(84, 6, 110, 20));
    rbPageNom = NewRadio(tsPages, "rbPageNom", "по текущей номенклатуре м.500", QRect(200, 6, 260, 20));
    clbPages = NewCheckList(tsPages, "clbPages", QRect(6, 32, 606, 218));
    PageControl1->addTab(tsPages, QStringLiteral("Листы"));

    auto* tsLayers = new QWidget;
    tsLayers->setObjectName(QStringLiteral("tsLayers"));
    rbLayerAll = NewRadio(tsLayers, "rbLayerAll", "Все", QRect(8, 6, 70, 20));
    rbLayerUser = NewRadio(tsLayers, "rbLayerUser", "выбранные", QRect(84, 6, 110, 20));
    clbLayers = NewCheckList(tsLayers, "clbLayers", QRect(6, 32, 606, 218));
    PageControl1->addTab(tsLayers, QStringLiteral("Слои"));

    auto* tsObjects = new QWidget;
    tsObjects->setObjectName(QStringLiteral("tsObjects"));
    rbObjAll = NewRadio(tsObjects, "rbObjAll", "Все, исключая растры", QRect(12, 10, 220, 20));
    rbObjRastrs = NewRadio(tsObjects, "rbObjRastrs", "Растры", QRect(12, 36, 220, 20));
    rbObjTexts = NewRadio(tsObjects, "rbObjTexts", "Тексты", QRect(12, 62, 220, 20));
    rbObjPoints = NewRadio(tsObjects, "rbObjPoints", "Точки", QRect(12, 88, 220, 20));
    rbObjLines = NewRadio(tsObjects, "rbObjLines", "Линии", QRect(12, 114, 220, 20));
    rbObjPolygons = NewRadio(tsObjects, "rbObjPolygons", "Полигоны", QRect(12, 140, 220, 20));
    PageControl1->addTab(tsObjects, QStringLiteral("Объекты"));

    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(557, 302, 75, 24), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    connect(rbPageAll, &QRadioButton::clicked, this, [this] { rbPageAllClick(); });
    connect(rbPageUser, &QRadioButton::clicked, this, [this] { rbPageUserClick(); });
    connect(rbPageNom, &QRadioButton::clicked, this, [this] { rbPageNomClick(); });
    connect(rbLayerAll, &QRadioButton::clicked, this, [this] { rbLayerAllClick(); });
    connect(rbLayerUser, &QRadioButton::clicked, this, [this] { rbLayerUserClick(); });
    // The window sees the keys first: Enter is "Готово" and Esc 2 wherever the focus is.
    PreviewKeys(this, mrOk, false);
}

void TFormSelectSetup::rbPageAllClick() { clbPages->setEnabled(rbPageUser->isChecked()); }
void TFormSelectSetup::rbPageUserClick() { clbPages->setEnabled(rbPageUser->isChecked()); }
void TFormSelectSetup::rbPageNomClick() { clbPages->setEnabled(rbPageUser->isChecked()); }
void TFormSelectSetup::rbLayerAllClick() { clbLayers->setEnabled(rbLayerUser->isChecked()); }
void TFormSelectSetup::rbLayerUserClick() { clbLayers->setEnabled(rbLayerUser->isChecked()); }

void TFormSelectSetup::LoadFrom(TGeoMap& map)
{
    const std::array<QRadioButton*, 3> pageModes{rbPageAll, rbPageUser, rbPageNom};
    const std::array<QRadioButton*, 6> kinds{rbObjAll, rbObjRastrs, rbObjTexts,
                                             rbObjPoints, rbObjLines, rbObjPolygons};
    // A value outside the buttons checks none of them; storing then keeps the value.
    if (map.SelectPagesMode < pageModes.size())
        pageModes[map.SelectPagesMode]->setChecked(true);
    if (map.SelectLayersMode == 0)
        rbLayerAll->setChecked(true);
    else if (map.SelectLayersMode == 1)
        rbLayerUser->setChecked(true);
    if (map.SelectObjectKind < kinds.size())
        kinds[map.SelectObjectKind]->setChecked(true);

    // The lines show each sheet with its state and counts; the names the filter keeps
    // are the sheets' own, whatever the line shows.
    QStringList lines;
    map.GetPagesToListBox(lines);
    clbPages->AssignItems(lines);
    PageNames.clear();
    if (map.Pages.GoFirstItem()) {
        do
            PageNames.append(map.Pages.Item->Name);
        while (map.Pages.GoNextItem());
    }
    for (int i = 0; i < PageNames.size() && i < clbPages->count(); ++i)
        if (map.SelectPagesList.contains(PageNames[i]))
            clbPages->SetItemChecked(i, true);

    map.GetLayersNamesToCheckListBox(lines);
    clbLayers->AssignItems(lines);
    for (int i = 0; i < lines.size(); ++i)
        if (map.SelectLayersList.contains(lines[i]))
            clbLayers->SetItemChecked(i, true);

    clbPages->setEnabled(rbPageUser->isChecked());
    clbLayers->setEnabled(rbLayerUser->isChecked());
}

void TFormSelectSetup::StoreTo(TGeoMap& map) const
{
    if (rbPageAll->isChecked()) {
        map.SelectPagesMode = 0;
    } else if (rbPageUser->isChecked()) {
        map.SelectPagesList.clear();
        for (int i = 0; i < PageNames.size() && i < clbPages->count(); ++i)
            if (clbPages->IsItemChecked(i))
                map.SelectPagesList.append(PageNames[i]);
        map.SelectPagesMode = 1;
    } else if (rbPageNom->isChecked()) {
        map.SelectPagesMode = 2;
    }

    if (rbLayerAll->isChecked()) {
        map.SelectLayersMode = 0;
    } else if (rbLayerUser->isChecked()) {
        map.SelectLayersMode = 1;
        map.SelectLayersList.clear();
        for (int i = 0; i < clbLayers->count(); ++i)
            if (clbLayers->IsItemChecked(i))
                map.SelectLayersList.append(clbLayers->ItemText(i));
    }

    const std::array<const QRadioButton*, 6> kinds{rbObjAll, rbObjRastrs, rbObjTexts,
                                                   rbObjPoints, rbObjLines, rbObjPolygons};
    for (std::size_t k = 0; k < kinds.size(); ++k)
        if (kinds[k]->isChecked())
            map.SelectObjectKind = std::uint8_t(k);
}

TModalResult RunSelectSetup()
{
    if (!MainMap)
        return mrCancel;
    TFormSelectSetup form(DialogOwner());
    form.LoadFrom(*MainMap);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    form.StoreTo(*MainMap);
    return result;
}
