// The DXF export: the header of the program folder's template, the sign pictures,
// captions and texts of the visible sheets and layers as LINE, CIRCLE and TEXT entities,
// and the grid crosses, streamed into one file that replaces its target only when whole.
#include "engine/GeoMap.h"

#include "engine/EngineServices.h"
#include "engine/draw/CoordGrid.h"
#include "engine/export/DxfWriter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/StringNum.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The header's values the export fills in, by line number from 0.
constexpr int ViewCentreXLine = 25;
constexpr int ViewCentreYLine = 27;
constexpr int ViewSizeLine = 53;
// The sign pictures are rendered for the file at this resolution.
constexpr Extended DxfDpi = 300;

// The template's lines, refused before anything is written or changed when it could
// not hold the three values or would open the entities itself.
QStringList ReadDxfTemplate()
{
    const QString path = ProgramFolderPath(QStringLiteral("VIEWPORT.WRI"));
    if (!FileExistsIgnoringCase(path))
        throw Exception(QStringLiteral("Не найден шаблон файла DXF %1").arg(path));
    const QStringList lines = ReadTextFileLines(path);
    const auto bad = [&](const QString& why) {
        return Exception(QStringLiteral("Шаблон файла DXF %1 испорчен: %2").arg(path, why));
    };
    if (lines.size() <= ViewSizeLine)
        throw bad(QStringLiteral("в нем %1 строк, нужно не меньше %2").arg(lines.size()).arg(ViewSizeLine + 1));
    for (const int n : {ViewCentreXLine, ViewCentreYLine, ViewSizeLine}) {
        bool ok = false;
        lines[n].trimmed().toDouble(&ok);
        if (!ok)
            throw bad(QStringLiteral("в строке %1 не число: \"%2\"").arg(n).arg(lines[n]));
    }
    for (int n = 0; n < lines.size(); ++n)
        if (lines[n].trimmed() == QLatin1String("ENTITIES"))
            throw bad(QStringLiteral("в строке %1 уже начат раздел ENTITIES").arg(n));
    return lines;
}

// The first height mark of sem, 0 when it has none.
Extended FirstHeight(const QString& sem)
{
    TArrayFloats hh;
    GetH(sem, hh);
    return hh.empty() ? 0 : hh.front();
}

// Walks a cursor list from its first item to its last, the cursor on each in turn.
template <class L, class F>
void Walk(L& list, F f)
{
    for (bool more = list.GoFirstItem(); more; more = list.GoNextItem())
        f(*list.Item);
}

// The visible layers of the visible sheets, the cursors on each in turn.
template <class F>
void ForEachVisibleLayer(TGPages& pages, F f)
{
    Walk(pages, [&](RGPage& page) {
        if (page.Visible)
            Walk(page.Layers, [&](RGLayer& layer) {
                if (layer.Visible)
                    f(layer);
            });
    });
}

// The DXF form of a text, so that CAD programs show it as it was typed: a caret alone
// would start a control character, and two percent signs in a row start a special
// character ("%%c", "%%d", "%%p", "%%nnn"), so each percent sign of such a row is
// written as "%%%", the code of one percent sign. A single percent sign starts nothing.
QString DxfText(const QString& text)
{
    if (!text.contains(u'^') && !text.contains(QLatin1String("%%")))
        return text;
    QString s;
    s.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'^') {
            s += QStringLiteral("^ ");
        } else if (c == u'%' && ((i > 0 && text[i - 1] == u'%') || (i + 1 < text.size() && text[i + 1] == u'%'))) {
            s += QStringLiteral("%%%");
        } else {
            s += c;
        }
    }
    return s;
}

void WriteAll(TGeoMap& m, const QString& FileName);

}  // namespace

void TGeoMap::ExportToDxf(const QString& FileName)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.ExportToDxf(FileName:string);", TrailArg("FileName", FileName));
    WriteAll(MainMap ? *MainMap : *this, FileName);
}

namespace {

void WriteAll(TGeoMap& m, const QString& FileName)
{
    TEngineServices& ui = m.Ui();
    const TWaitScope wait(ui);

    // 1. The template, then the file: neither a bad template nor a target that cannot
    // be made changes anything.
    QStringList header = ReadDxfTemplate();
    const QString path = ResolvePath(FileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception(QStringLiteral("Не удается создать файл DXF \"%1\": %2").arg(path, file.errorString()));

    const QSize surface = ui.SurfaceSize();
    const Extended keptView[] = {m.ViewXMin, m.ViewYMin, m.ViewXMax, m.ViewYMax, m.FactorX, m.FactorY};
    const Extended keptDpi = m.RasterDpi;
    int changedTexts = 0;
    try {
        // 2. The view centre and the west-east extent of the whole plan, in DXF axes.
        m.MaxMinCoord();
        Extended XMin = 0, YMin = 0, XMax = 0, YMax = 0;
        m.GetExtents(XMin, YMin, XMax, YMax);
        header[ViewCentreXLine] = FltToStr3((YMin + YMax) / 2);
        header[ViewCentreYLine] = FltToStr3((XMin + XMax) / 2);
        header[ViewSizeLine] = FltToStr3(YMax - YMin);
        TDxfWriter out(&file);
        for (const QString& line : header)
            out.Line(line);
        // 3.
        out.Pair(0, u"SECTION");
        out.Pair(2, u"ENTITIES");

        // 4. Every object of the visible sheets and layers at 300 dpi: the drawing renders
        // those of the window, the rest here, and all of them are noted for the screen to
        // render again at its own resolution.
        m.AcadZ = 0;
        m.RasterDpi = DxfDpi;
        QSet<const void*> earlier;
        earlier.swap(m.ForeignSigns);
        m.Draw(surface.width(), surface.height(), 2, ddDxf);
        QSet<const void*> rendered;
        rendered.swap(m.ForeignSigns);
        m.ForeignSigns = earlier;
        m.ForeignSigns.unite(rendered);
        const bool foreign = m.RasterDpi != m.ScreenDpi;
        const auto render = [&](auto& o, auto how) {
            if (!rendered.contains(&o)) {
                (m.Symbols.get()->*how)(&o);
                if (foreign)
                    m.ForeignSigns.insert(&o);
            }
        };
        ForEachVisibleLayer(m.Pages, [&](RGLayer& layer) {
            Walk(layer.Polygons, [&](RGPolygon& o) { render(o, &TSymbols::RenderPolygon); });
            Walk(layer.Lines, [&](RGLine& o) { render(o, &TSymbols::RenderLine); });
            Walk(layer.Points, [&](RGPoint& o) { render(o, &TSymbols::RenderPoint); });
        });

        // 5. Per visible sheet, polygons under lines under points under texts.
        const auto captions = [&](TAutoTexts& texts) {
            for (const auto& t : texts)
                if (!t->Hidden)
                    m.DrawTextToAcad(*t, out);
        };
        const auto heightOf = [&](const QString& sem, const char16_t* code) -> Extended {
            if (!m.UseHCAD || !sem.startsWith(QStringView(code)))
                return 0;
            return FirstHeight(sem);
        };
        Walk(m.Pages, [&](RGPage& page) {
            if (!page.Visible)
                return;
            const auto layers = [&](auto f) {
                Walk(page.Layers, [&](RGLayer& layer) {
                    if (layer.Visible)
                        f(layer);
                });
            };
            layers([&](RGLayer& layer) {
                Walk(layer.Polygons, [&](RGPolygon& o) {
                    m.AcadZ = 0;
                    m.DrawCasheToAcad(o.Picture, out);
                    captions(o.AutoTexts);
                });
            });
            layers([&](RGLayer& layer) {
                Walk(layer.Lines, [&](RGLine& o) {
                    m.AcadZ = heightOf(o.Semantics, u"ГОР");
                    m.DrawCasheToAcad(o.Picture, out);
                    captions(o.AutoTexts);
                });
            });
            layers([&](RGLayer& layer) {
                Walk(layer.Points, [&](RGPoint& o) {
                    const Extended z = heightOf(o.Semantics, u"ОТА");
                    m.AcadZ = z;
                    m.DrawCasheToAcad(o.Picture, out);
                    if (!m.UseHCADinText)
                        m.AcadZ = 0;
                    captions(o.AutoTexts);
                    m.AcadZ = z;
                });
            });
            m.AcadZ = 0;
            layers([&](RGLayer& layer) { Walk(layer.Texts, [&](RGText& t) { m.DrawTextToAcad(t, out); }); });
        });
        m.AcadZ = 0;

        // 6, 7. The grid over the plan's extents, the end, and the file in its place.
        m.CoordCrossToAcad(XMin, YMin, XMax, YMax, out);
        out.Pair(0, u"ENDSEC");
        out.Pair(0, u"EOF");
        out.Flush();
        if (!file.commit())
            throw Exception(QStringLiteral("Не удается записать файл DXF \"%1\": %2").arg(path, file.errorString()));
        changedTexts = out.ChangedTexts();
    } catch (...) {
        // The view the export took for the extents and the screen's resolution back, so
        // that the screen shows what it showed before.
        m.ViewXMin = keptView[0];
        m.ViewYMin = keptView[1];
        m.ViewXMax = keptView[2];
        m.ViewYMax = keptView[3];
        m.FactorX = keptView[4];
        m.FactorY = keptView[5];
        m.RasterDpi = keptDpi;
        m.AcadZ = 0;
        m.DrawBusy = 0;
        try {
            m.Draw(surface.width(), surface.height(), 2, ddScreen);
        } catch (...) {
            // The export's own failure is the one the caller learns of.
        }
        throw;
    }
    m.Draw(surface.width(), surface.height(), 2, ddScreen);
    if (changedTexts > 0)
        ui.ShowMsg(QStringLiteral("Экспорт в DXF"),
                   QStringLiteral("Файл DXF \"%1\" записан. Изменено текстов: %2 (знаки, которых нет в "
                                  "кодировке 1251, заменены на \"?\", переводы строки - на пробелы).")
                       .arg(path)
                       .arg(changedTexts));
}

}  // namespace

void TGeoMap::DrawCasheToAcad(const TVpLayers& Pict, TDxfWriter& SL)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.DrawCasheToAcad(const Pict:TVpLayers; const SL:TStringList);");
    const Extended ratio = (MainMap ? *MainMap : *this).MapProp.Scale / 500.0L;
    const auto ring = [&](const TGeoPoints& points, std::int32_t colour, Extended width) {
        const auto n = points.GetCount();
        if (n < 2)
            return;
        const RGeoPoint* from = nullptr;
        for (const auto& p : points) {
            if (from)
                LineToAcad(SL, colour, from->X, from->Y, p->X, p->Y, width);
            from = p.get();
        }
        const RGeoPoint* first = points.At(0);
        LineToAcad(SL, colour, from->X, from->Y, first->X, first->Y, width);
    };
    for (const auto& layer : Pict) {
        for (const auto& g : layer->Polygons) {
            ring(g->Points, g->PenColor, g->PenWidth);
            for (const auto& hole : g->Holes)
                ring(hole->Points, g->PenColor, g->PenWidth);
        }
        for (const auto& c : layer->Circles)
            CircleToAcad(SL, c->PenColor, c->Center.X, c->Center.Y, c->Radius, c->PenWidth);
        for (const auto& l : layer->Lines)
            LineToAcad(SL, l->PenColor, l->P1.X, l->P1.Y, l->P2.X, l->P2.Y, l->PenWidth);
        for (const auto& l : layer->Polylines) {
            const RGeoPoint* from = nullptr;
            for (const auto& p : l->Points) {
                if (from)
                    LineToAcad(SL, l->PenColor, from->X, from->Y, p->X, p->Y, l->PenWidth);
                from = p.get();
            }
        }
        for (const auto& t : layer->Texts) {
            // The placement keeps a picture text's own size in dots already.
            Extended size = 0;
            if (t->OwnStyle) {
                size = t->OwnStyle->Size;
            } else {
                TUserStyle style;
                Symbols->SelectTextStyle2(*t, style);
                size = style.Size;
            }
            TextToAcad(SL, t->Text, t->Position.X, t->Position.Y, t->Angle, size * ratio);
        }
    }
}

void TGeoMap::DrawTextToAcad(const RGText& DT, TDxfWriter& SL)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.DrawTextToAcad(const DT:PGText; const SL:TStringList);");
    try {
        if (DT.Text.isEmpty())
            return;   // nothing to read, as on the screen
        Extended size = 0;
        if (DT.OwnStyle) {
            size = DT.OwnStyle->Size * Symbols->DotsPerMM;
        } else {
            TUserStyle style;
            Symbols->SelectTextStyle3(DT, style);
            size = style.Size;
        }
        size *= (MainMap ? *MainMap : *this).MapProp.Scale / 500.0L;
        TextToAcad(SL, DT.Text, DT.Position.X, DT.Position.Y, WinToGeoAngle(DT.Angle), size);
    } catch (...) {
        DrawBusy = 0;
        throw;
    }
}

void TGeoMap::CoordCrossToAcad(Extended xmin, Extended ymin, Extended xmax, Extended ymax, TDxfWriter& SL)
{
    TTrailGuard guard("GeoMap", "procedure TGeoMap.CoordCrossToAcad(const xmin,ymin,xmax,ymax:extended; "
                                "const sl:TStringList;);");
    if (!ShowCoordCross || MapProp.Scale == 0)
        return;
    const std::int64_t step = GridStep(MapProp.Scale);
    if (step <= 0)
        return;
    const auto cross = [&](std::int64_t X, std::int64_t Y) {
        const Extended x = Extended(X), y = Extended(Y);
        LineToAcad(SL, 0, x - 3, y, x + 3, y, 1);
        LineToAcad(SL, 0, x, y - 3, x, y + 3, 1);
    };
    const std::int64_t x0 = AlignGridStart(TruncMetres(xmin), step);
    const std::int64_t y0 = AlignGridStart(TruncMetres(ymin), step);
    const std::int64_t rows = GridCount(x0, RoundMetres(xmax), step, true);
    const std::int64_t columns = GridCount(y0, RoundMetres(ymax), step, true);
    if (rows <= MaxGridItems / std::max<std::int64_t>(columns, 1)) {
        ForEachGridNode(xmin, ymin, xmax, ymax, step, true, cross);
        return;
    }
    // Sheets far apart (a route survey, a plan of two towns) span a rectangle whose
    // crosses no file could hold, most of them over nothing: then only the crosses within
    // a step of a sheet's extent are written, row by row as before, each once. They are
    // all counted before the first is written, so that a grid too large for any file is
    // refused at once instead of after gigabytes of it.
    CheckGridItems(rows);
    struct TBox {
        Extended XMin, YMin, XMax, YMax;
    };
    std::vector<TBox> boxes;
    for (const auto& page : Pages) {
        TGeoPoint lo = GeoPoint(1, 1), hi = GeoPoint(0, 0);
        MaxMinCoord(page->Name, lo, hi);
        if (lo.X <= hi.X && lo.Y <= hi.Y)
            boxes.push_back({lo.X - step, lo.Y - step, hi.X + step, hi.Y + step});
    }
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;   // column ranges of one row
    // The column ranges of row X, sorted, overlapping ones as they come.
    const auto rowRuns = [&](std::int64_t X) {
        runs.clear();
        for (const TBox& b : boxes) {
            if (Extended(X) < b.XMin || Extended(X) > b.XMax)
                continue;
            const std::int64_t from = std::max<std::int64_t>(0, std::int64_t(std::ceil((b.YMin - Extended(y0)) / step)));
            const std::int64_t to =
                std::min<std::int64_t>(columns - 1, std::int64_t(std::floor((b.YMax - Extended(y0)) / step)));
            if (from <= to)
                runs.emplace_back(from, to);
        }
        std::sort(runs.begin(), runs.end());
    };
    // Each column of a row once, however many ranges hold it.
    const auto forEachColumn = [&](auto f) {
        std::int64_t next = 0;   // the first column not taken yet in this row
        for (const auto& [from, to] : runs) {
            for (std::int64_t j = std::max(from, next); j <= to; ++j)
                f(j);
            next = std::max(next, to + 1);
        }
    };
    std::int64_t total = 0;
    for (std::int64_t i = 0; i < rows; ++i) {
        rowRuns(x0 + i * step);
        std::int64_t next = 0;
        for (const auto& [from, to] : runs) {
            if (to >= next)
                total += to - std::max(from, next) + 1;
            next = std::max(next, to + 1);
        }
        CheckGridItems(total);
    }
    for (std::int64_t i = 0; i < rows; ++i) {
        const std::int64_t X = x0 + i * step;
        rowRuns(X);
        forEachColumn([&](std::int64_t j) { cross(X, y0 + j * step); });
    }
}

void TGeoMap::LineToAcad(TDxfWriter& SL, std::int32_t, Extended X1, Extended Y1, Extended X2, Extended Y2,
                         Extended)
{
    const QString z = FltToStr3(AcadZ);
    SL.Pair(0, u"LINE");
    SL.Pair(8, u"0");
    SL.Pair(10, FltToStr3(Y1));
    SL.Pair(20, FltToStr3(X1));
    SL.Pair(30, z);
    SL.Pair(11, FltToStr3(Y2));
    SL.Pair(21, FltToStr3(X2));
    SL.Pair(31, z);
}

void TGeoMap::CircleToAcad(TDxfWriter& SL, std::int32_t, Extended X, Extended Y, Extended radius, Extended)
{
    SL.Pair(0, u"CIRCLE");
    SL.Pair(8, u"0");
    SL.Pair(10, FltToStr3(Y));
    SL.Pair(20, FltToStr3(X));
    SL.Pair(30, FltToStr3(AcadZ));
    SL.Pair(40, FltToStr3(radius));
}

void TGeoMap::TextToAcad(TDxfWriter& SL, const QString& text, Extended X, Extended Y, TGeoAngle a, Extended size)
{
    // From the top-left corner down to the base line, then a little along the text.
    Extended x = 0, y = 0;
    PGZ(X, Y, size * 0.03L, a + 90, x, y);
    PGZ(x, y, size * 0.004L, a, x, y);
    SL.Pair(0, u"TEXT");
    SL.Pair(8, u"0");
    SL.Pair(10, FltToStr3(y));
    SL.Pair(20, FltToStr3(x));
    SL.Pair(30, FltToStr3(AcadZ));
    SL.Pair(40, FltToStr(size * 0.023L));
    SL.TextPair(1, DxfText(text));
    SL.Pair(50, FltToStr3(360 - a + 90));
}
