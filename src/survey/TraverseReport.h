// The printed traverse: the table's texts in fixed-width columns under a title and two
// heading lines, with rules between the lines and a signature line, placed in
// millimetres through the printer's dots per inch. It computes nothing.
#pragma once

#include "survey/TraverseTable.h"

#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

// The texts of the report lines.
QString TraverseReportTitle(const QString& version);
QString TraverseReportHeading1();
QString TraverseReportHeading2();
// Table row r (1 … R − 1); the fields widen past their widths, the name is cut at 10.
QString TraverseReportRow(const TTraverseTable& t, int row);

// What the report draws on: a printer page, a picture or a test's record. Positions
// are in device pixels from the printable origin, text by its top-left corner.
class TReportCanvas {
public:
    virtual ~TReportCanvas() = default;
    virtual void Text(int x, int y, const QString& text) = 0;
    virtual void Line(int x1, int y1, int x2, int y2, int penWidth) = 0;
    virtual int TextWidth(const QString& text) = 0;
    virtual int LineHeight() = 0;   // the font's height in pixels
    virtual void NewPage() = 0;
};

// The canvas of a painter already begun on its device, with the report's font set.
class TPainterCanvas : public TReportCanvas {
public:
    // newPage starts the next page of the device; empty for a single-page device.
    TPainterCanvas(QPainter& painter, std::function<void()> newPage);
    void Text(int x, int y, const QString& text) override;
    void Line(int x1, int y1, int x2, int y2, int penWidth) override;
    int TextWidth(const QString& text) override;
    int LineHeight() override;
    void NewPage() override;

private:
    QPainter& Painter;   // link, not owned
    std::function<void()> NextPage;
};

// Millimetres to device pixels, halves to even.
int ReportMillimetres(int dpi, Extended mm);

// Draws the whole report; pageHeight is the printable height in pixels. A page holds
// the title, both heading lines and as many table lines as leave room for the closing
// rule and the signature; the signature goes on the last page.
void PaintTraverseReport(const TTraverseTable& t, const QString& version, TReportCanvas& canvas,
                         int dpiX, int dpiY, int pageHeight);

// The report on the program's printer (MapHooks.h), turned to landscape, after the print
// dialog; nothing on Cancel.
void PrintTraverseReport(const TTraverseTable& t, QWidget* parent);
// The same report into a PDF file (landscape A4), without a dialog.
void WriteTraverseReportPdf(const TTraverseTable& t, const QString& path);
