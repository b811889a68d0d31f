// The printed traverse: its line texts, where its lines and rules fall in printer
// pixels, its pages, and the print dialog's Cancel. Setting VELMORA_REVIEW_DIR writes a
// PDF and a PNG page of the worked traverse there to look at.
#include "SurveyTestSupport.h"
#include "mainwindow/MapHooks.h"
#include "survey/TraverseReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Records what the report draws; every character is 10 pixels wide, a line h high.
class TRecordingCanvas : public TReportCanvas {
public:
    explicit TRecordingCanvas(int h) : H(h) {}
    struct RText { int page, x, y; QString text; };
    struct RLine { int page, x1, y1, x2, y2, width; };
    std::vector<RText> Texts;
    std::vector<RLine> Lines;
    int Page = 0;

    void Text(int x, int y, const QString& text) override { Texts.push_back({Page, x, y, text}); }
    void Line(int x1, int y1, int x2, int y2, int w) override
    {
        Lines.push_back({Page, x1, y1, x2, y2, w});
    }
    int TextWidth(const QString& text) override { return 10 * int(text.size()); }
    int LineHeight() override { return H; }
    void NewPage() override { ++Page; }

private:
    int H;
};

// 254 dots per inch: one millimetre is ten pixels.
constexpr int Dpi = 254;
constexpr int PageHeight = 2000;   // 200 mm

TTraverseTable Worked()
{
    TMessages messages;
    TTraverseTable t(2);
    const struct { int r, c; const char* text; } cells[] = {
        {1, 0, "A"}, {1, 22, "6100500.000"}, {1, 23, "4300200.000"},
        {3, 0, "B"}, {3, 1, "+38"}, {3, 2, "28"}, {3, 3, "28"},
        {3, 22, "6100000.000"}, {3, 23, "4300000.000"}, {4, 8, "242.731"},
        {5, 0, "P1"}, {5, 1, "-140"}, {5, 2, "56"}, {5, 3, "00"}, {6, 8, "247.828"},
        {7, 0, "P2"}, {7, 1, "+131"}, {7, 2, "31"}, {7, 3, "24"}, {8, 8, "238.369"},
        {9, 0, "C"}, {9, 1, "+158"}, {9, 2, "05"}, {9, 3, "47"},
        {9, 22, "6100230.560"}, {9, 23, "4300640.210"},
        {11, 0, "D"}, {11, 22, "6100700.000"}, {11, 23, "4300900.000"},
    };
    for (const auto& c : cells)
        t.SetCell(c.r, c.c, c.text);
    t.ComputeTraverse();
    return t;
}

} // namespace

TEST(TraverseReport, LineTexts)
{
    EXPECT_EQ(TraverseReportTitle("6.0.1"),
              "Free Velmorant 6, версия 6.0.1:  Обработка теодолитного хода");
    EXPECT_EQ(TraverseReportHeading1(),
              "|название  |ГУ (- прав) |горизонт. |  дир.угол  |поправки|испр.дир.угол "
              "|    приращения       |    поправки     | испр.приращения |    координаты     |");
    EXPECT_EQ(TraverseReportHeading2(),
              "|          |   ° | '|  \"|проложение|   ° | '|  \"|        |   ° | '|  \"  |    Dx'   "
              "|     Dy'  |   dx   |   dy   |    Dx  |    Dy  |    X    |    Y    |");
    // Heading 1 spans exactly the columns of the rows under it.
    EXPECT_EQ(TraverseReportHeading1().size(), TraverseReportHeading2().size());

    struct Case { int row, col; const char* text; QString line; };
    const Case cases[] = {
        // A long name is cut at 10 characters; the field keeps its width.
        {1, 0, "Репер-12345678", "|Репер-1234|     |  |   |          |"},
        // Leading blanks of the distance go, other fields print as they stand.
        {2, 8, "   12.5", "|          |     |  |   |12.5      |"},
        {2, 8, "   ", "|          |     |  |   |          |"},
        // A 12-character coordinate widens its field and shifts only what follows.
        {1, 22, "612345678.90", "|          |     |  |   |          |"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TTraverseTable t(1);
        t.SetCell(c.row, c.col, c.text);
        const QString line = TraverseReportRow(t, c.row);
        EXPECT_TRUE(line.startsWith(c.line)) << line.toStdString();
        if (c.col == 22) {
            EXPECT_TRUE(line.endsWith("|612345678.90|         |"));
            EXPECT_EQ(line.size(), TraverseReportHeading2().size() + 3);
        } else {
            EXPECT_EQ(line.size(), TraverseReportHeading2().size());
        }
    }
}

TEST(TraverseReport, FourPointsOnOnePage)
{
    TTraverseTable t(4);   // R = 17
    t.SetCell(1, 0, "A");
    TRecordingCanvas canvas(40);
    PaintTraverseReport(t, "6", canvas, Dpi, Dpi, PageHeight);
    ASSERT_EQ(canvas.Texts.size(), 1u + 2 + 16 + 1);
    EXPECT_EQ(canvas.Page, 0);
    const auto& title = canvas.Texts.front();
    EXPECT_EQ((std::pair{title.x, title.y}), (std::pair{200, 150}));
    EXPECT_EQ(title.text, TraverseReportTitle("6"));
    for (int k = 1; k <= 18; ++k) {
        SCOPED_TRACE(k);
        const auto& text = canvas.Texts[size_t(k)];
        EXPECT_EQ(text.x, 200);
        EXPECT_EQ(text.y, 200 + k * 40);
        const auto& rule = canvas.Lines[size_t(k - 1)];
        EXPECT_EQ(rule.x1, 210);
        EXPECT_EQ(rule.y1, 200 + k * 40);
        EXPECT_EQ(rule.y2, rule.y1);
        EXPECT_EQ(rule.x2, 210 + 10 * int(text.text.size()) - 10);
        EXPECT_EQ(rule.width, (k == 1 || k == 3) ? 4 : 2);
    }
    EXPECT_EQ(canvas.Texts[3].text, TraverseReportRow(t, 1));
    ASSERT_EQ(canvas.Lines.size(), 19u);
    EXPECT_EQ(canvas.Lines.back().y1, 200 + 19 * 40);   // the closing rule
    EXPECT_EQ(canvas.Lines.back().width, 2);
    const auto& signature = canvas.Texts.back();
    EXPECT_EQ(signature.text, "Исполнитель_________________________________");
    EXPECT_EQ((std::pair{signature.x, signature.y}), (std::pair{2000, 200 + 20 * 40}));
}

TEST(TraverseReport, MillimetresThroughTheDpi)
{
    struct Case { int dpi; Extended mm; int px; };
    const Case cases[] = {{600, 20, 472}, {600, 21, 496}, {300, 15, 177}, {72, 200, 567},
                          {254, 0.05L, 0}};   // 0.5 px: halves to even
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ReportMillimetres(c.dpi, c.mm), c.px);
    }
}

// Guards the long traverse: rows below the printable area used to be lost silently.
TEST(TraverseReport, LongTraverseGoesOnOverPages)
{
    TTraverseTable t(60);   // R = 129: 128 table lines
    for (int r = 1; r < t.RowCount(); r += 2)
        t.SetCell(r, 0, "T" + QString::number(r));
    TRecordingCanvas canvas(25);   // 73 lines fit below the headings: 71 rows a page
    PaintTraverseReport(t, "6", canvas, Dpi, Dpi, PageHeight);
    EXPECT_EQ(canvas.Page, 1);
    int rows = 0, titles = 0, headings = 0;
    for (const auto& text : canvas.Texts) {
        EXPECT_LE(text.y + 25, PageHeight) << text.text.toStdString();
        if (text.text == TraverseReportTitle("6"))
            ++titles;
        else if (text.text == TraverseReportHeading1() || text.text == TraverseReportHeading2())
            ++headings;
        else if (text.text.startsWith('|'))
            ++rows;
    }
    EXPECT_EQ(rows, 128);
    EXPECT_EQ(titles, 2);
    EXPECT_EQ(headings, 4);
    // The second page starts with its headings and goes on with row 72.
    const auto second = std::find_if(canvas.Texts.begin(), canvas.Texts.end(),
                                     [](const auto& x) { return x.page == 1; });
    ASSERT_NE(second, canvas.Texts.end());
    EXPECT_EQ(second[3].text, TraverseReportRow(t, 72));
    EXPECT_EQ(second[3].y, 200 + 3 * 25);
    EXPECT_EQ(canvas.Texts.back().page, 1);
    EXPECT_TRUE(canvas.Texts.back().text.startsWith("Исполнитель"));
    for (const auto& line : canvas.Lines)
        EXPECT_LE(line.y1, PageHeight);
}

TEST(TraverseReport, CancelledDialogPrintsNothing)
{
    const TMapHooks saved = MapHooks();
    int asked = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    MapHooks().PrintDialog = [&](QPrinter& printer, QWidget*) {
        ++asked;
        orientation = printer.pageLayout().orientation();
        printer.setOutputFileName(QDir::tempPath() + "/velmora-never-printed.pdf");
        return false;
    };
    QFile::remove(QDir::tempPath() + "/velmora-never-printed.pdf");
    PrintTraverseReport(Worked(), nullptr);
    MapHooks() = saved;
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/velmora-never-printed.pdf"));
}

// Guards a printer of the report's own: the plan and the report print on the program's
// one printer, so a PDF file named in the dialog is where the report goes, on landscape
// pages, one page for the worked traverse.
TEST(TraverseReport, PrintsOnTheProgramsPrinterToThePdfChosen)
{
    const TMapHooks saved = MapHooks();
    QTemporaryDir dir;
    const QString path = dir.filePath("отчет.pdf");
    const QPrinter* asked = nullptr;
    MapHooks().PrintDialog = [&](QPrinter& printer, QWidget*) {
        asked = &printer;
        printer.setOutputFileName(path);
        return true;
    };
    PrintTraverseReport(Worked(), nullptr);
    MapHooks() = saved;
    EXPECT_EQ(asked, &ProgramPrinter());
    EXPECT_EQ(ProgramPrinter().resolution(), 300) << "a PDF at 300 dots per inch";
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(4) == "%PDF");
    EXPECT_GT(pdf.size(), 1000);
    EXPECT_EQ(ProgramPrinter().pageLayout().orientation(), QPageLayout::Landscape);
    ProgramPrinter().setPageOrientation(QPageLayout::Portrait);
}

TEST(TraverseReport, PdfOfTheWorkedTraverse)
{
    const QByteArray review = qgetenv("VELMORA_REVIEW_DIR");
    const QString dir = review.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(review);
    const QString path = dir + "/traverse-report.pdf";
    QFile::remove(path);
    const TTraverseTable t = Worked();
    WriteTraverseReportPdf(t, path);
    EXPECT_GT(QFileInfo(path).size(), 1000);
    if (review.isEmpty()) {
        QFile::remove(path);
        return;
    }
    // The same page at 150 dpi as a picture to look at.
    QImage page(1754, 1240, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(5906);
    page.setDotsPerMeterY(5906);
    QPainter p(&page);
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::Monospace);
    p.setFont(font);
    TPainterCanvas canvas(p, {});
    PaintTraverseReport(t, "6", canvas, 150, 150, page.height());
    p.end();
    page.save(dir + "/traverse-report.png");
}
