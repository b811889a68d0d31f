// The classifier's own small windows: the naming of a work object, the synonym added
// for a semantics without a sign, and the choice of materials and states by number.
#include "editors/classifier/SemSmallDialogs.h"

#include "controls/TextListBox.h"
#include "editors/EditorDialogs.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const char* const Module = "UnitSemSmallDialogs";

// An edit that shows its text in upper case, typed or set.
QLineEdit* UpperEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
    return edit;
}

QPlainTextEdit* ReadOnlyMemo(QWidget* parent, const char* name)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    return memo;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

// ---- The name of a work object ----

TFormNewWrkSemDialog::TFormNewWrkSemDialog(const QString& standard, const QString& decoding,
                                           const QString& name, const QString& caption)
    : TDialogBase(DialogOwner())
{
    setObjectName(QStringLiteral("FormNewWrkSemDialog"));
    setWindowTitle(caption);
    auto* root = new QVBoxLayout(this);
    root->addWidget(new QLabel(QStringLiteral("расшифровка стандартной семантики"), this));
    Memo1 = ReadOnlyMemo(this, "Memo1");
    Memo1->setPlainText(Split(decoding).join(u'\n'));
    root->addWidget(Memo1, 1);
    root->addWidget(new QLabel(QStringLiteral("Строка стандартной семантики"), this));
    Edit1 = UpperEdit(this, "Edit1");
    Edit1->setText(standard);
    root->addWidget(Edit1);
    root->addWidget(new QLabel(QStringLiteral("Название рабочей семантики"), this));
    Edit2 = UpperEdit(this, "Edit2");
    Edit2->setText(name);
    root->addWidget(Edit2);

    auto* buttons = new QHBoxLayout;
    BitBtn2 = Button(this, "BitBtn2", QStringLiteral("Взять название из расшифровки"));
    BitBtn3 = Button(this, "BitBtn3", QStringLiteral("Выбрать"));
    BitBtn1 = Button(this, "BitBtn1", QStringLiteral("Готово"));
    BitBtn1->setDefault(true);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    root->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { SetModalResult(mrRetry); });

    // The key preview: Enter is "Готово" with its check from every control.
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this] { BitBtn1Click(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { SetModalResult(mrCancel); });
    resize(520, 320);
}

void TFormNewWrkSemDialog::BitBtn1Click()
{
    if (Edit2->text().isEmpty()) {
        ShowMsgDialog(QStringLiteral("Название рабочей семантики отсутствует!"), QString());
        return;
    }
    SetModalResult(mrOk);
}

void TFormNewWrkSemDialog::BitBtn2Click()
{
    // The memo's text has CR LF between its lines: two blanks where a line ended.
    QString text = Memo1->toPlainText();
    text.replace(u'\n', QStringLiteral("  "));
    text.replace(u'\r', u' ');
    Edit2->setText(text);
}

TModalResult TFormNewWrkSemDialog::Execute(QString& standard, const QString& decoding,
                                           QString& name, const QString& caption)
{
    TTrailGuard guard(Module,
                      "function NewWrkSemDlg(var STDsem:string; decode:string; var name:string; "
                      "caption:string):integer;",
                      TrailArg("STDsem", standard), TrailArg("decode", decoding),
                      TrailArg("name", name), TrailArg("caption", caption));
    TFormNewWrkSemDialog form(standard, decoding, name, caption);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    standard = form.Edit1->text();
    name = form.Edit2->text();
    return result;
}

// ---- The synonym of a semantics without a sign ----

TFormAddSyn::TFormAddSyn() : TDialogBase(DialogOwner())
{
    setObjectName(QStringLiteral("FormAddSyn"));
    setWindowTitle(QStringLiteral("Добавить синоним"));
    auto* grid = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    auto* label1 = new QLabel(
        QStringLiteral("Описание объекта, для которого не найдено условного знака:"), this);
    label1->setWordWrap(true);
    left->addWidget(label1);
    Memo1 = ReadOnlyMemo(this, "Memo1");
    left->addWidget(Memo1, 2);
    left->addWidget(new QLabel(QStringLiteral("Код объекта, определяющий условный знак"), this));
    Memo2 = ReadOnlyMemo(this, "Memo2");
    left->addWidget(Memo2, 1);
    grid->addLayout(left, 0, 0);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Объекты, для которых есть условные знаки"), this));
    TextListBox1 = new TTextListBox(this);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    right->addWidget(TextListBox1, 1);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtn1 = Button(this, "BitBtn1", QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = Button(this, "BitBtn2", QStringLiteral("Cancel"));
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 1, 0, 1, 2);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { SetModalResult(mrCancel); });
    resize(680, 400);
}

void TFormAddSyn::BitBtn1Click()
{
    if (TextListBox1->selectedItems().isEmpty()) {
        ShowMsgDialog(QStringLiteral("Не выбран синоним!"),
                      QStringLiteral("Необходимо выбрать синоним из списка справа и нажать OK "
                                     "либо Cancel для отмены"));
        return;
    }
    SetModalResult(mrOk);
}

bool TFormAddSyn::Execute(TSemCodec& codec, const QString& folder, int lm, QString& name)
{
    TTrailGuard guard(Module,
                      "function AddSynDlg(SC:TSemCodec; path:string; lm:TLmode; var name:string):boolean;",
                      TrailArg("path", folder), TrailArg("lm", lm));
    if (lm < lmPoint || lm > lmPolygon)
        return false;
    QString remembered;
    codec.Code(remembered, true);

    TFormAddSyn form;
    QString standard, items, key;
    codec.STDdecode(standard);
    codec.Decode(items);
    form.Memo1->setPlainText(standard + items);
    codec.SymbolSemCode(key);
    form.Memo2->setPlainText(key);

    // Every sign file of the folder, by the readable text of its name; decoding the
    // names parses them into the codec, so the semantics is parsed back after.
    TSemServices* services = SemServices();
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.wri")},
                                                     QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList texts;
    try {
        for (const QString& file : files) {
            const QString sem = file.left(file.length() - 4);
            QString text;
            if (services && &services->Codec == &codec) {
                services->decode2(lm, sem, text);
            } else {
                QString more;
                codec.Split(sem);
                codec.STDdecode(text);
                codec.Decode(more);
                text += more;
            }
            codec.Split(sem);
            QString signCode;
            codec.SymbolSemCode(signCode);
            texts << text;
            form.SignCodes << signCode;
        }
    } catch (...) {
        codec.Split(remembered);
        throw;
    }
    codec.Split(remembered);
    form.TextListBox1->addItems(texts);

    form.PlaceScreenCentre();
    if (form.ShowModal() != mrOk)
        return false;
    int line = -1;
    for (int i = 0; i < form.TextListBox1->count() && line < 0; ++i)
        if (form.TextListBox1->item(i)->isSelected())
            line = i;
    if (line < 0 || line >= form.SignCodes.size())
        return false;
    const QString sign = form.SignCodes[line];
    TSynonyms& synonyms = codec.Synonyms[lm];
    if (synonyms.GoFirstItemWhere([&](const RSynonym& s) { return s.SignName == sign; })) {
        synonyms.Item->Codes << key;
    } else {
        synonyms.AddItem();
        synonyms.Item->SignName = sign;
        synonyms.Item->Codes = QStringList{key};
    }
    name = sign;
    return true;
}

// ---- Materials and states by number ----

TFormSelectMS::TFormSelectMS() : TDialogBase(DialogOwner())
{
    setObjectName(QStringLiteral("FormSelectMS"));
    setWindowTitle(QStringLiteral("Добавление свойств"));
    auto* grid = new QGridLayout(this);
    auto* note = new QLabel(QStringLiteral("Если вид условного знака зависит от материалов либо от "
                                           "состояния, выберете соответствующие свойства"),
                            this);
    note->setWordWrap(true);
    grid->addWidget(note, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Материал"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Состояние"), this), 1, 1);
    TTextListBox** lists[2] = {&TextListBox1, &TextListBox2};
    for (int i = 0; i < 2; ++i) {
        auto* list = new TTextListBox(this);
        list->setObjectName(QStringLiteral("TextListBox%1").arg(i + 1));
        list->SetMultiSelect(true);
        grid->addWidget(list, 2, i);
        *lists[i] = list;
    }
    grid->setRowStretch(2, 1);
    BitBtn1 = Button(this, "BitBtn1", QStringLiteral("Готово"));
    BitBtn1->setDefault(true);
    grid->addWidget(BitBtn1, 3, 1, Qt::AlignRight);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    resize(480, 380);
}

TModalResult TFormSelectMS::Execute(QStringList& materials, QStringList& states)
{
    TTrailGuard guard(Module, "function SelectMSDlg(var M, S: TStringList):integer;");
    TFormSelectMS form;
    form.TextListBox1->addItems(
        ReadTextFileLines(TSemCodec::ClassifierPath(TSemCodec::ValueListFileName(seM)), true));
    form.TextListBox2->addItems(
        ReadTextFileLines(TSemCodec::ClassifierPath(TSemCodec::ValueListFileName(seS)), true));
    const TModalResult result = form.ShowModal();
    auto numbers = [](const TTextListBox* list) {
        QStringList chosen;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected())
                chosen << QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        return chosen;
    };
    materials = numbers(form.TextListBox1);
    states = numbers(form.TextListBox2);
    return result;
}

// ---- Installation ----

void InstallClassifierWindows()
{
    SemDialogHooks().AddSynDlg = &TFormAddSyn::Execute;
    TEditorDialogHooks& hooks = EditorDialogHooks();
    hooks.NewWrkSemDlg = &TFormNewWrkSemDialog::Execute;
    hooks.SelectMSDlg = &TFormSelectMS::Execute;
    hooks.ChangeSemDlg = &TFormChangeSem::Execute;
    hooks.ChangeHinSemDlg = &TFormChangeHinSemDialog::Execute;
}
