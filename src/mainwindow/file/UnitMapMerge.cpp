// Plan files merged into the current plan, and chosen sheets written to plan files of
// their own. Neither changes the document's name, state or undo folder.
#include "mainwindow/UnitMap.h"

#include "dialogs/file/UnitMultiSelectPage.h"
#include "dialogs/file/UnitOpenFilter.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "mainwindow/VclTimer.h"
#include "mainwindow/file/FileDialogs.h"
#include "mainwindow/MapHooks.h"

#include <QFileInfo>
#include <QHash>

namespace {

bool DigitsOrEmpty(const QString& s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void ReportOnlyVelmora()
{
    ShowMsgDialog(QStringLiteral("Добавить можно только файлы формата велмора"), QString());
}

}  // namespace

void TFormMap::MergeFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!DigitsOrEmpty(info.suffix())) {
        ReportOnlyVelmora();
        return;
    }
    const QString full = info.absoluteFilePath();
    try {
        const QString first = FirstLineOfFile(full);
        bool merged = false;
        if (first == QLatin1String("FREE VELMORANT")) {
            MainMap->DoCommand(mcAddMap, TCommandParams().Text(full).Text(QStringLiteral("New"))
                                             .Text(QStringLiteral("True")).Text(QString()));
            merged = true;
        } else if (first == QStringLiteral("[Исполнитель]")) {
            if (ShowQDialog(QStringLiteral("Автоопределение слоев"),
                            QStringLiteral("Включить автоопределение слоев при загрузке?")) == mrYes) {
                MainMap->DoCommand(mcAddMap, TCommandParams().Text(full).Text(QStringLiteral("Old"))
                                                 .Text(QStringLiteral("True")).Text(QString()));
                merged = true;
            } else {
                QString layer = QStringLiteral("Общий");
                if (InpStrDialog(layer, QStringLiteral("Новый слой"),
                                 QStringLiteral("Определите название слоя для загрузки")) == mrOk) {
                    MainMap->DoCommand(mcAddMap, TCommandParams().Text(full).Text(QStringLiteral("Old"))
                                                     .Text(QStringLiteral("False")).Text(layer));
                    merged = true;
                }
            }
        } else {
            // A file of numbered extension that is no plan would otherwise pass in silence.
            ReportOnlyVelmora();
            return;
        }
        if (merged) {
            const QSize size = SurfaceSize();
            MainMap->Draw(size.width(), size.height(), 0, ddScreen);
            if (AutoSaveOn == 1)
                TimerAutosave->SetEnabled(true);
        }
    } catch (...) {
        if (ErrorInfo)
            ErrorInfo->append(QStringLiteral("procedure TFormMap.NAddFileClick(Sender: TObject);"));
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::NAddFileClick()
{
    ResetOpenFilter();
    QString fileName;
    if (OpenFileNameDialog(QStringLiteral("Добавить файл"), PlanOnlyFilter(), fileName))
        MergeFile(fileName);
}

void TFormMap::N61Click()
{
    ResetOpenFilter();
    QStringList fileNames;
    if (!OpenFileNamesDialog(QStringLiteral("Добавить из папки..."), PlanOpenFilter(), fileNames))
        return;
    for (const QString& fileName : fileNames)
        MergeFile(fileName);
}

void TFormMap::NSaveToFileClick()
{
    QString fileName;
    if (!SaveFileNameDialog(QStringLiteral("Сохранить в файл..."), PlanOnlyFilter(), fileName) ||
        fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())   // as Save As does: the plan's scale
        fileName += QLatin1Char('.') + QString::number(MainMap->MapProp.Scale);
    if (!IsPlanFileName(fileName)) {
        ShowMsgDialog(QStringLiteral("Лист можно сохранить только в формате Велмора"), QString());
        return;
    }
    std::vector<int> sheets;
    SelectPagesDlg(QStringLiteral("Выбор сохраняемых листов"), sheets);
    // No sheet chosen: an empty plan written over the name would help nobody.
    if (sheets.empty())
        return;
    TCommandValues list;
    for (int i : sheets)
        list.Int(i);
    try {
        MainMap->DoCommand(mcSaveSelected, TCommandParams().Text(QFileInfo(fileName).absoluteFilePath())
                                               .Field(list.Str()));
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::N59Click()
{
    QString folder = PlansFolder;
    if (!SelectFolderDialog(QStringLiteral("Сохранить в папку..."), folder) || folder.isEmpty())
        return;
    std::vector<int> sheets;
    SelectPagesDlg(QStringLiteral("Выбор сохраняемых листов"), sheets);
    const QString extension = QLatin1Char('.') + QString::number(MainMap->MapProp.Scale);
    QHash<QString, QString> written;   // file name → the sheet written there
    try {
        for (int i : sheets) {
            const RGPage* sheet = MainMap->Pages.At(i);
            if (!sheet)
                continue;
            QString name = sheet->Name;
            SanitizeSheetFileName(name);
            const QString file = folder + QLatin1Char('/') + name + extension;
            // "A/B" and "A:B" make one file name: the second would replace the first.
            if (written.contains(file)) {
                ShowMsgDialog(QStringLiteral("Лист не сохранен"),
                              QStringLiteral("Лист \"%1\" дает то же имя файла \"%2\", что и лист \"%3\"")
                                  .arg(sheet->Name, file, written.value(file)));
                continue;
            }
            MainMap->DoCommand(mcSaveSelected,
                               TCommandParams().Text(file).Field(TCommandValues().Int(i).Str()));
            written.insert(file, sheet->Name);
        }
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
    }
}
