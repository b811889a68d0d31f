// The work semantics selection page: the user picks the kind and a work object, whose
// standard semantics becomes the current one, and adds the materials, states and
// extended values the work object allows, each chosen from a temporary list.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/TextListBox.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/STDserv.h"

#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <vector>

namespace {

const char* const Module = "UnitSemDialog";

const QString OutOfRange = QStringLiteral("Вне диапазона");

// A choice list offered for one add or change: the texts shown and, line by line, the
// code each stands for, so the line chosen gives its own code even when two lines of a
// value list read the same.
struct TChoice {
    QStringList Lines;
    std::vector<int> Codes;
    int Preselected = -1;

    void Add(const QString& line, int code)
    {
        Lines << line;
        Codes.push_back(code);
    }
    // The line of code, or -1.
    int LineOf(int code) const
    {
        for (size_t i = 0; i < Codes.size(); ++i)
            if (Codes[i] == code)
                return static_cast<int>(i);
        return -1;
    }
};

// A value holding ";" or ":" would split into other items when the string is read
// again: it is refused with a message.
bool ValueFits(const QString& value)
{
    if (!value.contains(u';') && !value.contains(u':'))
        return true;
    ShowMsgDialog(QStringLiteral("Недопустимое значение свойства"),
                  QStringLiteral("Значение свойства не может содержать знаки \";\" и \":\""));
    return false;
}

}  // namespace

void TFormSemDialog::ConnectWorkPage()
{
    const std::pair<QRadioButton*, TLmode> kinds[] = {
        {rbPoint01, lmPoint}, {rbLine01, lmLine}, {rbPolygon01, lmPolygon}};
    for (const auto& [button, lm] : kinds)
        connect(button, &QRadioButton::clicked, this, [this, lm = lm] { rbLocalisation01Click(lm); });
    connect(cbWorkSemObj, &QComboBox::editTextChanged, this, [this] {
        if (!Filling)
            cbWorkSemObjChange();
    });
    for (int i = 0; i < SemExtCount; ++i)
        connect(AddButtons1[i], &QToolButton::clicked, this,
                [this, i] { Pserv01(static_cast<TSemExt>(i), 0, 0, QString()); });
    connect(sbEditItem01, &QToolButton::clicked, this, [this] { sbEditItem01Click(); });
    connect(sbDelItem01, &QToolButton::clicked, this, [this] { sbDelItem01Click(); });
    connect(sbDelAll01, &QToolButton::clicked, this, [this] { sbDelAll01Click(); });
    lbWorkSemSv->OnDblClick = [this] { sbEditItem01Click(); };

    pmWorkSemSv = new QMenu(lbWorkSemSv);
    pmWorkSemSv->setObjectName(QStringLiteral("pmWorkSemSv"));
    pmWorkSemSv->addAction(QStringLiteral("Изменить"), this, [this] { sbEditItem01Click(); });
    pmWorkSemSv->addAction(QStringLiteral("Удалить"), this, [this] { sbDelItem01Click(); });
    pmWorkSemSv->addAction(QStringLiteral("Удалить все"), this, [this] { sbDelAll01Click(); });
    lbWorkSemSv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lbWorkSemSv, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        pmWorkSemSv->popup(lbWorkSemSv->viewport()->mapToGlobal(at));
    });
}

const RSemWork* TFormSemDialog::BoxWorkObject()
{
    const QString name = cbWorkSemObj->currentText();
    if (name.isEmpty() || Localisation < lmPoint || Localisation > lmPolygon)
        return nullptr;
    for (const auto& w : Codec().SemWorks[Localisation])
        if (w->WorkName.compare(name, Qt::CaseInsensitive) == 0)
            return w.get();
    return nullptr;
}

void TFormSemDialog::rbLocalisation01Click(TLmode lm)
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.rbPoint01Click(Sender: TObject);",
                      TrailArg("lm", lm));
    Localisation = lm;
    Codec().ClearFields();
    for (QToolButton* b : AddButtons1)
        b->setVisible(false);
    RebuildWorkList();
    QStringList names;
    for (const auto& w : Codec().SemWorks[lm])
        names << w->WorkName;
    names.sort(Qt::CaseInsensitive);
    {
        const QSignalBlocker blocker(cbWorkSemObj);
        cbWorkSemObj->clear();
        cbWorkSemObj->addItems(names);
        cbWorkSemObj->setCurrentIndex(-1);
        cbWorkSemObj->setEditText(QString());
    }
    ShowCode();
    if (isVisible())
        cbWorkSemObj->setFocus();
}

void TFormSemDialog::cbWorkSemObjChange()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.cbWorkSemObjChange(Sender: TObject);");
    for (QToolButton* b : AddButtons1)
        b->setVisible(false);
    ShowAllowedButtons();
    TSemCodec& codec = Codec();
    codec.ClearFields();
    if (const RSemWork* work = BoxWorkObject())
        codec.Split(work->Semantics);
    RebuildWorkList();
    ShowCode();
}

void TFormSemDialog::ShowAllowedButtons()
{
    const RSemWork* work = BoxWorkObject();
    if (!work)
        return;
    if (work->MList.GetCount() > 0)
        AddButtons1[seM]->setVisible(true);
    if (work->SList.GetCount() > 0)
        AddButtons1[seS]->setVisible(true);
    for (const auto& e : work->EList)
        if (e->Kind < SemExtCount)
            AddButtons1[e->Kind]->setVisible(true);
}

void TFormSemDialog::RebuildWorkList()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.ShowWorkSemSv;");
    TSemCodec& codec = Codec();
    const QString box = cbWorkSemObj->currentText();
    const QString sep = QStringLiteral(" : ");
    auto valueText = [&](int kind, int code) {
        return codec.CheckWrkProp(kind, code, box) ? codec.ValueName(kind, code) : OutOfRange;
    };
    QStringList lines;
    for (const auto& m : codec.MList)
        lines << SemExtToStr(seM, true) + sep + valueText(seM, m->Code);
    for (const auto& s : codec.SList)
        lines << SemExtToStr(seS, true) + sep + valueText(seS, s->Code);
    for (const auto& e : codec.EList) {
        QString line = SemExtToStr(e->Kind, true);
        const QString text = valueText(e->Kind, e->ListIndex);
        if (!text.isEmpty())
            line += QStringLiteral(",  ") + text;
        lines << line + sep + e->Value;
    }
    lbWorkSemSv->clear();
    lbWorkSemSv->addItems(lines);
    for (QToolButton* b : {sbDelAll01, sbDelItem01, sbEditItem01})
        b->setEnabled(!lines.isEmpty());
    ShowCode();
}

int TFormSemDialog::FirstSelectedWorkLine() const
{
    return TextListBoxFirstSelected(lbWorkSemSv);
}

void TFormSemDialog::sbEditItem01Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbEditItem01Click(Sender: TObject);");
    const int line = FirstSelectedWorkLine();
    if (line < 0) {
        SayNoSemEntryChosen(false);
        return;
    }
    TSemCodec& codec = Codec();
    const TSemListPlace place = SemListPlace(codec, line);
    switch (place.Group) {
    case 0:
        codec.MList.GoItem(place.Index);
        Pserv01(seM, 1, codec.MList.Item->Code, QString());
        break;
    case 1:
        codec.SList.GoItem(place.Index);
        Pserv01(seS, 1, codec.SList.Item->Code, QString());
        break;
    case 2: {
        codec.EList.GoItem(place.Index);
        const RSemE& item = *codec.EList.Item;
        Pserv01(item.Kind, 1, item.ListIndex, item.Value);
        break;
    }
    default:
        SemIndexingFault();
        return;
    }
    RebuildWorkList();
}

void TFormSemDialog::sbDelItem01Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelItem01Click(Sender: TObject);");
    const int line = FirstSelectedWorkLine();
    if (line < 0) {
        SayNoSemEntryChosen(true);
        return;
    }
    TSemCodec& codec = Codec();
    const TSemListPlace place = SemListPlace(codec, line);
    switch (place.Group) {
    case 0:
        codec.MList.GoItem(place.Index);
        codec.MList.DeleteItem();
        break;
    case 1:
        codec.SList.GoItem(place.Index);
        codec.SList.DeleteItem();
        break;
    case 2:
        codec.EList.GoItem(place.Index);
        codec.EList.DeleteItem();
        break;
    default:
        SemIndexingFault();
        return;
    }
    RebuildWorkList();
}

void TFormSemDialog::sbDelAll01Click()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelAll01Click(Sender: TObject);");
    TSemCodec& codec = Codec();
    codec.MList.DeleteAll();
    codec.SList.DeleteAll();
    codec.EList.DeleteAll();
    RebuildWorkList();
}

void TFormSemDialog::Pserv01(TSemExt se, int Tpmode, int code, const QString& value)
{
    TTrailGuard guard(Module,
                      "procedure TFormSemDialog.Pserv01(se:TSemExt; Tpmode:integer; code:integer; "
                      "value:string);",
                      TrailArg("se", int(se)), TrailArg("Tpmode", Tpmode), TrailArg("code", code),
                      TrailArg("value", value));
    TSemCodec& codec = Codec();
    const bool change = Tpmode == 1;
    const QString title = (change ? QStringLiteral("Изменить свойство: ")
                                  : QStringLiteral("Добавить свойство: ")) +
                          SemExtToStr(se, true);
    const RSemWork* work = BoxWorkObject();
    const QString box = cbWorkSemObj->currentText();
    QStringList values;
    codec.SemExtToSL(se, values);

    // The lines offered: every line of the value list for an unknown object, else the
    // lines the work object allows for the kind, out-of-range ones left out.
    TChoice choice;
    if (UnknownObject) {
        for (int i = 0; i < values.size(); ++i)
            choice.Add(values[i], i);
    } else if (work) {
        auto offer = [&](int c) {
            if (codec.CheckWrkProp(se, c, box))
                choice.Add(codec.ValueName(se, c), c);
        };
        if (se == seM) {
            for (const auto& m : work->MList)
                offer(m->Code);
        } else if (se == seS) {
            for (const auto& s : work->SList)
                offer(s->Code);
        } else {
            for (const auto& e : work->EList)
                if (e->Kind == se)
                    offer(e->ListIndex);
        }
    }
    if (change)
        choice.Preselected = choice.LineOf(code);
    else if (!UnknownObject && !choice.Lines.isEmpty())
        choice.Preselected = 0;
    const auto chosenCode = [&](int result, int index, int added) {
        if (result != mrOk || added != 0 || index < 0 || index >= int(choice.Codes.size()))
            return -1;
        return choice.Codes[size_t(index)];
    };

    if (se == seM || se == seS) {
        int index = choice.Preselected;
        int added = 0;
        const int result = SelStrDialog(choice.Lines, index, added, title,
                                        QStringLiteral("Выберете значение из списка:"));
        const int e = chosenCode(result, index, added);
        if (e <= 0)   // line 0 is reserved and empty
            return;
        if (se == seM) {
            if (!change)
                codec.MList.AddItem();
            codec.MList.Item->Code = static_cast<std::int16_t>(e);
        } else {
            if (!change)
                codec.SList.AddItem();
            codec.SList.Item->Code = static_cast<std::int8_t>(e);
        }
        RebuildWorkList();
        return;
    }

    if (values.size() < 2) {
        QString text = value;
        if (InpStrDialog(text, title, QStringLiteral("Введите значение свойства")) != mrOk ||
            text.isEmpty() || !ValueFits(text))
            return;
        if (!change)
            codec.EList.AddItem();
        RSemE& item = *codec.EList.Item;
        item.Kind = se;
        item.ListIndex = 0;
        item.Value = text;
        RebuildWorkList();
        return;
    }
    int index = choice.Preselected;
    int added = 0;
    QString text = value;
    const int result = SelStr2Dialog(
        choice.Lines, index, added, title,
        QStringLiteral("Введите значение свойства и при необходимости выберете дополнительную "
                       "информацию из списка:"),
        text);
    const int e = chosenCode(result, index, added);
    if (e < 0 || text.isEmpty() || !ValueFits(text))
        return;
    if (!change)
        codec.EList.AddItem();
    RSemE& item = *codec.EList.Item;
    item.Kind = se;
    item.ListIndex = static_cast<std::int8_t>(e);
    item.Value = text;
    RebuildWorkList();
}
