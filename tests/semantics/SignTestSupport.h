// The sign library on an empty temporary program folder, for the tests of sign files,
// the library and text styles: each test writes the files it needs below Dir.
#pragma once

#include "foundation/AppGlobalVar.h"
#include "semantics/signs/Symbols.h"
#include "support/TestHelpers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class SignFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }

    QTemporaryDir Dir;
    TProgramFolderScope Program{Dir.path()};
    TSymbols Symbols;
};

// ---- Rendered pictures ----

#include "foundation/GeoDataObjects.h"
#include "semantics/signs/SymbolsFont.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

// The plan point (x, y) within a nanometre.
inline void ExpectNear(const TGeoPoint& p, Extended x, Extended y)
{
    EXPECT_NEAR(double(p.X), double(x), 1e-9);
    EXPECT_NEAR(double(p.Y), double(y), 1e-9);
}

// A window of the plan as an image: north up, east right, Scale pixels per metre, the
// point (X0, Y0) at the top-left corner. Widths are millimetres of the plan, so
// PixelsPerMM is the drawing's pixels per plan millimetre.
struct TPlanImage {
    Extended X0 = 0;
    Extended Y0 = 0;
    double Scale = 10;
    double PixelsPerMM = 5;
    QImage Image;

    TPlanImage(Extended x0, Extended y0, double scale, double pixelsPerMM, int w, int h)
        : X0(x0), Y0(y0), Scale(scale), PixelsPerMM(pixelsPerMM), Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(Qt::white);
    }
    QPointF At(const TGeoPoint& p) const
    {
        return QPointF(double(p.Y - Y0) * Scale, double(X0 - p.X) * Scale);
    }
};

// A stored colour (0x00BBGGRR) as Qt's.
inline QColor StoredColor(std::int32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Paints a rendered picture's primitives: polygons and circles with their fills (fill
// style 1 only), lines, polylines, and texts from their anchor (top-left) at their
// screen angle in the size of their own style (dots of the library's DotsPerMM).
inline void PaintPicture(TPlanImage& img, const TVpLayers& pic, double dotsPerMM)
{
    QPainter painter(&img.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto pen = [&](const TVpPen& p) {
        QPen q(StoredColor(p.PenColor));
        q.setWidthF(std::max(1.0, double(p.PenWidth) * img.PixelsPerMM));
        return q;
    };
    const auto brush = [](const TVpFill& f) {
        return f.FillStyle == vfColor ? QBrush(StoredColor(f.FillColor)) : QBrush(Qt::NoBrush);
    };
    for (const auto& element : pic) {
        for (const auto& g : element->Polygons) {
            // An area's fill with its holes: every ring in one odd-even path.
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            const auto ring = [&](const TGeoPoints& points) {
                QPolygonF poly;
                for (const auto& p : points)
                    poly << img.At(*p);
                path.addPolygon(poly);
                path.closeSubpath();
            };
            ring(g->Points);
            for (const auto& hole : g->Holes)
                ring(hole->Points);
            painter.setPen(g->PenStyle == 5 ? QPen(Qt::NoPen) : pen(*g));
            painter.setBrush(brush(*g));
            painter.drawPath(path);
        }
        for (const auto& c : element->Circles) {
            painter.setPen(pen(*c));
            painter.setBrush(brush(*c));
            const double r = double(c->Radius) * img.Scale;
            painter.drawEllipse(img.At(c->Center), r, r);
        }
        for (const auto& l : element->Lines) {
            painter.setPen(pen(*l));
            painter.drawLine(img.At(l->P1), img.At(l->P2));
        }
        for (const auto& l : element->Polylines) {
            QPolygonF poly;
            for (const auto& p : l->Points)
                poly << img.At(*p);
            painter.setPen(pen(*l));
            painter.drawPolyline(poly);
        }
        for (const auto& t : element->Texts) {
            TLogFont lf;
            if (t->OwnStyle) {
                lf.FaceName = t->OwnStyle->FontName;
                lf.Height = int(std::lround(double(t->OwnStyle->Size) / dotsPerMM * img.PixelsPerMM));
                painter.setPen(StoredColor(t->OwnStyle->Color));
            }
            const QFont font = LogFontToQFont(lf, img.Image.logicalDpiX());
            painter.setFont(font);
            painter.save();
            painter.translate(img.At(t->Position));
            painter.rotate(double(t->Angle) - 90);
            painter.drawText(QPointF(0, QFontMetricsF(font, &img.Image).ascent()), t->Text);
            painter.restore();
        }
    }
}

// Paints automatic captions as TGText records (anchor, angle in tenths, own style or
// the library's named style resolved).
inline void PaintCaptions(TPlanImage& img, TSymbols& symbols, const TAutoTexts& texts)
{
    QPainter painter(&img.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& t : texts) {
        if (t->Hidden)
            continue;
        TUserStyle style;
        symbols.SelectTextStyle3(*t, style);
        TLogFont lf;
        lf.FaceName = style.FontName;
        lf.Height = int(std::lround(double(style.Size) / double(symbols.DotsPerMM) * img.PixelsPerMM));
        const QFont font = LogFontToQFont(lf, img.Image.logicalDpiX());
        painter.setFont(font);
        painter.setPen(StoredColor(style.Color));
        painter.save();
        painter.translate(img.At(t->Position));
        painter.rotate(-double(t->Angle) / 10);
        painter.drawText(QPointF(0, QFontMetricsF(font, &img.Image).ascent()), t->Text);
        painter.restore();
    }
}

// ---- Line signs ----

using TIntervals = std::vector<std::pair<double, double>>;

inline void AddCircle(TVpLayers& pic, Extended y, Extended radius)
{
    pic.AddItem();
    pic.Item->Circles.AddItem();
    pic.Item->Circles.Item->Center = GeoPoint(0, y);
    pic.Item->Circles.Item->Radius = radius;
}

// The stretches of northing covered by lines on the axis Y = 0, joined where they touch.
inline TIntervals AxisDashes(const TVpLayers& pic)
{
    TIntervals found;
    for (const auto& e : pic)
        for (const auto& l : e->Lines)
            if (std::fabs(double(l->P1.Y)) < 1e-9 && std::fabs(double(l->P2.Y)) < 1e-9)
                found.emplace_back(std::min(double(l->P1.X), double(l->P2.X)),
                                   std::max(double(l->P1.X), double(l->P2.X)));
    std::sort(found.begin(), found.end());
    TIntervals joined;
    for (const auto& f : found) {
        if (!joined.empty() && f.first <= joined.back().second + 1e-9)
            joined.back().second = std::max(joined.back().second, f.second);
        else
            joined.push_back(f);
    }
    return joined;
}

inline void ExpectIntervals(const TIntervals& got, const TIntervals& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i].first, want[i].first, 1e-6) << i;
        EXPECT_NEAR(got[i].second, want[i].second, 1e-6) << i;
    }
}


// A dash on the axis of a line pattern from y1 to y2 (sign millimetres along the line).
inline void AddAxisDash(TVpLayers& pic, Extended y1, Extended y2)
{
    pic.AddItem();
    pic.Item->Lines.AddItem();
    pic.Item->Lines.Item->P1 = GeoPoint(0, y1);
    pic.Item->Lines.Item->P2 = GeoPoint(0, y2);
}

// A line sign "ЛИН" at 1:500 (half a metre a sign millimetre) whose picture is 4 mm
// (2 m) long with a dash on its axis over its first metre, and a line drawn with it.
// Texts are measured with a fixed advance: a character of the default style is
// 0.625 m wide and 1.25 m tall.
class LineSignFixture : public SignFixture {
protected:
    void SetUp() override
    {
        SignFixture::SetUp();
        Symbols.SetScale(500, 101.6L);
        Symbols.SetMeasurer(std::make_unique<TFixedTextMeasurer>(0.5));
        Symbols.VpGLines.AddItem();
        Sign = Symbols.VpGLines.Item;
        Sign->Code = QStringLiteral("ЛИН");
        Sign->PieceLength = 4;
        AddAxisDash(Sign->Piece1, 0, 2);
        Line.SignName = Sign->Code;
    }
    RGLineNode& AddNode(Extended x, Extended y = 0)
    {
        Line.Nodes.AddItem();
        Line.Nodes.Item->Position = GeoPoint(x, y);
        return *Line.Nodes.Item;
    }

    RVpGLine* Sign = nullptr;   // link, not owned
    RGLine Line;
};

// ---- Area signs ----

// An area sign "ОБЛ" at 1:500 whose main side picture is the line sign's (4 mm, 2 m on
// the ground, dashed on its axis over its first metre) and whose corner picture is a
// circle of 1 mm (0.5 m) about the node; Area is drawn with it (the sign is current).
class AreaSignFixture : public SignFixture {
protected:
    void SetUp() override
    {
        SignFixture::SetUp();
        Symbols.SetScale(500, 101.6L);
        Symbols.VpGPolygons.AddItem();
        Sign = Symbols.VpGPolygons.Item;
        Sign->Code = QStringLiteral("ОБЛ");
        Sign->Piece1Length = 4;
        AddAxisDash(Sign->Piece1, 0, 2);
        Sign->Corners.AddItem();
        Sign->Corners.Item->Circles.AddItem();
        Sign->Corners.Item->Circles.Item->Radius = 1;
        Area.SignName = Sign->Code;
    }
    static RGPolygonNode& AddNode(TGPolygonNodes& nodes, Extended x, Extended y)
    {
        nodes.AddItem();
        nodes.Item->Position = GeoPoint(x, y);
        return *nodes.Item;
    }
    RGPolygonNode& AddNode(Extended x, Extended y) { return AddNode(Area.Nodes, x, y); }
    TGPolygonNodes& AddHole()
    {
        Area.Holes.AddItem();
        return Area.Holes.Item->Nodes;
    }

    RVpGPolygon* Sign = nullptr;   // link, not owned
    RGPolygon Area;
};
