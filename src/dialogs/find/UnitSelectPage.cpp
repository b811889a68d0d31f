// The sheet chooser of the raster commands.
#include "dialogs/find/UnitSelectPage.h"

#include "engine/GeoMap.h"

#include <QComboBox>
#include <QPushButton>

TFormSelectPage::TFormSelectPage(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Выбор листа"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    SetClientSize(380, 72);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Place(ComboBox1, QRect(8, 8, 364, 22));
    QStringList pages;
    if (MainMap)
        MainMap->PagesToComboBox(pages);
    ComboBox1->addItems(pages);
    ComboBox1->setCurrentIndex(pages.isEmpty() ? -1 : 0);
    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(297, 40, 75, 24), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
}

TModalResult RunSelectPage(int& sheet)
{
    TFormSelectPage form(DialogOwner());
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    sheet = form.ComboBox1->currentIndex();
    return result;
}
