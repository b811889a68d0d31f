// The command window.
#include "dialogs/file/UnitCommandDialog.h"

#include "engine/GeoMap.h"
#include "foundation/ui/GsCatcher.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TModalResult CommandDlg(const QStringList& journal, TGeoMap& map)
{
    TFormCommandDialog window(journal, map, DialogOwner());
    return window.ShowModal();
}

TFormCommandDialog::TFormCommandDialog(const QStringList& journal, TGeoMap& map, QWidget* parent)
    : TDialogBase(parent), Map(map)
{
    setObjectName(QStringLiteral("FormCommandDialog"));
    setWindowTitle(QStringLiteral("Командный процессор Velmora 6"));
    SetClientSize(560, 380);

    auto* listLabel = new QLabel(QStringLiteral("Журнал команд"), this);
    Place(listLabel, QRect(8, 6, 200, 16));
    lbComList = new QListWidget(this);
    lbComList->setObjectName(QStringLiteral("lbComList"));
    lbComList->addItems(journal);
    Place(lbComList, QRect(8, 24, 544, 270), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    connect(lbComList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Edit1->setText(item->text()); });

    auto* editLabel = new QLabel(QStringLiteral("новая команда"), this);
    Place(editLabel, QRect(8, 302, 200, 16), Qt::LeftEdge | Qt::BottomEdge);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Place(Edit1, QRect(8, 320, 544, 21), Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);

    btExecute = AddButton(QStringLiteral("Выполнить"), QRect(384, 348, 80, 25), mrNone);
    btExecute->setObjectName(QStringLiteral("btExecute"));
    btExecute->setAutoDefault(false);
    connect(btExecute, &QPushButton::clicked, this, [this] { Execute(); });
    btDone = AddButton(QStringLiteral("Готово"), QRect(472, 348, 80, 25), mrOk);
    btDone->setObjectName(QStringLiteral("btDone"));
    btDone->setAutoDefault(false);
    PlaceScreenCentre();
    Edit1->setFocus();
}

void TFormCommandDialog::Execute()
{
    const QString line = Edit1->text();
    try {
        Map.StrToComm(line);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
        return;
    }
    lbComList->addItem(line);
    lbComList->scrollToBottom();
}

void TFormCommandDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        SetModalResult(mrOk);
        return;
    }
    TDialogBase::keyPressEvent(e);
}
