// The staking-out input and its result lists. The main window keeps no list of its own:
// it makes a new result window for each staking out and adds lines to the newest, so the
// earlier ones stay on the screen as the surveyor left them.
#include "survey/StakingOut.h"

#include "controls/TextListBox.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/NumEdit.h"
#include "platform/TextFiles.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

QPointer<TFormOGZList> NewestList;

TNumEdit* CoordinateEdit(QWidget* parent, const QString& name, const QRect& rect)
{
    auto* e = new TNumEdit(parent);
    e->setObjectName(name);
    e->ClearTextIFValueNotFloat = true;
    e->UniversalDecimalSeparator = true;
    e->EnableFloatPrecision = true;
    e->SetNumberOfDecimalDigits(3);
    e->setAlignment(Qt::AlignRight);
    e->setGeometry(rect);
    return e;
}

// A group of two coordinate edits labelled "X" and "Y".
QGroupBox* PointGroup(TDialogBase* dialog, const QString& caption, const QRect& rect,
                      const QString& xName, const QString& yName, TNumEdit*& x, TNumEdit*& y)
{
    auto* g = new QGroupBox(caption, dialog);
    dialog->Place(g, rect);
    (new QLabel(QStringLiteral("X"), g))->setGeometry(10, 24, 14, 16);
    (new QLabel(QStringLiteral("Y"), g))->setGeometry(10, 52, 14, 16);
    x = CoordinateEdit(g, xName, QRect(28, 22, rect.width() - 40, 21));
    y = CoordinateEdit(g, yName, QRect(28, 50, rect.width() - 40, 21));
    return g;
}

} // namespace

TFormInpOGZDialog::TFormInpOGZDialog(QWidget* parent) : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormInpOGZDialog"));
    setWindowTitle(QStringLiteral("Обратная геодезическая задача"));
    // Wide enough for its title, which a narrower window cut.
    SetClientSize(336, 222);
    PointGroup(this, QStringLiteral("Точка стояния"), QRect(8, 4, 320, 82),
               QStringLiteral("neX0"), QStringLiteral("neY0"), neX0, neY0);
    PointGroup(this, QStringLiteral("Точка ориентирования"), QRect(8, 92, 320, 82),
               QStringLiteral("neOrX"), QStringLiteral("neOrY"), neOrX, neOrY);
    BitBtn1 = AddButton(QStringLiteral("Готово"), QRect(238, 186, 90, 28), mrOk);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    PreviewEnterEsc();
}

TModalResult TFormInpOGZDialog::Execute(Extended& X0, Extended& Y0, Extended& OrX,
                                        Extended& OrY)
{
    TFormInpOGZDialog form(DialogOwner());
    form.neX0->SetFloatValue(X0);
    form.neY0->SetFloatValue(Y0);
    form.neOrX->SetFloatValue(OrX);
    form.neOrY->SetFloatValue(OrY);
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    X0 = form.neX0->FloatValue();
    Y0 = form.neY0->FloatValue();
    OrX = form.neOrX->FloatValue();
    OrY = form.neOrY->FloatValue();
    return result;
}

std::function<bool(QString& fileName)> TFormOGZList::SaveDialogHook;

TFormOGZList::TFormOGZList(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormOGZList"));
    setWindowTitle(QStringLiteral("Решение обратной геодезической задачи"));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    tlb = new TTextListBox(this);
    tlb->setObjectName(QStringLiteral("tlb"));
    layout->addWidget(tlb, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BitBtn1 = new QPushButton(QStringLiteral("сохранить"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setMinimumWidth(90);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    resize(460, 300);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormOGZList::BitBtn1Click);
}

void TFormOGZList::BitBtn1Click()
{
    TTrailGuard guard("StakingOut", "procedure TFormOGZList.BitBtn1Click(Sender: TObject);");
    QString fileName;
    if (SaveDialogHook) {
        if (!SaveDialogHook(fileName))
            return;
    } else {
        fileName = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить как"), QString(),
                                                QString(), nullptr,
                                                QFileDialog::DontUseNativeDialog);
        if (fileName.isEmpty())
            return;
    }
    QStringList lines;
    lines.reserve(tlb->count());
    for (int i = 0; i < tlb->count(); ++i)
        lines << tlb->item(i)->text();
    // The name is the user's own choice: written as given, not looked up by letter case.
    const QByteArray bytes = EncodeTextFileLines(fileName, lines);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Не удается записать файл ") + fileName +
                        QStringLiteral(": ") + file.errorString());
}

TFormOGZList* FormOGZList() { return NewestList.data(); }

TFormOGZList* NewFormOGZList(QWidget* owner)
{
    auto* list = new TFormOGZList(owner);   // owned by owner
    NewestList = list;
    list->show();
    return list;
}
