// Printing through the menu as the user prints: the print dialog (answered by a hook)
// settles where the page goes before the print's settings are asked for, a PDF file
// chosen there receives the whole plan on a page of the size chosen, and a print that
// cannot go anywhere is refused before the print-scale window.
#include "MainWindowFixture.h"

#include "foundation/ProgramDialogs.h"
#include "foundation/ui/ProgramWindows.h"
#include "support/ModalScript.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// What a peer program prints, or why it could not run.
struct RToolRun {
    bool Ran = false;
    QString Output;
};

RToolRun RunTool(const QString& name, const QStringList& arguments)
{
    RToolRun run;
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return run;
    QProcess process;
    process.start(program, arguments);
    run.Ran = process.waitForFinished(60000) && process.exitCode() == 0;
    run.Output = QString::fromUtf8(process.readAllStandardOutput());
    if (!run.Ran)
        ADD_FAILURE() << name.toStdString() << ": " << process.readAllStandardError().toStdString();
    return run;
}

// The value of "Key:" in pdfinfo's report.
QString InfoValue(const QString& report, const QString& key)
{
    for (const QString& line : report.split(u'\n'))
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}

// The scale window answered with scale and Ok; counts its showings.
struct TScaleWindow {
    int Shown = 0;
    TScopedProgramDialogHooks Hooks;
    explicit TScaleWindow(int scale)
    {
        ProgramDialogHooks().PrintScale = [this, scale](int& s, TPixelDepth& depth, Extended&, Extended&) {
            ++Shown;
            s = scale;
            depth = 6;   // 24 bits
            return mrOk;
        };
    }
};

// A PDF printer with no file named: where an installed printer is not chosen, nothing
// can be printed.
void NoWhereToPrint(QPrinter& printer)
{
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::PdfFormat);
}

}  // namespace

// Guards printing that only reached the system's default printer: the print dialog names
// a PDF file and an A5 page, the engine is given that page, and the file holds the whole
// plan on one A5 page.
TEST(PrintToPdf, TheWholePlanOnThePageAndFileChosenInThePrintDialog)
{
    TMainWindowRun run;
    run.Start();
    TFormMap& form = run.Form();
    const QString plan = run.Folder() + QStringLiteral("signs.500");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES "/plans/signs.500"), plan));
    form.LoadFile(plan);
    ASSERT_GT(MainMap->GetPagesCount(), 0);

    const QString pdf = run.Folder() + QStringLiteral("план на печать.pdf");
    NoWhereToPrint(ProgramPrinter());   // never the machine's own printer
    int dialogs = 0;
    QSizeF chosenPage;
    MapHooks().PrintDialog = [&](QPrinter& printer, QWidget*) {
        ++dialogs;
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Portrait);
        chosenPage = printer.pageLayout().paintRect(QPageLayout::Millimeter).size();
        return true;
    };
    constexpr int scale = 5000;   // the plan is 275 m by 840 m
    TScaleWindow scaleWindow(scale);
    form.findChild<QAction*>(QStringLiteral("NPrintPlan"))->trigger();
    EXPECT_EQ(dialogs, 1) << "a file is named for each print";
    ASSERT_EQ(scaleWindow.Shown, 1);
    ASSERT_EQ(form.MouseMode, mmPrintArea);
    EXPECT_EQ(MainMap->PageWidthMm, std::int32_t(std::nearbyint(chosenPage.width())));
    EXPECT_EQ(MainMap->PageHeightMm, std::int32_t(std::nearbyint(chosenPage.height())));
    EXPECT_LT(MainMap->PageWidthMm, 149) << "an A5 page, not the default A4";

    // The page's north-west corner a little beyond the plan's: the whole plan lies on it.
    MainMap->MaxMinCoord();
    Extended xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    MainMap->GetExtents(xmin, ymin, xmax, ymax);
    ASSERT_LT(ymax - ymin + 10, Extended(MainMap->PageWidthMm) * scale / 1000);   // metres
    ASSERT_LT(xmax - xmin + 10, Extended(MainMap->PageHeightMm) * scale / 1000);
    TSurfaceDriver driver(form);
    driver.Move(xmax + 5, ymin - 5);
    driver.Click(xmax + 5, ymin - 5);
    ASSERT_TRUE(QFileInfo::exists(pdf));

    const RToolRun info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    if (!info.Ran)
        GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed: scripts/deps.sh installs it";
    EXPECT_EQ(InfoValue(info.Output, QStringLiteral("Pages")), QStringLiteral("1"));
    EXPECT_TRUE(InfoValue(info.Output, QStringLiteral("Page size")).endsWith(QStringLiteral("(A5)")))
        << info.Output.toStdString();

    const QString prefix = run.Folder() + QStringLiteral("page");
    ASSERT_TRUE(RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"),
                                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                                     prefix})
                    .Ran);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    SaveImage(page, QStringLiteral("print-to-pdf-page-1"));
    int ink = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            ink += qGray(page.pixel(x, y)) < 128;
    EXPECT_GT(ink, 2000) << "the signs, the frame and the title are on the page";
}

// The print dialog decides before anything else is asked: a cancel ends the print
// quietly, a dialog left with nowhere to print is refused with a message before the
// print-scale window, and the choice of "Опции печати" is the printer's for later.
TEST(PrintToPdf, TheDialogDecidesBeforeThePrintScaleWindow)
{
    TMainWindowRun::TOptions options;
    options.CollectMessages = true;
    TMainWindowRun run(options);
    run.Start();
    TFormMap& form = run.Form();
    TScaleWindow scaleWindow(500);
    const TMouseMode mode = form.MouseMode;
    QAction* print = form.findChild<QAction*>(QStringLiteral("NPrintPlan"));
    NoWhereToPrint(ProgramPrinter());   // as on a machine without printers

    MapHooks().PrintDialog = [](QPrinter& printer, QWidget*) {
        NoWhereToPrint(printer);
        return false;
    };
    print->trigger();
    EXPECT_TRUE(run.Messages.empty());
    EXPECT_EQ(scaleWindow.Shown, 0);

    MapHooks().PrintDialog = [](QPrinter& printer, QWidget*) {
        NoWhereToPrint(printer);
        return true;
    };
    print->trigger();
    ASSERT_EQ(run.Messages.size(), 1u);
    EXPECT_TRUE(run.Messages[0].contains(QStringLiteral("печать невозможна"))) << run.Messages[0].toStdString();
    EXPECT_EQ(scaleWindow.Shown, 0);
    EXPECT_EQ(form.MouseMode, mode);

    // "Опции печати" names a file and a landscape A4 page; the print then asks again
    // for the file (shown as chosen) and gives the engine that page.
    QStringList shownFiles;
    MapHooks().PrintDialog = [&](QPrinter& printer, QWidget*) {
        shownFiles << printer.outputFileName();
        printer.setOutputFileName(run.Folder() + QStringLiteral("a4.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    form.findChild<QAction*>(QStringLiteral("NPrintOptions"))->trigger();
    print->trigger();
    ASSERT_EQ(shownFiles.size(), 2);
    EXPECT_EQ(shownFiles[1], run.Folder() + QStringLiteral("a4.pdf"));
    EXPECT_EQ(scaleWindow.Shown, 1);
    EXPECT_GT(MainMap->PageWidthMm, MainMap->PageHeightMm) << "landscape";
    EXPECT_GT(MainMap->PageWidthMm, 250);
    EXPECT_EQ(run.Messages.size(), 1u);
    ProgramPrinter().setPageOrientation(QPageLayout::Portrait);
}

// Not a check of behaviour: Qt's print dialog on the program's printer as the user
// sees it, written for a look when VELMORA_PNG_DIR names a folder.
TEST(PrintToPdf, ThePrintDialogAsShown)
{
    if (qEnvironmentVariableIsEmpty("VELMORA_PNG_DIR"))
        GTEST_SKIP() << "a picture to look at, written only when VELMORA_PNG_DIR is set";
    ASSERT_TRUE(LoadQtTranslations()) << "Qt's Russian translations, as the program loads them";
    TMainWindowRun run;
    run.Start();
    NoWhereToPrint(ProgramPrinter());   // as on a machine without printers
    QPrintDialog dialog(&ProgramPrinter(), &run.Form());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.show();
    QTest::qWait(50);
    SaveGrab(dialog, QStringLiteral("print-dialog"));
    dialog.reject();
}
