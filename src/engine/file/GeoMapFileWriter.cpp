// The native plan writer: the whole plan, or chosen sheets, as the text of the plan
// file, into a file (through a temporary file renamed over the old one), into
// DataLines, or streamed into an undo snapshot. It changes no data of the plan. The
// sheet, raster, layer and object lists keep their cursors (they are walked by
// position); the lists inside the objects it writes (nodes, captions, inner objects)
// are left on their last item, as after any walk over them.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapFile.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"

#include <QIODevice>
#include <QSaveFile>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace {

QString Joined(QStringView head, QStringView tail)
{
    QString line;
    line.reserve(head.size() + tail.size());
    line.append(head);
    line.append(tail);
    return line;
}

// Where the lines of the text go; Line receives one line without its end, as a head
// and a tail that follow each other (a tag and its value), so that no line has to be
// put together in a QString of its own.
class TLineSink {
public:
    virtual ~TLineSink() = default;
    virtual void Line(QStringView head, QStringView tail = {}) = 0;
    // A line of at most size ASCII characters, written in place: AsciiRoom gives the
    // room, AsciiLine(n) takes its first n characters as the line.
    virtual char* AsciiRoom(qsizetype size) = 0;
    virtual void AsciiLine(qsizetype n) = 0;
};

// Code page 1251 with CR LF, encoded straight into large blocks before they reach the
// device; the block keeps its storage from one flush to the next.
// Without a device it keeps every line in the block, for a part of the text formatted
// apart from the others.
class TDeviceSink : public TLineSink {
public:
    explicit TDeviceSink(QIODevice* out) : Out(out), Block(out ? BlockSize + 4096 : 0) {}

    void Line(QStringView head, QStringView tail) override
    {
        const std::size_t room = Used + static_cast<std::size_t>(head.size() + tail.size()) + 2;
        if (room > Block.size())
            Block.resize(std::max(room, 2 * Block.size()));
        // Only a whole line counts: one that cannot be encoded leaves the block as it was.
        std::size_t at = Used;
        Encode(head, at, head, tail);
        Encode(tail, at, head, tail);
        Block[at++] = '\r';
        Block[at++] = '\n';
        Used = at;
        if (Out && Used >= static_cast<std::size_t>(BlockSize))
            Flush();
    }

    char* AsciiRoom(qsizetype size) override
    {
        const std::size_t room = Used + static_cast<std::size_t>(size) + 2;
        if (room > Block.size())
            Block.resize(std::max(room, 2 * Block.size()));
        return Block.data() + Used;
    }
    void AsciiLine(qsizetype n) override
    {
        Used += static_cast<std::size_t>(n);
        Block[Used++] = '\r';
        Block[Used++] = '\n';
        if (Out && Used >= static_cast<std::size_t>(BlockSize))
            Flush();
    }

    void Flush()
    {
        if (Used == 0 || !Out)
            return;
        Write(*Out, Block.data(), Used);
        Used = 0;
    }
    // The lines kept so far, written into out.
    void WriteKept(QIODevice& out) const { Write(out, Block.data(), Used); }
    // Empty again, keeping the block's storage.
    void Clear() { Used = 0; }

    static void Write(QIODevice& out, const char* bytes, std::size_t n)
    {
        if (n == 0)
            return;
        WriteAllBytes(out, bytes, static_cast<qint64>(n), QStringLiteral("Ошибка записи файла плана"));
    }

private:
    void Encode(QStringView text, std::size_t& at, QStringView head, QStringView tail)
    {
        static const auto& table = EncodeTable(TCodePage::Cp1251);
        char* out = Block.data();
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c < 128) {
                out[at++] = static_cast<char>(c);
                continue;
            }
            const unsigned char b = table[c];
            if (b == 0)
                Refuse(qc, head, tail);
            out[at++] = static_cast<char>(b);
        }
    }

    [[noreturn]] static void Refuse(QChar c, QStringView head, QStringView tail)
    {
        throw Exception(QStringLiteral("Символ \"%1\" (U+%2) нельзя записать в файл плана: "
                                       "его нет в кодировке 1251.\rСтрока файла: %3")
                            .arg(c)
                            .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                            .arg(Joined(head, tail)));
    }

    static constexpr qsizetype BlockSize = 1 << 20;
    QIODevice* Out;   // link, not owned
    std::vector<char> Block;
    std::size_t Used = 0;
};

class TListSink : public TLineSink {
public:
    explicit TListSink(QStringList& lines) : Lines(lines) {}
    void Line(QStringView head, QStringView tail) override { Lines.append(Joined(head, tail)); }
    char* AsciiRoom(qsizetype size) override
    {
        Ascii.resize(static_cast<std::size_t>(size));
        return Ascii.data();
    }
    void AsciiLine(qsizetype n) override { Lines.append(QString::fromLatin1(Ascii.data(), n)); }

private:
    QStringList& Lines;
    std::vector<char> Ascii;
};

// A value of a one-line field, object start or coordinate line: a line break in it
// would end the record early and turn the rest of the value into structure, so every
// line break (CR LF, a lone CR, a lone LF) becomes one blank.
QString OneLine(const QString& value)
{
    if (std::none_of(value.cbegin(), value.cend(),
                     [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }))
        return value;
    QString s = value;
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// The general number paths fill the error trail, which all threads share, when they
// refuse a value; parts of the text are formatted on several threads.
std::mutex GeneralPathLock;

QString LockedFixed(Extended value, int decimals, int precision)
{
    const std::lock_guard<std::mutex> lock(GeneralPathLock);
    return FloatToFixed(value, decimals, precision);
}

// Coordinates of an object's precision class; a class above 3 keeps millimetres.
QString XYOfPrecision(TPrecision precision, const TGeoPoint& p)
{
    const std::lock_guard<std::mutex> lock(GeneralPathLock);
    switch (precision) {
    case 0:
        return XYtoString0(p.X, p.Y);
    case 1:
        return XYtoString1(p.X, p.Y);
    case 2:
        return XYtoString2(p.X, p.Y);
    default:
        return XYtoString3(p.X, p.Y);
    }
}

// A number's text as FloatToFixed writes it, without a QString where FloatToFixedChars
// covers the value; FloatToFixed itself (its text or its error) for any other.
class TFixed {
public:
    TFixed(Extended value, int decimals, int precision)
        : Count(FloatToFixedChars(value, decimals, precision, Chars))
    {
        if (Count < 0)
            Slow = LockedFixed(value, decimals, precision);
    }
    QStringView View() const { return Count >= 0 ? QStringView(Chars, Count) : QStringView(Slow); }

private:
    char16_t Chars[FixedCharsRoom];
    int Count;
    QString Slow;
};

// "a b": two numbers as one field value.
using TPairText = QVarLengthArray<char16_t, 2 * FixedCharsRoom + 1>;
QStringView PairText(QStringView a, QStringView b, TPairText& out)
{
    out.clear();
    out.append(a.utf16(), a.size());
    out.append(u' ');
    out.append(b.utf16(), b.size());
    return QStringView(out.constData(), out.size());
}

class TPlanWriter {
public:
    explicit TPlanWriter(TLineSink& out) : Out(out) {}

    void Plan(const QString& info, const std::vector<RGPage*>& sheets)
    {
        Head(info);
        for (RGPage* sheet : sheets)
            Sheet(*sheet);
    }

    // The text in parts, in order: each part writes its lines through the writer it is
    // given, so that parts can be formatted apart and joined.
    using TPart = std::function<void(TPlanWriter&)>;
    static void Parts(const QString& info, const std::vector<RGPage*>& sheets,
                      const std::function<void(TPart, int)>& add);

    void Head(const QString& info)
    {
        Out.Line(PlanFileHeader);
        Field(u"ВЕР", AppVersion);
        if (!info.isEmpty())
            Info(info);
    }
    void SheetHead(RGPage& sheet);
    void LayerHead(const RGLayer& layer);
    template <class L, class W>
    static void ListParts(const char16_t* tag, L& list, W write,
                          const std::function<void(TPart, int)>& add);

    void Line(QStringView s) { Out.Line(s); }

    void Field(const char16_t* tag, QStringView value)
    {
        char16_t head[5] = {u'|', tag[0], tag[1], tag[2], u'|'};
        Out.Line(QStringView(head, 5), value);
    }
    void Text(const char16_t* tag, const QString& value) { Field(tag, OneLine(value)); }
    void Int(const char16_t* tag, qint64 value)
    {
        char digits[24];
        char16_t text[24];
        const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        qsizetype n = 0;
        for (const char* p = digits; p != end; ++p)
            text[n++] = static_cast<char16_t>(*p);
        Field(tag, QStringView(text, n));
    }
    // A real written only when its text differs from the default's: a value that
    // rounds to the default reads back as the default, so leaving it out keeps every
    // later write of the same plan byte for byte the same.
    void RealUnlessDefault(const char16_t* tag, Extended value, Extended def, int decimals,
                           int digits)
    {
        if (value == def)
            return;   // the default's own text, whatever it is
        const TFixed text(value, decimals, digits);
        if (text.View() != TFixed(def, decimals, digits).View())
            Field(tag, text.View());
    }
    void Start(const QString& value) { Out.Line(u"@", OneLine(value)); }
    // Coordinates of an object's precision class; a class above 3 keeps millimetres.
    void Pair(TPrecision precision, const TGeoPoint& p)
    {
        char* text = Out.AsciiRoom(1 + XYCharsRoom);
        text[0] = '$';
        const int n = XYtoChars(p.X, p.Y, std::min<int>(precision, 3), text + 1);
        if (n >= 0)
            Out.AsciiLine(n + 1);
        else
            Out.Line(u"$", XYOfPrecision(precision, p));   // the text or the error of the general path
    }
    void End() { Out.Line(u"#"); }

    void Info(const QString& info);
    void Sheet(RGPage& sheet);
    void Rastr(const RGRastr& rastr);
    void Layer(RGLayer& layer);
    void TextRecord(const RGText& text);
    void InnerTexts(TGTexts& texts);
    void Captions(TUserTexts& captions);
    void Point(RGPoint& point);
    void LineRecord(RGLine& line);
    void LineNodeBlock(const RGLineNodeData& node);
    void Polygon(RGPolygon& polygon);
    void PolygonNodes(TGPolygonNodes& nodes, TPrecision precision);

    TLineSink& Out;
};

// The information text goes out with its own line breaks as held; each of its lines
// that would not read back as that same information carries the escape.
void TPlanWriter::Info(const QString& info)
{
    QString text;
    text.reserve(info.size() + 16);
    qsizetype start = 0;
    const qsizetype n = info.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && info[end] != QLatin1Char('\r') && info[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = QStringView(info).mid(start, end - start);
        if (InfoLineNeedsEscape(line))
            text += InfoEscape;
        text += line;
        qsizetype next = end;
        if (next < n) {
            next += (info[next] == QLatin1Char('\r') && next + 1 < n &&
                     info[next + 1] == QLatin1Char('\n'))
                        ? 2
                        : 1;
            text += QStringView(info).mid(end, next - end);
        }
        start = next;
    }
    Line(u"{ИНФ");
    Line(text);
    Line(u"}ИНФ");
}

void TPlanWriter::Sheet(RGPage& sheet)
{
    SheetHead(sheet);
    for (const auto& layer : sheet.Layers)
        Layer(*layer);
    Line(u"}ЛСТ");
}

void TPlanWriter::SheetHead(RGPage& sheet)
{
    Line(u"{ЛСТ");
    Text(u"имя", sheet.Name);
    if (sheet.Visible == 0)
        Int(u"вид", 0);
    if (sheet.Rastrs.GetCount() > 0) {
        Line(u"{РАС");
        for (const auto& rastr : sheet.Rastrs)
            Rastr(*rastr);
        Line(u"}РАС");
    }
}

void TPlanWriter::Rastr(const RGRastr& rastr)
{
    Start(rastr.FileName);
    Pair(3, rastr.BottomLeft);
    Pair(3, rastr.TopRight);
    if (rastr.Visible == 0)
        Int(u"вид", 0);
    if (rastr.Loaded == 0)
        Int(u"заг", 0);
    // Only 1 switches the filter on: the reader applies it for 1 alone, and a block
    // written for any other value would bring the filter on after an undo.
    if (rastr.FilterOn == 1) {
        if (rastr.FilterName.isEmpty()) {
            Line(u"{фил");
            Int(u"ярк", rastr.Brightness);
            Int(u"кра", rastr.Red);
            Int(u"зел", rastr.Green);
            Int(u"син", rastr.Blue);
            Line(u"}фил");
        } else {
            Text(u"фил", rastr.FilterName);
        }
    }
    End();
}

template <class L>
bool AnyWithNodes(const L& list)
{
    for (const auto& object : list)
        if (object->Nodes.GetCount() > 0)
            return true;
    return false;
}

void TPlanWriter::LayerHead(const RGLayer& layer)
{
    Line(u"{СЛО");
    Text(u"имя", layer.Name);
    if (layer.Visible == 0)
        Int(u"вид", 0);
}

// The weight of an object in the parts: about the lines it writes.
template <class R>
int Weight(const R& object)
{
    if constexpr (requires { object.Nodes; })
        return 1 + object.Nodes.GetCount();
    else
        return 2;
}

template <class L, class W>
void TPlanWriter::ListParts(const char16_t* tag, L& list, W write,
                            const std::function<void(TPart, int)>& add)
{
    constexpr int PartWeight = 16384;
    const QString open = QLatin1Char('{') + QString::fromUtf16(tag);
    const QString close = QLatin1Char('}') + QString::fromUtf16(tag);
    add([open](TPlanWriter& w) { w.Line(open); }, 1);
    const int count = list.GetCount();
    int first = 0;
    while (first < count) {
        int weight = 0;
        int end = first;
        while (end < count && weight < PartWeight)
            weight += Weight(*list.At(end++));
        add([&list, write, first, end](TPlanWriter& w) {
                for (int i = first; i < end; ++i)
                    write(w, *list.At(i));
            },
            weight);
        first = end;
    }
    add([close](TPlanWriter& w) { w.Line(close); }, 1);
}

void TPlanWriter::Parts(const QString& info, const std::vector<RGPage*>& sheets,
                        const std::function<void(TPart, int)>& add)
{
    add([&info](TPlanWriter& w) { w.Head(info); }, 1);
    for (RGPage* sheet : sheets) {
        add([sheet](TPlanWriter& w) { w.SheetHead(*sheet); }, 1 + 4 * sheet->Rastrs.GetCount());
        for (const auto& owned : sheet->Layers) {
            RGLayer* layer = owned.get();
            add([layer](TPlanWriter& w) { w.LayerHead(*layer); }, 1);
            if (layer->Texts.GetCount() > 0)
                ListParts(u"ТЕК", layer->Texts, [](TPlanWriter& w, RGText& t) { w.TextRecord(t); }, add);
            if (layer->Points.GetCount() > 0)
                ListParts(u"ТОЧ", layer->Points, [](TPlanWriter& w, RGPoint& p) { w.Point(p); }, add);
            if (AnyWithNodes(layer->Lines))
                ListParts(u"ЛИН", layer->Lines,
                          [](TPlanWriter& w, RGLine& l) {
                              if (l.Nodes.GetCount() > 0)
                                  w.LineRecord(l);
                          },
                          add);
            if (AnyWithNodes(layer->Polygons))
                ListParts(u"ПОЛ", layer->Polygons,
                          [](TPlanWriter& w, RGPolygon& p) {
                              if (p.Nodes.GetCount() > 0)
                                  w.Polygon(p);
                          },
                          add);
            add([](TPlanWriter& w) { w.Line(u"}СЛО"); }, 1);
        }
        add([](TPlanWriter& w) { w.Line(u"}ЛСТ"); }, 1);
    }
}

void TPlanWriter::Layer(RGLayer& layer)
{
    LayerHead(layer);
    if (layer.Texts.GetCount() > 0) {
        Line(u"{ТЕК");
        for (const auto& text : layer.Texts)
            TextRecord(*text);
        Line(u"}ТЕК");
    }
    if (layer.Points.GetCount() > 0) {
        Line(u"{ТОЧ");
        for (const auto& point : layer.Points)
            Point(*point);
        Line(u"}ТОЧ");
    }
    // Lines and polygons without nodes are not part of the file; a section that would
    // hold none of them is left out too, so that reading and writing again gives the
    // same text.
    if (AnyWithNodes(layer.Lines)) {
        Line(u"{ЛИН");
        for (const auto& line : layer.Lines)
            if (line->Nodes.GetCount() > 0)
                LineRecord(*line);
        Line(u"}ЛИН");
    }
    if (AnyWithNodes(layer.Polygons)) {
        Line(u"{ПОЛ");
        for (const auto& polygon : layer.Polygons)
            if (polygon->Nodes.GetCount() > 0)
                Polygon(*polygon);
        Line(u"}ПОЛ");
    }
    Line(u"}СЛО");
}

void TPlanWriter::TextRecord(const RGText& text)
{
    Start(text.Text);
    Pair(3, text.Position);
    if (text.OwnStyle) {
        Line(u"{сти");
        Text(u"шри", text.OwnStyle->FontName);
        Int(u"цве", text.OwnStyle->Color);
        Field(u"раз", LockedFixed(text.OwnStyle->Size, 2, 4));
        Field(u"стш", FontStylesToStr(text.OwnStyle->FontStyle));
        Line(u"}сти");
    } else {
        Text(u"сти", text.StyleName);
    }
    RealUnlessDefault(u"кор", text.SizeFactor, 1, 2, 4);
    if (text.Angle != 0)
        Int(u"пов", text.Angle);
    End();
}

void TPlanWriter::InnerTexts(TGTexts& texts)
{
    for (const auto& text : texts) {
        Line(u"[ТЕК");
        TextRecord(*text);
        Line(u"]ТЕК");
    }
    texts.GoLastItem();
}

void TPlanWriter::Captions(TUserTexts& captions)
{
    for (const auto& caption : captions) {
        Line(u"{нап");
        // No shift at all writes the text of none: nothing to compare.
        if (caption->Dx != 0 || caption->Dy != 0) {
            const TFixed dx(caption->Dx, 1, 4);
            const TFixed dy(caption->Dy, 1, 4);
            const TFixed zero(0, 1, 4);
            TPairText shift;
            TPairText none;
            if (PairText(dx.View(), dy.View(), shift) != PairText(zero.View(), zero.View(), none))
                Field(u"дви", QStringView(shift.constData(), shift.size()));
        }
        if (caption->Angle != 0)
            Int(u"пов", caption->Angle);
        RealUnlessDefault(u"раз", caption->SizeFactor, 1, 6, 8);
        if (caption->Show != 0)
            Int(u"вид", caption->Show);
        Line(u"}нап");
    }
    captions.GoLastItem();
}

void TPlanWriter::Point(RGPoint& point)
{
    Start(point.Semantics);
    Pair(point.Precision, point.Position);
    if (point.Precision != DefaultPrecision)
        Int(u"кач", point.Precision);
    if (point.LeaderLine != 0)
        Int(u"лип", point.LeaderLine);
    if (point.AllUserTextsFromFirst != 0)
        Field(u"онн", QString());
    RealUnlessDefault(u"угз", point.SignAngle, 0, 3, 6);
    Captions(point.UserTexts);
    InnerTexts(point.InnerTexts);
    End();
}

void TPlanWriter::LineNodeBlock(const RGLineNodeData& node)
{
    Line(u"{нау");
    if (node.NodeType != 0)
        Int(u"тиу", node.NodeType);
    if (node.Curve == 1)
        Int(u"кри", 1);
    if (node.SignShift >= 0)
        Field(u"поз", LockedFixed(node.SignShift, 3, 8));
    if (node.SegmentType != 0)
        Int(u"штр", node.SegmentType);
    if (node.TextCounter >= 0)
        Int(u"счт", node.TextCounter);
    if (node.InvertText == 1)
        Int(u"инв", 1);
    Line(u"}нау");
}

void TPlanWriter::LineRecord(RGLine& line)
{
    Start(line.Semantics);
    for (const QString& over : line.OverLines)
        Text(u"дли", over);
    if (line.Strip != 0)
        Field(u"фап", LockedFixed(line.StripWidth, 3, 8));
    if (line.Precision != DefaultPrecision)
        Int(u"кач", line.Precision);
    for (const auto& node : line.Nodes) {
        Pair(line.Precision, node->Position);
        if (!node->IsDefault())
            LineNodeBlock(*node);
        for (const auto& point : node->NodePoints) {
            Line(u"[ТОЧ");
            Point(*point);
            Line(u"]ТОЧ");
        }
        node->NodePoints.GoLastItem();
    }
    line.Nodes.GoLastItem();
    Captions(line.UserTexts);
    InnerTexts(line.InnerTexts);
    End();
}

void TPlanWriter::PolygonNodes(TGPolygonNodes& nodes, TPrecision precision)
{
    for (const auto& node : nodes) {
        Pair(precision, node->Position);
        if (node->IsDefault())
            continue;
        Line(u"{нау");
        if (node->Curve == 1)
            Int(u"кри", 1);
        if (node->SignShift >= 0)
            Field(u"поз", LockedFixed(node->SignShift, 3, 8));
        if (node->SegmentType != 0)
            Int(u"сет", node->SegmentType);
        if (node->SegmentStyle != 0)
            Int(u"сес", node->SegmentStyle);
        if (node->CornerLine != 0)
            Int(u"угл", node->CornerLine);
        if (node->CornerPicture != 0)
            Int(u"угр", node->CornerPicture);
        Line(u"}нау");
    }
    nodes.GoLastItem();
}

void TPlanWriter::Polygon(RGPolygon& polygon)
{
    Start(polygon.Semantics);
    if (polygon.Precision != DefaultPrecision)
        Int(u"кач", polygon.Precision);
    if (polygon.CaptionShift.X != 0 || polygon.CaptionShift.Y != 0) {
        const QString shift = XYOfPrecision(2, polygon.CaptionShift);
        if (shift != XYOfPrecision(2, TGeoPoint{}))
            Field(u"двз", shift);
    }
    PolygonNodes(polygon.Nodes, polygon.Precision);
    if (polygon.CaptionAngle >= 0)
        Int(u"тит", polygon.CaptionAngle);
    for (const auto& hole : polygon.Holes) {
        if (hole->Nodes.GetCount() == 0)
            continue;
        Line(u"{ВПО");
        PolygonNodes(hole->Nodes, polygon.Precision);
        Line(u"}ВПО");
    }
    polygon.Holes.GoLastItem();
    InnerTexts(polygon.InnerTexts);
    for (const auto& point : polygon.InnerPoints) {
        Line(u"[ТОЧ");
        Point(*point);
        Line(u"]ТОЧ");
    }
    polygon.InnerPoints.GoLastItem();
    for (const auto& line : polygon.InnerLines) {
        if (line->Nodes.GetCount() == 0)
            continue;
        Line(u"[ЛИН");
        LineRecord(*line);
        Line(u"]ЛИН");
    }
    polygon.InnerLines.GoLastItem();
    Captions(polygon.UserTexts);
    End();
}

// The text into out: formatted in chunks of parts on several threads, written in
// order as each chunk is ready, so that a save, and the snapshot of every command,
// costs little more than writing its bytes. A few chunks ahead of the one written are
// held at most. A small plan is written on the calling thread alone.
void WritePlanText(QIODevice& out, const QString& info, const std::vector<RGPage*>& sheets)
{
    constexpr int ChunkWeight = 16384;
    std::vector<std::vector<TPlanWriter::TPart>> chunks(1);
    int weight = 0;
    TPlanWriter::Parts(info, sheets, [&](TPlanWriter::TPart part, int w) {
        if (weight >= ChunkWeight) {
            chunks.emplace_back();
            weight = 0;
        }
        chunks.back().push_back(std::move(part));
        weight += w;
    });
    const auto format = [&chunks](std::size_t i, TDeviceSink& sink) {
        TPlanWriter writer(sink);
        for (const auto& part : chunks[i])
            part(writer);
    };
    const std::size_t threads =
        std::min<std::size_t>({std::thread::hardware_concurrency(), 8, chunks.size()});
    if (chunks.size() < 4 || threads < 2) {
        TDeviceSink sink(&out);
        for (std::size_t i = 0; i < chunks.size(); ++i)
            format(i, sink);
        sink.Flush();
        return;
    }

    struct TSlot {
        std::unique_ptr<TDeviceSink> Sink;
        std::exception_ptr Error;
        bool Done = false;
    };
    std::vector<TSlot> results(chunks.size());
    std::mutex lock;
    std::condition_variable changed;
    // Sinks of chunks written, kept for the next ones: a new block for every chunk
    // costs more in fresh pages than its formatting.
    std::vector<std::unique_ptr<TDeviceSink>> spare;
    std::size_t next = 0;      // the next chunk a worker takes
    std::size_t written = 0;   // chunks written into out
    bool stop = false;
    const std::size_t ahead = 2 * threads;
    // Takes the next chunk when one is free and within reach, formats it with the lock
    // released and stores it; false when there was none to take.
    const auto formatNext = [&](std::unique_lock<std::mutex>& hold) {
        if (stop || next >= chunks.size() || next >= written + ahead)
            return false;
        const std::size_t i = next++;
        std::unique_ptr<TDeviceSink> sink;
        if (!spare.empty()) {
            sink = std::move(spare.back());
            spare.pop_back();
        }
        hold.unlock();
        if (!sink)
            sink = std::make_unique<TDeviceSink>(nullptr);
        std::exception_ptr error;
        try {
            format(i, *sink);
        } catch (...) {
            error = std::current_exception();
        }
        hold.lock();
        results[i].Sink = std::move(sink);
        results[i].Error = error;
        results[i].Done = true;
        changed.notify_all();
        return true;
    };
    const auto work = [&] {
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            changed.wait(hold, [&] { return stop || next >= chunks.size() || next < written + ahead; });
            if (stop || next >= chunks.size())
                return;
            formatNext(hold);
        }
    };
    // Every worker has ended before this routine leaves, on every way out.
    struct TWorkers {
        std::vector<std::thread> Threads;
        std::mutex& Lock;
        std::condition_variable& Changed;
        bool& Stop;
        ~TWorkers()
        {
            {
                const std::lock_guard<std::mutex> hold(Lock);
                Stop = true;
            }
            Changed.notify_all();
            for (std::thread& t : Threads)
                t.join();
        }
    } workers{{}, lock, changed, stop};
    for (std::size_t t = 1; t < threads; ++t)
        workers.Threads.emplace_back(work);

    for (std::size_t i = 0; i < chunks.size(); ++i) {
        std::unique_ptr<TDeviceSink> sink;
        std::exception_ptr error;
        {
            // The writing thread formats too while the chunk it waits for is not done.
            std::unique_lock<std::mutex> hold(lock);
            while (!results[i].Done)
                if (!formatNext(hold))
                    changed.wait(hold, [&] {
                        return results[i].Done || (next < chunks.size() && next < written + ahead);
                    });
            sink = std::move(results[i].Sink);
            error = results[i].Error;
        }
        if (error)
            std::rethrow_exception(error);
        sink->WriteKept(out);
        sink->Clear();
        {
            const std::lock_guard<std::mutex> hold(lock);
            written = i + 1;
            spare.push_back(std::move(sink));
        }
        changed.notify_all();
    }
}

// The sheets to write, checked before anything is written.
std::vector<RGPage*> ChosenSheets(const TGPages& pages, const TArrayIntegers& indexes)
{
    std::vector<RGPage*> sheets;
    if (indexes.empty()) {
        for (const auto& page : pages)
            sheets.push_back(page.get());
        return sheets;
    }
    for (const std::int32_t i : indexes) {
        RGPage* page = pages.At(i);
        if (!page)
            throw Exception(QStringLiteral("Лист №%1 не найден: в плане листов %2 (0-%3)")
                                .arg(i)
                                .arg(pages.GetCount())
                                .arg(pages.GetCount() - 1));
        sheets.push_back(page);
    }
    return sheets;
}

}  // namespace

bool SameWrittenPair(TPrecision precision, const TGeoPoint& a, const TGeoPoint& b)
{
    if (a.X == b.X && a.Y == b.Y)
        return true;
    const int decimals = std::min<int>(precision, 3);
    char textA[XYCharsRoom];
    char textB[XYCharsRoom];
    const int nA = XYtoChars(a.X, a.Y, decimals, textA);
    const int nB = XYtoChars(b.X, b.Y, decimals, textB);
    if (nA >= 0 && nB >= 0)
        return std::string_view(textA, nA) == std::string_view(textB, nB);
    try {
        return XYOfPrecision(precision, a) == XYOfPrecision(precision, b);
    } catch (const Exception&) {
        return false;   // a value no file can hold: the writer reports it
    }
}

bool IsPlanStructureChar(QChar c)
{
    switch (c.unicode()) {
    case u'{':
    case u'}':
    case u'[':
    case u']':
    case u'|':
    case u'@':
    case u'$':
    case u'#':
        return true;
    default:
        return false;
    }
}

bool InfoLineNeedsEscape(QStringView line)
{
    if (line.isEmpty() || IsPlanStructureChar(line[0]))
        return true;
    return line[0] == InfoEscape &&
           (line.size() == 1 || IsPlanStructureChar(line[1]) || line[1] == InfoEscape);
}

QString UnescapeInfoLine(const QString& line)
{
    if (!line.isEmpty() && line[0] == InfoEscape && InfoLineNeedsEscape(QStringView(line).mid(1)))
        return line.mid(1);
    return line;
}

void TGeoMap::WriteDataToFile(const QString& FileName, const TArrayIntegers& SheetIndexes)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.WriteDataToFile(const FileName:String):boolean;",
                      TrailArg("FileName", FileName));
    const std::vector<RGPage*> sheets = ChosenSheets(Pages, SheetIndexes);
    if (FileName.isEmpty()) {
        // Built aside, so that a failure leaves DataLines as it was.
        QStringList lines;
        TListSink sink(lines);
        TPlanWriter(sink).Plan(MapProp.Info, sheets);
        lines.append(QString());
        DataLines += lines;
        return;
    }
    const QString path = ResolvePath(FileName);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception(QStringLiteral("Не удается создать файл плана \"%1\": %2")
                            .arg(path, FileErrorReason(errno, file.errorString())));
    WritePlanText(file, MapProp.Info, sheets);
    errno = 0;
    if (!file.commit())
        throw Exception(QStringLiteral("Не удается записать файл плана \"%1\": %2")
                            .arg(path, FileErrorReason(errno, file.errorString())));
    SyncFolderOf(path);
}

void TGeoMap::WriteDataToDevice(QIODevice& out, const TArrayIntegers& SheetIndexes)
{
    TTrailGuard guard("GeoMap", "function TGeoMap.WriteDataToFile(const FileName:String):boolean;");
    WritePlanText(out, MapProp.Info, ChosenSheets(Pages, SheetIndexes));
}

void WritePlanSnapshot(TGeoMap& map, QIODevice& out)
{
    map.WriteDataToDevice(out);
    // DataLines ends with one empty line, and the snapshot is DataLines saved.
    WriteAllBytes(out, "\r\n", 2, QStringLiteral("Ошибка записи файла плана"));
}
