// Readable texts of the current semantics: the standard description from the
// classifier, and the material, state and extended items named from the value lists
// (with the topocodes of the topocode object).
#include "semantics/codec/SemCodec.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"

namespace {

const char* const Module = "ModuleName: SemCodec";

}  // namespace

void TSemCodec::StandartText(QString& res, bool withName)
{
    res.clear();
    if (ObjCode.isEmpty())
        return;
    if (!findObj(ObjCode)) {
        res = QStringLiteral("Неизвестный объект стандартной семантики ") + ObjCode;
        return;
    }
    RSemStandart& object = *SemStandarts.Item;
    if (withName)
        res = object.ObjName;
    const std::pair<const TSemFKNs*, TSemFKNs*> groups[] = {
        {&FList, &object.FList}, {&KList, &object.KList}, {&NList, &object.NList}};
    const char16_t* const unknown[] = {u"Неизвестное свойство Ф ", u"Неизвестное свойство К ",
                                       u"Неизвестное свойство Н "};
    for (int g = 0; g < 3; ++g) {
        TSemFKNs& defined = *groups[g].second;
        for (const auto& item : *groups[g].first) {
            bool known = false;
            if (defined.GoFirstItem()) {
                do {
                    known = defined.Item->Code == item->Code;
                } while (!known && defined.GoNextItem());
            }
            if (known)
                res += u',' + defined.Item->Caption;
            else
                res += QString::fromUtf16(unknown[g]) + IntToStrF(item->Code, 3);
        }
    }
}

void TSemCodec::STDdecode(QString& res)
{
    TTrailGuard guard(Module, "procedure TSemCodec.STDdecode(var res:string);");
    StandartText(res, true);
}

void TSemCodec::FKNdecode(QString& res)
{
    TTrailGuard guard(Module, "procedure TSemCodec.FKNdecode(var res:string);");
    StandartText(res, false);
}

// The name of a material, state or value-list code: its line of the kind's list when
// CheckWrkProp accepts the code (empty where the list has no such line), otherwise
// "Вне диапазона" after CheckWrkProp's message.
QString TSemCodec::ItemName(int kind, int code) const
{
    if (!CheckWrkProp(kind, code, QString()))
        return QStringLiteral("Вне диапазона");
    return ValueName(kind, code);
}

// For every part of source cut at ".", the text of every topocode line equal to it.
QString TSemCodec::TopoText(const QString& source) const
{
    QString out;
    const QStringList& topo = SL[slTopoCodes];
    const QStringList parts = source.split(u'.');
    for (const QString& part : parts)
        for (int i = 0; i + 1 < topo.size(); ++i)
            if (topo[i] == part)
                out += topo[i + 1];
    return out;
}

void TSemCodec::Decode(QString& res)
{
    TTrailGuard guard(Module, "procedure TSemCodec.Decode(var res:string);");
    res.clear();
    const QString material = SemExtToStr(seM, true);
    const QString state = SemExtToStr(seS, true);
    for (const auto& m : MList)
        res += QStringLiteral("; ") + material + QStringLiteral(" : ") + ItemName(seM, m->Code);
    for (const auto& s : SList)
        res += QStringLiteral("; ") + state + QStringLiteral(" : ") + ItemName(seS, s->Code);
    const bool topoObject = ObjCode == TopoCodeObj;
    for (const auto& e : EList) {
        QString name = ItemName(e->Kind, e->ListIndex);
        if (e->Kind == seII && topoObject)
            name += TopoText(e->Value);
        res += QStringLiteral("; ") + SemExtToStr(e->Kind, true);
        if (!name.isEmpty())
            res += QStringLiteral(";  ") + name;
        res += QStringLiteral(": ") + e->Value;
    }
}

void TSemCodec::DecodeCompact(QString& res)
{
    TTrailGuard guard(Module, "procedure TSemCodec.DecodeCompact(var res:string);");
    res.clear();
    const QString material = SemExtToStr(seM, true);
    const QString state = SemExtToStr(seS, true);
    for (const auto& m : MList)
        res += material + QStringLiteral(" : ") + ItemName(seM, m->Code);
    for (const auto& s : SList)
        res += state + QStringLiteral(" : ") + ItemName(seS, s->Code);
    const bool topoObject = ObjCode == TopoCodeObj;
    for (const auto& e : EList) {
        QString name = ItemName(e->Kind, e->ListIndex);
        if (e->Kind == seII && topoObject)
            name += TopoText(name);
        res += SemExtToStr(e->Kind, true);
        if (!name.isEmpty())
            res += QStringLiteral(";  ") + name;
        if (!e->Value.isEmpty())
            res += QStringLiteral(": ") + e->Value;
    }
}
