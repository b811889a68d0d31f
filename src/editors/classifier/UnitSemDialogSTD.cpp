// The standard selection page and the code panel: an object of the standard classifier
// chosen by name, its Ф, К and Н properties checked in three lists, the readable text in
// Memo1 and the resulting semantics string in the code panel.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/ExCheckListBox.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>

namespace {

const char* const Module = "UnitSemDialog";

// Keeps the owner's "the program is filling" flag up while it lives.
class TFilling {
public:
    explicit TFilling(bool& flag) : Flag(flag), Was(flag) { Flag = true; }
    ~TFilling() { Flag = Was; }
    TFilling(const TFilling&) = delete;
    TFilling& operator=(const TFilling&) = delete;

private:
    bool& Flag;
    bool Was;
};

}  // namespace

TSemPanel::TSemPanel(QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    // A long code shrinks its font instead of widening the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumHeight(34);
}

void TSemPanel::mousePressEvent(QMouseEvent* e)
{
    QLabel::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && OnClick)
        OnClick();
}

// ---- Code panel ----

int TFormSemDialog::PanelFontSize(int length)
{
    if (length <= 50)
        return 10;
    return int(std::nearbyint(500.0 / length));
}

void TFormSemDialog::ShowCode()
{
    QString code;
    Codec().Code(code, true);
    PanelSem->setText(code);
    QFont f = PanelSem->font();
    // Past 1000 characters the rule gives 0 points, which no font has: the smallest one.
    f.setPointSize(std::max(1, PanelFontSize(int(code.size()))));
    PanelSem->setFont(f);
}

void TFormSemDialog::PanelSemClick()
{
    if (!PanelSem->text().isEmpty())
        ShowMsgDialog(QStringLiteral("Строка семантики (код) :"), PanelSem->text());
}

// ---- Standard selection ----

void TFormSemDialog::FillStandardObjects(QComboBox* box)
{
    TFilling filling(Filling);
    QStringList names;
    for (const auto& s : Codec().SemStandarts)
        names << s->ObjName;
    names.sort(Qt::CaseInsensitive);
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

bool TFormSemDialog::FindStandartByName(const QString& name)
{
    if (name.isEmpty())
        return false;
    return Codec().SemStandarts.GoFirstItemWhere([&](const RSemStandart& s) {
        return s.ObjName.compare(name, Qt::CaseInsensitive) == 0;
    });
}

void TFormSemDialog::ClearCheckLists()
{
    for (TExCheckListBox* list : {F_List, K_List, N_List})
        list->ClearItems();
}

void TFormSemDialog::ShowStandardDecoding()
{
    QString text;
    Codec().STDdecode(text);
    Memo1->setPlainText(text);
}

static QStringList Captions(const TSemFKNs& group)
{
    QStringList lines;
    for (const auto& p : group)
        lines << p->Caption;
    return lines;
}

void TFormSemDialog::LoadFKNs02()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.LoadFKNs02;");
    TSemCodec& codec = Codec();
    ClearCheckLists();
    codec.ClearFields();
    if (FindStandartByName(ComboBoxObject->currentText())) {
        const RSemStandart& object = *codec.SemStandarts.Item;
        codec.ObjCode = object.ObjCode;
        F_List->AssignItems(Captions(object.FList));
        K_List->AssignItems(Captions(object.KList));
        N_List->AssignItems(Captions(object.NList));
        ShowStandardDecoding();
    } else {
        Memo1->clear();
    }
    ShowCode();
}

void TFormSemDialog::CheckListClick(TExCheckListBox* list)
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.F_ListClickCheck(Sender: TObject);");
    TSemCodec& codec = Codec();
    if (!codec.findObj(codec.ObjCode))
        return;
    const RSemStandart& object = *codec.SemStandarts.Item;
    const TSemFKNs& allowed =
        list == F_List ? object.FList : list == K_List ? object.KList : object.NList;
    TSemFKNs& group = list == F_List ? codec.FList : list == K_List ? codec.KList : codec.NList;
    group.DeleteAll();
    for (int i = 0; i < list->count(); ++i) {
        if (!list->IsItemChecked(i))
            continue;
        const QString line = list->ItemText(i);
        for (const auto& p : allowed) {
            if (p->Caption != line)
                continue;
            group.AddItem();
            group.Item->Code = p->Code;
            group.Item->Caption = p->Caption;
        }
    }
    ShowCode();
    ShowStandardDecoding();
}

void TFormSemDialog::Preselect()
{
    TSemCodec& codec = Codec();
    if (!codec.findObj(codec.ObjCode))
        return;
    const RSemStandart& object = *codec.SemStandarts.Item;
    const struct {
        const TSemFKNs& Chosen;
        const TSemFKNs& Allowed;
        TExCheckListBox* List;
    } groups[3] = {{codec.FList, object.FList, F_List},
                   {codec.KList, object.KList, K_List},
                   {codec.NList, object.NList, N_List}};
    for (const auto& g : groups) {
        for (const auto& chosen : g.Chosen) {
            for (const auto& p : g.Allowed) {
                if (p->Code != chosen->Code)
                    continue;
                for (int i = 0; i < g.List->count(); ++i)
                    if (g.List->ItemText(i) == p->Caption)
                        g.List->SetItemChecked(i, true);
                break;   // the first property with the code
            }
        }
    }
}

void TFormSemDialog::PrepareStandard(const QString& Sem)
{
    TSemCodec& codec = Codec();
    FillStandardObjects(ComboBoxObject);
    ClearCheckLists();
    Memo1->clear();
    if (Sem.isEmpty()) {
        codec.ClearFields();
    } else {
        codec.Split(Sem);
        if (!codec.ObjCode.isEmpty() && codec.findObj(codec.ObjCode)) {
            const RSemStandart& object = *codec.SemStandarts.Item;
            {
                TFilling filling(Filling);
                ComboBoxObject->setCurrentIndex(ComboBoxObject->findText(object.ObjName));
                ComboBoxObject->setEditText(object.ObjName);
            }
            F_List->AssignItems(Captions(object.FList));
            K_List->AssignItems(Captions(object.KList));
            N_List->AssignItems(Captions(object.NList));
            Preselect();
            ShowStandardDecoding();
        }
    }
    ShowCode();
}
