// The file commands around the plan engine: Save, Save As (native, DXF, raster), the
// caption and the recent plans. They keep the document's bookkeeping (name, undo folder,
// undo step, the count at the last save) that undo, the exit question and recovery use.
#include "mainwindow/UnitMap.h"
#include "mainwindow/modes/MapViews.h"

#include "controls/core/FileUtil.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/GsCatcher.h"
#include "dialogs/file/UnitNewMapDialog.h"
#include "dialogs/file/UnitOpenFilter.h"
#include "foundation/ErrorTrail.h"
#include "mainwindow/file/FileDialogs.h"
#include "mainwindow/MapHooks.h"
#include "platform/CodePage.h"
#include "mainwindow/VclTimer.h"
#include "platform/FileLookup.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <limits>
#include <unistd.h>

namespace {

const int PlanScales[8] = {100, 200, 500, 1000, 2000, 5000, 10000, 25000};

QDateTime Now()
{
    return RunEnvironment.Now ? RunEnvironment.Now() : QDateTime::currentDateTime();
}

bool DigitsOnly(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// A pattern that matches its extension in either case, whatever the file system does.
QString BothCases(const QString& ext)
{
    return QStringLiteral("*.") + ext.toLower() + QStringLiteral(" *.") + ext.toUpper();
}

// Whether a and b name one file (the same entry reached by another spelling too).
bool SamePath(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

bool DefaultOpenFilter(const TOpenFilter& f)
{
    const TOpenFilter d;
    return f.ReplacePoint == d.ReplacePoint && f.ReplaceLine == d.ReplaceLine &&
           f.ReplacePolygon == d.ReplacePolygon && f.LoadRastrs == d.LoadRastrs &&
           f.LoadTexts == d.LoadTexts && f.LoadPoints == d.LoadPoints &&
           f.LoadLines == d.LoadLines && f.LoadPolygons == d.LoadPolygons;
}

} // namespace

TFileDialogHooks& FileDialogHooks()
{
    static TFileDialogHooks hooks;
    return hooks;
}

bool OpenFileNameDialog(const QString& title, const QString& filter, QString& fileName)
{
    if (FileDialogHooks().OpenFileName)
        return FileDialogHooks().OpenFileName(title, filter, fileName);
    QFileDialog dialog(FormMap, title, fileName);
    dialog.setFileMode(QFileDialog::ExistingFile);
    PrepareFileDialog(dialog, filter);
    QStringList chosen;
    if (!RunFileDialog(dialog, chosen))
        return false;
    fileName = chosen.first();
    return true;
}

bool OpenFileNamesDialog(const QString& title, const QString& filter, QStringList& fileNames)
{
    if (FileDialogHooks().OpenFileNames)
        return FileDialogHooks().OpenFileNames(title, filter, fileNames);
    QFileDialog dialog(FormMap, title);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    PrepareFileDialog(dialog, filter);
    QStringList chosen;
    if (!RunFileDialog(dialog, chosen))
        return false;
    fileNames = chosen;
    return true;
}

bool SelectFolderDialog(const QString& title, QString& folder)
{
    if (FileDialogHooks().SelectFolder)
        return FileDialogHooks().SelectFolder(title, folder);
    // Qt's own dialog offers "Создать папку" and asks for its name.
    const QString chosen = QFileDialog::getExistingDirectory(
        FormMap, title, folder, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

QString PlanOnlyFilter()
{
    QStringList items, all;
    for (int scale : PlanScales) {
        items << QStringLiteral("Цифровой план масштаба 1:%1 (*.%1)").arg(scale);
        all << QStringLiteral("*.%1").arg(scale);
    }
    items << QStringLiteral("Все доступные (%1)").arg(all.join(QLatin1Char(' ')));
    return items.join(QStringLiteral(";;"));
}

void SanitizeSheetFileName(QString& text)
{
    for (QChar& c : text)
        if (QStringView(u"<>?\\|!\"*/:").contains(c))
            c = QLatin1Char('~');
}

QString PlanOpenFilter()
{
    QStringList items, all;
    for (int scale : PlanScales) {
        items << QStringLiteral("Цифровой план масштаба 1:%1 (*.%1)").arg(scale);
        all << QStringLiteral("*.%1").arg(scale);
    }
    all << BothCases(QStringLiteral("bak")) << BothCases(QStringLiteral("txt"));
    items << QStringLiteral("Файл данных формата ФОРА ПД (%1)").arg(BothCases(QStringLiteral("txt")))
          << QStringLiteral("Все доступные (%1)").arg(all.join(QLatin1Char(' ')))
          << QStringLiteral("Резервные копии bak (%1)").arg(BothCases(QStringLiteral("bak")))
          << QStringLiteral("Чертеж (*.10)");
    return items.join(QStringLiteral(";;"));
}

QString FirstLineOfFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\": %2").arg(fileName, file.errorString()));
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return DecodeCodePage(line);
}

bool IsPlanFileName(const QString& fileName)
{
    return !fileName.isEmpty() && DigitsOnly(QFileInfo(fileName).suffix());
}

QString PlanSaveDialogFilter()
{
    QStringList items;
    for (int scale : PlanScales)
        items << QStringLiteral("Цифровой план масштаба 1:%1 (*.%1)").arg(scale);
    items << QStringLiteral("Автокад DXF (%1)").arg(BothCases(QStringLiteral("dxf")))
          << QStringLiteral("Растровый (Bitmap) (%1)").arg(BothCases(QStringLiteral("bmp")))
          << QStringLiteral("Растровый (JPEG) (%1)").arg(BothCases(QStringLiteral("jpg")))
          << QStringLiteral("Растровый (TIFF) (%1)").arg(BothCases(QStringLiteral("tif")))
          << QStringLiteral("Все файлы (*)");
    return items.join(QStringLiteral(";;"));
}

void TFormMap::UpdateCaption()
{
    if (DataFileName.isEmpty()) {
        setWindowTitle(AppName + QStringLiteral(" - план новый"));
        return;
    }
    const QFileInfo file(DataFileName);
    setWindowTitle(AppName + QStringLiteral(" - план ") + file.fileName() + QStringLiteral(" [") +
                   file.absolutePath() + QLatin1Char(']'));
}

void TFormMap::AddPlanToHistory()
{
    if (DataFileName.isEmpty() || RecentPlans.contains(DataFileName))
        return;
    RecentPlans.append(DataFileName);
    const QFileInfo file(DataFileName);
    auto* item = new QAction(MenuText(file.fileName() + QStringLiteral(" [") + file.absolutePath() +
                                      QLatin1Char(']')),
                             NHistory);
    // The full name rides with the item: a caption with "[" or "&" cannot be split back.
    item->setData(DataFileName);
    NHistory->addAction(item);
}

void TFormMap::btSavePlanClick()
{
    // A name that is not a plan file (none yet, or the text file of an import) would
    // write nothing or overwrite the user's source: such a plan is saved as.
    if (DataFileState == 0 || !IsPlanFileName(DataFileName) || DataFileDamaged)
        SaveAs();
    else
        SavePlan(DataFileName);
}

bool TFormMap::SavePlan(const QString& fileName)
{
    // A plan that did not open whole is not its file: saved as a new plan would be, so
    // that neither Save nor autosave writes the part that was read over the whole.
    if (DataFileState == 0 || !IsPlanFileName(fileName) || DataFileDamaged)
        return SaveAs();
    if (DataFileState == 2 && MainMap->Modified == 0)
        return true;
    return WritePlan(fileName);
}

bool TFormMap::WritePlan(const QString& fileName)
{
    try {
        MainMap->DoCommand(mcSaveMap, TCommandParams().Text(fileName).Text(QStringLiteral("New")));
    } catch (const std::exception& e) {
        ShowMsgDialog(QStringLiteral("План не сохранен"), ExceptionMessage(e));
        return false;
    }
    SavedCommandCount = CommandLog ? int(CommandLog->size()) : 0;
    return true;
}

bool TFormMap::SaveAs()
{
    Saving = true;
    const struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } done{Saving};
    bool written = false;
    QString fileName;
    if (SaveFileNameDialog(QStringLiteral("Сохранить план"), PlanSaveDialogFilter(), fileName) &&
        !fileName.isEmpty()) {
        if (QFileInfo(fileName).suffix().isEmpty())
            fileName += QLatin1Char('.') + QString::number(MainMap->MapProp.Scale);
        QString ext = QFileInfo(fileName).suffix().toUpper();
        if (ext == QLatin1String("JPEG"))
            ext = QStringLiteral("JPG");
        else if (ext == QLatin1String("TIFF"))
            ext = QStringLiteral("TIF");
        try {
            if (DigitsOnly(ext)) {
                written = SaveAsPlan(QFileInfo(fileName).absoluteFilePath());
            } else if (ext == QLatin1String("DXF")) {
                MainMap->ExportToDxf(fileName);
            } else if (ext == QLatin1String("BMP") || ext == QLatin1String("JPG") ||
                       ext == QLatin1String("TIF")) {
                MainMap->MaxMinCoord();
                Extended x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                MainMap->GetExtents(x1, y1, x2, y2);
                // The objects' extents leave out the texts' and captions' frames: a street
                // name at the plan's edge would be cut off the picture.
                TGeoPoint lo = GeoPoint(x1, y1), hi = GeoPoint(x2, y2);
                WidenByTextFrames(*MainMap, lo, hi);
                MainMap->SaveToRaster(fileName, MainMap->ShowPlansBorders == 0, lo.X, lo.Y, hi.X,
                                      hi.Y);
            }
        } catch (...) {
            HandleApplicationException(this, std::current_exception());
        }
    }
    if (AutoSaveOn == 1)
        TimerAutosave->SetEnabled(true);
    return written;
}

bool TFormMap::SaveAsPlan(const QString& fileName)
{
    bool ok = false;
    const qlonglong newScale = QFileInfo(fileName).suffix().toLongLong(&ok);
    if (!ok || newScale < 1 || newScale > std::numeric_limits<std::int32_t>::max()) {
        ShowMsgDialog(QStringLiteral("Масштаб должен быть целым числом больше 0"), QString());
        return false;
    }
    if (DataFileDamaged && SamePath(fileName, DataFileName) &&
        ShowQDialog(QStringLiteral("План открыт не полностью"),
                    QStringLiteral("Файл \"%1\" открылся не полностью: при чтении были нарушения "
                                   "в структуре или пропущенные строки. Записать план поверх "
                                   "этого файла? То, что не прочитано, будет потеряно.")
                        .arg(QDir::toNativeSeparators(fileName))) != mrYes)
        return false;
    const bool wasNew = DataFileName.isEmpty();   // also a new plan reopened by undo
    const QString unnamed = UndoFolder();   // before the name changes
    if (!WritePlan(fileName))
        return false;
    DataFileName = fileName;
    DataFileDamaged = false;   // the file now holds this plan whole
    QDir::setCurrent(QFileInfo(fileName).absolutePath());   // where its rasters are looked for
    UpdateCaption();
    AddPlanToHistory();

    // The undo folder follows the document before the scale command, whose snapshot then
    // lands beside the others.
    DocStartTime = Now().toString(QStringLiteral("hh.mm.ss"));
    const QString folder = UndoFolder();
    QDir().mkpath(folder);
    if (wasNew && QFileInfo(unnamed).isDir() && unnamed != folder) {
        // An unsaved plan keeps its history: its snapshots move with it, the step stays.
        MoveUndoFolder(unnamed, folder);
        ClearDirectory(unnamed, true);
    } else {
        UndoStep = 0;
        CopyFileWithProgress(fileName, folder + QStringLiteral("/0.") + QString::number(newScale));
    }
    if (newScale != MainMap->MapProp.Scale)
        MainMap->DoCommand(mcSetMapScale, TCommandParams().Int(newScale));
    return true;
}

void TFormMap::MoveUndoFolder(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        MoveFileSafe(source.filePath(name), to + QLatin1Char('/') + name);
}

void TFormMap::TimerAutosaveTimer()
{
    // A tick while a save or any modal window runs would stack a second Save As dialog
    // or write a plan half way through a command.
    if (Saving || QApplication::activeModalWidget() || !MainMap || MainMap->Modified == 0)
        return;
    Saving = true;
    SavePlan(DataFileName);
    Saving = false;
}

void TFormMap::ConnectFileCommands()
{
    QAction* history = NHistory->menuAction();
    auto item = [&](const char* caption, const char* name, std::function<void()> act) {
        auto* a = new QAction(QString::fromUtf8(caption), NFile);
        a->setObjectName(QLatin1String(name));
        NFile->insertAction(history, a);
        connect(a, &QAction::triggered, this, [act] { act(); });
        return a;
    };
    item("Создать план", "NCreatePlan", [this] { btCreatePlanClick(); });
    item("Открыть план", "NOpenPlan", [this] { btOpenPlanClick(); });
    item("Сохранить план", "NSavePlan", [this] { btSavePlanClick(); });
    item("Сохранить план как...", "NSavePlanAs", [this] { SaveAs(); });
    NFile->insertSeparator(history);
    item("Открыть план, используя фильтр", "NOpenPlanUseFilter", [this] { NOpenPlanUseFilterClick(); });
    item("Добавить файл", "NAddFile", [this] { NAddFileClick(); });
    item("Сохранить в файл...", "NSaveToFile", [this] { NSaveToFileClick(); });
    item("Добавить из папки...", "N61", [this] { N61Click(); });
    item("Сохранить в папку...", "N59", [this] { N59Click(); });
    NFile->insertSeparator(history);
    item("Восстановление данных", "N49", [this] { N49Click(); });
    NFile->insertSeparator(history);
    auto* clear = new QAction(QStringLiteral("Очистить историю"), NFile);
    clear->setObjectName(QStringLiteral("NClearHistory"));
    NFile->addAction(clear);
    connect(clear, &QAction::triggered, this, [this] { NClearHistoryClick(); });
    connect(NHistory, &QMenu::triggered, this, [this](QAction* a) { NHistoryPlansClick(a); });
    NFile->addSeparator();
    QAction* print = NFile->addAction(QStringLiteral("Печать плана"));
    print->setObjectName(QStringLiteral("NPrintPlan"));
    connect(print, &QAction::triggered, this, [this] { btPrintPlanClick(); });
    QAction* options = NFile->addAction(QStringLiteral("Опции печати"));
    options->setObjectName(QStringLiteral("NPrintOptions"));
    connect(options, &QAction::triggered, this, [this] { NPrintOptionsClick(); });
    QAction* caption = NFile->addAction(QStringLiteral("Печатать заголовок"));
    caption->setObjectName(QStringLiteral("NPrintCaption"));
    caption->setCheckable(true);
    caption->setChecked(true);
    connect(caption, &QAction::triggered, this, [this](bool checked) { NPrintCaptionClick(checked); });
    auto* newPlan = new QAction(QStringLiteral("Новый"), NPlan);
    NPlan->insertAction(NPlan->actions().value(0), newPlan);
    newPlan->setObjectName(QStringLiteral("NNewPlan"));
    connect(newPlan, &QAction::triggered, this, [this] { btCreatePlanClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Создать план")))
        connect(b, &QToolButton::clicked, this, [this] { btCreatePlanClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Открыть план")))
        connect(b, &QToolButton::clicked, this, [this] { btOpenPlanClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Сохранить план")))
        connect(b, &QToolButton::clicked, this, [this] { btSavePlanClick(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Сохранить план в выбранном формате")))
        connect(b, &QToolButton::clicked, this, [this] { SaveAs(); });
    if (QToolButton* b = PanelButtons.value(QStringLiteral("Печать")))
        connect(b, &QToolButton::clicked, this, [this] { btPrintPlanClick(); });
}

void TFormMap::StartUndoFolder()
{
    DocStartTime = Now().toString(QStringLiteral("hh.mm.ss"));
    QDir().mkpath(UndoFolder());
    UndoStep = 0;
    // The steps of the previous document are no way back from this one.
    UndoButton->setEnabled(false);
    RedoButton->setEnabled(false);
}

void TFormMap::KeepStartSnapshot(const QString& openedFile)
{
    if (!MainMap || MainMap->UndoOn != 1)
        return;
    try {
        // The file itself serves while reading it again gives this very plan: it was
        // read whole and unfiltered. Linked where the file system allows (every save
        // replaces the plan's file by a new one, so the link keeps the bytes as opened),
        // else copied: not written, so a large plan opens about as fast as before.
        if (!openedFile.isEmpty() && MainMap->ReadSkipped == 0 &&
            DefaultOpenFilter(MainMap->OpenFilter)) {
            const QString snapshot = UndoFolder() + QStringLiteral("/0.") +
                                     QString::number(MainMap->MapProp.Scale);
            QFile::remove(snapshot);
            if (::link(QFile::encodeName(openedFile).constData(),
                       QFile::encodeName(snapshot).constData()) == 0 ||
                QFile::copy(openedFile, snapshot))
                return;
        }
        MainMap->WriteStartSnapshot();
    } catch (...) {
        // Without snapshot 0 the first undo finds nothing, as before; the plan is fine.
        HandleApplicationException(this, std::current_exception());
    }
}

void TFormMap::btCreatePlanClick()
{
    int scale = 500;
    QString description;
    if (NewMapDlg(scale, description) != mrOk)
        return;
    if (scale < 1) {
        ShowMsgDialog(QStringLiteral("Масштаб должен быть целым числом больше 0"), QString());
        return;
    }
    try {
        MainMap->DoCommand(mcNewMap, TCommandParams().Int(scale).Lines(description));
    } catch (...) {
        HandleApplicationException(this, std::current_exception());
        return;
    }
    DataFileName.clear();
    DataFileDamaged = false;
    UpdateCaption();
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 0, ddScreen);
    StartUndoFolder();
    KeepStartSnapshot(QString());
}

void TFormMap::LoadFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString ext = info.suffix();
    const QString full = info.absoluteFilePath();
    // The older formats ask how their objects find layers; a declined layer name opens
    // nothing.
    auto openOld = [&](const QString& kind, const QString& defaultLayer) {
        if (ShowQDialog(QStringLiteral("Автоопределение слоев"),
                        QStringLiteral("Включить автоопределение слоев при загрузке?")) == mrYes) {
            MainMap->DoCommand(mcOpenMap, TCommandParams().Text(full).Text(kind)
                                              .Text(QStringLiteral("True")).Text(QString()));
            return true;
        }
        QString layer = defaultLayer;
        if (InpStrDialog(layer, QStringLiteral("Новый слой"),
                         QStringLiteral("Определите название слоя для загрузки")) != mrOk)
            return false;
        MainMap->DoCommand(mcOpenMap, TCommandParams().Text(full).Text(kind)
                                          .Text(QStringLiteral("False")).Text(layer));
        return true;
    };
    const QSize size = SurfaceSize();
    // Rasters named without a folder lie beside their plan: the reader, and every undo
    // and redo after it, find them from the plan's folder, whatever the program's.
    const QString previousFolder = QDir::currentPath();
    QDir::setCurrent(info.absolutePath());
    bool opened = false;
    try {
        if (ext.isEmpty() || DigitsOnly(ext)) {
            const QString first = FirstLineOfFile(full);
            bool native = false;
            if (first == QLatin1String("FREE VELMORANT")) {
                MainMap->DoCommand(mcOpenMap, TCommandParams().Text(full).Text(QStringLiteral("New"))
                                                  .Text(QStringLiteral("True")).Text(QString()));
                opened = native = true;
            } else if (first == QStringLiteral("[Исполнитель]")) {
                opened = openOld(QStringLiteral("Old"), QStringLiteral("Общий"));
            } else {
                // Opening nothing without a word reads as a program that did not hear.
                ShowMsgDialog(QStringLiteral("План не открыт"),
                              QStringLiteral("Файл \"%1\" не является файлом плана: его первая "
                                             "строка не \"FREE VELMORANT\" и не \"[Исполнитель]\"")
                                  .arg(QDir::toNativeSeparators(full)));
            }
            if (opened) {
                DataFileName = full;
                DataFileDamaged = native && MainMap->ReadSkipped > 0;
                MainMap->Draw(size.width(), size.height(), 0, ddScreen);
                if (AutoSaveOn == 1)
                    TimerAutosave->SetEnabled(true);
                // Only a plan that was opened gets a new history: a declined open keeps
                // the undo of the plan still shown.
                StartUndoFolder();
                KeepStartSnapshot(native ? full : QString());
                if (DataFileDamaged)
                    ShowMsgDialog(QStringLiteral("План открыт не полностью"),
                                  QStringLiteral("Файл \"%1\" прочитан не полностью (нарушений и "
                                                 "пропущенных строк: %2). Он не будет перезаписан "
                                                 "без вопроса: сохраните план под другим именем.")
                                      .arg(QDir::toNativeSeparators(full))
                                      .arg(MainMap->ReadSkipped));
            }
        } else if (ext.toUpper() == QLatin1String("TXT")) {
            if (openOld(QStringLiteral("Fora"), QStringLiteral("Фора"))) {
                opened = true;
                DataFileName = full;
                DataFileDamaged = false;
                TimerAutosave->SetEnabled(false);
                MainMap->Draw(size.width(), size.height(), 0, ddScreen);
            }
        }
    } catch (...) {
        if (ErrorInfo)
            ErrorInfo->append(QStringLiteral("procedure TFormMap.LoadFile(const FileName:String);"));
        HandleApplicationException(this, std::current_exception());
    }
    if (!opened)
        QDir::setCurrent(previousFolder);
    UpdateCaption();
    AddPlanToHistory();
}

void TFormMap::btOpenPlanClick()
{
    QString fileName;
    if (DataFileState != 0) {
        if (OpenFileNameDialog(QStringLiteral("Открыть план"), PlanOpenFilter(), fileName))
            StartProgramDetached(ProgramFile(), {fileName}, ProgramFolder);
        return;
    }
    ResetOpenFilter();
    if (OpenFileNameDialog(QStringLiteral("Открыть план"), PlanOpenFilter(), fileName))
        LoadFile(fileName);
}

void TFormMap::NOpenPlanUseFilterClick()
{
    ResetOpenFilter();
    // Only "Готово" opens: a cancelled filter must not filter, nor open anything.
    if (OpenFilterDlg() != mrOk) {
        ResetOpenFilter();
        return;
    }
    QString fileName;
    if (OpenFileNameDialog(QStringLiteral("Открыть план"), PlanOpenFilter(), fileName))
        LoadFile(fileName);
}

void TFormMap::NHistoryPlansClick(QAction* item)
{
    const QString fileName = item->data().toString();
    if (fileName.isEmpty())
        return;
    ResetOpenFilter();
    if (!QFileInfo::exists(fileName)) {
        // The entry stays: the file may be on a drive not mounted now.
        ShowMsgDialog(QStringLiteral("Файл не найден"), fileName);
        return;
    }
    LoadFile(fileName);
}

void TFormMap::NClearHistoryClick()
{
    NHistory->clear();
    RecentPlans.clear();
}
