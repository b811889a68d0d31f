// The classifier window as a whole: its creation and destruction over the classifier
// services, the entry SemDlg with its modes, the pages held to the mode, the keys, and the
// services other subsystems call on the window.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/ExCheckListBox.h"
#include "controls/TextListBox.h"
#include "foundation/ErrorTrail.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/signs/Symbols.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

const char* const Module = "UnitSemDialog";

std::unique_ptr<TFormSemDialog> TheWindow;

// What Panel1 says for each mode SemDlg is called with.
QString ModeText(Tsmode smode)
{
    switch (smode) {
    case 0: return QStringLiteral("Выбор стандартной семантики");
    case 1: return QStringLiteral("Выбор рабочей семантики");
    case 2: return QStringLiteral("Редактор рабочей семантики");
    case 3: return QStringLiteral("Редактор стандартной семантики");
    case 4: return QStringLiteral("Редактор списков расширенной семантики");
    case 5: return QStringLiteral("Выбор стандартной семантики для рабочей");
    default: return QString();
    }
}

QRadioButton* KindButton(TLmode lm, QRadioButton* point, QRadioButton* line, QRadioButton* polygon)
{
    switch (lm) {
    case lmLine: return line;
    case lmPolygon: return polygon;
    default: return point;
    }
}

}  // namespace

TSemListPlace SemListPlace(int materials, int states, int extended, int line)
{
    if (line < 0)
        return {};
    if (line < materials)
        return {0, line};
    if (line < materials + states)
        return {1, line - materials};
    if (line < materials + states + extended)
        return {2, line - materials - states};
    return {};
}

void SayNoSemEntryChosen(bool deleting)
{
    ShowMsgDialog(QStringLiteral("Не выбран элемент!"),
                  deleting ? QStringLiteral("Для удаления элемента списка необходимо сначала выбрать этот элемент")
                           : QStringLiteral("Для изменения элемента списка необходимо сначала выбрать этот элемент"));
}

void SemIndexingFault()
{
    ShowMsgDialog(QStringLiteral("Внутренняя ошибка индексирования"),
                  QStringLiteral("индекс выбранного элемента не попал ни в один из диапазонов "
                                 "выбранных свойств (чушь какая-то!)- не фатально, но неприятно. "
                                 "попробуйте закрыть окно и повторить выбор сначала"));
}

std::function<bool(QString& family)> TFormSemDialog::FontDialogHook = [](QString& family) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, QFont(family), DialogOwner(),
                                              QStringLiteral("Шрифт"));
    if (ok)
        family = chosen.family();
    return ok;
};

TFormSemDialog::TFormSemDialog() : TDialogBase(nullptr), Services(std::make_unique<TSemServices>())
{
    EscResult = mrCancel;
    CloseResult = mrCancel;
    BuildWindow();
    ConnectWorkPage();
    ConnectEditorPages();
    ApplyWorkFont(Services->FontName);
}

TFormSemDialog::~TFormSemDialog()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

// ---- Creation and destruction ----

void TFormSemDialog::FormCreate()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.FormCreate(Sender: TObject);");
    Symbols = nullptr;
    Services->AskUnknownWorkSem = nullptr;
    struct TFontAfter {
        TFormSemDialog& Form;
        ~TFontAfter() { Form.ApplyWorkFont(Form.Services->FontName); }
    } fontAfter{*this};
    Services->Open();
}

void TFormSemDialog::FormDestroy()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.FormDestroy(Sender: TObject);");
    Services->FontName = cbWorkSemObj->font().family();
    Services->Close();
}

void TFormSemDialog::SetSymbols(TSymbols* symbols)
{
    Symbols = symbols;
    Services->AskUnknownWorkSem = symbols ? &symbols->AskUnknownWorkSem : nullptr;
}

void TFormSemDialog::ApplyWorkFont(const QString& family)
{
    for (QWidget* w : {static_cast<QWidget*>(cbWorkSemObj), static_cast<QWidget*>(lbWorkSemSv)}) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
    }
}

void TFormSemDialog::SpeedButton1Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.SpeedButton1Click(Sender: TObject);");
    QString family = cbWorkSemObj->font().family();
    if (FontDialogHook && FontDialogHook(family))
        ApplyWorkFont(family);
}

// ---- The entry ----

int TFormSemDialog::Execute(Tsmode smode, TLmode& lmode, QString& Sem)
{
    TTrailGuard guard(Module, "function SemDlg(smode:Tsmode; var lmode:TLmode; var Sem:string):integer;",
                      TrailArg("smode", smode), TrailArg("lmode", lmode), TrailArg("Sem", Sem));
    if (isVisible())
        return mrCancel;
    Prepare(smode, lmode, Sem);
    PlaceScreenCentre();
    // The key preview, for the modal run only (and removed however it ends).
    struct TKeyPreview {
        TFormSemDialog* Form;
        explicit TKeyPreview(TFormSemDialog* form) : Form(form) { qApp->installEventFilter(form); }
        ~TKeyPreview() { qApp->removeEventFilter(Form); }
    } preview(this);
    const int result = ShowModal();
    if (result == mrOk)
        CopyBack(lmode, Sem);
    return result;
}

void TFormSemDialog::Prepare(Tsmode smode, TLmode lmode, const QString& Sem)
{
    Mode = smode;
    Localisation = lmode;
    Panel1->setText(ModeText(smode));
    switch (smode) {
    case 0:
        PrepareStandard(Sem);
        break;
    case 1:
        PrepareWorkSelection(lmode, Sem);
        break;
    case 2:
        PrepareWorkEditor();
        break;
    case 3:
        PrepareStandardEditor();
        break;
    case 4:
        PrepareExtendedLists();
        break;
    case 5:
        PrepareStandard(Sem);
        Mode = 6;   // "Готово" names the new work object instead of closing
        break;
    default:
        break;
    }
    HoldPages();
}

void TFormSemDialog::CopyBack(TLmode& lmode, QString& Sem)
{
    switch (Mode) {
    case 0:
        Sem = PanelSem->text();
        break;
    case 1:
        lmode = Localisation;
        Sem = PanelSem->text();
        break;
    case 2:
        lmode = Localisation;
        break;
    case 3:
        Codec().SaveStandartBase();
        break;
    default:
        break;
    }
}

void TFormSemDialog::BitBtnOKClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.BitBtnOKClick(Sender: TObject);");
    if (Mode >= 0 && Mode <= 4) {
        if (Mode == 2)
            AskSaveWorkBase();
        SetModalResult(mrOk);
    } else if (Mode == 6 || Mode == 7) {
        if (NameWorkObject)
            NameWorkObject();
    }
}

// The work selection as far as the window itself prepares it: the kind, the counters,
// the work objects of the kind and the work object of Sem, or the unknown object.
void TFormSemDialog::PrepareWorkSelection(TLmode lmode, const QString& Sem)
{
    UnknownObject = 0;
    KindButton(lmode, rbPoint01, rbLine01, rbPolygon01)->setChecked(true);
    TSemCodec& codec = Codec();
    lnumpoints->setText(QStringLiteral("точечных = ") + QString::number(codec.SemWorks[lmPoint].GetCount()));
    lnumLines->setText(QStringLiteral("линейных = ") + QString::number(codec.SemWorks[lmLine].GetCount()));
    lnumpolygons->setText(QStringLiteral("площадных = ") +
                          QString::number(codec.SemWorks[lmPolygon].GetCount()));

    Filling = true;
    cbWorkSemObj->clear();
    QStringList names;
    if (lmode >= lmPoint && lmode <= lmPolygon)
        for (const auto& w : codec.SemWorks[lmode])
            names << w->WorkName;
    names.sort(Qt::CaseInsensitive);
    cbWorkSemObj->addItems(names);
    for (QToolButton* b : AddButtons1)
        b->setVisible(false);

    if (Sem.isEmpty()) {
        codec.ClearFields();
        cbWorkSemObj->setEditText(QString());
    } else {
        QString work;
        if (codec.SemToWrkName(lmode, Sem, work)) {
            cbWorkSemObj->setEditText(work);
            codec.Split(Sem);
        } else {
            QString text;
            codec.STDdecode(text);
            cbWorkSemObj->setEditText(QStringLiteral("Неизвестный объект (") + text + u')');
            for (QToolButton* b : AddButtons1)
                b->setVisible(true);
            UnknownObject = 1;
        }
    }
    Filling = false;
    RebuildWorkList();
    ShowAllowedButtons();
    ShowCode();
}

// ---- Pages, focus and keys ----

void TFormSemDialog::HoldPages()
{
    if (HoldingPages)
        return;
    HoldingPages = true;
    const bool selecting = Mode == 0 || Mode == 1 || Mode == 6 || Mode == 7;
    pcMain->setCurrentWidget(selecting ? tsSelect : tsEdit);
    if (Mode == 0 || Mode == 6 || Mode == 7)
        pcSelectSem1->setCurrentWidget(tsSTD);
    else if (Mode == 1)
        pcSelectSem1->setCurrentWidget(tsWRK);
    if (Mode == 2 || Mode == 5)
        pcSelectSem2->setCurrentWidget(tsEditWrk);
    else if (Mode == 3)
        pcSelectSem2->setCurrentWidget(tsEditSTD);
    else if (Mode == 4)
        pcSelectSem2->setCurrentWidget(tsEditExt);
    HoldingPages = false;
}

void TFormSemDialog::FocusByMode()
{
    switch (Mode) {
    case 0: ComboBoxObject->setFocus(); break;
    case 1: cbWorkSemObj->setFocus(); break;
    case 2:
    case 5: cbObj->setFocus(); break;
    case 3: cbEdtStdObj->setFocus(); break;
    case 4: mExt->setFocus(); break;
    default: break;
    }
}

void TFormSemDialog::showEvent(QShowEvent* e)
{
    TDialogBase::showEvent(e);
    FocusByMode();
}

// The window's key preview: Esc cancels from every control, Enter is "Готово" with its
// step everywhere but in the value-list memo, which takes Enter for a new line.
bool TFormSemDialog::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress || !watched->isWidgetType())
        return TDialogBase::eventFilter(watched, e);
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this || !isVisible())
        return TDialogBase::eventFilter(watched, e);
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Escape) {
        SetModalResult(mrCancel);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (widget == mExt || widget == mExt->viewport())
            return false;
        BitBtnOKClick();
        return true;
    }
    return TDialogBase::eventFilter(watched, e);
}

// ---- Services of the window ----

void TFormSemDialog::decode2(TLmode lm, const QString& sem, QString& res)
{
    Services->decode2(lm, sem, res);
}

void TFormSemDialog::SaveExcludes() { Services->SaveExcludes(); }

void TFormSemDialog::LoadExcludes() { Services->LoadExcludes(); }

void TFormSemDialog::LoadSynonyms() { Services->LoadSynonyms(); }

void TFormSemDialog::SaveSynonyms() { Services->SaveSynonyms(); }

bool TFormSemDialog::SemToSymbolName(const QString& sem, TLmode lm, QString& name, int scale)
{
    return Services->SemToSymbolName(sem, lm, name, scale);
}

// ---- The one window ----

void CreateFormSemDialog()
{
    TheWindow = std::make_unique<TFormSemDialog>();
    TFormSemDialog* form = TheWindow.get();
    TSemDialogHooks& hooks = SemDialogHooks();
    hooks.SemDlg = [form](int smode, int& lmode, QString& Sem) {
        return form->Execute(smode, lmode, Sem);
    };
    hooks.LoadFKNs02 = [form] { form->LoadFKNs02(); };
    form->FormCreate();
}

void FreeFormSemDialog()
{
    if (!TheWindow)
        return;
    TSemDialogHooks& hooks = SemDialogHooks();
    hooks.SemDlg = nullptr;
    hooks.LoadFKNs02 = nullptr;
    // The window goes whatever the files say; their failure is raised after.
    std::unique_ptr<TFormSemDialog> form = std::move(TheWindow);
    form->FormDestroy();
}

TFormSemDialog* FormSemDialog() { return TheWindow.get(); }
