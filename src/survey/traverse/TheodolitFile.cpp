// The traverse window's file and plan buttons: the table saved and opened as a traverse
// table file, the computed points put into the plan.
#include "survey/UnitTheodolit.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/file/FileDialogs.h"
#include "platform/TextFiles.h"
#include "survey/traverse/TraverseFile.h"
#include "survey/traverse/TraversePlan.h"

#include <QRadioButton>
#include <QSpinBox>

namespace {

// A file failure is shown as a message; the trail its guards left is not a crash.
void ShowFileFailure(const Exception& e, qsizetype trail)
{
    if (ErrorInfo && ErrorInfo->size() > trail)
        ErrorInfo->resize(trail);
    MessageDlg(e.Message, mtError);
}

qsizetype TrailSize() { return ErrorInfo ? ErrorInfo->size() : 0; }

} // namespace

void TFormTheodolit::btSavePlanClick()
{
    QString fileName;
    if (!SaveFileNameDialog(QStringLiteral("Сохранить файл хода"),
                            QStringLiteral("таблица теодолитного хода *.th (*.th)"), fileName))
        return;
    QString refusal;
    const QStringList lines = TraverseFileLines(Table, refusal);
    if (!refusal.isEmpty()) {
        ShowMsgDialog(TTraverseTable::CheckTitle(), refusal);
        return;
    }
    const qsizetype trail = TrailSize();
    try {
        WriteTextFileLines(fileName, lines);
    } catch (const Exception& e) {
        ShowFileFailure(e, trail);
    }
}

void TFormTheodolit::btOpenPlanClick()
{
    QString fileName;
    if (!OpenFileNameDialog(QStringLiteral("Открыть файл хода"),
                            QStringLiteral("Таблица теодолитного хода *.th (*.th)"), fileName))
        return;
    QStringList lines;
    const qsizetype trail = TrailSize();
    try {
        lines = ReadTextFileLines(fileName);
    } catch (const Exception& e) {
        ShowFileFailure(e, trail);
        return;
    }
    int type = 0;
    if (lines.isEmpty() || !TraverseFileClosure(lines.first(), type)) {
        MessageDlg(QStringLiteral("Файл не является таблицей теодолитного хода"), mtError);
        return;
    }
    QRadioButton* const radios[] = {RadioButton1, RadioButton2, RadioButton3};
    if (type >= 1 && type <= 3 && !radios[type - 1]->isChecked()) {
        radios[type - 1]->setChecked(true);
        RadioButton1Click();
    }
    PointsCount->setValue(TraverseFilePoints(int(lines.size())));   // clamped by the spin edit
    Table.SetPointsCount(PointsCount->value());
    LoadTraverseRows(Table, lines);
    TableToGrid();
}

void TFormTheodolit::BitBtn2Click()
{
    AddTraversePlanPoints(Table, TraversePointRows(Table), TraversePointSemantics());
}

void TFormTheodolit::BitBtn1Click()
{
    AddTraversePlanPoints(Table, SourcePointRows(Table), SourcePointSemantics());
}
