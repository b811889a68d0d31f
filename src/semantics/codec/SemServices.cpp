// The classifier services that the plan engine, the sign library and the windows call:
// readable decodings, synonyms, exclusions, heights and numbers, all through the one
// codec.
#include "semantics/codec/SemServices.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"

#include <QFile>
#include <exception>

namespace {

const char* const Module = "UnitSemDialog";
const QString FontFileName = QStringLiteral("шрифт.wri");

TSemServices* Current = nullptr;

TSemServices& Services()
{
    if (!Current)
        throw Exception(QStringLiteral("Классификатор семантики не создан"));
    return *Current;
}

}  // namespace

TSemServices* SemServices() { return Current; }

TSemServices::TSemServices() { Current = this; }

TSemServices::~TSemServices()
{
    if (Current == this)
        Current = nullptr;
}

void TSemServices::Open()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.FormCreate(Sender: TObject);");
    std::exception_ptr first;
    auto step = [&](auto&& f) {
        try {
            f();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    step([&] { Codec.LoadStandartBase(); });
    step([&] { Codec.LoadWorkBase(); });
    step([&] { ReadFontFile(); });
    step([&] { Codec.LoadExcludes(false); });
    if (first)
        std::rethrow_exception(first);
}

void TSemServices::Close()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.FormDestroy(Sender: TObject);");
    WriteFontFile();
    Codec.SaveExcludes();
}

void TSemServices::ReadFontFile()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.ReadFontFile;");
    FontName = QStringLiteral("MS Sans Serif");
    const QString path = TSemCodec::ClassifierPath(FontFileName);
    if (!QFile::exists(path))
        return;
    const QStringList lines = ReadTextFileLines(path, true);   // a lone CR ends the name
    if (!lines.isEmpty())
        FontName = lines.first();
}

void TSemServices::WriteFontFile()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.WriteFontFile;");
    WriteTextFileLines(TSemCodec::ClassifierPath(FontFileName), {FontName});
}

void TSemServices::LoadExcludes()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.LoadExcludes;");
    Codec.LoadExcludes(true);
}

void TSemServices::SaveExcludes()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.SaveExcludes;");
    Codec.SaveExcludes();
}

void TSemServices::LoadSynonyms()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.LoadSynonyms;");
    Codec.LoadSynonyms();
}

void TSemServices::SaveSynonyms()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.SaveSynonyms;");
    Codec.SaveSynonyms();
}

bool TSemServices::SemToSymbolName(const QString& sem, TLmode lm, QString& name, int scale)
{
    TTrailGuard guard(Module,
                      "function TFormSemDialog.SemToSymbolName(sem:string; lm:TLmode; var name:string; "
                      "scale:integer):boolean;",
                      TrailArg("sem", sem), TrailArg("lm", lm), TrailArg("scale", scale));
    Codec.LoadSynonyms();
    const bool found = Codec.SemToSymbolName(sem, lm, name, scale);
    if (found)
        Codec.SaveSynonyms();
    return found;
}

void TSemServices::decode(TLmode lm, const QString& semArg, QString& res)
{
    const QString sem = semArg;   // res may be the caller's sem
    TTrailGuard guard(Module, "procedure TFormSemDialog.decode(lm:TLmode; sem:string; var res:string);",
                      TrailArg("lm", lm), TrailArg("sem", sem));
    QString work;
    if (Codec.SemToWrkName(lm, sem, work)) {
        res = work;
    } else {
        // SemToWrkName has parsed sem and built its standard semantics into work.
        const QString standard = work;
        QString text;
        Codec.STDdecode(text);
        QStringList* excludes =
            (lm >= 0 && lm <= 2) ? &Codec.SL[TSemCodec::slExcludes + lm] : nullptr;
        const bool ask = AskUnknownWorkSem && *AskUnknownWorkSem != 0;
        if (!excludes || excludes->contains(standard) || !ask) {
            res = text;
        } else if (ShowMsgDialog(QStringLiteral("Неизвестный объект рабочей семантики"),
                                 QStringLiteral("Добавить объект (") + text +
                                     QStringLiteral(") в классификатор?")) != mrOk) {
            res = text;
            excludes->append(standard);
        } else {
            for (;;) {
                if (const auto& refresh = SemDialogHooks().LoadFKNs02)
                    refresh();
                int lmode = lm;
                QString s = sem;
                // Anything but OK counts as cancelled, so that no window result can keep
                // the question going for ever.
                if (SemDlg(5, lmode, s) != mrOk) {
                    QString items;
                    Codec.Split(sem);
                    Codec.STDdecode(res);
                    Codec.Decode(items);
                    res += items;
                    return;
                }
                if (Codec.SemToWrkName(lm, sem, work)) {
                    res = work;
                    break;
                }
            }
        }
    }
    Codec.Split(sem);
    QString items;
    Codec.Decode(items);
    res += items;
}

void TSemServices::decode2(TLmode lm, const QString& semArg, QString& res)
{
    const QString sem = semArg;   // res may be the caller's sem
    TTrailGuard guard(Module, "procedure TFormSemDialog.decode2(lm:TLmode; sem:string; var res:string);",
                      TrailArg("lm", lm), TrailArg("sem", sem));
    QString work;
    if (Codec.SemToWrkName(lm, sem, work))
        res = work;
    else
        Codec.STDdecode(res);
    QString items;
    Codec.Decode(items);
    res += items;
}

void TSemServices::decode3(TLmode lm, const QString& semArg, QString& res)
{
    const QString sem = semArg;   // res may be the caller's sem
    TTrailGuard guard(Module, "procedure TFormSemDialog.decode3(lm:TLmode; sem:string; var res:string);",
                      TrailArg("lm", lm), TrailArg("sem", sem));
    Codec.Split(sem);
    Codec.FKNdecode(res);
    QString items;
    Codec.DecodeCompact(items);
    res += items;
}

void TSemServices::GetH(const QString& sem, TArrayFloats& hh)
{
    TTrailGuard guard(Module, "procedure GetH(sem:string; var hh:TArrayFloats);", TrailArg("sem", sem));
    Codec.Split(sem);
    Codec.GetIVval(hh);
}

void TSemServices::GetN(const QString& sem, TArrayFloats& nn)
{
    TTrailGuard guard(Module, "procedure GetN(sem:string; var nn:TArrayFloats);", TrailArg("sem", sem));
    Codec.Split(sem);
    Codec.GetINval(nn);
}

void TSemServices::SemToSTD(QString& sem)
{
    TTrailGuard guard(Module, "procedure SemToSTD(var sem:string);", TrailArg("sem", sem));
    Codec.Split(sem);
    Codec.Code(sem, false);
}

void TSemServices::ShiftHeights(const QString& sem, QString& result, Extended increment)
{
    TTrailGuard guard(Module,
                      "procedure ShiftHeights(sem:string; var result:string; increment:extended);",
                      TrailArg("sem", sem), TrailArg("increment", increment));
    Codec.ShiftHeights(sem, result, increment);
}

void TSemServices::decodeM(int cod, QString& M)
{
    const QStringList& materials = Codec.SL[seM];
    if (cod >= 0 && cod < materials.size())
        M = materials[cod];
    else
        M = QStringLiteral("код вне диапазона");
}

void DecodeSem(TLmode lm, const QString& sem, QString& text)
{
    TTrailGuard guard(Module, "procedure DecodeSem(lm:TLmode; sem:string; var text:string);",
                      TrailArg("lm", lm), TrailArg("sem", sem));
    Services().decode(lm, sem, text);
}

void SemToSTD(QString& sem) { Services().SemToSTD(sem); }

void ShiftHeights(const QString& sem, QString& result, Extended increment)
{
    Services().ShiftHeights(sem, result, increment);
}

void GetH(const QString& sem, TArrayFloats& hh) { Services().GetH(sem, hh); }

void GetN(const QString& sem, TArrayFloats& nn) { Services().GetN(sem, nn); }

void decodeM(int cod, QString& M)
{
    TTrailGuard guard(Module, "procedure decodeM(const cod:integer; var M:string);",
                      TrailArg("cod", cod));
    Services().decodeM(cod, M);
}
