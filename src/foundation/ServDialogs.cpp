// The windowless half of the shared dialogs: the line splitter, the rules applied to
// what a window hands back, and the hooks through which the windows are reached.
#include "foundation/ServDialogs.h"

#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"

#include <utility>

namespace {

TDialogHooks& Installed()
{
    static TDialogHooks hooks;
    return hooks;
}

// After a selection window: see SelStrDialog.
void ApplySelection(QStringList& list, const TSelection& selection, TModalResult result,
                    int& index, int& added)
{
    added = 0;
    if (selection.Index >= 0 && selection.Index < list.size()) {
        index = selection.Index;
        return;
    }
    const qsizetype existing = selection.Typed.isEmpty() ? -1 : list.indexOf(selection.Typed);
    if (existing >= 0) {
        index = static_cast<int>(existing);
        return;
    }
    // No line of the list: callers take added 1 as "typed, not chosen", so it is set
    // even when the text is not kept.
    added = 1;
    index = -1;
    if (result != mrOk || selection.Typed.isEmpty())
        return;
    list.append(selection.Typed);
    index = static_cast<int>(list.size() - 1);
}

}  // namespace

void Split(const QString& text, QStringList& lines)
{
    TTrailGuard guard("ModuleName: ServDialogs", "procedure Split(s:string; Memo:TMemo);",
                      TrailArg("s", text));
    lines.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r')) {
            lines.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
}

QStringList Split(const QString& text)
{
    QStringList lines;
    Split(text, lines);
    return lines;
}

QString ConsoleText(const QString& text)
{
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    joined.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return joined;
}

void PolarPoint(Extended X1, Extended Y1, Extended X2, Extended Y2, const TPolarAnswer& answer,
                Extended& X, Extended& Y)
{
    TGeoAngle base = 0;
    DirAngle(GeoPoint(X1, Y1), GeoPoint(X2, Y2), base);
    const Extended angle = fGMS_GG(answer.Degrees, answer.Minutes, answer.Seconds);
    const TAngleType side = answer.RightAngle ? atRight : atLeft;
    if (answer.FromEnd) {
        PGZ(X2, Y2, answer.Distance, NextDirAngle(base, angle, side), X, Y);
        return;
    }
    // At the start the angle is measured from the base line itself; the traverse rule
    // would measure it from the way back and mirror every angle but 90°.
    const TGeoAngle direction = fNormalAngle(side == atLeft ? base - angle : base + angle);
    PGZ(X1, Y1, answer.Distance, direction, X, Y);
}

TDialogHooks& DialogHooks() { return Installed(); }

TScopedDialogHooks::TScopedDialogHooks(TDialogHooks hooks) : Saved(std::move(Installed()))
{
    Installed() = std::move(hooks);
}

TScopedDialogHooks::~TScopedDialogHooks() { Installed() = std::move(Saved); }

TModalResult ShowMsgDialog(const QString& caption, const QString& text)
{
    const auto hook = Installed().ShowMsg;
    return hook ? hook(caption, text) : mrCancel;
}

TModalResult ShowQDialog(const QString& caption, const QString& text)
{
    const auto hook = Installed().ShowQ;
    return hook ? hook(caption, text) : mrCancel;
}

TModalResult InpStrDialog(QString& value, const QString& caption, const QString& text)
{
    const auto hook = Installed().InpStr;
    return hook ? hook(value, caption, text) : mrCancel;
}

TModalResult InpStr2Dialog(QString& masked, QString& free, const QString& caption,
                           const QString& text, const QString& mask)
{
    const auto hook = Installed().InpStr2;
    return hook ? hook(masked, free, caption, text, mask) : mrCancel;
}

TModalResult SelStrDialog(QStringList& list, int& index, int& added, const QString& caption,
                          const QString& text)
{
    const auto hook = Installed().SelStr;
    TSelection selection;
    selection.Index = index;
    const TModalResult result = hook ? hook(list, selection, caption, text) : mrCancel;
    ApplySelection(list, selection, result, index, added);
    return result;
}

TModalResult SelStr2Dialog(QStringList& list, int& index, int& added, const QString& caption,
                           const QString& text, QString& free)
{
    const auto hook = Installed().SelStr2;
    TSelection selection;
    selection.Index = index;
    const TModalResult result = hook ? hook(list, selection, caption, text, free) : mrCancel;
    ApplySelection(list, selection, result, index, added);
    return result;
}

TModalResult InpScaleDialog(int& denominator, const QString& caption, const QString& text)
{
    const auto hook = Installed().InpScale;
    return hook ? hook(denominator, caption, text) : mrCancel;
}

TModalResult InpNomStr2000Dialog(QString& value, const QString& caption, const QString& text)
{
    const auto hook = Installed().InpNomStr2000;
    return hook ? hook(value, caption, text) : mrCancel;
}

TModalResult InpPolarDialog(Extended X1, Extended Y1, Extended X2, Extended Y2, Extended& X,
                            Extended& Y)
{
    const auto hook = Installed().InpPolar;
    if (!hook)
        return mrCancel;
    TPolarAnswer answer;
    const TModalResult result = hook(answer);
    PolarPoint(X1, Y1, X2, Y2, answer, X, Y);
    return result;
}

TModalResult QDelObjectsDlg(const QStringList& lines)
{
    const auto hook = Installed().QDelObjects;
    return hook ? hook(lines) : mrCancel;
}

TModalResult DublicateItemDlg(QString& name, const QString& caption, const QString& text)
{
    const auto hook = Installed().DublicateItem;
    return hook ? hook(name, caption, text) : mrCancel;
}

TModalResult FirstStartDlg()
{
    const auto hook = Installed().FirstStart;
    return hook ? hook() : mrCancel;
}

TModalResult MessageDlg(const QString& text, TMsgDlgType type)
{
    const auto hook = Installed().MessageDlg;
    return hook ? hook(text, type) : mrCancel;
}
