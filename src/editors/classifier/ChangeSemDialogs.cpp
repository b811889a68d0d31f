// The two windows of the bulk semantics changes on the main plan: the replacement of a
// semantics text in the objects of chosen sheets or layers, and the parameters of the
// height change of numbered marks.
#include "editors/classifier/SemSmallDialogs.h"

#include "controls/TextListBox.h"
#include "engine/GeoMap.h"
#include "engine/commands/MapCommand.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const char* const Module = "UnitChangeSem";

template <class W>
W* Named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The lines selected in the list, in line order.
std::vector<int> SelectedLines(const TTextListBox* list)
{
    std::vector<int> lines;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            lines.push_back(i);
    return lines;
}

}  // namespace

// ---- Replacement of semantics ----

TFormChangeSem::TFormChangeSem() : TDialogBase(DialogOwner())
{
    setObjectName(QStringLiteral("FormChangeSem"));
    setWindowTitle(QStringLiteral("Замена семантики объектов"));
    auto* root = new QHBoxLayout(this);

    PageControl1 = Named(new QTabWidget(this), "PageControl1");
    tsPages = Named(new QWidget, "tsPages");
    auto* pagesLayout = new QVBoxLayout(tsPages);
    lbPages = Named(new TTextListBox(tsPages), "lbPages");
    lbPages->SetMultiSelect(true);
    pagesLayout->addWidget(lbPages);
    tsLayers = Named(new QWidget, "tsLayers");
    auto* layersLayout = new QVBoxLayout(tsLayers);
    cbPages = Named(new QComboBox(tsLayers), "cbPages");
    layersLayout->addWidget(cbPages);
    lbLayers = Named(new TTextListBox(tsLayers), "lbLayers");
    lbLayers->SetMultiSelect(true);
    layersLayout->addWidget(lbLayers, 1);
    PageControl1->addTab(tsPages, QStringLiteral("замена в листах"));
    PageControl1->addTab(tsLayers, QStringLiteral("замена в слоях одного листа"));
    for (TTextListBox* list : {lbPages, lbLayers})
        list->setFont(QFont(QStringLiteral("Courier New"), list->font().pointSize()));
    root->addWidget(PageControl1, 3);

    auto* right = new QVBoxLayout;
    auto* kinds = new QGroupBox(QStringLiteral("Типы объктов"), this);
    auto* kindsLayout = new QHBoxLayout(kinds);
    chPoints = Named(new QRadioButton(QStringLiteral("Точечные"), kinds), "chPoints");
    chLines = Named(new QRadioButton(QStringLiteral("Линейные"), kinds), "chLines");
    chPolygons = Named(new QRadioButton(QStringLiteral("Площадные"), kinds), "chPolygons");
    chPoints->setChecked(true);
    for (QRadioButton* b : {chPoints, chLines, chPolygons})
        kindsLayout->addWidget(b);
    right->addWidget(kinds);

    // "Искать" and "Заменить": a semantics string, the classifier button and its text.
    auto group = [this, right](const QString& caption, QLineEdit*& edit, QToolButton*& button,
                               QPlainTextEdit*& memo, const char* editName,
                               const char* buttonName, const char* memoName) {
        auto* box = new QGroupBox(caption, this);
        auto* grid = new QGridLayout(box);
        edit = Named(new QLineEdit(box), editName);
        button = Named(new QToolButton(box), buttonName);
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Классификатор семантики"));
        memo = Named(new QPlainTextEdit(box), memoName);
        memo->setReadOnly(true);
        grid->addWidget(edit, 0, 0);
        grid->addWidget(button, 0, 1);
        grid->addWidget(memo, 1, 0, 1, 2);
        right->addWidget(box, 1);
    };
    group(QStringLiteral("Искать"), eOld, bt1, Memo1, "eOld", "bt1", "Memo1");
    group(QStringLiteral("Заменить"), eNew, bt2, Memo2, "eNew", "bt2", "Memo2");

    BitBtn1 = Named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(BitBtn1);
    right->addLayout(okRow);
    root->addLayout(right, 2);

    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
    connect(cbPages, &QComboBox::currentIndexChanged, this, [this] { cbPagesChange(); });
    connect(bt1, &QToolButton::clicked, this, [this] { ChooseSemantics(eOld, Memo1); });
    connect(bt2, &QToolButton::clicked, this, [this] { ChooseSemantics(eNew, Memo2); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    resize(860, 440);
}

void TFormChangeSem::PageChanged()
{
    TTrailGuard guard(Module, "procedure TFormChangeSem.PageControl1Change(Sender: TObject);");
    QStringList lines;
    if (PageControl1->currentWidget() == tsPages) {
        MainMap->GetPagesToListBox(lines);
        lbPages->clear();
        lbPages->addItems(lines);
    } else {
        MainMap->PagesToComboBox(lines);
        const QSignalBlocker blocker(cbPages);
        cbPages->clear();
        cbPages->addItems(lines);
        cbPages->setCurrentIndex(-1);
        lbLayers->clear();
    }
}

void TFormChangeSem::cbPagesChange()
{
    TTrailGuard guard(Module, "procedure TFormChangeSem.cbPagesChange(Sender: TObject);");
    QStringList lines;
    if (cbPages->currentIndex() >= 0)
        MainMap->GetLayersToListBox2(cbPages->currentIndex(), lines);
    lbLayers->clear();
    lbLayers->addItems(lines);
}

void TFormChangeSem::ChooseSemantics(QLineEdit* edit, QPlainTextEdit* memo)
{
    TTrailGuard guard(Module, "procedure TFormChangeSem.bt1Click(Sender: TObject);");
    int lm = chLines->isChecked() ? lmLine : chPolygons->isChecked() ? lmPolygon : lmPoint;
    QString sem = edit->text();
    if (SemDlg(1, lm, sem) == mrOk)
        edit->setText(sem);
    if (edit->text().isEmpty()) {
        memo->clear();
    } else {
        QString text;
        DecodeSem(lm, edit->text(), text);
        memo->setPlainText(text);
    }
}

QStringList TFormChangeSem::CommandParams() const
{
    const int p = chPoints->isChecked() ? 1 : 0;
    const int l = chLines->isChecked() ? 1 : 0;
    const int g = chPolygons->isChecked() ? 1 : 0;
    QStringList params;
    auto add = [&](int page, int layer) {
        params << TCommandParams().Int(page).Int(layer).Int(p).Int(l).Int(g)
                      .Text(eOld->text()).Text(eNew->text()).Str();
    };
    if (PageControl1->currentWidget() == tsPages) {
        for (const int page : SelectedLines(lbPages))
            add(page, -1);
    } else {
        for (const int layer : SelectedLines(lbLayers))
            add(cbPages->currentIndex(), layer);
    }
    return params;
}

void TFormChangeSem::BitBtn1Click()
{
    // A text the command cannot carry is refused here, with the window still open.
    try {
        CommandParams();
    } catch (const Exception& e) {
        ShowMsgDialog(QStringLiteral("Замена семантики объектов"), e.Message);
        return;
    }
    SetModalResult(mrOk);
}

TModalResult TFormChangeSem::Execute()
{
    TTrailGuard guard(Module, "function ChangeSemDlg:integer;");
    if (!MainMap)
        return mrCancel;
    TFormChangeSem form;
    QStringList pages;
    MainMap->GetPagesToListBox(pages);
    form.lbPages->addItems(pages);
    const TModalResult result = form.ShowModal();
    // Only OK replaces: the window has no cancel button, and its close box must not
    // rewrite whole sheets of a plan whose undo may be off.
    if (result == mrOk)
        for (const QString& params : form.CommandParams())
            MainMap->DoCommand(mcChangeSem, params);
    return result;
}

// ---- The height change ----

TFormChangeHinSemDialog::TFormChangeHinSemDialog() : TDialogBase(DialogOwner())
{
    setObjectName(QStringLiteral("FormChangeHinSemDialog"));
    setWindowTitle(QStringLiteral("Изменить высоты объектов в диапазоне..."));
    auto* grid = new QGridLayout(this);
    auto integerEdit = [this](const char* name) {
        auto* edit = Named(new TNumEdit(this), name);
        edit->ClearTextIFValueNotInteger = true;
        edit->ClearAndChangeToOldValue = true;
        return edit;
    };
    NumEdit1 = integerEdit("NumEdit1");
    NumEdit2 = integerEdit("NumEdit2");
    NumEdit3 = Named(new TNumEdit(this), "NumEdit3");
    NumEdit3->ClearTextIFValueNotFloat = true;
    NumEdit3->ClearAndChangeToOldValue = true;
    NumEdit3->UniversalDecimalSeparator = true;
    NumEdit3->EnableFloatPrecision = true;
    NumEdit3->SetNumberOfDecimalDigits(2);
    Edit1 = Named(new QLineEdit(QStringLiteral("ОТА"), this), "Edit1");

    grid->addWidget(new QLabel(QStringLiteral("от номера"), this), 0, 0);
    grid->addWidget(NumEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("до номера"), this), 1, 0);
    grid->addWidget(NumEdit2, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("(включительно)"), this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("величина измеенния"), this), 2, 0);
    grid->addWidget(NumEdit3, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("код объекта"), this), 3, 0);
    grid->addWidget(Edit1, 3, 1);
    BitBtn1 = Named(new QPushButton(QStringLiteral("Готово"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    grid->addWidget(BitBtn1, 4, 1, 1, 2, Qt::AlignRight);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    PreviewEnterEsc();
    resize(420, 190);   // wide enough for its title
}

TModalResult TFormChangeHinSemDialog::Execute(int& first, int& last, Extended& increment,
                                              QString& code)
{
    TTrailGuard guard(Module,
                      "function ChangeHinSemDlg(var n1,n2:integer; var dh:extended; var cod:string):integer;",
                      TrailArg("n1", first), TrailArg("n2", last), TrailArg("cod", code));
    TFormChangeHinSemDialog form;
    form.NumEdit1->SetIntegerValue(first);
    form.NumEdit2->SetIntegerValue(last);
    form.NumEdit3->SetFloatValue(increment);
    form.Edit1->setText(code);
    form.PlaceScreenCentre();
    const TModalResult result = form.ShowModal();
    first = form.NumEdit1->IntegerValue();
    last = form.NumEdit2->IntegerValue();
    increment = form.NumEdit3->FloatValue();
    code = form.Edit1->text();
    return result;
}
