// The window's printer for the plan's printed pages: the system's default printer at its
// full resolution, one page for each print; the print command, its set-up and caption.
#include "engine/export/PagePrinter.h"
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/file/FileDialogs.h"

#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include <memory>

namespace {

// Made on first use and kept, so that the page measured is the page printed on; null
// while the system has no printer.
QPrinter* ProgramPrinter()
{
    static std::unique_ptr<QPrinter> printer;
    if (!printer) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return printer.get();
}

}  // namespace

QSize TFormMap::PrinterPageSize()
{
    QPrinter* printer = ProgramPrinter();
    return printer ? PageDevicePixels(*printer) : QSize();
}

void TFormMap::PrintPicture(const QImage& picture)
{
    if (QPrinter* printer = ProgramPrinter())
        PrintOnPageDevice(*printer, picture);
}

namespace {

QSizeF PrinterPageMillimetres()
{
    if (FileDialogHooks().PrinterPageMm)
        return FileDialogHooks().PrinterPageMm();
    QPrinter* printer = ProgramPrinter();
    return printer ? printer->pageLayout().paintRect(QPageLayout::Millimeter).size() : QSizeF();
}

}  // namespace

void TFormMap::btPrintPlanClick()
{
    if (!MainMap)
        return;
    const QSizeF page = PrinterPageMillimetres();
    MainMap->PageWidthMm = std::int32_t(std::nearbyint(page.width()));
    MainMap->PageHeightMm = std::int32_t(std::nearbyint(page.height()));
    int scale = MainMap->PrinterScale;
    TPixelDepth depth = MainMap->PrintBits;
    Extended kx = MainMap->PrintKx;
    Extended ky = MainMap->PrintKy;
    // The window hands its values back whatever its result: only "Ok" makes them the
    // print's, so that a cancelled window leaves the settings as they were.
    if (PrintScaleDlg(scale, depth, kx, ky) != mrOk)
        return;
    MainMap->PrinterScale = scale;
    MainMap->PrintBits = depth;
    MainMap->PrintKx = kx;
    MainMap->PrintKy = ky;
    SetMouseMode(mmPrintArea, 0, true);
}

void TFormMap::NPrintOptionsClick()
{
    if (FileDialogHooks().PageSetup) {
        FileDialogHooks().PageSetup();
        return;
    }
    QPrinter* printer = ProgramPrinter();
    if (!printer) {
        ShowMsgDialog(QStringLiteral("Принтер не установлен"), QString());
        return;
    }
    QPageSetupDialog dialog(printer, this);
    dialog.exec();
}

void TFormMap::NPrintCaptionClick(bool checked)
{
    if (!MainMap)
        return;
    if (checked) {
        QString caption = MainMap->PrintTitle;
        if (InpStrDialog(caption, QStringLiteral("Заголовок печати"),
                         QStringLiteral("Введите заголовок,который будет печататься в начале листа")) == mrOk)
            MainMap->PrintTitle = caption;
        MainMap->PrintHeaderOn = 1;
    } else {
        MainMap->PrintHeaderOn = 0;
    }
}
