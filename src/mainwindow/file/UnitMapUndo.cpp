// Undo and redo step through the whole-plan snapshots the engine writes after every
// journalled command, reopening the one of the new step; the command window.
#include "mainwindow/UnitMap.h"

#include "dialogs/file/UnitCommandDialog.h"
#include "dialogs/file/UnitOpenFilter.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/GsCatcher.h"
#include "platform/FileLookup.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

namespace {

bool AllDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

QString TFormMap::UndoFolder() const
{
    const QString document =
        DataFileName.isEmpty() ? QStringLiteral("без имени") : QFileInfo(DataFileName).fileName();
    return ResolvePath(SessionFolder + QLatin1Char('/') + DocStartTime + QLatin1Char(' ') + document);
}

QString TFormMap::SnapshotFile(int step) const
{
    // A scale change between two snapshots gives them different extensions: the step is
    // looked for under any number, the current scale first.
    const QDir folder(UndoFolder());
    const QString scale = QString::number(MainMap ? MainMap->MapProp.Scale : 0);
    const QString own = QString::number(step) + QLatin1Char('.') + scale;
    if (folder.exists(own))
        return folder.filePath(own);
    const QStringList found =
        folder.entryList({QString::number(step) + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    for (const QString& name : found) {
        const QFileInfo info(name);
        if (info.completeBaseName() == QString::number(step) && AllDigits(info.suffix()))
            return folder.filePath(name);
    }
    return {};
}

void TFormMap::ReopenSnapshot(const QString& fileName)
{
    ResetOpenFilter();
    try {
        ReopenAsChange(fileName);
        // The found objects describe the plan before the reopen: their frames and node
        // marks would go on being drawn where the objects no longer are.
        if (MainMap->FoundObjects.GetCount() > 0)
            btClearSelectedClick();
        SelectedPart = 0;
        SelectedIndex = -1;
        const QSize size = SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 2, ddScreen);
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::sbUndoClick()
{
    if (!MainMap)
        return;
    // Snapshot 0 holds the plan as opened or new: nothing lies before it.
    if (UndoStep <= 0) {
        UndoButton->setEnabled(false);
        return;
    }
    --UndoStep;
    const QString file = SnapshotFile(UndoStep);
    if (file.isEmpty()) {
        UndoButton->setEnabled(false);
        return;
    }
    ReopenSnapshot(file);
    RedoButton->setEnabled(true);
    if (UndoStep == 0)
        UndoButton->setEnabled(false);
}

void TFormMap::sbRedoClick()
{
    if (!MainMap)
        return;
    if (!UndoButton->isEnabled())
        UndoButton->setEnabled(true);
    ++UndoStep;
    const QString file = SnapshotFile(UndoStep);
    if (file.isEmpty()) {
        RedoButton->setEnabled(false);
        return;
    }
    ReopenSnapshot(file);
}

void TFormMap::N15Click()
{
    if (!MainMap)
        return;
    CommandDlg(CommandLog ? *CommandLog : QStringList(), *MainMap);
}

void TFormMap::ConnectUndoCommands()
{
    connect(UndoButton, &QToolButton::clicked, this, [this] { sbUndoClick(); });
    connect(RedoButton, &QToolButton::clicked, this, [this] { sbRedoClick(); });
    NPlan->addSeparator();
    QAction* command = NPlan->addAction(QStringLiteral("командный процессор"));
    command->setObjectName(QStringLiteral("N15"));
    connect(command, &QAction::triggered, this, [this] { N15Click(); });
}
