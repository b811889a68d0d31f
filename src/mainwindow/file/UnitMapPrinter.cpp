// The window's printer for the plan's printed pages: the program's printer as the print
// dialog last left it (an installed printer or a PDF file), one page for each print; the
// print command, its set-up and caption.
#include "engine/export/PagePrinter.h"
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/file/FileDialogs.h"

#include <QPrinter>
#include <cmath>

QSize TFormMap::PrinterPageSize()
{
    const QPrinter& printer = ProgramPrinter();
    return PrinterReady(printer) ? PageDevicePixels(printer) : QSize();
}

void TFormMap::PrintPicture(const QImage& picture)
{
    QPrinter& printer = ProgramPrinter();
    if (PrinterReady(printer))
        PrintOnPageDevice(printer, picture);
}

namespace {

QSizeF PrinterPageMillimetres()
{
    if (FileDialogHooks().PrinterPageMm)
        return FileDialogHooks().PrinterPageMm();
    const QPrinter& printer = ProgramPrinter();
    return PrinterReady(printer) ? printer.pageLayout().paintRect(QPageLayout::Millimeter).size() : QSizeF();
}

}  // namespace

void TFormMap::btPrintPlanClick()
{
    if (!MainMap)
        return;
    // Where the page goes is settled before the print's settings and its place are asked
    // for. A file is named anew for each print, so that the last one is not written over
    // unasked; without an installed printer that is where the page goes, named in the
    // print dialog.
    QPrinter& printer = ProgramPrinter();
    if (printer.outputFormat() != QPrinter::NativeFormat || !PrinterReady(printer)) {
        if (!RunPrintDialog(printer, this))
            return;
    }
    const QSizeF page = PrinterPageMillimetres();
    if (!PrinterReady(printer) || page.width() < 1 || page.height() < 1) {
        ShowMsgDialog(QStringLiteral("Принтер не установлен, и файл для печати не задан: печать невозможна"),
                      QString());
        return;
    }
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
    // The choice stays in the program's printer for the prints that follow.
    RunPrintDialog(ProgramPrinter(), this);
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
