// The sheet choice window.
#include "dialogs/file/UnitMultiSelectPage.h"

#include "controls/TextListBox.h"
#include "engine/GeoMap.h"

#include <QFontDatabase>
#include <QPushButton>

TModalResult SelectPagesDlg(const QString& caption, std::vector<int>& indexes)
{
    QStringList sheets;
    if (MainMap)
        MainMap->GetPagesToTextListBox(sheets);
    TFormMultiSelectPage window(caption, sheets, DialogOwner());
    const TModalResult result = window.ShowModal();
    indexes = window.Selected();
    return result;
}

TFormMultiSelectPage::TFormMultiSelectPage(const QString& caption, const QStringList& sheets,
                                           QWidget* parent)
    : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormMultiSelectPage"));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Sizeable = true;
    SetClientSize(520, 320);

    TextListBox1 = new TTextListBox(this);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    TextListBox1->SetMultiSelect(true);
    TextListBox1->SetExtendedSelect(true);
    // The lines are columns padded with blanks: they line up only in a font of one width.
    TextListBox1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    TextListBox1->addItems(sheets);
    Place(TextListBox1, QRect(8, 8, 504, 268), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    btDone = AddButton(QStringLiteral("Готово"), QRect(432, 286, 80, 25), mrOk);
    btDone->setObjectName(QStringLiteral("btDone"));
    PreviewEnterEsc();
    PlaceScreenCentre();
    TextListBox1->setFocus();
}

std::vector<int> TFormMultiSelectPage::Selected() const
{
    std::vector<int> rows;
    for (int i = 0; i < TextListBox1->count(); ++i)
        if (TextListBox1->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}
