// The older plan format: bracketed section headers ("[Исполнитель]", "[Растры]",
// "[Надписи]", "[Точки]", "[Линии]", "[Полигоны]") with records of numbered lines
// separated by "*", code page 1251. Read into the plan's current sheet.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapImport.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "semantics/signs/Symbols.h"

#include <memory>
#include <vector>

namespace {

enum class TOldSection : std::uint8_t { None, Performer, Rastrs, Texts, Points, Lines, Polygons };

// Where a line or polygon record stands after its line 1.
enum class TOldBlock : std::uint8_t {
    Nodes,   // coordinate lines
    Title,   // a polygon's caption block, lines 1 to 5
    Flags,   // a polygon node's flag block, lines 1 and 2
    Node,    // a line node's attribute block, lines 1 to 6
};

TOldSection SectionOfHeader(const QString& line)
{
    if (line.size() < 7 || line.front() != QLatin1Char('[') || line.back() != QLatin1Char(']'))
        return TOldSection::None;
    if (line == QStringLiteral("[Исполнитель]"))
        return TOldSection::Performer;
    if (line == QStringLiteral("[Растры]"))
        return TOldSection::Rastrs;
    if (line == QStringLiteral("[Надписи]"))
        return TOldSection::Texts;
    if (line == QStringLiteral("[Точки]"))
        return TOldSection::Points;
    if (line == QStringLiteral("[Линии]"))
        return TOldSection::Lines;
    if (line == QStringLiteral("[Полигоны]"))
        return TOldSection::Polygons;
    return TOldSection::None;
}

// A pair "X Y" that must convert; StringToXY's false (a first number that is no
// number) is a bad value here too, or the element would keep made-up coordinates.
TGeoPoint Pair(const QString& s)
{
    TGeoPoint p;
    if (ShortStringToXY(s, p.X, p.Y))
        return p;
    if (!StringToXY(s, p.X, p.Y))
        throw Exception(QStringLiteral("Не получается преобразовать строку \"%1\" в два "
                                       "вещественных числа")
                            .arg(s));
    return p;
}

TWinAngle FullCircle(int angle) { return angle < 0 ? angle + 3600 : angle; }

// The digit at position i of s; a missing character or one that is no digit counts
// as 1.
int FlagDigit(const QString& s, qsizetype i)
{
    if (i >= s.size() || s[i] < QLatin1Char('0') || s[i] > QLatin1Char('9'))
        return 1;
    return s[i].unicode() - u'0';
}

class TOldFileReader {
public:
    TOldFileReader(TGeoMap& map, bool autoDetect, const QString& layerName)
        : Map(map), Layers(map, autoDetect, layerName, QStringLiteral("Общий")),
          Info(map.MapProp.Info),
          // Sign shifts are millimetres; the file counts them in dots of the sign
          // library's resolution, the screen's until a first drawing sets one.
          MmPerDot(map.Symbols && map.Symbols->MMPerDot > 0 ? map.Symbols->MMPerDot
                                                            : 25.4L / map.ScreenDpi)
    {
    }

    void Read(const QString& fileName);

private:
    void Line(const QString& line);
    void PerformerLine(const QString& line);
    void RastrLine(const QString& line);
    void TextLine(const QString& line);
    void PointLine(const QString& line);
    void LineLine(const QString& line);
    void PolygonLine(const QString& line);
    bool Loads(TOldSection section) const;
    // A user caption of a line or polygon: Show 1 for code 0, 2 for code 1, else 0.
    static std::uint8_t ObjectShow(int code) { return code == 0 ? 1 : code == 1 ? 2 : 0; }
    // Terrain metres as plan millimetres at the plan's scale.
    Extended Millimetres(Extended metres)
    {
        if (MmPerMetre == 0)
            MmPerMetre = PlanMillimetresPerMetre(Map);
        return metres * MmPerMetre;
    }

    TGeoMap& Map;
    TImportLayers Layers;
    QString Info;
    bool InfoStarted = false;
    Extended MmPerMetre = 0;
    Extended MmPerDot = 0;

    TOldSection Section = TOldSection::None;
    int N = 0;   // the number of the line in hand within its record
    TOldBlock Block = TOldBlock::Nodes;
    int BlockLine = 0;

    // The record in hand.
    QString First;          // its line 1
    TGeoPoint Corner;       // a raster's top-right corner
    std::unique_ptr<RGText> Text;
    int TextSize = 0;
    QString TextStyle;
    TFontStyles TextFlags = 0;
    RGPoint* Point = nullptr;
    bool PointDone = false;
    bool PointExtended = false;
    TGeoPoint CaptionShift;
    int CaptionAngle = 0;
    Extended SignAngle = 0;
    int ShowCode = 0;
    std::uint8_t Leader = 0;
    RGLine* LineObject = nullptr;
    RGLineNode* NodeBefore = nullptr;   // the node read last before a block
    int SignShift = 0;
    int SegmentCode = 0;
    int TextCounter = 0;
    RGPolygon* Polygon = nullptr;
    Extended SizeFactor = 1;
    QString FlagsAB;

    std::vector<RGRastr*> Rastrs;
    std::vector<RGPolygon*> Polygons;
};

bool TOldFileReader::Loads(TOldSection section) const
{
    const TOpenFilter& f = Map.OpenFilter;
    switch (section) {
    case TOldSection::Rastrs:
        return f.LoadRastrs != 0;
    case TOldSection::Texts:
        return f.LoadTexts != 0;
    case TOldSection::Points:
        return f.LoadPoints != 0;
    case TOldSection::Lines:
        return f.LoadLines != 0;
    case TOldSection::Polygons:
        return f.LoadPolygons != 0;
    default:
        return true;
    }
}

void TOldFileReader::Read(const QString& fileName)
{
    bool anySection = false;
    ReadImportLines(Map, fileName, [&](const QByteArray& bytes, int) {
        const QString line = DecodeCodePage(bytes, TCodePage::Cp1251);
        if (SectionOfHeader(line) != TOldSection::None)
            anySection = true;
        Line(line);
    });
    // Anything else read as an older plan would open as an empty plan, which a save
    // would then write over the file.
    if (!anySection)
        throw Exception(QStringLiteral("Файл \"%1\" не является планом старого формата: в нем нет "
                                       "ни одного раздела (\"[Исполнитель]\", \"[Растры]\", "
                                       "\"[Надписи]\", \"[Точки]\", \"[Линии]\", \"[Полигоны]\")")
                            .arg(fileName));
    for (RGPolygon* polygon : Polygons)
        TGeoMap::AutoDetectSL2(polygon->Nodes);
    LoadImportedRastrs(Rastrs);
    Map.MapProp.Info = Info;
}

void TOldFileReader::Line(const QString& line)
{
    if (const TOldSection header = SectionOfHeader(line); header != TOldSection::None) {
        Section = header;
        N = 1;
        return;
    }
    if (!Loads(Section))
        return;   // the "*" lines of a section not loaded included
    if (line == QLatin1String("*")) {
        N = 1;
        return;
    }
    switch (Section) {
    case TOldSection::Performer:
        PerformerLine(line);
        break;
    case TOldSection::Rastrs:
        RastrLine(line);
        break;
    case TOldSection::Texts:
        TextLine(line);
        break;
    case TOldSection::Points:
        PointLine(line);
        break;
    case TOldSection::Lines:
        LineLine(line);
        return;   // numbers its lines itself
    case TOldSection::Polygons:
        PolygonLine(line);
        return;
    case TOldSection::None:
        break;
    }
    ++N;
}

void TOldFileReader::PerformerLine(const QString& line)
{
    if (N > 4 || line.isEmpty())
        return;
    // The plan's own text, when a merge adds to it, keeps its last line to itself.
    if (!InfoStarted && !Info.isEmpty() && !Info.endsWith(QLatin1Char('\r')))
        Info += QLatin1Char('\r');
    InfoStarted = true;
    Info += line;
    Info += QLatin1Char('\r');
}

void TOldFileReader::RastrLine(const QString& line)
{
    switch (N) {
    case 1:
        First = line;
        return;
    case 2:
        Corner = Pair(line);
        return;
    case 3: {
        const TGeoPoint bottomLeft = Pair(line);
        TGRastrs& rastrs = Map.Pages.Item->Rastrs;
        rastrs.AddItem();
        rastrs.Item->TopRight = Corner;
        rastrs.Item->BottomLeft = bottomLeft;
        rastrs.Item->FileName = First;
        Rastrs.push_back(rastrs.Item);
        return;
    }
    default:
        return;
    }
}

void TOldFileReader::TextLine(const QString& line)
{
    switch (N) {
    case 1:
        Text = std::make_unique<RGText>();
        Text->Text = line;
        return;
    case 2:
        Text->Position = Pair(line);
        return;
    case 3:
        TextSize = StrToInt(line);
        return;
    case 4:
        TextStyle = line;
        return;
    case 5:
        Text->Angle = FullCircle(StrToInt(line));
        return;
    case 6:
        TextFlags = 0;
        if (line.size() > 0 && line[0] == QLatin1Char('1'))
            TextFlags |= fsBold;
        if (line.size() > 1 && line[1] == QLatin1Char('1'))
            TextFlags |= fsItalic;
        if (line.size() > 2 && line[2] == QLatin1Char('1'))
            TextFlags |= fsUnderline;
        return;
    case 7: {
        const std::int32_t color = StrToInt(line);
        if (TextStyle.startsWith(QLatin1Char('>'))) {
            Text->StyleName = TextStyle;
        } else {
            Text->OwnStyle = std::make_unique<TUserStyle>();
            Text->OwnStyle->FontName = TextStyle;
            Text->OwnStyle->Color = color;
            Text->OwnStyle->Size = TextSize / 10.0L;
            Text->OwnStyle->FontStyle = TextFlags;
        }
        Layers.Select(3, QString()).Texts.AddItem(std::move(Text));
        return;
    }
    default:
        return;
    }
}

void TOldFileReader::PointLine(const QString& line)
{
    const auto create = [this](const TGeoPoint& at) {
        QString sem = First;
        if (Map.OpenFilter.ReplacePoint != 0)
            sem = Map.OpenFilter.PointSemantics;
        TGPoints& points = Layers.Select(0, sem).Points;
        points.AddItem();
        RGPoint& point = *points.Item;
        point.Semantics = sem;
        point.Position = at;
        return &point;
    };
    switch (N) {
    case 1:
        First = line;
        PointDone = false;
        PointExtended = false;
        return;
    case 2:
        if (line == QLatin1String(">")) {
            PointExtended = true;
            return;
        }
        PointDone = true;
        {
            TGeoPoint at;
            // A first number that is no number: the point is left out.
            if (!ShortStringToXY(line, at.X, at.Y) && !StringToXY(line, at.X, at.Y))
                return;
            create(at);
        }
        return;
    default:
        break;
    }
    if (PointDone || !PointExtended)
        return;
    switch (N) {
    case 3:
        CaptionShift = Pair(line);
        return;
    case 4:
        CaptionAngle = StrToInt(line);
        return;
    case 5:
        SignAngle = StrToFlt(line);
        return;
    case 6:
        ShowCode = StrToInt(line);
        return;
    case 7: {
        const int leader = StrToInt(line);
        Leader = leader == 1 || leader == 2 ? static_cast<std::uint8_t>(leader) : 0;
        return;
    }
    case 8: {
        TGeoPoint at;
        if (!ShortStringToXY(line, at.X, at.Y) && !StringToXY(line, at.X, at.Y))
            return;
        RGPoint* point = create(at);
        point->SignAngle = SignAngle;
        point->LeaderLine = Leader;
        if (CaptionShift.X != 0 || CaptionShift.Y != 0 || CaptionAngle != 0 || ShowCode != 0) {
            point->AllUserTextsFromFirst = 1;
            point->UserTexts.AddItem();
            RUserText& caption = *point->UserTexts.Item;
            caption.Dx = Millimetres(CaptionShift.X);
            caption.Dy = Millimetres(CaptionShift.Y);
            caption.Angle = FullCircle(CaptionAngle);
            caption.SizeFactor = 1;
            caption.Show = ShowCode == 1 ? 2 : 0;
        }
        return;
    }
    default:
        return;
    }
}

void TOldFileReader::LineLine(const QString& line)
{
    if (N == 1) {
        QString sem = line;
        if (Map.OpenFilter.ReplaceLine != 0)
            sem = Map.OpenFilter.LineSemantics;
        TGLines& lines = Layers.Select(1, sem).Lines;
        lines.AddItem();
        LineObject = lines.Item;
        LineObject->Semantics = sem;
        Block = TOldBlock::Nodes;
        N = 2;
        return;
    }
    if (!LineObject)
        return;
    const auto addNode = [this](const TGeoPoint& at) {
        LineObject->Nodes.AddItem();
        LineObject->Nodes.Item->Position = at;
    };
    if (Block == TOldBlock::Nodes) {
        if (line == QLatin1String(">")) {
            NodeBefore = LineObject->Nodes.Item;
            Block = TOldBlock::Node;
            BlockLine = 1;
            return;
        }
        addNode(Pair(line));
        return;
    }
    switch (BlockLine) {
    case 1:
        CaptionShift = Pair(line);
        break;
    case 2:
        ShowCode = StrToInt(line);
        break;
    case 3:
        SignShift = StrToInt(line);
        break;
    case 4:
        SegmentCode = StrToInt(line);
        break;
    case 5:
        TextCounter = StrToInt(line);
        break;
    default: {
        const TGeoPoint at = Pair(line);
        LineObject->UserTexts.AddItem();
        RUserText& caption = *LineObject->UserTexts.Item;
        caption.Dx = Millimetres(CaptionShift.X);
        caption.Dy = Millimetres(CaptionShift.Y);
        caption.Show = ObjectShow(ShowCode);
        if (NodeBefore) {
            NodeBefore->TextCounter = TextCounter;
            if (SegmentCode == 1 || SegmentCode == 2)
                NodeBefore->SegmentType = static_cast<std::uint8_t>(SegmentCode);
            NodeBefore->SignShift = SignShift * MmPerDot;
        }
        addNode(at);
        Block = TOldBlock::Nodes;
        return;
    }
    }
    ++BlockLine;
}

void TOldFileReader::PolygonLine(const QString& line)
{
    if (N == 1) {
        QString sem = line;
        if (Map.OpenFilter.ReplacePolygon != 0)
            sem = Map.OpenFilter.PolygonSemantics;
        TGPolygons& polygons = Layers.Select(2, sem).Polygons;
        polygons.AddItem();
        Polygon = polygons.Item;
        Polygon->Semantics = sem;
        Polygons.push_back(Polygon);
        Block = TOldBlock::Nodes;
        N = 2;
        return;
    }
    if (!Polygon)
        return;
    if (Block == TOldBlock::Nodes) {
        if (line == QLatin1String(">")) {
            // As line 2 it opens the caption block, later a node's flag block.
            Block = N == 2 ? TOldBlock::Title : TOldBlock::Flags;
            BlockLine = 1;
            N = 3;
            return;
        }
        Polygon->Nodes.AddItem();
        Polygon->Nodes.Item->Position = Pair(line);
        N = 3;
        return;
    }
    if (Block == TOldBlock::Flags) {
        if (BlockLine == 1) {
            FlagsAB = line;
            BlockLine = 2;
            return;
        }
        if (RGPolygonNode* node = Polygon->Nodes.Item) {
            const int a = FlagDigit(FlagsAB, 0);
            const int b = FlagDigit(FlagsAB, 1);
            const int c = FlagDigit(line, 0);
            const int d = FlagDigit(line, 1);
            node->SegmentType = a == 2 ? 1 : 0;
            node->SegmentStyle = b == 0 ? 2 : b == 2 ? 1 : 0;
            node->CornerLine = c == 2 ? 1 : 0;
            node->CornerPicture = d == 2 ? 1 : 0;
        }
        Block = TOldBlock::Nodes;
        return;
    }
    switch (BlockLine) {
    case 1:
        ShowCode = StrToInt(line);
        break;
    case 2:
        CaptionAngle = StrToInt(line);
        break;
    case 3:
        CaptionShift = Pair(line);
        break;
    case 4:
        SizeFactor = StrToFlt(line);
        break;
    default: {
        const TGeoPoint anchor = Pair(line);
        Polygon->UserTexts.AddItem();
        RUserText& caption = *Polygon->UserTexts.Item;
        caption.Dx = Millimetres(CaptionShift.X);
        caption.Dy = Millimetres(CaptionShift.Y);
        caption.Angle = FullCircle(CaptionAngle);
        caption.SizeFactor = SizeFactor;
        caption.Show = ObjectShow(ShowCode);
        Polygon->CaptionShift = GeoPoint(Millimetres(anchor.X), Millimetres(anchor.Y));
        Block = TOldBlock::Nodes;
        return;
    }
    }
    ++BlockLine;
}

}  // namespace

void TGeoMap::ReadDataFromOldFile(const QString& FileName, bool LayerAutoDetect,
                                  const QString& LayerName)
{
    TTrailGuard guard("GeoMap",
                      "function TGeoMap.ReadDataFromOldFile(const FileName:String; const "
                      "LayerAutoDetect:boolean; const LayerName:string):boolean;",
                      TrailArg("FileName", FileName), TrailArg("LayerAutoDetect", LayerAutoDetect),
                      TrailArg("LayerName", LayerName));
    if (!HasCurrentPage())
        throw Exception(QStringLiteral("Нет листа, в который читается план старого формата"));
    TOldFileReader reader(*this, LayerAutoDetect, LayerName);
    reader.Read(FileName);
}

void TGeoMap::AutoDetectSL2(TGPolygonNodes& Nodes)
{
    const int n = Nodes.GetCount();
    int i = 0;
    while (i < n && Nodes.At(i)->SegmentType != 1)
        ++i;
    if (i == n)
        return;
    const auto type = [&Nodes](int k) -> std::uint8_t& { return Nodes.At(k)->SegmentType; };
    for (int steps = 0; steps < n && type(i) != 0; ++steps)
        i = (i + 1) % n;
    i = (i + 1) % n;
    for (int steps = 0; steps < n; ++steps) {
        if (type(i) == 0) {
            type(i) = 2;
            i = (i + 1) % n;
        } else {
            i = (i + n - 1) % n;
            type(i) = 0;
            return;
        }
    }
}
