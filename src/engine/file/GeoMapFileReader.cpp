// The native plan reader. One pass over the lines with a stack of open sections; every
// open section knows the list or the element its lines act on, so that inner objects
// nested in inner objects (a polygon's inner line with its node points, a node point's
// inner texts) read back where the writer put them. Everything is read into a fresh
// tree that joins the plan only when the whole file has been read: a file that fails
// leaves the plan as it was.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapFile.h"

#include "engine/EngineServices.h"
#include "engine/commands/RasterFilter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsPicture.h"
#include "foundation/StringNum.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QHash>
#include <QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

const QString FaultCaption = QStringLiteral("Нарушение в структуре файла данных");
constexpr int MaxOpenSections = 20;
// Structural faults shown one by one; the rest are counted and reported together, so
// that a badly damaged file does not hold the user in an endless row of message boxes.
constexpr int MaxShownFaults = 20;

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
    bool Inner = false;   // opened by "[": one inner object of the enclosing object
    // Opened where the format allows no such section, or inside such a one: its lines
    // act on nothing, and its end line only closes it.
    bool Dead = false;
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

// Whether a section of this tag may open in outer (null: outside every section). An
// object's block or inner object anywhere but where the writer puts it would act on an
// element it does not belong to: a second own-style block opened inside a text's own
// style replaced the style the outer block still filled. A tag the format does not
// know may stand anywhere; its lines act on nothing.
bool SectionAllowed(const QString& tag, bool inner, const TFrame* outer)
{
    const TSection in = outer ? outer->Kind : TSection::Other;
    const auto is = [&tag](const char16_t* t) { return tag == QStringView(t); };
    const bool objects = in == TSection::Points || in == TSection::Lines || in == TSection::Polygons;
    if (inner) {
        if (is(u"ТЕК"))
            return objects;
        if (is(u"ТОЧ"))
            return in == TSection::Lines || in == TSection::Polygons;
        if (is(u"ЛИН"))
            return in == TSection::Polygons;
        return true;
    }
    // The document's own sections act on the current sheet or layer, which no later
    // line frees; outside their place they report a missing sheet or layer instead.
    if (is(u"ИНФ") || is(u"ЛСТ") || is(u"СЛО") || is(u"РАС") || is(u"ТЕК") || is(u"ТОЧ") ||
        is(u"ЛИН") || is(u"ПОЛ"))
        return !outer || in == TSection::Sheet || in == TSection::Layer;
    if (is(u"ВПО"))
        return in == TSection::Polygons && !outer->Inner;
    if (is(u"сти"))
        return in == TSection::Texts;
    if (is(u"нап"))
        return objects;
    if (is(u"нау"))
        return in == TSection::Lines || in == TSection::Polygons || in == TSection::Hole;
    if (is(u"фил"))
        return in == TSection::Rastrs;
    return true;
}

// The tags of the sections the writer writes.
bool KnownTag(const QString& tag)
{
    for (const char16_t* known : {u"ИНФ", u"ЛСТ", u"СЛО", u"РАС", u"ТЕК", u"ТОЧ", u"ЛИН", u"ПОЛ",
                                  u"ВПО", u"сти", u"нап", u"нау", u"фил"})
        if (tag == QStringView(known))
            return true;
    return false;
}

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
    void Dispatch(const QString& line);
    // Line becomes the code page 1251 text of the bytes, in the storage it already has.
    void DecodeLine(const char* bytes, qsizetype size)
    {
        static const struct TDecodeTable {
            char16_t Char[256];
            TDecodeTable()
            {
                char all[256];
                for (int i = 0; i < 256; ++i)
                    all[i] = static_cast<char>(i);
                const QString decoded = DecodeCodePage(all, 256, TCodePage::Cp1251);
                for (int i = 0; i < 256; ++i)
                    Char[i] = decoded.at(i).unicode();
            }
        } table;
        Line.resize(size);
        QChar* out = Line.data();
        for (qsizetype i = 0; i < size; ++i)
            out[i] = QChar(table.Char[static_cast<unsigned char>(bytes[i])]);
    }
    void Fault(const QString& text)
    {
        if (++Faults > MaxShownFaults) {
            LastHiddenFault = LineNo;
            return;
        }
        Ui.ShowMsg(FaultCaption, text);
    }
    QString AtLine() const
    {
        return QLatin1Char('\r') + QStringLiteral("сбой в строке ") + QString::number(LineNo);
    }
    QString Ignored(const QString& line) const
    {
        return AtLine() + QLatin1Char('\r') + QStringLiteral("текущая строка=") + Quoted(line) +
               QLatin1Char('\r') + QStringLiteral("Текущая строка будет игнорирована");
    }
    // A line as a message shows it: a damaged file may hold a line of megabytes, which
    // no message box can lay out.
    static QString Quoted(const QString& line)
    {
        constexpr qsizetype shown = 200;
        return line.size() <= shown ? line : line.left(shown) + QStringLiteral("…");
    }

    TFrame* Top() { return Stack.empty() ? nullptr : &Stack.back(); }
    // A list read whole keeps no room for more: a plan holds tens of thousands of them.
    void CompactObject(const TFrame& f);
    void CompactFrame(const TFrame& f);
    void Open(const QString& tag, bool inner);
    void Close(const QString& tag);
    void FieldLine(const QString& tag, const QString& value);
    void ObjectStart(const QString& value);
    void PairLine(QStringView value);

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
    // A sheet or layer of the fresh tree that stands for one the plan already has (by
    // its position in the plan's sheet list or in its sheet's layer list): what is
    // read into it is merged into that one.
    std::unordered_map<const RGPage*, int> SheetTarget;
    std::unordered_map<const RGLayer*, int> LayerTarget;
    // Names looked up by hash, so that a plan of many sheets and layers reads in linear
    // time: the position of the first sheet or layer of each name, of the plan and of
    // the fresh tree (those that stand for one of the plan's not counted), and the
    // fresh item standing for each sheet or layer of the plan.
    QHash<QString, int> PlanSheets;
    QHash<QString, int> StagedSheets;
    std::unordered_map<int, int> SheetProxies;
    struct TSheetNames {
        QHash<QString, int> PlanLayers;     // of the plan's sheet it stands for
        QHash<QString, int> StagedLayers;
        std::unordered_map<int, int> LayerProxies;
    };
    std::unordered_map<const RGPage*, TSheetNames> LayerNames;
    bool AllSheets = false;
    bool AllLayers = false;
    bool FirstCorner = false;
    bool InfoEndedByBreak = false;   // the last line of the information was empty
    int LineNo = 0;
    int Faults = 0;
    int LastHiddenFault = 0;
    // Lines that went into nothing: what a save of the plan would no longer hold.
    int Skipped = 0;
    // The first end line that did not match the open section: the sections left open
    // at the end then come from it, not from a file cut short.
    int MismatchLine = 0;
    QString MismatchOpen;
    QString MismatchEnd;
    std::vector<TFrame> Stack;
    QString Line;   // the line being read
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

void ReadPair(QStringView s, Extended& x, Extended& y)
{
    if (ShortStringToXY(s, x, y))
        return;
    Extended px = 0;
    Extended py = 0;
    // A first number that is no number gives false: the element must not keep the
    // coordinates of an earlier line, so the read ends as for any bad value.
    if (!StringToXY(s.toString(), px, py))
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
    // Anything else read as a plan would pour message boxes over the user, or read as
    // an empty plan that a save would then write over a real file. Looked at before
    // the file is read, so that a large file of another kind is not read whole.
    const QByteArray head = file.peek(PlanFileHeader.size() + 1);
    qsizetype firstEnd = 0;
    while (firstEnd < head.size() && head[firstEnd] != '\r' && head[firstEnd] != '\n')
        ++firstEnd;
    if (DecodeCodePage(head.left(firstEnd)) != PlanFileHeader)
        throw Exception(QStringLiteral("Файл \"%1\" не является файлом плана: его первая строка "
                                       "не \"%2\"")
                            .arg(fileName, PlanFileHeader));

    if (!ReplacePlan)
        for (int i = 0; i < Map.Pages.GetCount(); ++i)
            if (!PlanSheets.contains(Map.Pages.At(i)->Name))
                PlanSheets.insert(Map.Pages.At(i)->Name, i);

    TEngineProgressSetup setup;
    setup.Maximum = static_cast<int>(std::min<qint64>(file.size(), INT_MAX));
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
        // The file is read a block at a time, so that only one block and the tree being
        // built are in memory, never the whole file beside the tree. A line that goes
        // on past a block waits, with the bytes after it, for the next one.
        constexpr qint64 BlockSize = 1 << 20;
        QByteArray block;
        // The unfinished line kept from one block is read on with at least half a block,
        // so that the block's storage stays as it is unless a line is longer than a block.
        block.reserve(BlockSize + BlockSize / 2);
        qsizetype kept = 0;       // bytes of an unfinished line at the start of block
        bool skipLf = false;      // a CR ended the last block's last line: an LF after it belongs to it
        Int64 total = 0;
        for (;;) {
            const qint64 want = std::max<qint64>(BlockSize - kept, BlockSize / 2);
            block.resize(kept + want);
            const qint64 got = file.read(block.data() + kept, want);
            if (got < 0 || file.error() != QFileDevice::NoError)
                throw Exception(QStringLiteral("Ошибка чтения файла плана \"%1\": %2")
                                    .arg(fileName, file.errorString()));
            const bool last = got == 0;
            const qsizetype n = kept + got;
            const char* data = block.constData();
            qsizetype start = 0;
            if (skipLf && n > 0) {
                if (data[0] == '\n')
                    start = 1;
                skipLf = false;
            }
            while (start < n) {
                // The bytes kept from the last block hold no line end: not looked at again.
                qsizetype end = std::max(start, kept);
                while (end < n && data[end] != '\r' && data[end] != '\n')
                    ++end;
                if (end == n && !last)
                    break;   // the line goes on in the next block
                // CR LF, a lone LF and a lone CR each end a line: information text holds
                // its line breaks as lone CRs.
                qsizetype next = end;
                if (next < n) {
                    if (data[next] == '\r' && next + 1 == n && !last)
                        skipLf = true;   // whether an LF follows shows in the next block
                    next += (data[next] == '\r' && next + 1 < n && data[next + 1] == '\n') ? 2 : 1;
                }
                total += end - start;
                if (total % setup.Step == 0)
                    Ui.SetProgressPosition(TEngineProgressBar::Reading,
                                           static_cast<int>(std::min<Int64>(total, setup.Maximum)));
                ++LineNo;
                if (end == start) {
                    if (const TFrame* top = Top(); top && top->Kind == TSection::Info)
                        InfoEndedByBreak = true;
                } else {
                    // The writer never writes a NUL: a line holding one is damage, even
                    // where the rest of it reads.
                    if (std::memchr(data + start, 0, static_cast<std::size_t>(end - start)))
                        ++Skipped;
                    DecodeLine(data + start, end - start);
                    try {
                        Dispatch(Line);
                    } catch (const Exception& e) {
                        throw Exception(e.Message + AtLine() + QStringLiteral(" файла \"%1\"").arg(fileName));
                    }
                }
                start = next;
                kept = 0;
            }
            if (last)
                break;
            kept = n - start;
            std::memmove(block.data(), data + start, static_cast<std::size_t>(kept));
        }
        file.close();
    } catch (const TReadCancelled&) {
        return false;
    }
    if (Faults > MaxShownFaults)
        Ui.ShowMsg(FaultCaption, QStringLiteral("Еще не показанных нарушений в структуре файла: %1 "
                                                "(последнее в строке %2)")
                                     .arg(Faults - MaxShownFaults)
                                     .arg(LastHiddenFault));
    // The writer closes every section it opens: a file that ends inside one was cut
    // short, and what it still holds is not the plan that was saved.
    if (!Stack.empty()) {
        QStringList open;
        for (const TFrame& frame : Stack)
            open.append(frame.Tag);
        if (MismatchLine > 0)
            throw Exception(QStringLiteral("Файл плана \"%1\" поврежден: метка конца раздела %2 "
                                           "в строке %3 не соответствует открытому разделу %4, "
                                           "и разделы %5 остались незакрытыми")
                                .arg(fileName, MismatchEnd)
                                .arg(MismatchLine)
                                .arg(MismatchOpen, open.join(QStringLiteral(", "))));
        throw Exception(QStringLiteral("Файл плана \"%1\" оборван: после последней строки (%2) "
                                       "остались незакрытыми разделы %3")
                            .arg(fileName)
                            .arg(LineNo)
                            .arg(open.join(QStringLiteral(", "))));
    }

    ApplyOpenFilter();
    LoadRastrs();
    Commit();
    Map.ReadSkipped = Faults + Skipped;
    return true;
}

void TPlanFileReader::Dispatch(const QString& line)
{
    const QChar c = line[0];
    const bool structural = c == QLatin1Char('{') || c == QLatin1Char('}') ||
                            c == QLatin1Char('[') || c == QLatin1Char(']');
    // Inside a section the format does not know (or one standing where none may) the
    // lines act on nothing: a plan in another code page reads wholly so.
    if (const TFrame* top = Top(); top && top->Kind == TSection::Other && !structural)
        ++Skipped;
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
        PairLine(QStringView(line).mid(1));
        return;
    case u'#':
        return;   // an object ends when the next one starts
    default:
        if (const TFrame* top = Top(); top && top->Kind == TSection::Info) {
            Info += UnescapeInfoLine(line);
            Info += QLatin1Char('\r');
            InfoEndedByBreak = false;
        } else if (!top && LineNo > 1) {
            ++Skipped;   // outside every section only the header stands
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
    frame.Inner = inner;
    const TFrame* outer = Top();
    const TSection outerKind = outer ? outer->Kind : TSection::Other;
    if (outer && outer->Dead) {
        frame.Dead = true;   // its enclosing section was reported already
        Stack.push_back(frame);
        return;
    }
    if (!SectionAllowed(tag, inner, outer)) {
        Fault(QStringLiteral("раздел %1%2 не может стоять %3! Его строки будут игнорированы")
                  .arg(inner ? QLatin1Char('[') : QLatin1Char('{'))
                  .arg(tag)
                  .arg(outer ? QStringLiteral("в разделе ") + outer->Tag : QStringLiteral("вне разделов")) +
              AtLine());
        frame.Dead = true;
        Stack.push_back(frame);
        return;
    }
    if (!KnownTag(tag))
        ++Skipped;   // whatever such a section held, the plan does not

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

// The lists of an object are compacted once the object is whole, never while its
// inner objects are still being added: compacting at every inner object's end, then
// growing again, made an object of many inner objects read in quadratic time.
void TPlanFileReader::CompactObject(const TFrame& f)
{
    if (RGPoint* point = PointInHand(f))
        point->InnerTexts.Compact();
    if (RGLine* line = LineInHand(f)) {
        line->Nodes.Compact();
        if (line->Nodes.Item)
            line->Nodes.Item->NodePoints.Compact();
        line->InnerTexts.Compact();
    }
    if (RGPolygon* polygon = PolygonInHand(f)) {
        polygon->Nodes.Compact();
        polygon->Holes.Compact();
        polygon->InnerTexts.Compact();
        polygon->InnerPoints.Compact();
        polygon->InnerLines.Compact();
    }
}

void TPlanFileReader::CompactFrame(const TFrame& f)
{
    CompactObject(f);
    if (f.Hole)
        f.Hole->Nodes.Compact();
    // An inner section is one object of its owner's list, which goes on growing: the
    // owner compacts it when it is whole.
    if (f.Inner)
        return;
    if (f.Texts)
        f.Texts->Compact();
    if (f.Points)
        f.Points->Compact();
    if (f.Lines)
        f.Lines->Compact();
    if (f.Polygons)
        f.Polygons->Compact();
}

void TPlanFileReader::Close(const QString& tag)
{
    if (Stack.empty()) {
        Fault(QStringLiteral("количество меток начала раздела меньше чем количесво меток конца раздела!") +
              AtLine());
        return;
    }
    if (Stack.back().Tag != tag) {
        if (MismatchLine == 0) {
            MismatchLine = LineNo;
            MismatchOpen = Stack.back().Tag;
            MismatchEnd = tag;
        }
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
    CompactFrame(Stack.back());
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
            CompactObject(*top);
            top->Points->AddItem();
            top->Points->Item->Semantics = filter.ReplacePoint != 0 ? filter.PointSemantics : value;
        }
        return;
    case TSection::Lines:
        if (top->Lines) {
            CompactObject(*top);
            top->Lines->AddItem();
            top->Lines->Item->Semantics = filter.ReplaceLine != 0 ? filter.LineSemantics : value;
        }
        return;
    case TSection::Polygons:
        if (top->Polygons) {
            CompactObject(*top);
            top->Polygons->AddItem();
            top->Polygons->Item->Semantics =
                filter.ReplacePolygon != 0 ? filter.PolygonSemantics : value;
        }
        return;
    default:
        return;
    }
}

void TPlanFileReader::PairLine(QStringView value)
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
            if (line->Nodes.Item)
                line->Nodes.Item->NodePoints.Compact();   // the node before is whole
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
                // Two node fields stand outside a node block in older files: the node
                // type in a line of the layer, the curve flag in a polygon's inner line.
                if (is(u"тиу") && !top->Inner)
                    node->NodeType = ToByte(value);
                else if (is(u"кри") && top->Inner)
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
        const int existing = ReplacePlan ? -1 : PlanSheets.value(name, -1);
        const int staged = existing < 0 ? StagedSheets.value(name, -1) : -1;
        if (existing < 0 && staged < 0) {
            Staged.AddItem();
            Staged.Item->Name = name;
            StagedSheets.insert(name, Staged.GetIndex());
            return;
        }
        if (AllSheets || !AskRename(name, caption, text, AllSheets)) {
            if (staged >= 0) {
                Staged.GoItem(staged);
                return;
            }
            if (const auto proxy = SheetProxies.find(existing); proxy != SheetProxies.end()) {
                Staged.GoItem(proxy->second);
                return;
            }
            const RGPage& into = *Map.Pages.At(existing);
            Staged.AddItem();
            Staged.Item->Name = into.Name;
            Staged.Item->Visible = into.Visible;
            SheetTarget[Staged.Item] = existing;
            SheetProxies[existing] = Staged.GetIndex();
            TSheetNames& names = LayerNames[Staged.Item];
            for (int i = 0; i < into.Layers.GetCount(); ++i)
                if (!names.PlanLayers.contains(into.Layers.At(i)->Name))
                    names.PlanLayers.insert(into.Layers.At(i)->Name, i);
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
    TSheetNames& names = LayerNames[sheet];
    TGLayers& layers = sheet->Layers;
    for (;;) {
        // The layers of the plan's sheet this one stands for first, then those of this
        // sheet the file made.
        const int existing = names.PlanLayers.value(name, -1);
        const int staged = existing < 0 ? names.StagedLayers.value(name, -1) : -1;
        if (existing < 0 && staged < 0) {
            layers.AddItem();
            layers.Item->Name = name;
            names.StagedLayers.insert(name, layers.GetIndex());
            return;
        }
        if (AllLayers || !AskRename(name, caption, text, AllLayers)) {
            if (staged >= 0) {
                layers.GoItem(staged);
                return;
            }
            if (const auto proxy = names.LayerProxies.find(existing);
                proxy != names.LayerProxies.end()) {
                layers.GoItem(proxy->second);
                return;
            }
            const RGLayer& into = *Map.Pages.At(SheetTarget.at(sheet))->Layers.At(existing);
            layers.AddItem();
            layers.Item->Name = into.Name;
            layers.Item->Visible = into.Visible;
            LayerTarget[layers.Item] = existing;
            names.LayerProxies[existing] = layers.GetIndex();
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
            rastr->Loaded = 0;
            rastr->FilterApplied = 0;
            if (!FileExistsIgnoringCase(rastr->FileName))
                continue;
            // A picture that cannot be read stays unloaded, as a missing one does: the
            // plan itself must still open.
            const qsizetype trail = ErrorInfo ? ErrorInfo->size() : 0;
            try {
                QImage picture = ReadRastrPicture(rastr->FileName);
                const int height = picture.height();
                const int width = picture.width();
                if (rastr->FilterOn == 1)
                    picture = ApplyRasterFilter(picture, rastr->Brightness, rastr->Red, rastr->Green,
                                                rastr->Blue);
                rastr->Picture->Image = std::move(picture);
                rastr->Loaded = 1;
                rastr->FilterApplied = rastr->FilterOn == 1 ? 1 : 0;
                Map.RastrHeight = height;
                Map.RastrWidth = width;
            } catch (const Exception&) {
                rastr->Picture->Clear();
                if (ErrorInfo && ErrorInfo->size() > trail)
                    ErrorInfo->erase(ErrorInfo->begin() + trail, ErrorInfo->end());
            }
        }
}

// Every record of a list, taken out in order; taken from the back, so that a list of
// many records empties in linear time.
template <class L>
auto TakeAll(L& from)
{
    std::vector<decltype(from.Extract())> records;
    records.reserve(from.GetCount());
    while (from.GoLastItem())
        records.push_back(from.Extract());
    std::reverse(records.begin(), records.end());
    return records;
}

// Appends every record of from to to, in order.
template <class L>
void MoveAll(L& from, L& to)
{
    for (auto& record : TakeAll(from))
        to.AddItem(std::move(record));
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
    for (std::unique_ptr<RGPage>& sheet : TakeAll(Staged)) {
        const auto target = SheetTarget.find(sheet.get());
        if (target == SheetTarget.end()) {
            pages.AddItem(std::move(sheet));
            lastSheet = pages.GetIndex();
            continue;
        }
        // The plan's sheets keep their positions: the file's new ones go after them.
        RGPage* into = pages.At(target->second);
        lastSheet = target->second;
        into->Visible = sheet->Visible;
        MoveAll(sheet->Rastrs, into->Rastrs);
        for (std::unique_ptr<RGLayer>& layer : TakeAll(sheet->Layers)) {
            const auto layerTarget = LayerTarget.find(layer.get());
            if (layerTarget == LayerTarget.end()) {
                into->Layers.AddItem(std::move(layer));
                continue;
            }
            RGLayer* intoLayer = into->Layers.At(layerTarget->second);
            intoLayer->Visible = layer->Visible;
            MoveAll(layer->Texts, intoLayer->Texts);
            MoveAll(layer->Points, intoLayer->Points);
            MoveAll(layer->Lines, intoLayer->Lines);
            MoveAll(layer->Polygons, intoLayer->Polygons);
            into->Layers.GoItem(layerTarget->second);
        }
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
