// The classifier files of the folder "Семантика": the standard classifier, the value
// lists, the work semantics, the topocodes, the exclusions and the synonyms.
// Every reader fills temporaries and hands them over only when the whole file (or the
// whole group of files) was read; every writer encodes everything first and then
// replaces each file through a temporary file.
#include "semantics/codec/SemCodec.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/DelphiFormat.h"
#include "foundation/GeoServ.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/signs/Symbols.h"

#include <QFile>
#include <utility>
#include <vector>

namespace {

const char* const Module = "ModuleName: SemCodec";

// Lines of a classifier file; a missing file raises missingMessage. A lone CR ends a
// line, as on the platform the files come from: read as part of a value, it could never
// be written back, and every later save of the classifier would be refused.
QStringList ReadLines(const QString& path, const QString& missingMessage)
{
    if (!QFile::exists(path))
        throw Exception(missingMessage);
    return ReadTextFileLines(path, true);
}

// One file to be written: its path and its bytes, checked before anything is written.
struct TPendingFile {
    QString Path;
    QByteArray Bytes;
};

TPendingFile Encode(const QString& path, const QStringList& lines)
{
    return {path, EncodeTextFileLines(path, lines)};
}

void WriteAll(const std::vector<TPendingFile>& files)
{
    for (const TPendingFile& f : files)
        WriteFileBytes(f.Path, f.Bytes);
}

// Moves every record of from to the end of to, in order; from is left empty.
template <class L>
void TakeRecords(L& from, L& to)
{
    std::vector<std::unique_ptr<std::remove_pointer_t<decltype(from.Item)>>> records;
    records.reserve(from.GetCount());
    while (from.GoLastItem())
        records.push_back(from.Extract());
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        to.AddItem(std::move(*it));
}

template <class L>
void ReplaceRecords(L& from, L& to)
{
    to.DeleteAll();
    TakeRecords(from, to);
}

QString LineRef(const QString& path, int index)
{
    return QStringLiteral(" (файл ") + path + QStringLiteral(", строка ") + QString::number(index + 1) +
           u')';
}

// A code of a classifier file, refused outside 0..highest so that a save never writes it
// back as another code.
int ReadCode(const QString& line, int highest, const QString& path, int index)
{
    int v = 0;
    if (!TryStrToInt(line, v))
        throw Exception(QStringLiteral("\"") + line + QStringLiteral("\" не является целым числом") +
                        LineRef(path, index));
    if (v < 0 || v > highest)
        throw Exception(QStringLiteral("Код ") + line + QStringLiteral(" вне диапазона 0-") +
                        QString::number(highest) + LineRef(path, index));
    return v;
}

QString Truncated(const QString& path)
{
    return QStringLiteral("Файл ") + path +
           QStringLiteral(" оборван: последняя запись не закончена; классификатор не изменен");
}

// ---- Standard classifier ----

void ParseStandart(const QStringList& lines, const QString& path, TSemStandarts& out)
{
    enum class State { Neutral, Description, ObjCode, Code, Caption };
    State state = State::Neutral;
    TSemFKNs* group = nullptr;
    QString description;
    int code = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        switch (state) {
        case State::Description:
            description = line;
            state = State::ObjCode;
            continue;
        case State::ObjCode:
            out.AddItem();
            out.Item->ObjName = description;
            out.Item->ObjCode = line;
            group = nullptr;
            state = State::Neutral;
            continue;
        case State::Caption:
            group->AddItem();
            group->Item->Code = static_cast<std::int16_t>(code);
            group->Item->Caption = line;
            state = State::Code;
            continue;
        case State::Neutral:
        case State::Code:
            break;
        }
        if (line.startsWith(u'*')) {
            state = State::Description;
            continue;
        }
        if (line.startsWith(u'/')) {
            const QChar letter = line.length() > 1 ? line[1] : QChar();
            if (out.Item && (letter == u'Ф' || letter == u'К' || letter == u'Н')) {
                group = letter == u'Ф' ? &out.Item->FList
                        : letter == u'К' ? &out.Item->KList
                                         : &out.Item->NList;
                state = State::Code;
            }
            continue;
        }
        if (state == State::Neutral || line.isEmpty())
            continue;
        code = ReadCode(line, 999, path, i);
        state = State::Caption;
    }
    if (state != State::Neutral && state != State::Code)
        throw Exception(Truncated(path));
}

QStringList StandartLines(const TSemStandarts& list)
{
    QStringList lines;
    for (const auto& r : list) {
        lines << QStringLiteral("*") << r->ObjName << r->ObjCode;
        const std::pair<const char16_t*, const TSemFKNs*> groups[] = {
            {u"/Ф", &r->FList}, {u"/К", &r->KList}, {u"/Н", &r->NList}};
        for (const auto& [head, group] : groups) {
            lines << QString::fromUtf16(head);
            for (const auto& p : *group) {
                if (p->Code < 0)
                    continue;   // no code given yet
                if (p->Code > 999)
                    throw Exception(QStringLiteral("Код свойства ") + QString::number(p->Code) +
                                    QStringLiteral(" объекта \"") + r->ObjName +
                                    QStringLiteral("\" вне диапазона 000-999; классификатор не записан"));
                lines << IntToStrF(p->Code, 3) << p->Caption;
            }
        }
    }
    return lines;
}

// ---- Work semantics ----

int WorkKindOf(const QString& line)
{
    if (line.startsWith(u'М'))
        return seM;
    if (line.startsWith(u'С'))
        return seS;
    for (int k = seGV; k < SemExtCount; ++k)
        if (line.startsWith(SemExtToStr(static_cast<TSemExt>(k), false)))
            return k;
    return -1;
}

void ParseWork(const QStringList& lines, const QString& path, TSemWorks& out)
{
    enum class State { Neutral, Name, Semantics, Kind, Number };
    State state = State::Neutral;
    QString name;
    int kind = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        switch (state) {
        case State::Name:
            name = line;
            state = State::Semantics;
            continue;
        case State::Semantics:
            out.AddItem();
            out.Item->WorkName = name;
            out.Item->Semantics = line;
            state = State::Kind;
            continue;
        case State::Number: {
            state = State::Kind;
            if (kind < 0)
                continue;   // the number of an unknown kind line is dropped
            const int v = ReadCode(line, kind == seM ? 999 : 99, path, i);
            RSemWork& w = *out.Item;
            if (kind == seM) {
                w.MList.AddItem();
                w.MList.Item->Code = static_cast<std::int16_t>(v);
            } else if (kind == seS) {
                w.SList.AddItem();
                w.SList.Item->Code = static_cast<std::int8_t>(v);
            } else {
                w.EList.AddItem();
                w.EList.Item->Kind = static_cast<TSemExt>(kind);
                w.EList.Item->ListIndex = static_cast<std::int8_t>(v);
            }
            continue;
        }
        case State::Neutral:
        case State::Kind:
            break;
        }
        if (line.startsWith(u'*')) {
            state = State::Name;
            continue;
        }
        if (state == State::Neutral || line.isEmpty())
            continue;
        kind = WorkKindOf(line);
        state = State::Number;
    }
    if (state != State::Neutral && state != State::Kind)
        throw Exception(Truncated(path));
}

QString OutOfRange(const QString& what, int code, const QString& workName)
{
    return QStringLiteral("Код ") + what + u' ' + QString::number(code) +
           QStringLiteral(" рабочей семантики \"") + workName +
           QStringLiteral("\" вне диапазона; классификатор не записан");
}

QStringList WorkLines(const TSemWorks& list)
{
    QStringList lines;
    for (const auto& r : list) {
        lines << QStringLiteral("*") << r->WorkName << r->Semantics;
        for (const auto& m : r->MList) {
            if (m->Code < 0 || m->Code > 999)
                throw Exception(OutOfRange(QStringLiteral("М"), m->Code, r->WorkName));
            lines << QStringLiteral("М") << IntToStrF(m->Code, 3);
        }
        for (const auto& s : r->SList) {
            if (s->Code < 0 || s->Code > 99)
                throw Exception(OutOfRange(QStringLiteral("С"), s->Code, r->WorkName));
            lines << QStringLiteral("С") << IntToStrF(s->Code, 2);
        }
        for (const auto& e : r->EList) {
            const QString kind = SemExtToStr(e->Kind, false);
            if (e->ListIndex < 0 || e->ListIndex > 99 || e->Kind < seGV || kind.isEmpty())
                throw Exception(OutOfRange(kind, e->ListIndex, r->WorkName));
            lines << kind << IntToStrF(e->ListIndex, 2);
        }
    }
    return lines;
}

// ---- Synonyms ----

void ParseSynonyms(const QStringList& lines, TSynonyms& out)
{
    for (const QString& line : lines) {
        if (line.startsWith(u'@')) {
            out.AddItem();
            out.Item->SignName = line.mid(1);
        } else if (line.startsWith(u'$') && out.Item) {
            out.Item->Codes.append(line.mid(1));   // a code before any sign is dropped
        }
    }
}

QStringList SynonymLines(const TSynonyms& list)
{
    QStringList lines;
    for (const auto& r : list) {
        lines << u'@' + r->SignName;
        for (const QString& code : r->Codes)
            lines << u'$' + code;
    }
    return lines;
}

QString NotSaved(const QString& what)
{
    return what + QStringLiteral(" не был загружен из файла без ошибок и не будет записан поверх него");
}

}  // namespace

const QString TSemCodec::StandartFileName = QStringLiteral("ФКН.wri");
const QString TSemCodec::TopoCodesFileName = QStringLiteral("топокоды.wri");
const QString TSemCodec::WorkFileNames[3] = {QStringLiteral("ТОЧСЕМ.wri"), QStringLiteral("ЛИНСЕМ.wri"),
                                             QStringLiteral("ПОЛСЕМ.wri")};
const QString TSemCodec::ExcludeFileNames[3] = {QStringLiteral("Исключения-Точечные.wri"),
                                                QStringLiteral("Исключения-Линейные.wri"),
                                                QStringLiteral("Исключения-Площадные.wri")};
const QString TSemCodec::SynonymReadNames[3] = {QStringLiteral("ТОЧСИН.wri"), QStringLiteral("ЛИНСИН.wri"),
                                                QStringLiteral("ПОЛСИН.wri")};
const QString TSemCodec::SynonymWriteNames[3] = {QStringLiteral("ТОЧСин.wri"), QStringLiteral("ЛИНСин.wri"),
                                                 QStringLiteral("ПОЛСин.wri")};

QString TSemCodec::ValueListFileName(int kind)
{
    return SemExtToStr(static_cast<TSemExt>(kind), false) + QStringLiteral(".wri");
}

QString TSemCodec::ClassifierFolder()
{
    return ProgramFolderPath(QStringLiteral("Семантика/"));
}

QString TSemCodec::ClassifierPath(const QString& fileName)
{
    return ResolvePath(ClassifierFolder() + fileName);
}

void TSemCodec::LoadStandartBase()
{
    TTrailGuard guard(Module, "procedure TSemCodec.LoadStandartBase;");
    const QString path = ClassifierPath(StandartFileName);
    try {
        const QStringList lines = ReadLines(path, QStringLiteral("Не найден файл  ФКН.wri"));
        TSemStandarts fresh;
        ParseStandart(lines, path, fresh);
        ReplaceRecords(fresh, SemStandarts);
        StandartBroken = false;
    } catch (...) {
        StandartBroken = true;
        throw;
    }
}

void TSemCodec::SaveStandartBase()
{
    TTrailGuard guard(Module, "procedure TSemCodec.SaveStandartBase;");
    if (StandartBroken)
        throw Exception(NotSaved(QStringLiteral("Стандартный классификатор ФКН.wri")));
    WriteTextFileLines(ClassifierPath(StandartFileName), StandartLines(SemStandarts));
}

void TSemCodec::LoadWorkBase()
{
    TTrailGuard guard(Module, "procedure TSemCodec.LoadWorkBase;");
    try {
        std::array<QStringList, SemExtCount> values;
        for (int k = 0; k < SemExtCount; ++k) {
            const QString path = ClassifierPath(ValueListFileName(k));
            values[k] = ReadLines(path, QStringLiteral("Не найден файл ") + path);
        }
        std::array<TSemWorks, 3> works;
        for (int lm = 0; lm < 3; ++lm) {
            const QString path = ClassifierPath(WorkFileNames[lm]);
            ParseWork(ReadLines(path, QStringLiteral("Не найден файл  ") + path), path, works[lm]);
        }
        const QString topoPath = ClassifierPath(TopoCodesFileName);
        QStringList topo = ReadLines(topoPath, QStringLiteral("Не найден файл ") + topoPath);

        for (int k = 0; k < SemExtCount; ++k)
            SL[k] = std::move(values[k]);
        for (int lm = 0; lm < 3; ++lm)
            ReplaceRecords(works[lm], SemWorks[lm]);
        if (!topo.isEmpty())
            TopoCodeObj = topo.takeFirst();
        SL[slTopoCodes] = std::move(topo);
        WorkBaseBroken = false;
    } catch (...) {
        WorkBaseBroken = true;
        throw;
    }
}

void TSemCodec::SaveWorkBase()
{
    TTrailGuard guard(Module, "procedure TSemCodec.SaveWorkBase;");
    if (WorkBaseBroken)
        throw Exception(NotSaved(QStringLiteral("Рабочий классификатор")));
    for (int lm = 0; lm < 3; ++lm)
        if (ExcludesBroken[lm])
            throw Exception(NotSaved(QStringLiteral("Список исключений ") + ExcludeFileNames[lm]));
    std::vector<TPendingFile> files;
    for (int k = 0; k < SemExtCount; ++k)
        files.push_back(Encode(ClassifierPath(ValueListFileName(k)), SL[k]));
    for (int lm = 0; lm < 3; ++lm)
        files.push_back(Encode(ClassifierPath(ExcludeFileNames[lm]), SL[slExcludes + lm]));
    for (int lm = 0; lm < 3; ++lm)
        files.push_back(Encode(ClassifierPath(WorkFileNames[lm]), WorkLines(SemWorks[lm])));
    WriteAll(files);
}

void TSemCodec::LoadSynonyms()
{
    TTrailGuard guard(Module, "procedure TSemCodec.LoadSynonyms;");
    std::array<TSynonyms, 3> fresh;
    std::array<bool, 3> found{};
    for (int lm = 0; lm < 3; ++lm) {
        const QString path = ClassifierPath(SynonymReadNames[lm]);
        if (!QFile::exists(path)) {
            SynonymsBroken[lm] = false;   // no file that a save could spoil
            continue;
        }
        try {
            ParseSynonyms(ReadLines(path, QString()), fresh[lm]);
        } catch (...) {
            SynonymsBroken[lm] = true;
            throw;
        }
        found[lm] = true;
    }
    for (int lm = 0; lm < 3; ++lm)
        if (found[lm]) {
            ReplaceRecords(fresh[lm], Synonyms[lm]);
            SynonymsBroken[lm] = false;
        }
}

// The file a synonym list goes to: the one its reader reads when it exists (whatever
// its spelling, so that a second file of the other spelling can never hide the
// written one), otherwise a new file of the written spelling.
QString TSemCodec::SynonymWritePath(int lm)
{
    const QString read = ClassifierPath(SynonymReadNames[lm]);
    return QFile::exists(read) ? read : ClassifierPath(SynonymWriteNames[lm]);
}

void TSemCodec::SaveSynonyms()
{
    TTrailGuard guard(Module, "procedure TSemCodec.SaveSynonyms;");
    for (int lm = 0; lm < 3; ++lm)
        if (SynonymsBroken[lm])
            throw Exception(NotSaved(QStringLiteral("Список синонимов ") + SynonymReadNames[lm]));
    std::vector<TPendingFile> files;
    for (int lm = 0; lm < 3; ++lm)
        files.push_back(Encode(SynonymWritePath(lm), SynonymLines(Synonyms[lm])));
    WriteAll(files);
}

void TSemCodec::LoadExcludes(bool mustExist)
{
    TTrailGuard guard(Module, "procedure TSemCodec.LoadExcludes;");
    std::array<QStringList, 3> fresh;
    for (int lm = 0; lm < 3; ++lm) {
        const QString path = ClassifierPath(ExcludeFileNames[lm]);
        if (!mustExist && !QFile::exists(path))
            continue;
        try {
            fresh[lm] = ReadLines(path, QStringLiteral("Не найден файл ") + path);
        } catch (...) {
            if (QFile::exists(path))
                ExcludesBroken[lm] = true;
            throw;
        }
    }
    for (int lm = 0; lm < 3; ++lm) {
        SL[slExcludes + lm] = std::move(fresh[lm]);
        ExcludesBroken[lm] = false;
    }
}

void TSemCodec::SaveExcludes()
{
    TTrailGuard guard(Module, "procedure TSemCodec.SaveExcludes;");
    std::vector<TPendingFile> files;
    for (int lm = 0; lm < 3; ++lm) {
        if (ExcludesBroken[lm])
            throw Exception(NotSaved(QStringLiteral("Список исключений ") + ExcludeFileNames[lm]));
        files.push_back(Encode(ClassifierPath(ExcludeFileNames[lm]), SL[slExcludes + lm]));
    }
    WriteAll(files);
}

bool TSemCodec::SemToSymbolName(const QString& semArg, TLmode lm, QString& name, int scale)
{
    const QString sem = semArg;   // name may be the caller's sem
    TTrailGuard guard(Module,
                      "function TSemCodec.SemToSymbolName(sem:string; lm:TLmode; var name:string; "
                      "scale:integer):boolean;",
                      TrailArg("sem", sem), TrailArg("lm", lm), TrailArg("scale", scale));
    name.clear();
    if (lm < 0 || lm > 2)
        return false;
    Split(sem);
    QString form;
    SymbolSemCode(form);
    QString signName;
    bool found = false;
    TSynonyms& synonyms = Synonyms[lm];
    if (synonyms.GoFirstItem()) {
        do {
            if (synonyms.Item->Codes.contains(form)) {
                signName = synonyms.Item->SignName;
                found = true;
            }
        } while (!found && synonyms.GoNextItem());
    }
    if (!found) {
        found = AddSynDlg(*this, TSymbols::KindFolder(scale, lm), lm, signName);
        // The window decodes other names while it lists the signs; the extended part
        // below is that of sem.
        Split(sem);
    }
    if (!found || signName.isEmpty())
        return false;
    QString ext;
    ExtLessMSCode(ext);
    if (!signName.contains(u'/'))
        name = signName + u'/' + ext;
    else if (ext.isEmpty())
        name = signName;
    else
        name = signName + u';' + ext;
    return true;
}
