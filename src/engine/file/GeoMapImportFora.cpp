// The exchange format of another surveying system: records opened by "#PASSPORT",
// "#TEXT", "#SEM", "#POINT", "#POLYLINE" and "#POLYGON" lines, in code page 866. Read
// into the plan's current sheet.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapImport.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"

#include <memory>

namespace {

enum class TForaRecord : std::uint8_t { None, Passport, Text, Sem, Point, Polyline, Polygon };

TForaRecord RecordOfHeader(const QString& line)
{
    if (!line.startsWith(QLatin1Char('#')))
        return TForaRecord::None;
    if (line.startsWith(QLatin1String("#PASSPORT")))
        return TForaRecord::Passport;
    if (line.startsWith(QLatin1String("#TEXT")))
        return TForaRecord::Text;
    if (line.startsWith(QLatin1String("#SEM")))
        return TForaRecord::Sem;
    if (line.startsWith(QLatin1String("#POINT")))
        return TForaRecord::Point;
    if (line.startsWith(QLatin1String("#POLYLINE")))
        return TForaRecord::Polyline;
    if (line.startsWith(QLatin1String("#POLYGON")))
        return TForaRecord::Polygon;
    return TForaRecord::None;
}

// The next token of s from i: blanks skipped, then the characters up to the next blank.
QString Token(const QString& s, qsizetype& i)
{
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    while (i < s.size() && s[i] != QLatin1Char(' '))
        ++i;
    return s.mid(start, i - start);
}

class TForaFileReader {
public:
    TForaFileReader(TGeoMap& map, bool autoDetect, const QString& layerName)
        : Map(map), Layers(map, autoDetect, layerName, QStringLiteral("Фора")),
          Info(map.MapProp.Info)
    {
    }

    void Read(const QString& fileName);

private:
    void Line(const QString& line);
    void TextLine(const QString& line);
    bool Loads(TForaRecord record) const;
    // The semantics of a new object of kind lm: the open filter's replacement when it
    // is on, which then serves the records after it too.
    const QString& SemanticsFor(int lm);

    TGeoMap& Map;
    TImportLayers Layers;
    QString Info;

    TForaRecord Record = TForaRecord::None;
    int N = 0;
    QString Semantics;   // of the points, polylines and polygons that follow
    // The text record in hand: its caption line's values.
    QString Caption;
    Extended Size = 0;
    TWinAngle Angle = 0;
    // The polyline or polygon in hand and the nodes it still takes.
    RGLine* LineObject = nullptr;
    RGPolygon* Polygon = nullptr;
    int NodesLeft = 0;
};

bool TForaFileReader::Loads(TForaRecord record) const
{
    const TOpenFilter& f = Map.OpenFilter;
    switch (record) {
    case TForaRecord::Text:
        return f.LoadTexts != 0;
    case TForaRecord::Point:
        return f.LoadPoints != 0;
    case TForaRecord::Polyline:
        return f.LoadLines != 0;
    case TForaRecord::Polygon:
        return f.LoadPolygons != 0;
    default:
        return true;
    }
}

const QString& TForaFileReader::SemanticsFor(int lm)
{
    const TOpenFilter& f = Map.OpenFilter;
    if (lm == 0 && f.ReplacePoint != 0)
        Semantics = f.PointSemantics;
    else if (lm == 1 && f.ReplaceLine != 0)
        Semantics = f.LineSemantics;
    else if (lm == 2 && f.ReplacePolygon != 0)
        Semantics = f.PolygonSemantics;
    return Semantics;
}

void TForaFileReader::Read(const QString& fileName)
{
    bool anyRecord = false;
    ReadImportLines(Map, fileName, [&](const QByteArray& bytes, int) {
        // The letters of code page 866 become those of code page 1251 first; every other
        // byte stays, so that each line holds only what the plan's file can hold.
        const QString line = DecodeCodePage(StrDosToWin(bytes), TCodePage::Cp1251);
        if (RecordOfHeader(line) != TForaRecord::None)
            anyRecord = true;
        Line(line);
    });
    // Anything else read as an exchange file would open as an empty plan.
    if (!anyRecord)
        throw Exception(QStringLiteral("Файл \"%1\" не является файлом обмена: в нем нет ни одной "
                                       "записи (\"#PASSPORT\", \"#TEXT\", \"#SEM\", \"#POINT\", "
                                       "\"#POLYLINE\", \"#POLYGON\")")
                            .arg(fileName));
    Map.MapProp.Info = Info;
}

void TForaFileReader::Line(const QString& line)
{
    if (const TForaRecord header = RecordOfHeader(line); header != TForaRecord::None) {
        Record = header;
        if (header != TForaRecord::Passport)
            N = 0;
    }
    if (Loads(Record)) {
        switch (Record) {
        case TForaRecord::Passport:
            Info = line;
            break;
        case TForaRecord::Text:
            TextLine(line);
            break;
        case TForaRecord::Sem:
            if (N == 1)
                Semantics = TGeoMap::ConvSemOver(line);
            break;
        case TForaRecord::Point:
            if (N == 1) {
                TGeoPoint at;
                ReadXYofForaString(line, at.X, at.Y);
                const QString& sem = SemanticsFor(0);
                TGPoints& points = Layers.Select(0, sem).Points;
                points.AddItem();
                points.Item->Semantics = sem;
                points.Item->Position = at;
            }
            break;
        case TForaRecord::Polyline:
        case TForaRecord::Polygon:
            if (N == 0) {
                int count = 0;
                ReadIntOfForaString(line, count);
                const bool polyline = Record == TForaRecord::Polyline;
                const QString& sem = SemanticsFor(polyline ? 1 : 2);
                RGLayer& layer = Layers.Select(polyline ? 1 : 2, sem);
                LineObject = nullptr;
                Polygon = nullptr;
                if (polyline) {
                    layer.Lines.AddItem();
                    LineObject = layer.Lines.Item;
                    LineObject->Semantics = sem;
                } else {
                    layer.Polygons.AddItem();
                    Polygon = layer.Polygons.Item;
                    Polygon->Semantics = sem;
                }
                NodesLeft = count;
            } else if (NodesLeft > 0) {
                TGeoPoint at;
                ReadXYofForaString(line, at.X, at.Y);
                if (LineObject) {
                    LineObject->Nodes.AddItem();
                    LineObject->Nodes.Item->Position = at;
                } else if (Polygon) {
                    Polygon->Nodes.AddItem();
                    Polygon->Nodes.Item->Position = at;
                }
                --NodesLeft;
            }
            break;
        case TForaRecord::None:
            break;
        }
    }
    ++N;
}

void TForaFileReader::TextLine(const QString& line)
{
    if (N == 1) {
        // Size, angle in radians, then the text up to the line's last character; a
        // value not given keeps a new text's own.
        qsizetype i = 0;
        const QString size = Token(line, i);
        const QString angle = Token(line, i);
        while (i < line.size() && line[i] == QLatin1Char(' '))
            ++i;
        Caption = line.mid(i);
        Caption.chop(1);
        Size = size.isEmpty() ? TUserStyle().Size : StrToFloat(ConvertDecimalSeparator(size)) * 1000;
        Angle = angle.isEmpty() ? RGText().Angle
                                : GeoToWinAngle(RadGrad(StrToFloat(ConvertDecimalSeparator(angle))));
        return;
    }
    if (N != 2)
        return;
    TGeoPoint at;
    ReadXYofForaString(line, at.X, at.Y);
    auto text = std::make_unique<RGText>();
    text->Text = Caption;
    text->Position = at;
    text->Angle = Angle;
    text->OwnStyle = std::make_unique<TUserStyle>();
    // Kept as the file names it: drawn through the nearest font the system has.
    text->OwnStyle->FontName = QStringLiteral("bm431");
    text->OwnStyle->Color = 0;
    text->OwnStyle->Size = Size;
    text->OwnStyle->FontStyle = 0;
    Layers.Select(3, QString()).Texts.AddItem(std::move(text));
}

}  // namespace

QString TGeoMap::ConvSemOver(const QString& s)
{
    qsizetype start = 0;
    while (start < s.size() && s[start] == QLatin1Char(' '))
        ++start;
    QString line = s.mid(start);
    if (line.endsWith(QLatin1String(" #")))
        line.chop(2);
    if (line.size() > 6 && line.startsWith(QStringLiteral(".ПИКЕТ ")))
        return QStringLiteral("ПКТ/ИВ") + line.mid(7);
    if (line.size() > 7 && line.startsWith(QStringLiteral(".ОТТЯЖКА")))
        return QStringLiteral("ОТТ") + line.mid(8);
    // Kerbs: our classifier's code for them.
    if (line.size() > 6 && line.startsWith(QStringLiteral(".БОРДЮР")))
        return QStringLiteral("БРД") + line.mid(7);
    return line;
}

void TGeoMap::ReadDataFromForaFile(const QString& FileName, bool LayerAutoDetect,
                                   const QString& LayerName)
{
    TTrailGuard guard("GeoMap",
                      "function TGeoMap.ReadDataFromForaFile(const FileName:String; const "
                      "LayerAutoDetect:boolean; const LayerName:string):boolean;",
                      TrailArg("FileName", FileName), TrailArg("LayerAutoDetect", LayerAutoDetect),
                      TrailArg("LayerName", LayerName));
    if (!HasCurrentPage())
        throw Exception(QStringLiteral("Нет листа, в который читается файл обмена"));
    TForaFileReader reader(*this, LayerAutoDetect, LayerName);
    reader.Read(FileName);
}
