// The add-sign window: the source sign chosen in the folders of the sign library and
// shown on a sample object, the new name made as the materials and states are chosen.
#include "editors/signs/UnitAddSymbol.h"

#include "editors/signs/SignPreview.h"
#include "editors/signs/SignPropBase.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <memory>

namespace {

// The work name the sample object of each kind carries.
const QString SampleNames[3] = {QStringLiteral("ТОЧ"), QStringLiteral("ЛИН"), QStringLiteral("ПОЛ")};
const QString KindTexts[3] = {QStringLiteral("тип: Точечный"), QStringLiteral("тип: Линейный"),
                              QStringLiteral("тип: Площадной")};

// The first line of a file of another format may be long; the kind is in the first two
// short lines, so a few kilobytes are enough to read.
constexpr qint64 HeadBytes = 4096;

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    return e;
}

}  // namespace

QString ReadableSignName(int lm, const QString& name)
{
    TSemServices* services = SemServices();
    if (!services)
        return name;
    QString text;
    try {
        services->decode2(TLmode(lm), name, text);
    } catch (const Exception&) {
        return name;
    }
    return text.isEmpty() ? name : text;
}

int SignFileKind(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QStringList lines = SplitLines(DecodeCodePage(file.read(HeadBytes)));
    const QString first = lines.value(0);
    const QString second = lines.value(1);
    static const QString current[3] = {QStringLiteral("#Точечный"), QStringLiteral("#Линейный"),
                                       QStringLiteral("#Площадной")};
    static const QString older[3] = {QStringLiteral("[Рисунок]"), QStringLiteral("[Начало линии]"),
                                     QStringLiteral("[Углы]")};
    const bool isCurrent = first == QStringLiteral("#Условный знак");
    for (int kind = 0; kind < 3; ++kind)
        if (isCurrent ? second == current[kind] : first == older[kind])
            return kind;
    return -1;
}

TModalResult AddSymbolDlg(const QString& title, int kind, const QString& code, QString& newFileName,
                          QString& sourceFile, int scale, const QStringList& states,
                          const QStringList& materials)
{
    newFileName.clear();
    sourceFile.clear();
    if (kind < 0 || kind > 2)
        return mrCancel;
    std::unique_ptr<TFormAddSymbol> window;
    try {
        window = std::make_unique<TFormAddSymbol>(kind, scale, DialogOwner());
        window->Fill(title, code, states, materials);
    } catch (const Exception& e) {
        // The preview's plan could not be made (a reference file missing): nothing to show.
        ShowMsgDialog(title, e.Message);
        return mrCancel;
    }
    const TModalResult result = window->ShowModal();
    newFileName = window->edFN->text();
    sourceFile = window->ChosenSource();
    return result;
}

TFormAddSymbol::TFormAddSymbol(int kind, int scale, QWidget* parent)
    : TDialogBase(parent), Kind(kind), Scale(scale)
{
    setObjectName(QStringLiteral("FormAddSymbol"));
    SetClientSize(760, 500);

    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    Place(StaticText1, QRect(8, 8, 300, 18));
    Place(new QLabel(QStringLiteral("Описание"), this), QRect(8, 30, 300, 16));
    meSem = new QPlainTextEdit(this);
    meSem->setObjectName(QStringLiteral("meSem"));
    meSem->setReadOnly(true);
    Place(meSem, QRect(8, 48, 300, 68));
    Place(new QLabel(QStringLiteral("Семантика объекта"), this), QRect(8, 122, 300, 16));
    edSem = ReadOnlyEdit(this, "edSem");
    Place(edSem, QRect(8, 140, 300, 22));

    // The two groups of how materials and states bear on the sign.
    const auto group = [this](const QString& caption, int x, QRadioButton*& none, QRadioButton*& notUse,
                              QRadioButton*& use, QListWidget*& list, const char* prefix) {
        auto* box = new QGroupBox(caption, this);
        Place(box, QRect(x, 170, 148, 182));
        const auto radio = [box, prefix](const char* suffix, const QString& text, int y) {
            auto* r = new QRadioButton(text, box);
            r->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(suffix));
            r->setGeometry(8, y, 136, 20);
            return r;
        };
        none = radio("None", QStringLiteral("нет"), 20);
        notUse = radio("NotUse", QStringLiteral("Не влияет на знак"), 42);
        use = radio("Use", QStringLiteral("Только следующие:"), 64);
        notUse->setChecked(true);
        list = new QListWidget(box);
        list->setObjectName(QStringLiteral("lb") + QString::fromLatin1(prefix));
        list->setGeometry(8, 88, 132, 86);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        for (QRadioButton* r : {none, notUse, use})
            connect(r, &QRadioButton::clicked, this, &TFormAddSymbol::ShowFileName);
    };
    group(QStringLiteral("Материал"), 8, MNone, MNotUse, MUse, lbM, "M");
    group(QStringLiteral("Состояние"), 160, SNone, SNotUse, SUse, lbS, "S");

    Place(new QLabel(QStringLiteral("Имя файла нового условного знака"), this), QRect(8, 360, 300, 16));
    edFN = ReadOnlyEdit(this, "edFN");
    Place(edFN, QRect(8, 378, 300, 22));
    Place(new QLabel(QStringLiteral("Масштаб условного знака"), this), QRect(8, 408, 300, 16));
    edScale = ReadOnlyEdit(this, "edScale");
    Place(edScale, QRect(8, 426, 100, 22));

    // The source: the folders below "Условные знаки" (no drives here) and the sign files
    // of the kind in the folder chosen.
    auto* source = new QGroupBox(QStringLiteral("Исходный условный знак"), this);
    Place(source, QRect(316, 8, 436, 236));
    DirectoryListBox1 = new QTreeWidget(source);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setGeometry(8, 20, 420, 96);
    ListBox1 = new QListWidget(source);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 122, 420, 106);
    connect(DirectoryListBox1, &QTreeWidget::currentItemChanged, this, &TFormAddSymbol::FolderChosen);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TFormAddSymbol::SourceChosen);

    auto* chosen = new QGroupBox(QStringLiteral("выбранный знак"), this);
    Place(chosen, QRect(316, 250, 436, 210));
    Preview = new TSignPreview(poAddSign, scale, chosen, kind);
    Preview->setGeometry(8, 20, 420, 152);
    Preview->TrackBar1->setGeometry(8, 178, 420, 24);
    Preview->Prepare();

    BitBtn1 = new QPushButton(QStringLiteral("Готово"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    Place(BitBtn1, QRect(672, 468, 80, 25));
    connect(BitBtn1, &QPushButton::clicked, this, &TFormAddSymbol::Done);
}

void TFormAddSymbol::Fill(const QString& title, const QString& code, const QStringList& states,
                          const QStringList& materials)
{
    setWindowTitle(title);
    Code = code;
    StaticText1->setText(KindTexts[Kind]);
    Semantics = code;
    if (!materials.isEmpty()) {
        Semantics += u'М';
        for (const QString& m : materials) {
            Semantics += m + u';';
            lbM->addItem(m);
        }
    }
    if (!states.isEmpty()) {
        Semantics += u'С';
        for (const QString& s : states) {
            Semantics += s + u';';
            lbS->addItem(s);
        }
    }
    meSem->setPlainText(ReadableSignName(Kind, Semantics));
    edSem->setText(Semantics);
    MUse->setEnabled(!materials.isEmpty());
    SUse->setEnabled(!states.isEmpty());
    ShowFileName();

    DirectoryListBox1->clear();
    const QString root = ProgramFolderPath(QStringLiteral("Условные знаки"));
    auto* top = new QTreeWidgetItem(DirectoryListBox1, {QStringLiteral("Условные знаки")});
    top->setData(0, Qt::UserRole, root);
    AddFolders(top, root);
    DirectoryListBox1->expandAll();
    DirectoryListBox1->setCurrentItem(top);
    edScale->setText(QString::number(Scale));
}

void TFormAddSymbol::AddFolders(QTreeWidgetItem* parent, const QString& folder)
{
    // The library is a scale and a kind deep; a folder linked into itself stops here.
    int depth = 0;
    for (QTreeWidgetItem* p = parent; p; p = p->parent())
        ++depth;
    if (depth > 4)
        return;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                             QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        auto* item = new QTreeWidgetItem(parent, {entry.fileName()});
        item->setData(0, Qt::UserRole, entry.filePath());
        AddFolders(item, entry.filePath());
    }
}

QString TFormAddSymbol::MakeSymbolFileName()
{
    // "Только следующие:" counts only while enabled; otherwise the group reads as "нет".
    const auto rule = [](QRadioButton* notUse, QRadioButton* use) {
        if (notUse->isChecked())
            return TSignPartRule::Any;
        if (use->isChecked() && use->isEnabled())
            return TSignPartRule::Only;
        return TSignPartRule::None;
    };
    const auto lines = [](QListWidget* list) {
        QStringList codes;
        for (int i = 0; i < list->count(); ++i)
            codes << list->item(i)->text();
        return codes;
    };
    Refusal.clear();
    return MakeSignFileName(Code, rule(MNotUse, MUse), lines(lbM), rule(SNotUse, SUse), lines(lbS), &Refusal);
}

void TFormAddSymbol::ShowFileName() { edFN->setText(MakeSymbolFileName()); }

void TFormAddSymbol::FolderChosen()
{
    if (QTreeWidgetItem* item = DirectoryListBox1->currentItem())
        SetFolder(item->data(0, Qt::UserRole).toString());
}

void TFormAddSymbol::SetFolder(const QString& folder)
{
    FFolder = folder;
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    FFileNames.clear();
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (!name.endsWith(QStringLiteral(".wri"), Qt::CaseInsensitive) || SignFileKind(entry.filePath()) != Kind)
            continue;
        auto* line = new QListWidgetItem(ReadableSignName(Kind, name.chopped(4)), ListBox1);
        line->setToolTip(name);   // two files may read alike
        FFileNames << entry.filePath();
    }
}

QString TFormAddSymbol::ChosenSource() const
{
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->item(i)->isSelected())
            return FFileNames.value(i);
    return QString();
}

void TFormAddSymbol::SourceChosen()
{
    const QString file = ChosenSource();
    if (file.isEmpty())
        return;
    TSymbols& symbols = *Preview->Map->Symbols;
    symbols.WithList(TLmode(Kind), [](auto& list) { list.DeleteAll(); });
    try {
        symbols.LoadSymbol(file, SampleNames[Kind], TLmode(Kind));
    } catch (const Exception& e) {
        ShowMsgDialog(QStringLiteral("Ошибка в условном знаке"), file + QChar(13) + e.Message);
    }
    // The sample draws with whatever loaded: the sign, or nothing.
    Preview->Draw(0);
    if (Kind == 0) {
        TGeoMap& map = *Preview->Map;
        if (map.MapViews.GoLastItem()) {   // the current view
            map.MapViews.Item->ViewXMin = 24;
            map.MapViews.Item->ViewYMin = 21;
        }
        Preview->Draw(3);
        map.DisplayScale = Preview->TrackBar1->value();
        Preview->Draw(5);
    }
}

void TFormAddSymbol::Done()
{
    const QString source = ChosenSource();
    if (source.isEmpty() || !QFileInfo::exists(source)) {
        ShowMsgDialog(QStringLiteral("Файл не выбран!"),
                      QStringLiteral("для объекта ") + Semantics + QStringLiteral("не выбран файл условного знака"));
        return;
    }
    if (edFN->text().isEmpty()) {
        ShowMsgDialog(windowTitle(), Refusal);
        return;
    }
    SetModalResult(mrOk);
}
