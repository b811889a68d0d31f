// The standard classifier editor page: the standard objects with their three-letter codes
// and names, and each object's Ф, К and Н properties with three-digit codes. Edits change
// the codec's classifier at once; "ФКН.wri" is written by the save button and by OK.
#include "editors/classifier/UnitSemDialog.h"

#include "controls/TextListBox.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const char* const Module = "UnitSemDialog";

const QString ObjectMask = QStringLiteral(">lll;0;*");
const QString PropertyMask = QStringLiteral(">999;0;*");
const QString ObjectPrompt =
    QStringLiteral("; код должен состоять из 3-х алфавитных символов");
const QString PropertyPrompt = QStringLiteral(
    "Введите код свойства и описание свойства; код должен состоять из 3-х цифровых символов");
const QString ObjectExists = QStringLiteral("Объект уже существует!");

// "(  7) описание": the code right-aligned in three places.
QString PropertyLine(const RSemFKN& p)
{
    return QStringLiteral("(%1) %2").arg(int(p.Code), 3).arg(p.Caption);
}

// The property of group whose description is that of the list line, or null.
RSemFKN* PropertyOfLine(TSemFKNs& group, const QString& line)
{
    const QString caption = line.mid(6);   // after "(%3d) "
    if (!group.GoFirstItemWhere([&](const RSemFKN& p) { return p.Caption == caption; }))
        return nullptr;
    return group.Item;
}

// Checks of an object's code and name; each failure says so. self is the object changed,
// whose own code may stay; null when adding.
bool ObjectPasses(TSemCodec& codec, const QString& code, const QString& name,
                  const RSemStandart* self)
{
    bool ok = true;
    const QString upper = code.toUpper();
    for (const auto& s : codec.SemStandarts)
        if (s.get() != self && s->ObjCode == upper) {
            ShowMsgDialog(ObjectExists, QString());
            ok = false;
            break;
        }
    if (code.size() < 3) {
        ShowMsgDialog(QStringLiteral("Код объекта должен состоять из 3-х символов!"), QString());
        ok = false;
    }
    if (name.isEmpty()) {
        ShowMsgDialog(QStringLiteral("Описание объекта не заполнено!"), QString());
        ok = false;
    }
    return ok;
}

// Checks of a property's code and description within its group; self is the property
// changed, null when adding.
bool PropertyPasses(const TSemFKNs& group, const QString& code, const QString& caption,
                    const RSemFKN* self)
{
    bool ok = true;
    if (code.size() == 3) {
        const int number = code.toInt();
        for (const auto& p : group)
            if (p.get() != self && p->Code == number) {
                ShowMsgDialog(ObjectExists, QString());
                ok = false;
                break;
            }
    }
    if (code.size() < 3) {
        ShowMsgDialog(QStringLiteral("Код свойства должен состоять из 3-х символов!"), QString());
        ok = false;
    }
    if (caption.isEmpty()) {
        ShowMsgDialog(QStringLiteral("Описание свойства не заполнено!"), QString());
        ok = false;
    }
    return ok;
}

// The group of a property list: its letter and the object's list.
struct TStdGroup {
    QString Letter;
    TSemFKNs* List = nullptr;
};

TStdGroup GroupOf(const TFormSemDialog& form, const TTextListBox* list, RSemStandart& object)
{
    if (list == form.lbEdtStdF)
        return {QStringLiteral("Ф"), &object.FList};
    if (list == form.lbEdtStdK)
        return {QStringLiteral("К"), &object.KList};
    return {QStringLiteral("Н"), &object.NList};
}

// The first selected line of the list, or -1.
int FirstSelected(const TTextListBox* list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            return i;
    return -1;
}

}  // namespace

void TFormSemDialog::ConnectEditorPages()
{
    connect(cbEdtStdObj, &QComboBox::editTextChanged, this, [this] {
        if (!Filling)
            cbEdtStdObjChange();
    });
    // A click in one property list clears the selection of the other two.
    for (TTextListBox* list : {lbEdtStdF, lbEdtStdK, lbEdtStdN})
        connect(list, &QListWidget::itemPressed, this, [this, list] {
            for (TTextListBox* other : {lbEdtStdF, lbEdtStdK, lbEdtStdN})
                if (other != list)
                    other->clearSelection();
        });
    const std::pair<QToolButton*, void (TFormSemDialog::*)()> buttons[] = {
        {sbAddObjStd, &TFormSemDialog::sbAddObjStdClick},
        {sbEditStdObj, &TFormSemDialog::sbEditStdObjClick},
        {sbDelStdObj, &TFormSemDialog::sbDelStdObjClick},
        {sbAddSemStd, &TFormSemDialog::sbAddSemStdClick},
        {sbEdtSemStd, &TFormSemDialog::sbEdtSemStdClick},
        {sbDelSemStd, &TFormSemDialog::sbDelSemStdClick},
        {sbSaveSTD, &TFormSemDialog::sbSaveSTDClick},
        {sbAddWrkObj, &TFormSemDialog::sbAddWrkObjClick},
        {sbEdtWrkObj, &TFormSemDialog::sbEdtWrkObjClick},
        {sbDelWrkObj, &TFormSemDialog::sbDelWrkObjClick},
        {sbEditItem02, &TFormSemDialog::sbEditItem02Click},
        {sbDelItem02, &TFormSemDialog::sbDelItem02Click},
        {sbDelAll02, &TFormSemDialog::sbDelAll02Click},
        {sbSaveWrkObj, &TFormSemDialog::sbSaveWrkObjClick},
    };
    for (const auto& [button, step] : buttons)
        connect(button, &QToolButton::clicked, this, step);
    ConnectWorkEditor();
    ConnectExtendedPage();
}

// ---- Entry and the object box ----

void TFormSemDialog::PrepareStandardEditor()
{
    SetEditorObject(QString());
    sbSaveSTD->setEnabled(false);
}

bool TFormSemDialog::EditorObject()
{
    const QString name = cbEdtStdObj->currentText();
    if (name.isEmpty())
        return false;
    return Codec().SemStandarts.GoFirstItemWhere([&](const RSemStandart& s) {
        return s.ObjName.compare(name, Qt::CaseInsensitive) == 0;
    });
}

void TFormSemDialog::SetEditorObject(const QString& name)
{
    FillStandardObjects(cbEdtStdObj);
    {
        const QSignalBlocker blocker(cbEdtStdObj);
        cbEdtStdObj->setCurrentIndex(cbEdtStdObj->findText(name));
        cbEdtStdObj->setEditText(name);
    }
    cbEdtStdObjChange();
}

void TFormSemDialog::cbEdtStdObjChange()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.cbEdtStdObjChange(Sender: TObject);");
    for (TTextListBox* list : {lbEdtStdF, lbEdtStdK, lbEdtStdN})
        list->clear();
    if (!EditorObject())
        return;
    const RSemStandart& object = *Codec().SemStandarts.Item;
    const std::pair<const TSemFKNs*, TTextListBox*> groups[] = {
        {&object.FList, lbEdtStdF}, {&object.KList, lbEdtStdK}, {&object.NList, lbEdtStdN}};
    for (const auto& [group, list] : groups) {
        QStringList lines;
        for (const auto& p : *group)
            lines << PropertyLine(*p);
        list->addItems(lines);
    }
}

TTextListBox* TFormSemDialog::FocusedStdList() const
{
    QWidget* focused = focusWidget();
    for (TTextListBox* list : {lbEdtStdF, lbEdtStdK, lbEdtStdN})
        if (focused == list)
            return list;
    return nullptr;
}

// ---- Objects ----

void TFormSemDialog::sbAddObjStdClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbAddObjStdClick(Sender: TObject);");
    TSemCodec& codec = Codec();
    QString code;
    QString name;
    for (;;) {
        if (InpStr2Dialog(code, name, QStringLiteral("Новый объект стандартной семантики"),
                          QStringLiteral("Введите код нового объекта стандартной семантики и "
                                         "описание объекта") + ObjectPrompt,
                          ObjectMask) != mrOk)
            return;
        if (ObjectPasses(codec, code, name, nullptr))
            break;
    }
    codec.SemStandarts.AddItem();
    codec.SemStandarts.Item->ObjCode = code.left(3).toUpper();
    codec.SemStandarts.Item->ObjName = name.toUpper();
    SetEditorObject(name.toUpper());
    sbSaveSTD->setEnabled(true);
}

// The same checks as for a new object: a code of fewer letters or one that another object
// has would make an object no semantics string can reach, hiding the other.
void TFormSemDialog::sbEditStdObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbEditStdObjClick(Sender: TObject);");
    if (!EditorObject())
        return;
    TSemCodec& codec = Codec();
    RSemStandart* object = codec.SemStandarts.Item;
    QString code = object->ObjCode;
    QString name = object->ObjName;
    for (;;) {
        if (InpStr2Dialog(code, name, QStringLiteral("Изменение объекта стандартной семантики"),
                          QStringLiteral("Введите код объекта стандартной семантики и описание "
                                         "объекта") + ObjectPrompt,
                          ObjectMask) != mrOk)
            return;
        if (ObjectPasses(codec, code, name, object))
            break;
    }
    object->ObjCode = code.toUpper();
    object->ObjName = name;
    SetEditorObject(name);
    sbSaveSTD->setEnabled(true);
}

void TFormSemDialog::sbDelStdObjClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelStdObjClick(Sender: TObject);");
    if (!EditorObject())
        return;
    TSemCodec& codec = Codec();
    RSemStandart* object = codec.SemStandarts.Item;
    if (ShowMsgDialog(QStringLiteral("Объект будет удален!"),
                      QStringLiteral("Из классификатора стандартной семантики будет удален "
                                     "выделенный объект.\r Для продолжения- Enter,Готово\r"
                                     "Для отмены- Esc,Закрыть окно")) == mrOk) {
        // The question may have moved the cursor (a decoding between): find it again.
        if (codec.SemStandarts.GoFirstItemWhere([&](const RSemStandart& s) { return &s == object; }))
            codec.SemStandarts.DeleteItem();
    }
    SetEditorObject(QString());
    sbSaveSTD->setEnabled(true);
}

// ---- Properties ----

void TFormSemDialog::sbAddSemStdClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbAddSemStdClick(Sender: TObject);");
    TTextListBox* list = FocusedStdList();
    if (!list) {
        ShowMsgDialog(QStringLiteral("Список свойств не выбран!"),
                      QStringLiteral("Прежде чем добавлять свойство, выберете соответствующий "
                                     "список (Ф,К,Н)"));
        return;
    }
    if (!EditorObject())
        return;   // no object named: nothing to add to
    RSemStandart* object = Codec().SemStandarts.Item;
    const TStdGroup group = GroupOf(*this, list, *object);
    QString code;
    QString caption;
    for (;;) {
        if (InpStr2Dialog(code, caption,
                          QStringLiteral("Новое свойство ") + group.Letter +
                              QStringLiteral(" объекта стандартной семантики"),
                          PropertyPrompt, PropertyMask) != mrOk)
            return;
        if (PropertyPasses(*group.List, code, caption, nullptr))
            break;
    }
    group.List->AddItem();
    group.List->Item->Code = static_cast<std::int16_t>(code.toInt());
    group.List->Item->Caption = caption;
    sbSaveSTD->setEnabled(true);
    SetEditorObject(object->ObjName);
    list->setFocus();
}

void TFormSemDialog::sbEdtSemStdClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbEdtSemStdClick(Sender: TObject);");
    TTextListBox* list = FocusedStdList();
    if (!list) {
        ShowMsgDialog(QStringLiteral("Свойство не выбрано!"),
                      QStringLiteral("Прежде чем изменять свойство его нужно выбрать"));
        return;
    }
    const int row = FirstSelected(list);
    if (row < 0 || !EditorObject())
        return;
    RSemStandart* object = Codec().SemStandarts.Item;
    const TStdGroup group = GroupOf(*this, list, *object);
    RSemFKN* property = PropertyOfLine(*group.List, list->item(row)->text());
    if (!property)
        return;
    QString code = QStringLiteral("%1").arg(int(property->Code), 3, 10, QLatin1Char('0'));
    QString caption = property->Caption;
    for (;;) {
        if (InpStr2Dialog(code, caption,
                          QStringLiteral("Изменение свойства ") + group.Letter +
                              QStringLiteral(" объекта стандартной семантики"),
                          PropertyPrompt, PropertyMask) != mrOk)
            return;
        if (PropertyPasses(*group.List, code, caption, property))
            break;
    }
    property->Code = static_cast<std::int16_t>(code.toInt());
    property->Caption = caption;
    SetEditorObject(object->ObjName);
    sbSaveSTD->setEnabled(true);
    list->setFocus();
}

void TFormSemDialog::sbDelSemStdClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbDelSemStdClick(Sender: TObject);");
    TTextListBox* list = FocusedStdList();
    if (!list) {
        ShowMsgDialog(QStringLiteral("Список свойств не выбран!"),
                      QStringLiteral("Прежде чем удалять свойство, выберете соответствующий "
                                     "список (Ф,К,Н)"));
        return;
    }
    const int row = FirstSelected(list);
    if (row < 0 || !EditorObject())
        return;
    RSemStandart* object = Codec().SemStandarts.Item;
    const TStdGroup group = GroupOf(*this, list, *object);
    const RSemFKN* property = PropertyOfLine(*group.List, list->item(row)->text());
    if (property &&
        ShowMsgDialog(QStringLiteral("Свойство будет удалено!"),
                      QStringLiteral("Выбранное свойство ") + group.Letter +
                          QStringLiteral(" будет удалено.\rДалее - Enter,Готово;\r"
                                         "Отмена - Esc, закрыть окно")) == mrOk) {
        if (group.List->GoFirstItemWhere([&](const RSemFKN& p) { return &p == property; }))
            group.List->DeleteItem();
    }
    SetEditorObject(object->ObjName);
    sbSaveSTD->setEnabled(true);
    list->setFocus();
}

void TFormSemDialog::sbSaveSTDClick()
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbSaveSTDClick(Sender: TObject);");
    Codec().SaveStandartBase();
    sbSaveSTD->setEnabled(false);
}
