// A small plan built and changed through typed command lines, as the journal reads,
// with a dump of every stored and cached value of the tree: a command that fails or
// finds no position must leave the dump as it was.
#pragma once

#include "EngineFixture.h"

#include "foundation/GeoDataObjectsPicture.h"
#include "platform/Platform.h"

#include <initializer_list>
#include <type_traits>

class CommandsTest : public EngineFixture {
protected:
    void Run(const QString& line) { Plan().StrToComm(line); }

    void Run(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            Run(QString::fromUtf8(line));
    }

    // The line raises message (when message is not empty) or completes, shows nothing,
    // and leaves the tree exactly as it was; a line that completes is journalled, one
    // that raises leaves the journal as it was.
    void ExpectNoChange(const QString& line, const QString& message = QString())
    {
        SCOPED_TRACE(line.toStdString());
        const QString before = Dump();
        const QStringList journal = *CommandLog;
        const size_t asked = Window.Asked.size();
        EXPECT_EQ(RaisedBy([&] { Run(line); }), message);
        EXPECT_EQ(Dump(), before);
        EXPECT_EQ(Window.Asked.size(), asked);
        if (message.isEmpty())
            EXPECT_EQ(*CommandLog, QStringList(journal) << line);
        else
            EXPECT_EQ(*CommandLog, journal);
    }

    // The line completes after showing exactly one message, with the tree unchanged.
    void ExpectMessage(const QString& line, const QString& caption, const QString& text)
    {
        SCOPED_TRACE(line.toStdString());
        const QString before = Dump();
        Window.Asked.clear();
        EXPECT_EQ(RaisedBy([&] { Run(line); }), QString());
        ASSERT_EQ(Window.Asked.size(), 1u);
        EXPECT_EQ(Window.Asked[0].Kind, QStringLiteral("ShowMsg"));
        EXPECT_EQ(Window.Asked[0].Caption, caption);
        EXPECT_EQ(Window.Asked[0].Text, text);
        EXPECT_EQ(Dump(), before);
        EXPECT_EQ(CommandLog->last(), line);
    }

    static QString Num(Extended v) { return QString::number(double(v), 'g', 17); }

    // Every value becomes text first and the format is filled in one pass: filled one
    // argument at a time, a stored text holding "%1" would take the next value's place.
    template <typename T> static QString Field(const T& v)
    {
        if constexpr (std::is_convertible_v<T, QString>)
            return QString(v);
        else if constexpr (std::is_floating_point_v<T>)
            return QString::number(double(v));
        else
            return QString::number(static_cast<qlonglong>(v));
    }

    template <typename... A> static QString Fill(const QString& format, const A&... values)
    {
        return format.arg(Field(values)...);
    }

    static QString Style(const std::unique_ptr<TUserStyle>& s)
    {
        if (!s)
            return QStringLiteral("-");
        return Fill(QStringLiteral("%1/%2/%3/%4"), s->FontName, s->Color, Num(s->Size), s->FontStyle);
    }

    static void DumpTexts(QString& out, const TGTexts& texts, const QString& indent)
    {
        for (const auto& t : texts)
            out += indent + Fill(QStringLiteral("text %1 (%2 %3) a%4 f%5 s%6 own %7 frame%8\n"),
                                 t->Text, Num(t->Position.X), Num(t->Position.Y), t->Angle,
                                 Num(t->SizeFactor), t->StyleName, Style(t->OwnStyle), t->FrameValid);
    }

    static void DumpUserTexts(QString& out, const TUserTexts& texts, const QString& indent)
    {
        for (const auto& u : texts)
            out += indent + Fill(QStringLiteral("user %1 %2 %3 %4 %5\n"), Num(u->Dx), Num(u->Dy), u->Angle,
                                 Num(u->SizeFactor), u->Show);
    }

    static void DumpPoints(QString& out, const TGPoints& points, const QString& indent)
    {
        for (const auto& p : points) {
            out += indent + Fill(QStringLiteral("point %1 sign %2 work %3 (%4 %5) p%6 a%7 first%8 leader%9"),
                                 p->Semantics, p->SignName, p->WorkName, Num(p->Position.X), Num(p->Position.Y),
                                 p->Precision, Num(p->SignAngle), p->AllUserTextsFromFirst, p->LeaderLine) +
                   Fill(QStringLiteral(" picture %1\n"), p->Picture.GetCount());
            DumpUserTexts(out, p->UserTexts, indent + QLatin1Char(' '));
            DumpTexts(out, p->InnerTexts, indent + QLatin1Char(' '));
        }
    }

    static void DumpLines(QString& out, const TGLines& lines, const QString& indent)
    {
        for (const auto& l : lines) {
            out += indent + Fill(QStringLiteral("line %1 sign %2 over [%3] strip %4 %5 p%6 picture %7\n"),
                                 l->Semantics, l->SignName, l->OverLines.join(QLatin1Char('|')), l->Strip,
                                 Num(l->StripWidth), l->Precision, l->Picture.GetCount());
            DumpUserTexts(out, l->UserTexts, indent + QLatin1Char(' '));
            for (const auto& n : l->Nodes) {
                out += indent + Fill(QStringLiteral(" node (%1 %2) t%3 s%4 seg%5 c%6 curve%7 inv%8\n"),
                                     Num(n->Position.X), Num(n->Position.Y), n->NodeType, Num(n->SignShift),
                                     n->SegmentType, n->TextCounter, n->Curve, n->InvertText);
                DumpPoints(out, n->NodePoints, indent + QStringLiteral("  "));
            }
            DumpTexts(out, l->InnerTexts, indent + QLatin1Char(' '));
        }
    }

    static void DumpPolygonNodes(QString& out, const TGPolygonNodes& nodes, const QString& indent)
    {
        for (const auto& n : nodes)
            out += indent + Fill(QStringLiteral("node (%1 %2) curve%3 s%4 type%5 style%6 line%7 pic%8\n"),
                                 Num(n->Position.X), Num(n->Position.Y), n->Curve, Num(n->SignShift),
                                 n->SegmentType, n->SegmentStyle, n->CornerLine, n->CornerPicture);
    }

    // Every sheet, layer, raster and object with its values, in list order.
    QString Dump()
    {
        QString out;
        for (const auto& page : Plan().Pages) {
            out += Fill(QStringLiteral("page %1 v%2\n"), page->Name, page->Visible);
            for (const auto& r : page->Rastrs)
                out += Fill(QStringLiteral(" rastr %1 (%2 %3)-(%4 %5) v%6 loaded%7 on-open%8 filter %9"),
                            r->FileName, Num(r->BottomLeft.X), Num(r->BottomLeft.Y), Num(r->TopRight.X), Num(r->TopRight.Y),
                            r->Visible, r->Loaded, r->LoadOnOpen, r->FilterName) +
                       Fill(QStringLiteral(" L%1 R%2 G%3 B%4 on%5 applied%6 picture %7x%8 %9\n"),
                            r->Brightness, r->Red, r->Green, r->Blue, r->FilterOn, r->FilterApplied,
                            r->Picture->Width(), r->Picture->Height(), r->Picture->Image.cacheKey());
            for (const auto& layer : page->Layers) {
                out += Fill(QStringLiteral(" layer %1 v%2\n"), layer->Name, layer->Visible);
                DumpTexts(out, layer->Texts, QStringLiteral("  "));
                DumpPoints(out, layer->Points, QStringLiteral("  "));
                DumpLines(out, layer->Lines, QStringLiteral("  "));
                for (const auto& p : layer->Polygons) {
                    out += Fill(QStringLiteral("  polygon %1 sign %2 p%3 shift (%4 %5) angle %6 picture %7\n"),
                                p->Semantics, p->SignName, p->Precision,
                                Num(p->CaptionShift.X), Num(p->CaptionShift.Y), p->CaptionAngle,
                                p->Picture.GetCount());
                    DumpPolygonNodes(out, p->Nodes, QStringLiteral("   "));
                    for (const auto& h : p->Holes) {
                        out += QStringLiteral("   hole\n");
                        DumpPolygonNodes(out, h->Nodes, QStringLiteral("    "));
                    }
                    DumpUserTexts(out, p->UserTexts, QStringLiteral("   "));
                    DumpTexts(out, p->InnerTexts, QStringLiteral("   "));
                    DumpPoints(out, p->InnerPoints, QStringLiteral("   "));
                    DumpLines(out, p->InnerLines, QStringLiteral("   "));
                }
            }
        }
        return out;
    }

    RGPage& Page(int i) { return *Plan().Pages.At(i); }
    RGLayer& Layer(int page, int layer) { return *Page(page).Layers.At(layer); }

    TSeparatorScope Separators{u','};   // the reals of the command lines below use ","
};
