// The main window's own modal entries: the exit question window and the routines that
// reach the hooks, the file dialogs, pop-up menus and other programs.
#include "mainwindow/MapHooks.h"

#include "controls/core/ExShell.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/DialogBase.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/file/FileDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>

#include <memory>

TMapHooks& MapHooks()
{
    static TMapHooks hooks;
    return hooks;
}

namespace {

// The question before closing with unsaved changes: "Инфо" shows the journal and keeps
// the question open, "Сохранить" 6, "Не сохранять" 7; Enter gives 6, Esc 2.
class TFormShowQExitDialog : public TDialogBase {
public:
    TFormShowQExitDialog(const QString& caption, const QString& text)
    {
        setObjectName(QStringLiteral("FormShowQExitDialog"));
        setWindowTitle(caption);
        SetClientSize(420, 190);
        auto* memo = new TMessageMemo(this);
        memo->SetLines(Split(text));
        memo->setAlignment(Qt::AlignCenter);
        memo->setReadOnly(true);
        Place(memo, QRect(8, 8, 404, 136), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
        auto* info = new QPushButton(QStringLiteral("Инфо"), this);
        info->setAutoDefault(false);
        Place(info, QRect(8, 154, 90, 28), Qt::LeftEdge | Qt::BottomEdge);
        connect(info, &QPushButton::clicked, this, [] {
            // The command window is its own issue; until it exists the journal is shown here.
            ShowMsgDialog(QStringLiteral("Журнал команд"),
                          CommandLog ? CommandLog->join(QLatin1Char('\r')) : QString());
        });
        QPushButton* save = AddButton(QStringLiteral("Сохранить"), QRect(214, 154, 96, 28), mrYes);
        AddButton(QStringLiteral("Не сохранять"), QRect(316, 154, 96, 28), mrNo);
        save->setDefault(true);
        EscResult = mrCancel;
        CloseResult = mrCancel;
        PlaceScreenCentre();
    }
};

}  // namespace

int ShowQExitDialog(const QString& caption, const QString& text)
{
    if (MapHooks().ShowQExitDialog)
        return MapHooks().ShowQExitDialog(caption, text);
    TFormShowQExitDialog dialog(caption, text);
    return dialog.ShowModal();
}

bool SaveFileNameDialog(const QString& title, const QString& filter, QString& fileName)
{
    if (MapHooks().SaveFileName)
        return MapHooks().SaveFileName(title, filter, fileName);
    QFileDialog dialog(FormMap, title, fileName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    PrepareFileDialog(dialog, filter);
    QStringList chosen;
    if (!RunFileDialog(dialog, chosen))
        return false;
    fileName = chosen.first();
    return true;
}

QAction* ExecMenu(QMenu& menu, QPoint at)
{
    if (MapHooks().MenuExec)
        return MapHooks().MenuExec(menu, at);
    return menu.exec(at);
}

bool StartProgramDetached(const QString& program, const QStringList& arguments,
                          const QString& folder)
{
    if (MapHooks().StartDetached)
        return MapHooks().StartDetached(program, arguments, folder);
    return QProcess::startDetached(program, arguments, folder);
}

bool LaunchDocument(const QString& file, const QString& params, const QString& folder, int show)
{
    if (MapHooks().Launch)
        return MapHooks().Launch(file, params, folder, show);
    return LaunchFile(file, params, folder, show);
}

bool ChooseColorDialog(std::int32_t& color)
{
    if (MapHooks().ChooseColor)
        return MapHooks().ChooseColor(color);
    const QColor chosen = QColorDialog::getColor(TColorToQColor(color), FormMap, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return false;
    color = chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
    return true;
}

namespace {

constexpr int PdfDpi = 300;

void FitPdfResolution(QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.resolution() != PdfDpi)
        printer.setResolution(PdfDpi);
}

}  // namespace

QPrinter& ProgramPrinter()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        FitPdfResolution(*printer);
    }
    return *printer;
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    bool chosen = false;
    if (MapHooks().PrintDialog) {
        chosen = MapHooks().PrintDialog(printer, parent);
    } else {
        QPrintDialog dialog(&printer, parent ? parent : FormMap);
        // One picture on one page, or the report's pages whole: there is no range to pick.
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    FitPdfResolution(printer);
    return chosen;
}

bool PrinterReady(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::NativeFormat)
        return printer.isValid();
    return !printer.outputFileName().isEmpty();
}
