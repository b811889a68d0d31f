// The work semantics editor page: the work objects of one kind, each a name standing for
// a standard semantics with the materials, states and extended kinds it allows. New and
// changed work objects pass through the standard selection (modes 6 and 7) and the
// naming window; the work base is written by the save button or the question on OK.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/ExCheckListBox.h"
#include "controls/TextListBox.h"
#include "editors/EditorDialogs.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/STDserv.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const char* const Module = "UnitSemDialog";

const QString OutOfRange = QStringLiteral("Вне диапазона");

QRadioButton* KindButton02(const TFormSemDialog& form, TLmode lm)
{
    switch (lm) {
    case lmLine: return form.rbLine02;
    case lmPolygon: return form.rbPolygon02;
    default: return form.rbPoint02;
    }
}

}  // namespace

void TFormSemDialog::ConnectWorkEditor()
{
    const std::pair<QRadioButton*, TLmode> kinds[] = {
        {rbPoint02, lmPoint}, {rbLine02, lmLine}, {rbPolygon02, lmPolygon}};
    for (const auto& [button, lm] : kinds)
        connect(button, &QRadioButton::clicked, this, [this, lm = lm] { rbLocalisation02Click(lm); });
    connect(cbObj, &QComboBox::editTextChanged, this, [this] {
        if (!Filling)
            cbObjChange();
    });
    for (int i = 0; i < SemExtCount; ++i)
        connect(AddButtons2[i], &QToolButton::clicked, this,
                [this, i] { Pserv04(static_cast<TSemExt>(i), false, 0); });
    lbWorkSemSv2->OnDblClick = [this] { sbEditItem02Click(); };
    NameWorkObject = [this] { NameWorkObjectStep(); };
}

// ---- The kind and the work object box ----

void TFormSemDialog::PrepareWorkEditor()
{
    KindButton02(*this, Localisation)->setChecked(true);
    FillWorkEditorBox();
}

void TFormSemDialog::rbLocalisation02Click(TLmode lm)
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.rbPoint02Click(Sender: TObject);",
                      TrailArg("lm", lm));
    Localisation = lm;
    Codec().ClearFields();
    FillWorkEditorBox();
}

void TFormSemDialog::FillWorkEditorBox()
{
    QStringList names;
    if (Localisation >= lmPoint && Localisation <= lmPolygon)
        for (const auto& w : Codec().SemWorks[Localisation])
            names << w->WorkName;
    names.sort(Qt::CaseInsensitive);
    {
        const QSignalBlocker blocker(cbObj);
        cbObj->clear();
        cbObj->addItems(names);
        cbObj->setCurrentIndex(-1);
        cbObj->setEditText(QString());
    }
    for (QToolButton* b : {sbEditItem02, sbDelItem02, sbDelAll02})
        b->setEnabled(false);
    EnableWorkButtons();
    if (names.isEmpty()) {
        lbWorkSemSv2->clear();
        mStdDecode->clear();
        ShowCode();
        return;
    }
    {
        const QSignalBlocker blocker(cbObj);
        cbObj->setCurrentIndex(0);
    }
    cbObjChange();
}

// The add buttons have nothing to add to while the kind has no work object.
void TFormSemDialog::EnableWorkButtons()
{
    const bool any = Localisation >= lmPoint && Localisation <= lmPolygon &&
                     Codec().SemWorks[Localisation].GetCount() > 0;
    for (QToolButton* b : AddButtons2)
        b->setEnabled(any);
}

RSemWork* TFormSemDialog::NamedWorkObject()
{
    const QString name = cbObj->currentText();
    if (name.isEmpty() || Localisation < lmPoint || Localisation > lmPolygon)
        return nullptr;
    for (const auto& w : Codec().SemWorks[Localisation])
        if (w->WorkName.compare(name, Qt::CaseInsensitive) == 0)
            return w.get();
    return nullptr;
}

RSemWork* TFormSemDialog::CurrentWorkObject()
{
    if (Localisation < lmPoint || Localisation > lmPolygon)
        return nullptr;
    return Codec().SemWorks[Localisation].Item;
}

void TFormSemDialog::cbObjChange()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.cbObjChange(Sender: TObject);");
    TSemCodec& codec = Codec();
    codec.ClearFields();
    if (RSemWork* named = NamedWorkObject()) {
        // The named object becomes the kind's current one.
        TSemWorks& works = codec.SemWorks[Localisation];
        works.GoFirstItemWhere([&](const RSemWork& w) { return &w == named; });
    }
    ShowWorkObject();
}

void TFormSemDialog::ShowWorkObject()
{
    TSemCodec& codec = Codec();
    const RSemWork* work = CurrentWorkObject();
    QStringList lines;
    if (work) {
        codec.Split(work->Semantics);
        QString text;
        codec.STDdecode(text);
        mStdDecode->setPlainText(text.toLower());
        const QString box = cbObj->currentText();
        auto valueText = [&](int kind, int code) {
            return codec.CheckWrkProp(kind, code, box) ? codec.ValueName(kind, code) : OutOfRange;
        };
        const QString sep = QStringLiteral(" : ");
        for (const auto& m : work->MList)
            lines << SemExtToStr(seM, true) + sep + valueText(seM, m->Code);
        for (const auto& s : work->SList)
            lines << SemExtToStr(seS, true) + sep + valueText(seS, s->Code);
        for (const auto& e : work->EList) {
            QString line = SemExtToStr(e->Kind, true);
            const QString value = valueText(e->Kind, e->ListIndex);
            if (!value.isEmpty())
                line += QStringLiteral(",  ") + value;
            lines << line;
        }
    } else {
        mStdDecode->clear();
    }
    lbWorkSemSv2->clear();
    lbWorkSemSv2->addItems(lines);
    for (QToolButton* b : {sbEditItem02, sbDelItem02, sbDelAll02})
        b->setEnabled(!lines.isEmpty());
    EnableWorkButtons();
    ShowCode();
}

// ---- Allowed entries ----

void TFormSemDialog::sbEditItem02Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbEditItem02Click(Sender: TObject);");
    const int line = TextListBoxFirstSelected(lbWorkSemSv2);
    if (line < 0) {
        SayNoSemEntryChosen(false);
        return;
    }
    RSemWork* work = CurrentWorkObject();
    const TSemListPlace place = work ? SemListPlace(*work, line) : TSemListPlace{};
    switch (place.Group) {
    case 0:
        work->MList.GoItem(place.Index);
        Pserv04(seM, true, work->MList.Item->Code);
        break;
    case 1:
        work->SList.GoItem(place.Index);
        Pserv04(seS, true, work->SList.Item->Code);
        break;
    case 2:
        work->EList.GoItem(place.Index);
        Pserv04(work->EList.Item->Kind, true, work->EList.Item->ListIndex);
        break;
    default:
        SemIndexingFault();
        break;
    }
    ShowWorkObject();
}

void TFormSemDialog::sbDelItem02Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelItem02Click(Sender: TObject);");
    const int line = TextListBoxFirstSelected(lbWorkSemSv2);
    if (line < 0) {
        SayNoSemEntryChosen(true);
        return;
    }
    RSemWork* work = CurrentWorkObject();
    const TSemListPlace place = work ? SemListPlace(*work, line) : TSemListPlace{};
    switch (place.Group) {
    case 0:
        work->MList.GoItem(place.Index);
        work->MList.DeleteItem();
        break;
    case 1:
        work->SList.GoItem(place.Index);
        work->SList.DeleteItem();
        break;
    case 2:
        work->EList.GoItem(place.Index);
        work->EList.DeleteItem();
        break;
    default:
        SemIndexingFault();
        ShowWorkObject();
        return;
    }
    ShowWorkObject();
    sbSaveWrkObj->setEnabled(true);
}

void TFormSemDialog::sbDelAll02Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelAll02Click(Sender: TObject);");
    if (RSemWork* work = CurrentWorkObject()) {
        work->MList.DeleteAll();
        work->SList.DeleteAll();
        work->EList.DeleteAll();
    }
    ShowWorkObject();
    sbSaveWrkObj->setEnabled(true);
}

void TFormSemDialog::Pserv04(TSemExt se, bool change, int code)
{
    TTrailGuard guard(Module,
                      "procedure TFormSemDialog.Pserv04(se:TSemExt; Tpmode:integer; code:integer);",
                      TrailArg("se", int(se)), TrailArg("change", change), TrailArg("code", code));
    RSemWork* work = CurrentWorkObject();
    if (!work)
        return;
    TSemCodec& codec = Codec();
    QStringList& values = codec.SL[se];
    const QString title = (change ? QStringLiteral("Изменить свойство: ")
                                  : QStringLiteral("Добавить свойство: ")) +
                          SemExtToStr(se, true);
    int index = change ? code : 0;
    int added = 0;
    // The work file keeps a material in three digits, a state or a list index in two: a
    // line past that would make an entry no save could write.
    const int highest = se == seM ? 999 : 99;
    const auto storable = [&] {
        if (index <= highest)
            return true;
        ShowMsgDialog(QStringLiteral("Свойство рабочей семантики вне диапазона!"),
                      QStringLiteral("Строка ") + QString::number(index) +
                          QStringLiteral(" списка значений не может быть свойством объекта "
                                         "рабочей семантики: допустимы строки 0-") +
                          QString::number(highest));
        return false;
    };

    if (se == seM || se == seS) {
        // A new text typed and confirmed joins the value list (added 1); only a line of
        // the list gives an entry.
        if (SelStrDialog(values, index, added, title,
                         QStringLiteral("Выберете значение из списка:")) != mrOk ||
            added != 0 || index <= 0 || !storable())
            return;
        if (se == seM) {
            if (!change)
                work->MList.AddItem();
            work->MList.Item->Code = static_cast<std::int16_t>(index);
        } else {
            if (!change)
                work->SList.AddItem();
            work->SList.Item->Code = static_cast<std::int8_t>(index);
        }
    } else if (values.size() < 2) {
        if (change) {
            ShowMsgDialog(QStringLiteral("В выбранном свойстве отсутствуют варианты значений"),
                          QStringLiteral("Выбранное свойство не содержит вариантов значений; его "
                                         "можно только удалить"));
            return;
        }
        work->EList.AddItem();
        work->EList.Item->Kind = se;
        work->EList.Item->ListIndex = 0;
    } else {
        if (SelStrDialog(values, index, added, title,
                         QStringLiteral("Если необходимо, выберете значение дополнительного "
                                        "свойства из списка; если дополнительные свойства не "
                                        "нужны, оставьте поле пустым ")) != mrOk ||
            added != 0 || index < 0 || !storable())
            return;
        if (!change)
            work->EList.AddItem();
        work->EList.Item->Kind = se;
        work->EList.Item->ListIndex = static_cast<std::int8_t>(index);
    }
    sbSaveWrkObj->setEnabled(true);
    ShowWorkObject();
}

void TFormSemDialog::sbSaveWrkObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbSaveWrkObjClick(Sender: TObject);");
    Codec().SaveWorkBase();
    sbSaveWrkObj->setEnabled(false);
}

void TFormSemDialog::AskSaveWorkBase()
{
    if (!sbSaveWrkObj->isEnabled())
        return;
    if (ShowMsgDialog(QStringLiteral("Изменения не сохранены!"),
                      QStringLiteral("Если не сохранить изменения на диск, то они будут "
                                     "действовать только в текущем сеансе;\rEnter, Готово - "
                                     "сохранить\rEsc, закрыть - не сохранять")) == mrOk)
        sbSaveWrkObjClick();
}

// ---- Work objects ----

void TFormSemDialog::sbAddWrkObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbAddWrkObjClick(Sender: TObject);");
    Codec().ClearFields();
    Mode = 6;
    ChangedWork = nullptr;
    Panel1->setText(QStringLiteral("Выбор стандартной семантики для рабочей"));
    PrepareStandard(QString());
    HoldPages();
    ComboBoxObject->setFocus();
}

void TFormSemDialog::sbEdtWrkObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbEdtWrkObjClick(Sender: TObject);");
    RSemWork* work = NamedWorkObject();
    if (!work) {
        ShowMsgDialog(QStringLiteral("Не выбран объект!"),
                      QStringLiteral("Чтобы изменить свойства объекта, необходимо его выбрать"));
        return;
    }
    Mode = 7;
    ChangedWork = work;
    Panel1->setText(QStringLiteral("Выбор стандартной семантики для рабочей"));
    PrepareStandard(work->Semantics);
    HoldPages();
    ComboBoxObject->setFocus();
}

void TFormSemDialog::sbDelWrkObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelWrkObjClick(Sender: TObject);");
    if (RSemWork* work = NamedWorkObject()) {
        if (ShowMsgDialog(QStringLiteral("Подтверждение"),
                          QStringLiteral("Выбранный объект рабочей семантики (") + work->WorkName +
                              QStringLiteral(") будет удален!\rEnter, Готово - удалить;\r"
                                             "Esc, закрыть - отмена")) == mrOk) {
            TSemWorks& works = Codec().SemWorks[Localisation];
            if (works.GoFirstItemWhere([&](const RSemWork& w) { return &w == work; }))
                works.DeleteItem();
        }
    }
    FillWorkEditorBox();
    sbSaveWrkObj->setEnabled(true);
}

void TFormSemDialog::NameWorkObjectStep()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.NameWorkObject;");
    TSemCodec& codec = Codec();
    QString decoding;
    codec.STDdecode(decoding);
    QString standard;
    codec.Code(standard, false);
    QString name;
    const bool adding = Mode == 6;
    // Back from the standard selection to the work editor of the localisation, showing
    // shown (or the kind's first work object when it names none).
    const auto backToWorkEditor = [this](const QString& shown) {
        Mode = 2;
        Panel1->setText(QStringLiteral("Редактор рабочей семантики"));
        KindButton02(*this, Localisation)->setChecked(true);
        HoldPages();
        FillWorkEditorBox();
        if (!shown.isEmpty()) {
            cbObj->setCurrentIndex(cbObj->findText(shown));
            cbObj->setEditText(shown);
        }
        cbObj->setFocus();
    };
    const int result = NewWrkSemDlg(standard, decoding, name,
                                    adding ? QStringLiteral("Новый объект рабочей семантики")
                                           : QStringLiteral("Изменить объект рабочей семантики"));
    if (result == 4) {   // "Выбрать": back to the standard selection, same mode
        ComboBoxObject->setFocus();
        return;
    }
    if (result != mrOk || (!adding && !ChangedWork)) {
        ChangedWork = nullptr;
        backToWorkEditor(cbObj->currentText());
        return;
    }
    if (standard.isEmpty()) {
        // A work object without a standard semantics would stand for every empty string.
        ShowMsgDialog(QStringLiteral("Не выбран объект!"),
                      QStringLiteral("Строка стандартной семантики пуста; выберите объект "
                                     "стандартной семантики"));
        ComboBoxObject->setFocus();
        return;
    }
    RSemWork* work = ChangedWork;
    if (adding) {
        TSemWorks& works = codec.SemWorks[Localisation];
        works.AddItem();
        work = works.Item;
    }
    work->Semantics = standard;
    work->WorkName = name;
    ChangedWork = nullptr;
    backToWorkEditor(name);
    sbSaveWrkObj->setEnabled(true);
}
