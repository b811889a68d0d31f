// The native plan reader. One pass over the lines with a stack of open sections; every
// open section knows the list or the element its lines act on, so that inner objects
// nested in inner objects (a polygon's inner line with its node points, a node point's
// inner texts) read back where the writer put them. Everything is read into a fresh
// tree that joins the plan only when the whole file has been read: a file that fails
// leaves the plan as it was.
#include "engine/GeoMap.h"
#include "engine/GeoMapFile.h"

#include "engine/EngineServices.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <vector>

namespace {

const QString FaultCaption = QStringLiteral("Нарушение в структуре файла данных");
constexpr int MaxOpenSections = 20;

// The user closed the duplicate-name question: the whole read is given up.
struct TReadCancelled {};

enum class TSection : std::uint8_t {
    Other,
    Info,
    Sheet,
    Layer,
    Rastrs,
    Filter,
    Texts,
    Points,
    Lines,
    Polygons,
    Hole,
    Style,
    Caption,
    LineNodeBlock,
    PolygonNodeBlock,
};

// One open section and what its lines act on. A list section acts on the current item
// of its list (the object its last "@" line started); a block acts on the one element
// it was opened for.
struct TFrame {
    QString Tag;
    TSection Kind = TSection::Other;
    TGRastrs* Rastrs = nullptr;
    TGTexts* Texts = nullptr;
    TGPoints* Points = nullptr;
    TGLines* Lines = nullptr;
    TGPolygons* Polygons = nullptr;
    RGRastr* Rastr = nullptr;
    RGIntrPolygon* Hole = nullptr;
    TUserStyle* Style = nullptr;
    RUserText* Caption = nullptr;
    RGLineNodeData* LineNode = nullptr;
    RGPolygonNode* PolygonNode = nullptr;
};

QString Text(const char16_t* s) { return QString::fromUtf16(s); }

class TPlanFileReader {
public:
    TPlanFileReader(TGeoMap& map, bool replacePlan)
        : Map(map), Ui(map.Ui()), ReplacePlan(replacePlan)
    {
    }

    // False when the user gave the read up; raises for a file that cannot be read or
    // a value that does not convert. The plan changes only when true is returned.
    bool Read(const QString& fileName);

private:
    void ReadLines(const QByteArray& bytes);
    void Dispatch(const QString& line);
    void Fault(const QString& text) { Ui.ShowMsg(FaultCaption, text); }
    QString AtLine() const
    {
        return QLatin1Char('\r') + QStringLiteral("сбой в строке ") + QString::number(LineNo);
    }
    QString Ignored(const QString& line) const
    {
        return AtLine() + QLatin1Char('\r') + QStringLiteral("текущая строка=") + line +
               QLatin1Char('\r') + QStringLiteral("Текущая строка будет игнорирована");
    }

    TFrame* Top() { return Stack.empty() ? nullptr : &Stack.back(); }
    void Open(const QString& tag, bool inner);
    void Close(const QString& tag);
    void FieldLine(const QString& tag, const QString& value);
    void ObjectStart(const QString& value);
    void PairLine(const QString& value);

    // The element in hand.
    RGPage* Sheet() const { return Staged.Item; }
    RGLayer* Layer() const { return Staged.Item ? Staged.Item->Layers.Item : nullptr; }
    RGRastr* RastrInHand(const TFrame& f) const;
    RGText* TextInHand(const TFrame& f) const { return f.Texts ? f.Texts->Item : nullptr; }
    RGPoint* PointInHand(const TFrame& f) const { return f.Points ? f.Points->Item : nullptr; }
    RGLine* LineInHand(const TFrame& f) const { return f.Lines ? f.Lines->Item : nullptr; }
    RGPolygon* PolygonInHand(const TFrame& f) const
    {
        return f.Polygons ? f.Polygons->Item : nullptr;
    }
    TUserTexts* CaptionsInHand(const TFrame& f) const;

    void NameSheet(QString name);
    void NameLayer(QString name);
    // The duplicate-name question; true with name changed to rename, false to add to
    // the existing item (all set for add-for-all). Raises TReadCancelled on anything else.
    bool AskRename(QString& name, const QString& caption, const QString& text, bool& all);

    void ApplyOpenFilter();
    void LoadRastrs();
    void Commit();

    TGeoMap& Map;
    TEngineServices& Ui;
    const bool ReplacePlan;

    TGPages Staged;   // what the file holds, joined to the plan by Commit
    QString Info;
    // A sheet or layer of the fresh tree that stands for one the plan already has: what
    // is read into it is merged into that one.
    std::unordered_map<const RGPage*, RGPage*> SheetTarget;
    std::unordered_map<const RGLayer*, RGLayer*> LayerTarget;
    bool AllSheets = false;
    bool AllLayers = false;
    bool FirstCorner = false;
    bool InfoEndedByBreak = false;   // the last line of the information was empty
    int LineNo = 0;
    std::vector<TFrame> Stack;
};

RGRastr* TPlanFileReader::RastrInHand(const TFrame& f) const
{
    if (f.Kind == TSection::Filter)
        return f.Rastr;
    return f.Rastrs ? f.Rastrs->Item : nullptr;
}

TUserTexts* TPlanFileReader::CaptionsInHand(const TFrame& f) const
{
    switch (f.Kind) {
    case TSection::Points:
        return PointInHand(f) ? &PointInHand(f)->UserTexts : nullptr;
    case TSection::Lines:
        return LineInHand(f) ? &LineInHand(f)->UserTexts : nullptr;
    case TSection::Polygons:
        return PolygonInHand(f) ? &PolygonInHand(f)->UserTexts : nullptr;
    default:
        return nullptr;
    }
}

// A byte field keeps the low eight bits of the integer, as the records store it.
std::uint8_t ToByte(const QString& s) { return static_cast<std::uint8_t>(StrToInt(s) & 0xFF); }

void ReadPair(const QString& s, Extended& x, Extended& y)
{
    Extended px = 0;
    Extended py = 0;
    // A first number that is no number gives false: the element must not keep the
    // coordinates of an earlier line, so the read ends as for any bad value.
    if (!StringToXY(s, px, py))
        throw Exception(QStringLiteral("Не получается преобразовать строку в два вещественных числа"));
    x = px;
    y = py;
}

bool TPlanFileReader::Read(const QString& fileName)
{
    const QString path = FindExistingPath(fileName);
    QFile file(path.isEmpty() ? fileName : path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл плана \"%1\": %2")
                            .arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Ошибка чтения файла плана \"%1\": %2")
                            .arg(fileName, file.errorString()));
    file.close();

    // Anything else read as a plan would pour message boxes over the user, or read as
    // an empty plan that a save would then write over a real file.
    qsizetype firstEnd = 0;
    while (firstEnd < bytes.size() && bytes[firstEnd] != '\r' && bytes[firstEnd] != '\n')
        ++firstEnd;
    const QByteArray first = bytes.left(firstEnd);
    if (DecodeCodePage(first) != PlanFileHeader)
        throw Exception(QStringLiteral("Файл \"%1\" не является файлом плана: его первая строка "
                                       "не \"%2\"")
                            .arg(fileName, PlanFileHeader));

    TEngineProgressSetup setup;
    setup.Maximum = static_cast<int>(std::min<qint64>(bytes.size(), INT_MAX));
    Int64 step = Round(static_cast<Extended>(setup.Maximum) / 50);
    step = Round(static_cast<Extended>(step) / 10) * 10;
    setup.Step = static_cast<int>(std::max<Int64>(step, 1));
    setup.Height = 8;
    Ui.SetupProgress(TEngineProgressBar::Reading, setup);
    struct TProgressEnd {
        TEngineServices& Ui;
        ~TProgressEnd() { Ui.SetProgressPosition(TEngineProgressBar::Reading, 0); }
    } progressEnd{Ui};

    try {
        Int64 total = 0;
        qsizetype start = 0;
        const qsizetype n = bytes.size();
        const char* data = bytes.constData();
        while (start < n) {
            qsizetype end = start;
            while (end < n && data[end] != '\r' && data[end] != '\n')
                ++end;
            // CR LF, a lone LF and a lone CR each end a line: information text holds
            // its line breaks as lone CRs.
            qsizetype next = end;
            if (next < n)
                next += (data[next] == '\r' && next + 1 < n && data[next + 1] == '\n') ? 2 : 1;
            total += end - start;
            if (total % setup.Step == 0)
                Ui.SetProgressPosition(TEngineProgressBar::Reading, static_cast<int>(total));
            ++LineNo;
            if (end == start) {
                if (const TFrame* top = Top(); top && top->Kind == TSection::Info)
                    InfoEndedByBreak = true;
            } else {
                const QString line = DecodeCodePage(data + start, end - start);
                try {
                    Dispatch(line);
                } catch (const Exception& e) {
                    throw Exception(e.Message + AtLine() + QStringLiteral(" файла \"%1\"").arg(fileName));
                }
            }
            start = next;
        }
    } catch (const TReadCancelled&) {
        return false;
    }

    ApplyOpenFilter();
    LoadRastrs();
    Commit();
    return true;
}

void TPlanFileReader::Dispatch(const QString& line)
{
    const QChar c = line[0];
    switch (c.unicode()) {
    case u'{':
    case u'}':
    case u'[':
    case u']':
        if (line.size() != 4) {
            Fault(QStringLiteral("строка метки раздела (группы) должна иметь 4 символа!") +
                  Ignored(line));
            return;
        }
        if (c == QLatin1Char('{') || c == QLatin1Char('['))
            Open(line.mid(1), c == QLatin1Char('['));
        else
            Close(line.mid(1));
        return;
    case u'|':
        if (line.size() < 5) {
            Fault(QStringLiteral("строка метки одиночного элемента должна иметь не менее 5 символов!") +
                  Ignored(line));
            return;
        }
        FieldLine(line.mid(1, 3), line.mid(5));
        return;
    case u'@':
        ObjectStart(line.mid(1));
        return;
    case u'$':
        PairLine(line.mid(1));
        return;
    case u'#':
        return;   // an object ends when the next one starts
    default:
        if (const TFrame* top = Top(); top && top->Kind == TSection::Info) {
            Info += UnescapeInfoLine(line);
            Info += QLatin1Char('\r');
            InfoEndedByBreak = false;
        }
        return;
    }
}

void TPlanFileReader::Open(const QString& tag, bool inner)
{
    if (static_cast<int>(Stack.size()) >= MaxOpenSections) {
        Fault(QStringLiteral("путь по разделам файла превышает 20 элементов!") + AtLine());
        return;
    }
    TFrame frame;
    frame.Tag = tag;
    const TFrame* outer = Top();
    const TSection outerKind = outer ? outer->Kind : TSection::Other;

    if (inner) {
        // One inner object of the object in hand of the enclosing section.
        if (tag == Text(u"ТЕК")) {
            frame.Kind = TSection::Texts;
            if (outer && outerKind == TSection::Points && PointInHand(*outer))
                frame.Texts = &PointInHand(*outer)->InnerTexts;
            else if (outer && outerKind == TSection::Lines && LineInHand(*outer))
                frame.Texts = &LineInHand(*outer)->InnerTexts;
            else if (outer && outerKind == TSection::Polygons && PolygonInHand(*outer))
                frame.Texts = &PolygonInHand(*outer)->InnerTexts;
        } else if (tag == Text(u"ТОЧ")) {
            frame.Kind = TSection::Points;
            if (outer && outerKind == TSection::Lines && LineInHand(*outer) &&
                LineInHand(*outer)->Nodes.Item)
                frame.Points = &LineInHand(*outer)->Nodes.Item->NodePoints;
            else if (outer && outerKind == TSection::Polygons && PolygonInHand(*outer))
                frame.Points = &PolygonInHand(*outer)->InnerPoints;
        } else if (tag == Text(u"ЛИН")) {
            frame.Kind = TSection::Lines;
            if (outer && outerKind == TSection::Polygons && PolygonInHand(*outer))
                frame.Lines = &PolygonInHand(*outer)->InnerLines;
        }
        Stack.push_back(frame);
        return;
    }

    if (tag == Text(u"ИНФ")) {
        frame.Kind = TSection::Info;
        InfoEndedByBreak = false;
    } else if (tag == Text(u"ЛСТ")) {
        frame.Kind = TSection::Sheet;
    } else if (tag == Text(u"СЛО")) {
        frame.Kind = TSection::Layer;
    } else if (tag == Text(u"РАС")) {
        frame.Kind = TSection::Rastrs;
        if (Sheet())
            frame.Rastrs = &Sheet()->Rastrs;
        else
            Fault(QStringLiteral("перед разделом растров не создано ни одного листа!") + AtLine());
    } else if (tag == Text(u"ТЕК") || tag == Text(u"ТОЧ") || tag == Text(u"ЛИН") ||
               tag == Text(u"ПОЛ")) {
        RGLayer* layer = Layer();
        QString kind;
        if (tag == Text(u"ТЕК")) {
            frame.Kind = TSection::Texts;
            frame.Texts = layer ? &layer->Texts : nullptr;
            kind = QStringLiteral("текстовых");
        } else if (tag == Text(u"ТОЧ")) {
            frame.Kind = TSection::Points;
            frame.Points = layer ? &layer->Points : nullptr;
            kind = QStringLiteral("точечных");
        } else if (tag == Text(u"ЛИН")) {
            frame.Kind = TSection::Lines;
            frame.Lines = layer ? &layer->Lines : nullptr;
            kind = QStringLiteral("линейных");
        } else {
            frame.Kind = TSection::Polygons;
            frame.Polygons = layer ? &layer->Polygons : nullptr;
            kind = QStringLiteral("площадных");
        }
        if (!layer)
            Fault(QStringLiteral("перед разделом %1 объектов не создано ни одного слоя!").arg(kind) +
                  AtLine());
    } else if (tag == Text(u"ВПО")) {
        frame.Kind = TSection::Hole;
        if (outer && outerKind == TSection::Polygons && PolygonInHand(*outer)) {
            RGPolygon* polygon = PolygonInHand(*outer);
            polygon->Holes.AddItem();
            frame.Hole = polygon->Holes.Item;
        }
    } else if (tag == Text(u"сти")) {
        frame.Kind = TSection::Style;
        if (outer && outerKind == TSection::Texts && TextInHand(*outer)) {
            RGText* text = TextInHand(*outer);
            text->OwnStyle = std::make_unique<TUserStyle>();
            frame.Style = text->OwnStyle.get();
        }
    } else if (tag == Text(u"нап")) {
        frame.Kind = TSection::Caption;
        if (TUserTexts* captions = outer ? CaptionsInHand(*outer) : nullptr) {
            captions->AddItem();
            frame.Caption = captions->Item;
        }
    } else if (tag == Text(u"нау")) {
        if (outer && outerKind == TSection::Lines) {
            frame.Kind = TSection::LineNodeBlock;
            if (RGLine* line = LineInHand(*outer))
                frame.LineNode = line->Nodes.Item;
        } else if (outer && outerKind == TSection::Polygons) {
            frame.Kind = TSection::PolygonNodeBlock;
            if (RGPolygon* polygon = PolygonInHand(*outer))
                frame.PolygonNode = polygon->Nodes.Item;
        } else if (outer && outerKind == TSection::Hole) {
            frame.Kind = TSection::PolygonNodeBlock;
            if (outer->Hole)
                frame.PolygonNode = outer->Hole->Nodes.Item;
        }
    } else if (tag == Text(u"фил")) {
        frame.Kind = TSection::Filter;
        frame.Rastr = outer ? RastrInHand(*outer) : nullptr;
    }
    Stack.push_back(frame);
}

void TPlanFileReader::Close(const QString& tag)
{
    if (Stack.empty()) {
        Fault(QStringLiteral("количество меток начала раздела меньше чем количесво меток конца раздела!") +
              AtLine());
        return;
    }
    if (Stack.back().Tag != tag) {
        Fault(QStringLiteral("метка начала раздела ") + Stack.back().Tag +
              QStringLiteral(" не соответствует метке конца раздела ") + tag +
              QStringLiteral(" !") + AtLine());
        return;
    }
    // The writer puts the text's own last line break before the line end of its last
    // line, which leaves an empty line before the section's end; without that empty
    // line the text ended without a break, and keeps ending so.
    if (Stack.back().Kind == TSection::Info && !InfoEndedByBreak && Info.endsWith(QLatin1Char('\r')))
        Info.chop(1);
    Stack.pop_back();
}

void TPlanFileReader::ObjectStart(const QString& value)
{
    TFrame* top = Top();
    if (!top)
        return;
    const TOpenFilter& filter = Map.OpenFilter;
    switch (top->Kind) {
    case TSection::Rastrs:
        if (top->Rastrs) {
            top->Rastrs->AddItem();
            top->Rastrs->Item->FileName = value;
            FirstCorner = true;
        }
        return;
    case TSection::Texts:
        if (top->Texts) {
            top->Texts->AddItem();
            top->Texts->Item->Text = value;
        }
        return;
    case TSection::Points:
        if (top->Points) {
            top->Points->AddItem();
            top->Points->Item->Semantics = filter.ReplacePoint != 0 ? filter.PointSemantics : value;
        }
        return;
    case TSection::Lines:
        if (top->Lines) {
            top->Lines->AddItem();
            top->Lines->Item->Semantics = filter.ReplaceLine != 0 ? filter.LineSemantics : value;
        }
        return;
    case TSection::Polygons:
        if (top->Polygons) {
            top->Polygons->AddItem();
            top->Polygons->Item->Semantics =
                filter.ReplacePolygon != 0 ? filter.PolygonSemantics : value;
        }
        return;
    default:
        return;
    }
}

void TPlanFileReader::PairLine(const QString& value)
{
    TFrame* top = Top();
    if (!top)
        return;
    switch (top->Kind) {
    case TSection::Rastrs:
        if (RGRastr* rastr = RastrInHand(*top)) {
            TGeoPoint& corner = FirstCorner ? rastr->BottomLeft : rastr->TopRight;
            ReadPair(value, corner.X, corner.Y);
            FirstCorner = false;
        }
        return;
    case TSection::Texts:
        if (RGText* text = TextInHand(*top))
            ReadPair(value, text->Position.X, text->Position.Y);
        return;
    case TSection::Points:
        if (RGPoint* point = PointInHand(*top))
            ReadPair(value, point->Position.X, point->Position.Y);
        return;
    case TSection::Lines:
        if (RGLine* line = LineInHand(*top)) {
            TGeoPoint p;
            ReadPair(value, p.X, p.Y);
            line->Nodes.AddItem();
            line->Nodes.Item->Position = p;
        }
        return;
    case TSection::Polygons:
        if (RGPolygon* polygon = PolygonInHand(*top)) {
            TGeoPoint p;
            ReadPair(value, p.X, p.Y);
            polygon->Nodes.AddItem();
            polygon->Nodes.Item->Position = p;
        }
        return;
    case TSection::Hole:
        if (top->Hole) {
            TGeoPoint p;
            ReadPair(value, p.X, p.Y);
            top->Hole->Nodes.AddItem();
            top->Hole->Nodes.Item->Position = p;
        }
        return;
    default:
        return;
    }
}

void TPlanFileReader::FieldLine(const QString& tag, const QString& value)
{
    TFrame* top = Top();
    if (!top)
        return;
    const auto is = [&tag](const char16_t* t) { return tag == QStringView(t); };

    switch (top->Kind) {
    case TSection::Sheet:
        if (is(u"имя"))
            NameSheet(value);
        else if (is(u"вид") && Sheet())
            Sheet()->Visible = ToByte(value);
        return;
    case TSection::Layer:
        if (is(u"имя") && Sheet())
            NameLayer(value);
        else if (is(u"вид") && Layer())
            Layer()->Visible = ToByte(value);
        return;
    case TSection::Rastrs:
    case TSection::Filter: {
        RGRastr* rastr = RastrInHand(*top);
        if (!rastr)
            return;
        if (is(u"вид") && top->Kind == TSection::Rastrs) {
            rastr->Visible = ToByte(value);
        } else if (is(u"заг")) {
            rastr->LoadOnOpen = ToByte(value);
        } else if (is(u"фил")) {
            rastr->FilterName = value;
            rastr->FilterOn = 1;
        } else if (is(u"ярк") || is(u"кра") || is(u"зел") || is(u"син")) {
            const std::uint8_t v = ToByte(value);
            (is(u"ярк") ? rastr->Brightness
                        : is(u"кра") ? rastr->Red : is(u"зел") ? rastr->Green : rastr->Blue) = v;
            rastr->FilterOn = 1;
        }
        return;
    }
    case TSection::Texts:
        if (RGText* text = TextInHand(*top)) {
            if (is(u"сти"))
                text->StyleName = value;
            else if (is(u"кор"))
                text->SizeFactor = StrToFlt(value);
            else if (is(u"пов"))
                text->Angle = StrToInt(value);
        }
        return;
    case TSection::Style:
        if (TUserStyle* style = top->Style) {
            if (is(u"шри"))
                style->FontName = value;
            else if (is(u"цве"))
                style->Color = StrToInt(value);
            else if (is(u"раз"))
                style->Size = StrToFlt(value);
            else if (is(u"стш") && value.size() == 4)
                style->FontStyle = StrToFontStyles(value);
        }
        return;
    case TSection::Caption:
        if (RUserText* caption = top->Caption) {
            if (is(u"вид"))
                caption->Show = ToByte(value);
            else if (is(u"пов"))
                caption->Angle = StrToInt(value);
            else if (is(u"дви"))
                ReadPair(value, caption->Dx, caption->Dy);
            else if (is(u"раз"))
                caption->SizeFactor = StrToFlt(value);
        }
        return;
    case TSection::Points:
        if (RGPoint* point = PointInHand(*top)) {
            if (is(u"кач"))
                point->Precision = ToByte(value);
            else if (is(u"угз"))
                point->SignAngle = StrToFlt(value);
            else if (is(u"лип"))
                point->LeaderLine = ToByte(value);
            else if (is(u"онн"))
                point->AllUserTextsFromFirst = 1;
        }
        return;
    case TSection::Lines:
        if (RGLine* line = LineInHand(*top)) {
            if (is(u"кач")) {
                line->Precision = ToByte(value);
            } else if (is(u"дли")) {
                line->OverLines.append(value);
            } else if (is(u"фап")) {
                line->StripWidth = StrToFlt(value);
                line->Strip = 1;
            } else if (RGLineNode* node = line->Nodes.Item) {
                // Two node fields stand outside a node block in older files.
                if (is(u"тиу"))
                    node->NodeType = ToByte(value);
                else if (is(u"кри"))
                    node->Curve = 1;
            }
        }
        return;
    case TSection::Polygons:
        if (RGPolygon* polygon = PolygonInHand(*top)) {
            if (is(u"кач"))
                polygon->Precision = ToByte(value);
            else if (is(u"двз"))
                ReadPair(value, polygon->CaptionShift.X, polygon->CaptionShift.Y);
            else if (is(u"тит"))
                polygon->CaptionAngle = StrToInt(value);
        }
        return;
    case TSection::LineNodeBlock:
        if (RGLineNodeData* node = top->LineNode) {
            if (is(u"тиу"))
                node->NodeType = ToByte(value);
            else if (is(u"кри"))
                node->Curve = 1;
            else if (is(u"поз"))
                node->SignShift = StrToFlt(value);
            else if (is(u"штр"))
                node->SegmentType = ToByte(value);
            else if (is(u"счт"))
                node->TextCounter = StrToInt(value);
            else if (is(u"инв"))
                node->InvertText = ToByte(value);
        }
        return;
    case TSection::PolygonNodeBlock:
        if (RGPolygonNode* node = top->PolygonNode) {
            if (is(u"кри"))
                node->Curve = 1;
            else if (is(u"поз"))
                node->SignShift = StrToFlt(value);
            else if (is(u"сет"))
                node->SegmentType = ToByte(value);
            else if (is(u"сес"))
                node->SegmentStyle = ToByte(value);
            else if (is(u"угл"))
                node->CornerLine = ToByte(value);
            else if (is(u"угр"))
                node->CornerPicture = ToByte(value);
        }
        return;
    default:
        return;
    }
}

bool TPlanFileReader::AskRename(QString& name, const QString& caption, const QString& text,
                                bool& all)
{
    for (;;) {
        QString edited = name;
        const int answer = Ui.DublicateItem(edited, caption, text);
        switch (answer) {
        case 6:
            // An empty name is no free name: the question comes again.
            if (edited.isEmpty())
                continue;
            name = edited;
            return true;
        case 7:
            return false;
        case 9:
            all = true;
            return false;
        default:
            // Esc, the close box or no window at all: asking again would never end.
            throw TReadCancelled();
        }
    }
}

void TPlanFileReader::NameSheet(QString name)
{
    const QString caption = QStringLiteral("Лист уже существует!");
    const QString text =
        QStringLiteral("Названия листов не должны повторяться. выберете новое название:");
    for (;;) {
        // The plan's own sheets first, then those this file made.
        RGPage* existing = nullptr;
        if (!ReplacePlan)
            for (const auto& page : Map.Pages)
                if (page->Name == name) {
                    existing = page.get();
                    break;
                }
        RGPage* staged = nullptr;
        if (!existing)
            for (const auto& page : Staged)
                if (!SheetTarget.count(page.get()) && page->Name == name) {
                    staged = page.get();
                    break;
                }
        if (!existing && !staged) {
            Staged.AddItem();
            Staged.Item->Name = name;
            return;
        }
        if (AllSheets || !AskRename(name, caption, text, AllSheets)) {
            if (staged) {
                for (int i = 0; i < Staged.GetCount(); ++i)
                    if (Staged.At(i) == staged)
                        Staged.GoItem(i);
                return;
            }
            for (int i = 0; i < Staged.GetCount(); ++i)
                if (SheetTarget.count(Staged.At(i)) && SheetTarget.at(Staged.At(i)) == existing) {
                    Staged.GoItem(i);
                    return;
                }
            Staged.AddItem();
            Staged.Item->Name = existing->Name;
            Staged.Item->Visible = existing->Visible;
            SheetTarget[Staged.Item] = existing;
            return;
        }
    }
}

void TPlanFileReader::NameLayer(QString name)
{
    const QString caption = QStringLiteral("Слой уже существует!");
    const QString text = QStringLiteral(
        "Названия слоев в одном листе не должны повторяться. выберете новое название:");
    RGPage* sheet = Sheet();
    const auto target = SheetTarget.find(sheet);
    RGPage* existingSheet = target != SheetTarget.end() ? target->second : nullptr;
    for (;;) {
        RGLayer* existing = nullptr;
        if (existingSheet)
            for (const auto& layer : existingSheet->Layers)
                if (layer->Name == name) {
                    existing = layer.get();
                    break;
                }
        RGLayer* staged = nullptr;
        if (!existing)
            for (const auto& layer : sheet->Layers)
                if (!LayerTarget.count(layer.get()) && layer->Name == name) {
                    staged = layer.get();
                    break;
                }
        if (!existing && !staged) {
            sheet->Layers.AddItem();
            sheet->Layers.Item->Name = name;
            return;
        }
        if (AllLayers || !AskRename(name, caption, text, AllLayers)) {
            TGLayers& layers = sheet->Layers;
            for (int i = 0; i < layers.GetCount(); ++i) {
                RGLayer* l = layers.At(i);
                const bool hit = staged ? l == staged
                                        : (LayerTarget.count(l) && LayerTarget.at(l) == existing);
                if (hit) {
                    layers.GoItem(i);
                    return;
                }
            }
            layers.AddItem();
            layers.Item->Name = existing->Name;
            layers.Item->Visible = existing->Visible;
            LayerTarget[layers.Item] = existing;
            return;
        }
    }
}

// Only what this read brought in is filtered: the plan's own objects stay.
void TPlanFileReader::ApplyOpenFilter()
{
    const TOpenFilter& filter = Map.OpenFilter;
    for (const auto& sheet : Staged) {
        if (filter.LoadRastrs == 0)
            sheet->Rastrs.DeleteAll();
        for (const auto& layer : sheet->Layers) {
            if (filter.LoadTexts == 0)
                layer->Texts.DeleteAll();
            if (filter.LoadPoints == 0)
                layer->Points.DeleteAll();
            if (filter.LoadLines == 0)
                layer->Lines.DeleteAll();
            if (filter.LoadPolygons == 0)
                layer->Polygons.DeleteAll();
        }
    }
}

void TPlanFileReader::LoadRastrs()
{
    for (const auto& sheet : Staged)
        for (const auto& rastr : sheet->Rastrs) {
            if (rastr->LoadOnOpen == 0)
                continue;
            if (FileExistsIgnoringCase(rastr->FileName) &&
                LoadRastrPicture(FindExistingPath(rastr->FileName), *rastr->Picture)) {
                rastr->Loaded = 1;
                Map.RastrHeight = rastr->Picture->Height();
                Map.RastrWidth = rastr->Picture->Width();
                // The picture as the file holds it: no colour filter applied to it yet.
                rastr->FilterApplied = 0;
            } else {
                rastr->Loaded = 0;
                rastr->FilterApplied = 0;
            }
        }
}

// Appends every record of from to to, in order; taken from the back, so that a layer
// of many objects moves in linear time.
template <class L>
void MoveAll(L& from, L& to)
{
    std::vector<decltype(from.Extract())> records;
    records.reserve(from.GetCount());
    while (from.GoLastItem())
        records.push_back(from.Extract());
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        to.AddItem(std::move(*it));
}

void TPlanFileReader::Commit()
{
    if (ReplacePlan) {
        Map.Pages.DeleteAll();
        Map.MapProp.Info = Info;
    }
    // A merge keeps the plan's own information text: the merged file's sheets join the
    // plan, its description does not replace the plan's.
    TGPages& pages = Map.Pages;
    int lastSheet = -1;
    while (Staged.GoFirstItem()) {
        std::unique_ptr<RGPage> sheet = Staged.Extract();
        const auto target = SheetTarget.find(sheet.get());
        if (target == SheetTarget.end()) {
            pages.AddItem(std::move(sheet));
            lastSheet = pages.GetIndex();
            continue;
        }
        RGPage* into = target->second;
        into->Visible = sheet->Visible;
        MoveAll(sheet->Rastrs, into->Rastrs);
        while (sheet->Layers.GoFirstItem()) {
            std::unique_ptr<RGLayer> layer = sheet->Layers.Extract();
            const auto layerTarget = LayerTarget.find(layer.get());
            if (layerTarget == LayerTarget.end()) {
                into->Layers.AddItem(std::move(layer));
                continue;
            }
            RGLayer* intoLayer = layerTarget->second;
            intoLayer->Visible = layer->Visible;
            MoveAll(layer->Texts, intoLayer->Texts);
            MoveAll(layer->Points, intoLayer->Points);
            MoveAll(layer->Lines, intoLayer->Lines);
            MoveAll(layer->Polygons, intoLayer->Polygons);
            for (int i = 0; i < into->Layers.GetCount(); ++i)
                if (into->Layers.At(i) == intoLayer)
                    into->Layers.GoItem(i);
        }
        for (int i = 0; i < pages.GetCount(); ++i)
            if (pages.At(i) == into)
                lastSheet = i;
    }
    if (lastSheet >= 0)
        pages.GoItem(lastSheet);
}

}  // namespace

bool TGeoMap::ReadDataFromFile(const QString& FileName, bool ReplacePlan)
{
    TTrailGuard guard("GeoMap",
                      "function TGeoMap.ReadDataFromFile(const FileName:String; const "
                      "LayerAutoDetect:boolean; const LayerName:string):boolean;",
                      TrailArg("FileName", FileName));
    return TPlanFileReader(*this, ReplacePlan).Read(FileName);
}

bool LoadRastrPicture(const QString& fileName, TRastrPicture& picture)
{
    QImageReader reader(fileName);
    QImage image = reader.read();
    if (image.isNull())
        return false;
    picture.Image = std::move(image);
    return true;
}
