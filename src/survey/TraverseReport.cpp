// The traverse report: one formatter for the lines, one layout over any canvas, and the
// printer and PDF devices that carry it.
#include "survey/TraverseReport.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "mainwindow/MapHooks.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cmath>

namespace {

const QString RowFormat = QStringLiteral(
    "|%-10.10s|%-5s|%-2s|%-3s|%-10s|%-5s|%-2s|%-3s|%-8s|%-5s|%-2s|%-5s|%-10s|%-10s|%-8s|%-8s|"
    "%-8s|%-8s|%-9s|%-9s|");

QString TrimLeadingBlanks(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return i == s.size() ? s : s.mid(i);
}

// The rule under a line's top: the mean of the text's width with and without its last
// two characters, so it ends inside the closing bar.
int RuleWidth(TReportCanvas& canvas, const QString& text)
{
    const int shorter = canvas.TextWidth(text.left(std::max(0, int(text.size()) - 2)));
    return int(std::nearbyint((shorter + canvas.TextWidth(text)) / 2.0));
}

QFont ReportFont()
{
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::Monospace);   // Liberation Mono where Courier New is missing
    return font;
}

void PaintOnDevice(const TTraverseTable& t, QPagedPaintDevice& device)
{
    QPainter painter(&device);
    painter.setFont(ReportFont());
    TPainterCanvas canvas(painter, [&device] { device.newPage(); });
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiY());
    PaintTraverseReport(t, AppVersion, canvas, device.logicalDpiX(), device.logicalDpiY(),
                        page.height());
}

} // namespace

QString TraverseReportTitle(const QString& version)
{
    return QStringLiteral("Free Velmorant 6, версия ") + version
           + QStringLiteral(":  Обработка теодолитного хода");
}

QString TraverseReportHeading1()
{
    return Format(QStringLiteral("|%-10.10s|%-12s|%-10s|%-12s|%-8s|%-14s|%-21s|%-17s|%-17s|%-19s|"),
                  {QStringLiteral("название"), QStringLiteral("ГУ (- прав)"),
                   QStringLiteral("горизонт."), QStringLiteral("  дир.угол"),
                   QStringLiteral("поправки"), QStringLiteral("испр.дир.угол"),
                   QStringLiteral("    приращения"), QStringLiteral("    поправки"),
                   QStringLiteral(" испр.приращения"), QStringLiteral("    координаты")});
}

QString TraverseReportHeading2()
{
    const QString deg = QStringLiteral("   °"), min = QStringLiteral(" '"),
                  sec = QStringLiteral("  \"");
    return Format(RowFormat, {QString(), deg, min, sec, QStringLiteral("проложение"), deg, min,
                              sec, QString(), deg, min, sec, QStringLiteral("    Dx'"),
                              QStringLiteral("     Dy'"), QStringLiteral("   dx"),
                              QStringLiteral("   dy"), QStringLiteral("    Dx"),
                              QStringLiteral("    Dy"), QStringLiteral("    X"),
                              QStringLiteral("    Y")});
}

QString TraverseReportRow(const TTraverseTable& t, int r)
{
    auto c = [&](int col) { return t.Cell(r, col); };
    return Format(RowFormat, {c(0), c(1), c(2), c(3), TrimLeadingBlanks(c(8)), c(9), c(10),
                              c(11), c(12), c(13), c(14), c(15), c(16), c(17), c(18), c(19),
                              c(20), c(21), c(22), c(23)});
}

TPainterCanvas::TPainterCanvas(QPainter& painter, std::function<void()> newPage)
    : Painter(painter), NextPage(std::move(newPage))
{
}

void TPainterCanvas::Text(int x, int y, const QString& text)
{
    Painter.drawText(x, y + Painter.fontMetrics().ascent(), text);
}

void TPainterCanvas::Line(int x1, int y1, int x2, int y2, int penWidth)
{
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine));
    Painter.drawLine(x1, y1, x2, y2);
}

int TPainterCanvas::TextWidth(const QString& text)
{
    return Painter.fontMetrics().horizontalAdvance(text);
}

int TPainterCanvas::LineHeight()
{
    return std::abs(Painter.fontMetrics().height());
}

void TPainterCanvas::NewPage()
{
    if (NextPage)
        NextPage();
}

int ReportMillimetres(int dpi, Extended mm)
{
    return int(std::nearbyint(dpi / 25.4L * mm));
}

void PaintTraverseReport(const TTraverseTable& t, const QString& version, TReportCanvas& canvas,
                         int dpiX, int dpiY, int pageHeight)
{
    const int h = std::max(1, canvas.LineHeight());
    const int left = ReportMillimetres(dpiX, 20);
    const int ruleLeft = ReportMillimetres(dpiX, 21);
    const int top = ReportMillimetres(dpiY, 20);
    auto lineTop = [&](int k) { return top + k * h; };
    // The last k whose line still ends on the page, less the closing rule and the
    // signature; at least one table line per page whatever the paper.
    const int lastK = std::max(3, (pageHeight - top) / h - 1 - 2);

    const QString title = TraverseReportTitle(version);
    const QString headings[2] = {TraverseReportHeading1(), TraverseReportHeading2()};
    auto drawLine = [&](int k, const QString& text, int penWidth) {
        const int y = lineTop(k);
        canvas.Line(ruleLeft, y, ruleLeft + RuleWidth(canvas, text), y, penWidth);
        canvas.Text(left, y, text);
    };
    auto startPage = [&] {
        canvas.Text(left, ReportMillimetres(dpiY, 15), title);
        drawLine(1, headings[0], 4);
        drawLine(2, headings[1], 2);
    };

    startPage();
    int k = 3;
    QString lastText = headings[1];
    for (int r = 1; r < t.RowCount(); ++r) {
        if (k > lastK) {
            canvas.Line(ruleLeft, lineTop(k), ruleLeft + RuleWidth(canvas, lastText), lineTop(k), 2);
            canvas.NewPage();
            startPage();
            k = 3;
        }
        lastText = TraverseReportRow(t, r);
        drawLine(k, lastText, k == 3 ? 4 : 2);   // the first table line under the headings
        ++k;
    }
    canvas.Line(ruleLeft, lineTop(k), ruleLeft + RuleWidth(canvas, lastText), lineTop(k), 2);
    canvas.Text(ReportMillimetres(dpiX, 200), lineTop(k + 1),
                QStringLiteral("Исполнитель_________________________________"));
}

void PrintTraverseReport(const TTraverseTable& t, QWidget* parent)
{
    // The program's printer, as the plan's prints use it: the choice made in either
    // print dialog serves both. The orientation stays landscape after a cancel too.
    QPrinter& printer = ProgramPrinter();
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!RunPrintDialog(printer, parent) || !PrinterReady(printer))
        return;
    PaintOnDevice(t, printer);
}

void WriteTraverseReportPdf(const TTraverseTable& t, const QString& path)
{
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    PaintOnDevice(t, pdf);
}
