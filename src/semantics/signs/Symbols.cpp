// The sign library of a scale: loading the kind folders, choosing an object's sign with
// its fall-back and questions, the look-up by name, the missing-sign list and the
// splitting of a semantics string into the properties captions are made from.
// SelectSymbol and FindSymbol run for every object at every rendering, so what they
// search is indexed per kind (by object code in list order, and by name).
#include "semantics/signs/Symbols.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace {

const char* const Module = "Symbols";
const QString FallbackName = QStringLiteral("неопределенный");
const QString UnknownFileName = QStringLiteral("неизвестные знаки.wri");

const QString& KindFolderName(TLmode lm)
{
    static const QString names[3] = {QStringLiteral("Точечные"), QStringLiteral("Линейные"),
                                     QStringLiteral("Площадные")};
    return names[lm];
}

bool Matches(const TFindedProps& sign, const TFindedProps& object)
{
    return sign.ObjCode == object.ObjCode && sign.F == object.F && sign.K == object.K &&
           sign.N == object.N && (sign.AnyMaterial || sign.M == object.M) &&
           (sign.AnyState || sign.S == object.S);
}

// The codes without their letter, each followed by a line end (a string list's text).
QString BareCodes(const QStringList& items)
{
    QString text;
    for (const QString& item : items)
        text += item.mid(1) + QStringLiteral("\r\n");
    return text;
}

// Runs f, and on failure notes its message in errors; the trail the failure left is
// dropped again, since the failure stops here.
template <class F>
void Noting(QStringList& errors, const QString& what, F&& f)
{
    const qsizetype trailSize = ErrorInfo ? ErrorInfo->size() : 0;
    try {
        f();
    } catch (const std::exception& e) {
        if (ErrorInfo && ErrorInfo->size() > trailSize)
            ErrorInfo->resize(trailSize);
        const QString message = ExceptionMessage(e);
        errors << (message.contains(what) ? message : what + QStringLiteral(": ") + message);
    }
}

// The sign files of a kind folder (".wri", letter case ignored) sorted by name with
// letter case ignored, and the fall-back file, when there is one.
void ListKindFolder(const QString& folder, QStringList& files, QString& fallback)
{
    files.clear();
    fallback.clear();
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    std::vector<std::pair<QString, QString>> sorted;   // upper-cased name, path
    const QString fallbackFile = FallbackName + QStringLiteral(".wri");
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (!name.endsWith(QStringLiteral(".wri"), Qt::CaseInsensitive))
            continue;
        if (name.compare(fallbackFile, Qt::CaseInsensitive) == 0) {
            if (fallback.isEmpty() || name == fallbackFile)
                fallback = entry.filePath();
            continue;
        }
        sorted.emplace_back(name.toUpper(), entry.filePath());
    }
    std::sort(sorted.begin(), sorted.end());
    for (const auto& entry : sorted)
        files << entry.second;
}

}  // namespace

static QString UnknownListFolder(int scale);

TSymbols::TSymbols() : TextMeasurer(std::make_unique<TQtTextMeasurer>()) {}

TSymbols::~TSymbols() = default;

void TSymbols::SetMeasurer(std::unique_ptr<TTextMeasurer> measurer)
{
    if (measurer)
        TextMeasurer = std::move(measurer);
}

void TSymbols::SetScale(int scale, Extended dpi)
{
    Scale = scale;
    if (scale <= 0 || dpi <= 0)
        return;
    MapMMPerMetre = 1000.0L / scale;
    MetresPerMapMM = scale / 1000.0L;
    DotsPerMM = dpi / 25.4L;
    MMPerDot = 25.4L / dpi;
    DotsPerMetre = DotsPerMM * MapMMPerMetre;
    MetresPerDot = MMPerDot * MetresPerMapMM;
}

QString TSymbols::SignFolder(int scale)
{
    return ProgramFolderPath(QStringLiteral("Условные знаки/") + QString::number(scale) + u'/');
}

QString TSymbols::KindFolder(int scale, TLmode lm)
{
    return ResolvePath(SignFolder(scale) + KindFolderName(lm) + u'/');
}

// ---- The three lists ----

int TSymbols::SignCount(TLmode lm) const
{
    return const_cast<TSymbols*>(this)->WithList(lm, [](auto& list) { return list.GetCount(); });
}

bool TSymbols::GoSign(TLmode lm, int index)
{
    return WithList(lm, [index](auto& list) { return list.GoItem(index); });
}

bool TSymbols::GoLastSign(TLmode lm)
{
    return WithList(lm, [](auto& list) { return list.GoLastItem(); });
}

bool TSymbols::DeleteCurrentSign(TLmode lm)
{
    return WithList(lm, [](auto& list) { return list.DeleteItem(); });
}

bool TSymbols::IndexHolds(TLmode lm, int i)
{
    return WithList(lm, [&](auto& list) {
        const TKindIndex& index = Indexes[lm];
        if (static_cast<int>(index.Signs.size()) != list.GetCount() || i < 0 || i >= list.GetCount())
            return false;
        const auto* record = list.At(i);
        const TIndexedSign& sign = index.Signs[i];
        // A renamed sign holds a new string; the copy kept here still shares the old one.
        return sign.Record == record &&
               (sign.Code.constData() == record->Code.constData() || sign.Code == record->Code);
    });
}

TSymbols::TKindIndex& TSymbols::Index(TLmode lm, bool rebuild)
{
    TKindIndex& index = Indexes[lm];
    WithList(lm, [&](auto& list) {
        // Adding, inserting, deleting and editing through Item leave the count changed or
        // the cursor on the sign changed; walking the whole list here instead would make
        // every miss cost the whole library.
        const int cursor = list.GetIndex();
        if (!rebuild && static_cast<int>(index.Signs.size()) == list.GetCount() &&
            (cursor < 0 || IndexHolds(lm, cursor)))
            return;
        index = TKindIndex();
        index.Signs.reserve(list.GetCount());
        for (int i = 0; i < list.GetCount(); ++i) {
            const auto* record = list.At(i);
            TIndexedSign sign;
            sign.Record = record;
            sign.Code = record->Code;
            SplitName(sign.Code, sign.Parts);
            index.ByObjCode[sign.Parts.ObjCode].push_back(i);
            if (!index.ByName.contains(sign.Code))
                index.ByName.insert(sign.Code, i);
            index.Signs.push_back(std::move(sign));
        }
    });
    return index;
}

// ---- Loading ----

void TSymbols::LoadSymbols(std::int32_t scale)
{
    TTrailGuard guard(Module, "procedure TSymbols.LoadSymbols(const scale:integer);",
                      TrailArg("scale", scale));
    LoadErrors.clear();
    VpGPoints.DeleteAll();
    VpGLines.DeleteAll();
    VpGPolygons.DeleteAll();
    Indexes = {};   // new records may take the places and names of the old ones
    // Not a sign with errors: a list that cannot be written is said as what it is.
    QStringList writeErrors;
    if (LoadedScale != 0) {
        Noting(writeErrors, UnknownListFolder(LoadedScale) + UnknownFileName,
               [&] { WriteUnknownSymbols(LoadedScale); });
    }
    if (!writeErrors.isEmpty())
        ShowMsgDialog(QStringLiteral("Условные знаки"),
                      QStringLiteral("Не удалось записать список неизвестных знаков:") + QChar(13) +
                          writeErrors.join(QChar(13)));
    Scale = scale;
    LoadedScale = scale;

    // A file in a kind folder that is no sign of the kind (another kind, another start,
    // stray bytes) is said as well: silently left out, its sign would just be missing.
    const auto load = [&](const QString& path, const QString& name, TLmode lm) {
        Noting(LoadErrors, path, [&] {
            if (!LoadSymbol(path, name, lm))
                throw Exception(path + QStringLiteral(": файл не является условным знаком этого вида"));
        });
    };
    QString fallbacks[3];
    for (TLmode lm = lmPoint; lm <= lmPolygon; ++lm) {
        QStringList files;
        ListKindFolder(KindFolder(scale, lm), files, fallbacks[lm]);
        for (const QString& path : files)
            load(path, QFileInfo(path).fileName().chopped(4), lm);
    }
    for (TLmode lm = lmPoint; lm <= lmPolygon; ++lm) {
        if (!fallbacks[lm].isEmpty())
            load(fallbacks[lm], FallbackName, lm);
    }
    Noting(LoadErrors, QStringLiteral("Стили.wri"), [&] { LoadTextStyles(scale); });
    Noting(LoadErrors, UnknownListFolder(scale) + UnknownFileName,
           [&] { ReadUnknownSymbols(scale); });

    // Every open, undo and redo loads the library again: the same errors are said once.
    if (!LoadErrors.isEmpty() && LoadErrors != ShownLoadErrors)
        ShowMsgDialog(QStringLiteral("Ошибки в библиотеке условных знаков"),
                      QStringLiteral("Знаки с ошибками пропущены, остальная библиотека загружена:") +
                          QChar(13) + LoadErrors.join(QChar(13)));
    ShownLoadErrors = LoadErrors;
}

bool TSymbols::IsUnknown(const QString& key)
{
    if (UnknownSymbols.constData() != UnknownSetSource.constData() ||
        UnknownSymbols.size() != UnknownSetSource.size()) {
        UnknownSet = QSet<QString>(UnknownSymbols.cbegin(), UnknownSymbols.cend());
        UnknownSetSource = UnknownSymbols;
    }
    return UnknownSet.contains(key);
}

void TSymbols::AddUnknown(const QString& key)
{
    if (IsUnknown(key))
        return;
    UnknownSymbols << key;
    UnknownSet.insert(key);
    UnknownSetSource = UnknownSymbols;
}

// The folder the missing-sign list of scale is written to: the sign folder itself, or,
// when the program folder takes no writes (an installed program), the same path below the
// user's data root, as the user's own files go there too.
static QString UnknownListFolder(int scale)
{
    if (DataRootFolder.isEmpty() || DataRootFolder == ProgramFolder)
        return TSymbols::SignFolder(scale);
    return ResolvePath(DataRootFolder + QStringLiteral("Условные знаки/") + QString::number(scale) +
                       u'/');
}

void TSymbols::WriteUnknownSymbols(int scale)
{
    const QString folder = UnknownListFolder(scale);
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Не удается создать папку ") + folder);
    WriteTextFileLines(folder + UnknownFileName, UnknownSymbols);
}

void TSymbols::ReadUnknownSymbols(int scale)
{
    // The user's own list first; the one shipped beside the signs while there is none.
    for (const QString& folder : {UnknownListFolder(scale), SignFolder(scale)}) {
        const QString path = folder + UnknownFileName;
        if (FileExistsIgnoringCase(path)) {
            UnknownSymbols = ReadTextFileLines(path, true);   // a key with a CR could not be written
            return;
        }
    }
}

// ---- Choosing a sign ----

void TSymbols::SplitName(const QString& name, TFindedProps& parts)
{
    parts = TFindedProps();
    parts.ObjCode = name.left(3);
    if (name.size() <= 4)
        return;
    QString rest = name.mid(4);
    if (rest.endsWith(u' '))
        rest.chop(1);
    for (const QString& item : rest.split(u';')) {
        if (item.isEmpty())
            continue;
        switch (item[0].unicode()) {
        case u'Ф': parts.F << item; break;
        case u'К': parts.K << item; break;
        case u'Н': parts.N << item; break;
        case u'С':
            parts.S << item;
            if (item.size() == 1)
                parts.AnyState = true;
            break;
        case u'М':
            parts.M << item;
            if (item.size() == 1)
                parts.AnyMaterial = true;
            break;
        default: break;   // extended items take no part in the choice
        }
    }
}

QString TSymbols::ShortKey(const TFindedProps& parts)
{
    const std::initializer_list<const QStringList*> groups = {&parts.F, &parts.K, &parts.N};
    qsizetype size = parts.ObjCode.size() + 1;
    for (const QStringList* items : groups)
        for (const QString& item : *items)
            size += item.size() + 1;
    QString key;
    key.reserve(size);   // every miss builds one
    key += parts.ObjCode;
    key += u'/';
    for (const QStringList* items : groups)
        for (const QString& item : *items) {
            key += item;
            key += u';';
        }
    return key;
}

bool TSymbols::SelectSymbol(const QString& name, TLmode lm)
{
    TTrailGuard guard(Module, "procedure TSymbols.SelectSymbol(const name:string; const lm:TLmode);",
                      TrailArg("name", name), TrailArg("lm", lm));
    return SelectSymbolAt(name, lm, 0);
}

// depth 1: the name came from the synonyms, which are not asked again.
bool TSymbols::SelectSymbolAt(const QString& name, TLmode lm, int depth)
{
    if (lm < lmPoint || lm > lmPolygon)
        return false;
    SplitName(name, ObjectProps);
    // A hit and a miss check the same: the index (Index), and the signs of the object's
    // code, from the first to the one that matches; a sign changed among them builds the
    // index again.
    for (const bool rebuild : {false, true}) {
        const TKindIndex& index = Index(lm, rebuild);
        const auto candidates = index.ByObjCode.constFind(ObjectProps.ObjCode);
        if (candidates == index.ByObjCode.constEnd())
            break;
        bool stale = false;
        for (const int i : candidates.value()) {
            if ((stale = !IndexHolds(lm, i)))
                break;
            if (Matches(index.Signs[i].Parts, ObjectProps))
                return GoSign(lm, i);
        }
        if (!stale)
            break;
    }
    // Noted and looked up under the short key: material and state do not make an object
    // new again, and the list reads as the lists of other installations.
    const QString key = ShortKey(ObjectProps);
    if (IsUnknown(key))
        return GoLastSign(lm);

    if (AskUnknownSymbol) {
        const TFindedProps parts = ObjectProps;
        QString readable = name;
        if (SemServices())
            DecodeSem(lm, name, readable);
        if (UseSynonyms && depth == 0 && SemServices()) {
            QString synonym;
            if (SemServices()->SemToSymbolName(name, lm, synonym, Scale))
                return SelectSymbolAt(synonym, lm, depth + 1);
        }
        static const char16_t* const kindWords[3] = {u"точечного", u"линейного", u"площадного"};
        const TModalResult answer = ShowQDialog(
            QStringLiteral("Для ") + QString::fromUtf16(kindWords[lm]) +
                QStringLiteral(" объекта не найден условный знак"),
            QStringLiteral("Объект: ") + readable + QChar(13) + QStringLiteral("Выбрать условный знак?"));
        if (answer == mrYes && AddMissingSign(lm, parts))
            return true;
        ObjectProps = parts;
    }
    AddUnknown(key);
    return GoLastSign(lm);
}

// The add-sign window: the chosen sign file is copied into the kind folder under the
// new name (an existing file is kept) and loaded; true when it was added and is current.
bool TSymbols::AddMissingSign(TLmode lm, const TFindedProps& parts)
{
    QString sourcepath;
    QString filename;
    if (AddSymbolDlg(QStringLiteral("Не найден условный знак -добавление"), lm, ShortKey(parts),
                     BareCodes(parts.M), BareCodes(parts.S), Scale, sourcepath, filename) != 1)
        return false;
    if (filename.size() <= 4)
        return false;
    const QString folder = KindFolder(Scale, lm);
    QDir().mkpath(folder);
    const QString target = ResolvePath(folder + filename);
    if (!QFileInfo::exists(target) && !sourcepath.isEmpty())
        QFile::copy(ResolvePath(sourcepath), target);
    const int before = SignCount(lm);
    // A broken file chosen in the window is said once; the object gets the fall-back.
    QStringList errors;
    Noting(errors, target, [&] { LoadSymbol(target, filename.chopped(4), lm); });
    if (!errors.isEmpty())
        ShowMsgDialog(QStringLiteral("Ошибка в условном знаке"), errors.join(QChar(13)));
    return SignCount(lm) > before;
}

bool TSymbols::FindSymbol(const QString& Symname, TLmode lm)
{
    if (lm < lmPoint || lm > lmPolygon)
        return false;
    for (const bool rebuild : {false, true}) {
        const TKindIndex& index = Index(lm, rebuild);
        const auto found = index.ByName.constFind(Symname);
        if (found == index.ByName.constEnd())
            return false;
        if (IndexHolds(lm, found.value()))
            return GoSign(lm, found.value());
    }
    return false;
}

// ---- Caption properties ----

bool TSymbols::FindSemProps(const QString& sem)
{
    FindedSemProps.DeleteAll();
    if (sem.size() <= 4)
        return false;
    QString rest = sem.mid(4);
    if (rest.endsWith(u' '))
        rest.chop(1);
    for (const QString& item : rest.split(u';')) {
        if (item.size() < 3)
            continue;
        const QChar letter = item[0];
        RFindedSemProp prop;
        if (letter == u'Г' || letter == u'И' || letter == u'Т') {
            prop.Key = item.left(2);
            const int colon = item.indexOf(u':');
            if (colon >= 0 && colon < item.size() - 1) {
                prop.Value = colon > 2 ? item.mid(2, colon - 2) : QString();
                prop.Code = item.mid(colon + 1);
            } else {
                prop.Value = item.mid(2);
                prop.Code = QStringLiteral("00");
            }
        } else if ((letter == u'Ф' || letter == u'К' || letter == u'Н' || letter == u'М') &&
                   item.size() == 4) {
            prop.Key = letter;
            prop.Code = item.mid(1);
        } else if (letter == u'С' && item.size() == 3) {
            prop.Key = letter;
            prop.Code = item.mid(1);
        } else {
            continue;
        }
        FindedSemProps.AddItem(std::make_unique<RFindedSemProp>(std::move(prop)));
    }
    return FindedSemProps.GetCount() > 0;
}

void TSymbols::OrderingSemProps(const TSemTexts& SemTexts, int& MaxOrder)
{
    MaxOrder = 0;
    for (const auto& prop : FindedSemProps) {
        for (int i = 0; i < SemTexts.GetCount(); ++i) {
            if (CaptionRuleMatches(*SemTexts.At(i), *prop)) {
                prop->RuleIndex = i;
                MaxOrder = std::max(MaxOrder, i);
            }
        }
    }
}
