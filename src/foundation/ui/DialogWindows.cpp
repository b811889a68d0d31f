// The real windows behind the hooks of ServDialogs: each hook creates its window for
// one call (the polar window once), shows it modally and copies back what the entry
// routine promises.
#include "foundation/ui/ServDialogsWindows.h"

#include "foundation/ui/EngineQuestions.h"
#include "foundation/ui/FirstStart.h"
#include "foundation/ui/MaskEdit.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

namespace {

TModalResult RunShowMsg(const QString& caption, const QString& text)
{
    TFormShowMsgDialog form(caption, text, DialogOwner());
    form.PlaceOnMouse();
    return form.ShowModal();
}

TModalResult RunShowQ(const QString& caption, const QString& text)
{
    TFormShowQDialog form(caption, text, DialogOwner());
    form.PlaceOnMouse();
    return form.ShowModal();
}

TModalResult RunInpStr(QString& value, const QString& caption, const QString& text)
{
    TFormInpStrDialog form(value, caption, text, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.Edit1->text();
    return result;
}

TModalResult RunInpStr2(QString& masked, QString& free, const QString& caption,
                        const QString& text, const QString& mask)
{
    TFormInpStr2Dialog form(masked, free, caption, text, mask, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    masked = form.MaskEdit1->Text();
    free = form.Edit1->text();
    return result;
}

TModalResult RunSelStr(const QStringList& list, TSelection& selection, const QString& caption,
                       const QString& text)
{
    TFormSelStrDialog form(list, selection.Index, caption, text, DialogOwner());
    form.PlaceDesktopCentre();
    const TModalResult result = form.ShowModal();
    selection = form.Selection();
    return result;
}

TModalResult RunSelStr2(const QStringList& list, TSelection& selection, const QString& caption,
                        const QString& text, QString& free)
{
    TFormSelStr2Dialog form(list, selection.Index, caption, text, free, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    selection = form.Selection();
    free = form.Edit1->text();
    return result;
}

TModalResult RunInpScale(int& denominator, const QString& caption, const QString& text)
{
    TFormInpScaleDialog form(denominator, caption, text, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    ScaleFromText(form.MaskEdit1->Text(), denominator);
    return result;
}

TModalResult RunInpNomStr2000(QString& value, const QString& caption, const QString& text)
{
    TFormInpNomStr2000Dialog form(value, caption, text, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    value = form.MaskEdit1->Text();
    return result;
}

// The polar window, kept from call to call so the choices stay as the user left them;
// it goes with the window that owned it, or at the end of the run.
QPointer<TFormInpPolarDialog>& KeptPolarWindow()
{
    static QPointer<TFormInpPolarDialog> kept;
    return kept;
}

TModalResult RunInpPolar(TPolarAnswer& answer)
{
    QPointer<TFormInpPolarDialog>& kept = KeptPolarWindow();
    if (!kept) {
        QWidget* owner = DialogOwner();
        kept = new TFormInpPolarDialog(owner);
        if (!owner) {
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                             kept.data(), &QObject::deleteLater);
        }
    }
    kept->PlaceScreenCentre();
    const TModalResult result = kept->ShowModal();
    answer = kept->Answer();
    return result;
}

TModalResult RunQDelObjects(const QStringList& lines)
{
    TFormQDelObjectsDialog form(lines, DialogOwner());
    form.PlaceOnMouse();
    return form.ShowModal() == mrOk ? mrOk : mrCancel;
}

TModalResult RunDublicateItem(QString& name, const QString& caption, const QString& text)
{
    TFormDublicateItemDialog form(name, caption, text, DialogOwner());
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    if (form.Choice() == mrYes)
        name = form.Name();
    return result;
}

TModalResult RunFirstStart()
{
    TFormFirstStart form(LicenceFileName(), DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal() == mrOk ? mrOk : mrCancel;
}

TModalResult RunMessageDlg(const QString& text, TMsgDlgType type)
{
    static const struct {
        QMessageBox::Icon Icon;
        const char* Caption;
    } kinds[] = {{QMessageBox::Warning, "Внимание"},
                 {QMessageBox::Critical, "Ошибка"},
                 {QMessageBox::Information, "Информация"}};
    const auto& kind = kinds[type <= mtInformation ? type : mtInformation];
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(kind.Icon, QString::fromUtf8(kind.Caption), lines, QMessageBox::Ok,
                    DialogOwner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return mrOk;
}

}  // namespace

void InstallDialogWindows()
{
    // Windows installed anew start with the choices of a new run.
    if (QPointer<TFormInpPolarDialog>& kept = KeptPolarWindow()) {
        kept->deleteLater();
        kept.clear();
    }
    TDialogHooks& hooks = DialogHooks();
    hooks.ShowMsg = RunShowMsg;
    hooks.ShowQ = RunShowQ;
    hooks.InpStr = RunInpStr;
    hooks.InpStr2 = RunInpStr2;
    hooks.SelStr = RunSelStr;
    hooks.SelStr2 = RunSelStr2;
    hooks.InpScale = RunInpScale;
    hooks.InpNomStr2000 = RunInpNomStr2000;
    hooks.InpPolar = RunInpPolar;
    hooks.QDelObjects = RunQDelObjects;
    hooks.DublicateItem = RunDublicateItem;
    hooks.FirstStart = RunFirstStart;
    hooks.MessageDlg = RunMessageDlg;
}
