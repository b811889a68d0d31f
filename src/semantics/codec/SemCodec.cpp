// Parsing and building semantics strings, the work-semantics lookups and the numeric
// read-outs of the current semantics.
#include "semantics/codec/SemCodec.h"

#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"

namespace {

const char* const Module = "ModuleName: SemCodec";

bool IsDigits(const QString& s)
{
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The value of a text of decimal digits that checkval has accepted (at most three).
int DigitsValue(const QString& s)
{
    int v = 0;
    for (QChar c : s)
        v = v * 10 + (c.unicode() - u'0');
    return v;
}

// The extended kind named by the two letters of an item, or -1.
int ExtKindOf(QChar first, QChar second)
{
    struct Pair { char16_t Letter; int Kind; };
    static const Pair g[] = {{u'В', seGV}, {u'Р', seGR}, {u'Т', seGT}, {u'Г', seGG}, {u'П', seGP},
                             {u'Ш', seGH}, {u'Д', seGD}, {u'С', seGS}, {u'О', seGO}};
    static const Pair t[] = {{u'Г', seTG}, {u'С', seTS}, {u'Р', seTR}, {u'П', seTP},
                             {u'Д', seTD}, {u'Н', seTN}, {u'К', seTK}};
    static const Pair i[] = {{u'Д', seID}, {u'И', seII}, {u'В', seIV}, {u'Т', seIT}, {u'Н', seIN}};
    auto find = [&](const auto& table) {
        for (const Pair& p : table)
            if (second == QChar(p.Letter))
                return p.Kind;
        return -1;
    };
    if (first == u'Г')
        return find(g);
    if (first == u'Т')
        return find(t);
    if (first == u'И')
        return find(i);
    return -1;
}

void AppendFKN(QString& out, QChar letter, const TSemFKNs& list)
{
    for (const auto& r : list) {
        out += letter;
        out += IntToStrF(r->Code, 3);
        out += u';';
    }
}

void AppendMS(QString& out, const TSemMs& m, const TSemSs& s)
{
    for (const auto& r : m) {
        out += u'М';
        out += IntToStrF(r->Code, 3);
        out += u';';
    }
    for (const auto& r : s) {
        out += u'С';
        out += IntToStrF(r->Code, 2);
        out += u';';
    }
}

void AppendExt(QString& out, const TSemEs& e)
{
    for (const auto& r : e) {
        out += SemExtToStr(r->Kind, false);
        out += r->Value;
        if (r->ListIndex > 0) {
            out += u':';
            out += IntToStrF(r->ListIndex, 2);
        }
        out += u';';
    }
}

// Object code, "/" and the items already joined with a ";" after each.
QString Compose(const QString& objCode, QString items)
{
    if (objCode.isEmpty())
        return QString();
    // Only three characters of the code are written: a parse reads no more of it.
    QString head = objCode.left(3);
    if (items.isEmpty())
        return head;
    items.chop(1);
    // A code shorter than three characters is padded, so that the "/" stands fourth
    // and the string parses back to the same code.
    if (head.length() < 3)
        head += QString(3 - head.length(), QLatin1Char(' '));
    return head + u'/' + items;
}

// The semantics string of the codec's parts: the Ф, К and Н items always, the М and С
// items and the extended items when asked.
QString Composed(const TSemCodec& c, bool withMS, bool withExt)
{
    QString items;
    items.reserve(128);
    AppendFKN(items, u'Ф', c.FList);
    AppendFKN(items, u'К', c.KList);
    AppendFKN(items, u'Н', c.NList);
    if (withMS)
        AppendMS(items, c.MList, c.SList);
    if (withExt)
        AppendExt(items, c.EList);
    return Compose(c.ObjCode, std::move(items));
}

// The real of an item's value ("," or "." as decimal separator, no thousands
// separators); false for anything else, "-." and values beyond the range of reals
// included, so that such an item is skipped instead of failing the caller.
bool ItemReal(const QString& text, Extended& value)
{
    return ValidFloat(text, false, true) &&
           DecimalTextToFloat(ConvertDecimalSeparator(text), DecimalSeparator, value);
}

void ValuesOf(const TSemEs& list, TSemExt kind, TArrayFloats& val)
{
    val.clear();
    for (const auto& r : list) {
        Extended v = 0;
        if (r->Kind == kind && ItemReal(r->Value, v))
            val.push_back(v);
    }
}

template <class L>
bool FindCode(L& list, int code)
{
    return list.GoFirstItemWhere([code](const auto& r) { return r.Code == code; });
}

}  // namespace

TSemCodec::TSemCodec() = default;
TSemCodec::~TSemCodec() = default;

void TSemCodec::ClearFields()
{
    ObjCode.clear();
    FList.DeleteAll();
    KList.DeleteAll();
    NList.DeleteAll();
    MList.DeleteAll();
    SList.DeleteAll();
    EList.DeleteAll();
}

void TSemCodec::Split(const QString& semArg)
{
    const QString sem = semArg;   // the argument may be a field that ClearFields empties
    TTrailGuard guard(Module, "procedure TSemCodec.Split(sem:string);", TrailArg("sem", sem));
    ClearFields();
    try {
        ObjCode = sem.left(3);
        const int n = sem.length();
        if (n <= 4)
            return;
        QString buf;
        for (int i = 4; i < n; ++i) {
            const QChar c = sem[i];
            const bool last = i == n - 1;
            if (c == u' ' && last) {
                if (buf.length() >= 2)
                    AddProp(buf);
                break;
            }
            if (c == u';') {
                if (buf.length() >= 2)
                    AddProp(buf);
                buf.clear();
                continue;
            }
            buf += c;
            if (last && buf.length() >= 2)
                AddProp(buf);
        }
    } catch (...) {
        ClearFields();   // never leave half a semantics behind
        throw;
    }
}

void TSemCodec::AddProp(const QString& prop)
{
    TTrailGuard guard(Module, "procedure TSemCodec.AddProp(prop:string);", TrailArg("prop", prop));
    if (prop.length() < 2)
        return;
    const QChar first = prop[0];
    if (first == u'Ф' || first == u'К' || first == u'Н' || first == u'М') {
        QString text = prop.mid(1, 3);
        checkval(text, QString(first), 3);
        const auto code = static_cast<std::int16_t>(DigitsValue(text));
        if (first == u'М') {
            MList.AddItem();
            MList.Item->Code = code;
            return;
        }
        TSemFKNs& list = first == u'Ф' ? FList : first == u'К' ? KList : NList;
        list.AddItem();
        list.Item->Code = code;
        return;
    }
    if (first == u'С') {
        QString text = prop.mid(1, 2);
        checkval(text, QString(first), 2);
        SList.AddItem();
        SList.Item->Code = static_cast<std::int8_t>(DigitsValue(text));
        return;
    }
    const int kind = ExtKindOf(first, prop[1]);
    if (kind < 0)
        return;
    QString text = prop.mid(2);
    QString value;
    int index = 0;
    readval(text, QString(first), QString(prop[1]), 2, value, index);
    EList.AddItem();
    EList.Item->Kind = static_cast<TSemExt>(kind);
    EList.Item->Value = value;
    EList.Item->ListIndex = static_cast<std::int8_t>(index);
}

void TSemCodec::checkval(QString& s, const QString& prop, int range)
{
    TTrailGuard guard(Module, "procedure TSemCodec.checkval(var s:string; prop:string; range:integer);",
                      TrailArg("s", s), TrailArg("prop", prop), TrailArg("range", range));
    if (s.length() > 1 && s.endsWith(QLatin1String(" #")))
        s.chop(2);
    const QString caption = QStringLiteral("Неверный код свойства ") + prop +
                            QStringLiteral(" семантики объекта");
    const QString prompt = QStringLiteral("код должен быть числом в диапазоне ") +
                           QString(range, QLatin1Char('0')) + u'-' +
                           QString(range, QLatin1Char('9'));
    const QString original = s;
    while (s.length() != range || !IsDigits(s)) {
        // The window hands back its text whatever closed it and asks until the code is
        // valid; a cancelled question (or no window to ask it) ends the parse instead,
        // so that nothing waits for an answer that cannot come.
        if (InpStrDialog(s, caption, prompt) != mrOk)
            throw Exception(caption + QStringLiteral(": \"") + original +
                            QStringLiteral("\" (") + prompt + u')');
    }
}

void TSemCodec::readval(QString& s, const QString& chr1, const QString& chr2, int range,
                        QString& val1, int& val2)
{
    TTrailGuard guard(Module,
                      "procedure TSemCodec.readval(var s:string; chr1,chr2:char; range:integer; "
                      "var val1:string; var val2:integer);",
                      TrailArg("s", s), TrailArg("chr1", chr1), TrailArg("chr2", chr2),
                      TrailArg("range", range));
    QString index;
    const int colon = s.indexOf(u':');
    if (colon >= 0) {
        val1 = s.left(colon);
        index = s.mid(colon + 1);
        checkval(index, chr1 + chr2, range);
    } else {
        val1 = s;
        index = QString(range, QLatin1Char('0'));
    }
    val2 = DigitsValue(index);
}

void TSemCodec::Code(QString& sem, bool UseExt) const
{
    sem = Composed(*this, UseExt, UseExt);
}

void TSemCodec::SymbolSemCode(QString& sem) const
{
    sem = Composed(*this, true, false);
}

void TSemCodec::ExtLessMSCode(QString& sem) const
{
    QString items;
    AppendExt(items, EList);
    items.chop(1);
    sem = items;
}

bool TSemCodec::WorkToStd(TLmode lm, const QString& wrksem)
{
    TTrailGuard guard(Module, "function TSemCodec.WorkToStd(lm:TLmode; wrksem:string):boolean;",
                      TrailArg("lm", lm), TrailArg("wrksem", wrksem));
    if (lm < 0 || lm > 2)
        return false;
    TSemWorks& works = SemWorks[lm];
    if (!works.GoFirstItemWhere([&](const RSemWork& r) { return r.WorkName == wrksem; }))
        return false;
    Split(works.Item->Semantics);
    return true;
}

bool TSemCodec::SemToWrkName(TLmode lm, const QString& sem, QString& wrk)
{
    TTrailGuard guard(Module,
                      "function TSemCodec.SemToWrkName(lm:TLmode; sem:string; var wrk:string):boolean;",
                      TrailArg("lm", lm), TrailArg("sem", sem));
    Split(sem);
    Code(wrk, false);
    if (lm < 0 || lm > 2)
        return false;
    TSemWorks& works = SemWorks[lm];
    if (!works.GoFirstItemWhere([&](const RSemWork& r) { return r.Semantics == wrk; }))
        return false;
    wrk = works.Item->WorkName;
    return true;
}

bool TSemCodec::findObj(const QString& code)
{
    return SemStandarts.GoFirstItemWhere([&](const auto& r) { return r.ObjCode == code; });
}

bool TSemCodec::findFsv(int code)
{
    return SemStandarts.Item && FindCode(SemStandarts.Item->FList, code);
}

bool TSemCodec::findKsv(int code)
{
    return SemStandarts.Item && FindCode(SemStandarts.Item->KList, code);
}

bool TSemCodec::findNsv(int code)
{
    return SemStandarts.Item && FindCode(SemStandarts.Item->NList, code);
}

void TSemCodec::GetIVval(TArrayFloats& val) const
{
    TTrailGuard guard(Module, "procedure TSemCodec.GetIVval(var val:TArrayFloats);");
    ValuesOf(EList, seIV, val);
}

void TSemCodec::GetINval(TArrayFloats& val) const
{
    TTrailGuard guard(Module, "procedure TSemCodec.GetINval(var val:TArrayFloats);");
    ValuesOf(EList, seIN, val);
}

void TSemCodec::ShiftHeights(const QString& sem, QString& result, Extended increment)
{
    TTrailGuard guard(Module,
                      "procedure TSemCodec.ShiftHeights(sem:string; var result:string; increment:extended);",
                      TrailArg("sem", sem), TrailArg("increment", increment));
    Split(sem);
    if (EList.GoFirstItem()) {
        do {
            RSemE& e = *EList.Item;
            Extended v = 0;
            if (e.Kind == seIV && ItemReal(e.Value, v))
                e.Value = FloatToFixed(v + increment, 2, 8);
        } while (EList.GoNextItem());
    }
    Code(result, true);
}

void TSemCodec::SemExtToSL(int se, QStringList& sl) const
{
    if (se >= 0 && se < SemExtCount)
        sl = SL[se];
}

bool TSemCodec::CheckWrkProp(int prop, int code, const QString& description) const
{
    TTrailGuard guard(Module,
                      "function TSemCodec.CheckWrkProp(prop:TSemExt; code:integer; description:string):boolean;",
                      TrailArg("prop", prop), TrailArg("code", code),
                      TrailArg("description", description));
    const int lines = (prop >= 0 && prop < SemExtCount) ? SL[prop].size() : 0;
    const int highest = lines > 0 ? lines - 1 : 0;
    if (code >= 0 && code <= highest)
        return true;
    const QChar quote = u'"';
    ShowMsgDialog(QStringLiteral("Свойство рабочей семантики вне диапазона!"),
                  QStringLiteral("Код свойства ") + quote +
                      SemExtToStr(static_cast<TSemExt>(prop), true) + quote +
                      QStringLiteral(" = ") + QString::number(code) +
                      QStringLiteral(" объекта рабочей семантики ") + quote + description + quote +
                      QStringLiteral(" находится вне диапазона определенных свойств (0-") +
                      QString::number(highest) + QStringLiteral("); свойство будет игнорировано"));
    return false;
}

QString TSemCodec::ValueName(int kind, int index) const
{
    if (kind < 0 || kind >= SemExtCount || index < 0 || index >= SL[kind].size())
        return QString();
    return SL[kind][index];
}
