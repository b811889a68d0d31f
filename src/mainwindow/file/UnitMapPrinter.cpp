// The window's printer for the plan's printed pages: the system's default printer at its
// full resolution, one page for each print.
#include "engine/export/PagePrinter.h"
#include "mainwindow/UnitMap.h"

#include <QPrinter>
#include <QPrinterInfo>

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
