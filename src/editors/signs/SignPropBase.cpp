// The common part of the point, line and area sign dialogs.
#include "editors/signs/SignPropBase.h"

#include "controls/ExSpeedButton.h"
#include "editors/EditorDialogs.h"
#include "editors/signs/UnitSelectTextStyle.h"
#include "editors/signs/UnitSymbolEdit.h"
#include "editors/signs/UnitTextFromSem.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <cmath>

QString MakeSignFileName(const QString& code, TSignPartRule materialRule, const QStringList& materials,
                         TSignPartRule stateRule, const QStringList& states, QString* refusal)
{
    QString n = code;
    if (n.size() == 3)
        n += u'/';
    else if (n.size() > 4 && !n.endsWith(u';'))
        n += u';';
    if (n.size() > 3)
        n[3] = u'-';
    const auto part = [&n](QChar letter, TSignPartRule rule, const QStringList& codes) {
        if (rule == TSignPartRule::Any) {
            n += letter;
            n += u';';
        } else if (rule == TSignPartRule::Only) {
            n += letter;
            for (const QString& c : codes)
                n += c + u';';
        }
    };
    part(u'М', materialRule, materials);
    part(u'С', stateRule, states);
    if (n.endsWith(u';'))
        n.chop(1);
    if (n.size() == 4)
        n.truncate(3);
    const bool unsafe = n.isEmpty() || n.contains(u'/') || n.contains(u'\\') || n.contains(QStringLiteral(".."));
    n += QStringLiteral(".wri");
    if (unsafe) {
        if (refusal)
            *refusal = QStringLiteral("Имя файла условного знака недопустимо: ") + n;
        return QString();
    }
    return n;
}

QString BuildSignFileName(const QString& sem, const QStringList& materials, const QStringList& states,
                          TSignNamePolicy policy, QString* refusal)
{
    // sem is already the standard part; an empty choice either bears on nothing or
    // leaves the part out.
    const TSignPartRule empty = policy == TSignNamePolicy::StandardWithMS ? TSignPartRule::Any : TSignPartRule::None;
    return MakeSignFileName(sem, materials.isEmpty() ? empty : TSignPartRule::Only, materials,
                            states.isEmpty() ? empty : TSignPartRule::Only, states, refusal);
}

QString CaptionRuleRow(const RSemText& rule, const QString& objectCode, int lm)
{
    const QString texts = rule.TextStart + rule.Separator1 + rule.Separator2 + rule.TextEnd;
    const bool unconditional = rule.PropKey == QStringLiteral("В") && rule.PropCode == QStringLiteral("00");
    if (lm == lmLine && (rule.Mode == 3 || (rule.Mode == 2 && !unconditional)))
        return QStringLiteral("безусл.текст в линию: ") + texts;
    if (lm != lmPolygon && unconditional)
        return QStringLiteral("безусл.текст: ") + texts;
    if (lm == lmPolygon && rule.PropKey == QStringLiteral("М") && rule.PropCode == QStringLiteral("-1"))
        return QStringLiteral("любой материал ") + texts;
    QString sem = objectCode.left(3) + u'/' + rule.PropKey;
    if (!rule.PropKey.isEmpty()) {
        static const QString direct = QStringLiteral("КМНСФ");
        if (direct.contains(rule.PropKey.at(0)))
            sem += rule.PropCode;
        else
            sem += u':' + rule.PropCode;
    }
    TSemServices* services = SemServices();
    if (!services)
        return sem;
    // A rule's value may be one no object carries (a negative code: any value), which
    // the codec would ask the user to correct while a list is being filled. No question
    // is put here: such a row shows the string itself.
    TDialogHooks quiet = DialogHooks();
    quiet.InpStr = [](QString&, const QString&, const QString&) { return mrCancel; };
    const TScopedDialogHooks scope(quiet);
    QString row;
    try {
        services->decode3(lm, sem, row);
    } catch (const Exception&) {
        row = sem;
    }
    return row;
}

TFormSignProp::TFormSignProp(TPreviewOwner owner, const QString& signFile, int scale, int width,
                             int height, QWidget* parent)
    : TDialogBase(parent), Scale(scale), OpenedFile(signFile)
{
    SetClientSize(width, height);
    Preview = new TSignPreview(owner, scale, this);
    Place(Preview, QRect(8, 8, 304, 280));
    Place(Preview->TrackBar1, QRect(8, 292, 304, 22));
    Label01 = new QLabel(QStringLiteral("масштаб 1:") + QString::number(scale), this);
    Label01->setObjectName(QStringLiteral("Label01"));
    Place(Label01, QRect(8, 316, 200, 16));

    auto* captionsLabel = new QLabel(QStringLiteral("Подписи из семантики"), this);
    Place(captionsLabel, QRect(8, 338, 220, 16));
    lbSv = new QListWidget(this);
    lbSv->setObjectName(QStringLiteral("lbSv"));
    lbSv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Place(lbSv, QRect(8, 356, 224, height - 356 - 70));
    auto listButton = [this](const char* name, const QString& caption, int row) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        Place(b, QRect(236, 356 + row * 26, 76, 24));
        return b;
    };
    sbAddSemText = listButton("sbAddSemText", QStringLiteral("Добавить"), 0);
    sbEditSemText = listButton("sbEditSemText", QStringLiteral("Изменить"), 1);
    sbDelSemText = listButton("sbDelSemText", QStringLiteral("Удалить"), 2);
    sbUp = listButton("sbUp", QStringLiteral("вверх"), 3);
    sbDown = listButton("sbDown", QStringLiteral("вниз"), 4);
    sbFont = listButton("sbFont", QStringLiteral("шрифт"), 5);
    for (QPushButton* b : {sbEditSemText, sbDelSemText, sbUp, sbDown})
        b->setEnabled(false);
    sbFont->hide();

    eSem = new QLineEdit(signFile, this);
    eSem->setObjectName(QStringLiteral("eSem"));
    Place(eSem, QRect(8, height - 62, width - 46, 22), Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    ButtonShowFormSem = new TExSpeedButton(this);
    ButtonShowFormSem->setObjectName(QStringLiteral("ButtonShowFormSem"));
    ButtonShowFormSem->SetCaption(QStringLiteral("..."));
    ButtonShowFormSem->setToolTip(QStringLiteral("Классификатор семантики"));
    Place(ButtonShowFormSem, QRect(width - 34, height - 63, 26, 24), Qt::RightEdge | Qt::BottomEdge);

    BitBtn3 = AddButton(QStringLiteral("Сохранить"), QRect(width - 176, height - 32, 80, 25), mrOk);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setDefault(true);
    BitBtn2 = AddButton(QStringLiteral("Отмена"), QRect(width - 88, height - 32, 80, 25), mrCancel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    EscResult = mrCancel;

    connect(lbSv, &QListWidget::itemSelectionChanged, this, &TFormSignProp::ListClicked);
    connect(sbAddSemText, &QPushButton::clicked, this, &TFormSignProp::AddSemText);
    connect(sbEditSemText, &QPushButton::clicked, this, &TFormSignProp::EditSemText);
    connect(sbDelSemText, &QPushButton::clicked, this, &TFormSignProp::DelSemText);
    connect(sbUp, &QPushButton::clicked, this, [this] { MoveSemText(-1); });
    connect(sbDown, &QPushButton::clicked, this, [this] { MoveSemText(1); });
    connect(sbFont, &QPushButton::clicked, this, &TFormSignProp::FontSemText);
    ButtonShowFormSem->OnClick = [this] { ShowFormSem(); };
}

bool TFormSignProp::Load()
{
    if (!Preview->Prepare(OpenedFile))
        return false;
    FillCaptionList();
    FillControls();
    return true;
}

bool TFormSignProp::Save()
{
    try {
        return Symbols().SaveSymbol(eSem->text(), Kind());
    } catch (const Exception& e) {
        ShowMsgDialog(windowTitle(), e.Message);
        return false;
    }
}

void TFormSignProp::FillCaptionList()
{
    lbSv->clear();
    TSemTexts* rules = Captions();
    if (!rules)
        return;
    const QString code = QFileInfo(OpenedFile).fileName();
    for (int i = 0; i < rules->GetCount(); ++i) {
        rules->GoItem(i);
        lbSv->addItem(CaptionRuleRow(*rules->Item, code, Kind()));
    }
    ListClicked();
}

QList<int> TFormSignProp::SelectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < lbSv->count(); ++i)
        if (lbSv->item(i)->isSelected())
            rows << i;
    return rows;
}

void TFormSignProp::ListClicked()
{
    const QList<int> rows = SelectedRows();
    if (rows.size() != 1) {
        for (QPushButton* b : {sbUp, sbDown, sbEditSemText, sbDelSemText})
            b->setEnabled(false);
        sbFont->show();
        return;
    }
    sbUp->setEnabled(lbSv->count() >= 2);
    sbDown->setEnabled(lbSv->count() >= 2);
    sbAddSemText->setEnabled(true);
    sbEditSemText->setEnabled(true);
    sbDelSemText->setEnabled(true);
    sbFont->hide();
}

void TFormSignProp::AddSemText()
{
    TSemTexts* rules = Captions();
    if (!rules || !rules->AddItem())
        return;
    RSemText& rule = *rules->Item;
    const int added = rules->GetIndex();
    TGeoTextStyles& styles = Symbols().TextStyles;
    // No text styles at this scale: the new rule names none.
    rule.StyleName = styles.GoLastItem() ? styles.Item->StyleName : QString();
    rule.Dx = 3;
    rule.Dy = 3;
    rule.Step = 3.5L;
    rule.Mode = 1;
    if (TextFromSemDlg(&rule, Symbols()) != mrOk && rules->GoItem(added))
        rules->DeleteItem();
    FillCaptionList();
}

void TFormSignProp::EditSemText()
{
    TSemTexts* rules = Captions();
    const QList<int> rows = SelectedRows();
    if (!rules || rows.isEmpty() || !rules->GoItem(rows.first()))
        return;
    TextFromSemDlg(rules->Item, Symbols());
    FillCaptionList();
}

void TFormSignProp::DelSemText()
{
    TSemTexts* rules = Captions();
    const QList<int> rows = SelectedRows();
    if (!rules || rows.isEmpty() || !rules->GoItem(rows.first()))
        return;
    rules->DeleteItem();
    FillCaptionList();
}

void TFormSignProp::MoveSemText(int by)
{
    TSemTexts* rules = Captions();
    const QList<int> rows = SelectedRows();
    if (!rules || rows.isEmpty())
        return;
    const int i = rows.first();
    if (i + by < 0 || i + by >= lbSv->count())
        return;
    if (rules->ChangeItems(i, i + by))
        FillCaptionList();
}

void TFormSignProp::FontSemText()
{
    TSemTexts* rules = Captions();
    if (!rules)
        return;
    RSemText blank;
    if (SelectTextStyleDlg(blank, Symbols()) != mrOk)
        return;
    for (int row : SelectedRows()) {
        if (!rules->GoItem(row))
            continue;
        RSemText& rule = *rules->Item;
        rule.StyleName = blank.StyleName;
        if (blank.OwnStyle) {
            if (!rule.OwnStyle)
                rule.OwnStyle = std::make_unique<TUserStyle>();
            *rule.OwnStyle = *blank.OwnStyle;
        } else
            rule.OwnStyle.reset();
    }
    FillCaptionList();
}

void TFormSignProp::ShowFormSem()
{
    const QFileInfo info(eSem->text());
    const QString folder = eSem->text().left(eSem->text().size() - info.fileName().size());
    QString sem = info.fileName();
    sem.chop(std::min<qsizetype>(4, sem.size()));
    if (sem.size() > 3)
        sem[3] = u'/';
    int lm = Kind();
    if (SemDlg(1, lm, sem) != mrOk)
        return;
    QStringList materials, states;
    if (SelectMSDlg(materials, states) != mrOk)
        return;
    QString standard = sem;
    try {
        if (SemServices())
            SemServices()->SemToSTD(standard);
    } catch (const Exception& e) {
        ShowMsgDialog(QStringLiteral("Классификатор семантики"), e.Message);
        return;
    }
    QString refusal;
    const QString name = BuildSignFileName(standard, materials, states, TSignNamePolicy::StandardWithMS, &refusal);
    if (name.isEmpty()) {
        ShowMsgDialog(QStringLiteral("Классификатор семантики"), refusal);
        return;
    }
    eSem->setText(folder + name);
}

void TFormSignProp::EditPicture(TVpLayers& picture)
{
    const QFileInfo info(eSem->text());
    SymbolEditDlg(&picture, info.fileName() + QStringLiteral(" [") + info.path() + u']', *Preview->Map);
    Preview->SignChanged();
}

TNumEdit* TFormSignProp::RealEdit(QWidget* parent, const char* name, int decimals)
{
    auto* e = new TNumEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->UniversalDecimalSeparator = true;
    e->ClearTextIFValueNotFloat = true;
    if (decimals >= 0) {
        e->EnableFloatPrecision = true;
        e->SetNumberOfDecimalDigits(std::uint8_t(decimals));
    }
    return e;
}

void TFormSignProp::ShowValue(TNumEdit* edit, Extended value)
{
    // Only typing writes a field (textEdited): the text set here leaves the value as read.
    edit->SetFloatValue(value);
}

Extended TFormSignProp::TypedValue(TNumEdit* edit)
{
    const Extended v = edit->FloatValue();
    if (!edit->EnableFloatPrecision)
        return v;
    const Extended f = std::pow(10.0L, edit->NumberOfDecimalDigits);
    return std::round(v * f) / f;
}
