// The settings window: five pages of controls filled from the target when it opens and
// written back, in one fixed order, however it closes; and the routines that give the
// program its place on the desktop.
#include "dialogs/settings/UnitSetup.h"

#include "controls/ComboEdit.h"
#include "editors/EditorDialogs.h"
#include "engine/draw/MapPainter.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/UnitMap.h"
#include "platform/DesktopEntries.h"
#include "platform/FileLookup.h"
#include "platform/TextFiles.h"
#include "semantics/codec/SemCodec.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace {

const QString Caption = QStringLiteral("Настройки Velmora 6");

// The plan's depth items and the pixel formats they stand for.
constexpr int PlanFormats[5] = {1, 2, 3, 5, 6};
const char* const DepthItems[5] = {"1 bit 2 цвета", "4 bit 16 цветов", "8 bit  256 цветов",
                                   "16 bit 65 тыс.цветов", "24 bit 16 млн.цветов"};

const char* const ColourCaptions[11] = {
    "Цвет фона",
    "Цвет границ планшетов масштаба 1:500",
    "Цвет границ планшетов масштаба 1:5000",
    "Цвет подписей номенклатуры планшетов",
    "Цвет создаваемой линии",
    "Цвет создаваемого основного сегмента полигона",
    "Цвет создаваемого специального (1) сегмента полигона",
    "Цвет создаваемого специального (2) сегмента полигона",
    "Цвет узлов",
    "Цвет линий выделения объектов",
    "Цвет линий выделения объектов 2",
};

// Autosave minutes whose milliseconds still fit the timer's interval.
constexpr int MostAutoSaveMinutes = INT_MAX / 60000;

TNumEdit* IntegerEdit(QWidget* parent)
{
    auto* e = new TNumEdit(parent);
    e->ClearTextIFValueNotInteger = true;
    e->ClearAndChangeToOldValue = true;
    return e;
}

TNumEdit* RealEdit(QWidget* parent, int decimals)
{
    auto* e = new TNumEdit(parent);
    e->ClearTextIFValueNotFloat = true;
    e->ClearAndChangeToOldValue = true;
    e->UniversalDecimalSeparator = true;
    e->EnableFloatPrecision = true;
    e->SetNumberOfDecimalDigits(std::uint8_t(decimals));
    return e;
}

QPushButton* Button(const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

// A memo's lines as a list box of the system gives them: a line break at the very end
// opens no line.
QStringList MemoLines(const QPlainTextEdit* memo)
{
    const QString text = memo->toPlainText();
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void ShowLines(QPlainTextEdit* memo, const QStringList& lines) { memo->setPlainText(lines.join(u'\n')); }

QString ExcludeFile(int lm) { return TSemCodec::ClassifierPath(TSemCodec::ExcludeFileNames[lm]); }

// The desktop entries start the program file and show the program's own picture.
TDesktopProgram DesktopProgram()
{
    return {ProgramFile(), ProgramFolderPath(QStringLiteral("velmora.png"))};
}

void Report(const Exception& e) { ShowMsgDialog(Caption, e.Message); }

}  // namespace

TColorBox::TColorBox(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setMinimumSize(60, 20);
    setCursor(Qt::PointingHandCursor);
}

void TColorBox::SetColour(std::int32_t colour)
{
    FColour = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, TColorToQColor(colour));
    setPalette(p);
}

void TColorBox::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return QFrame::mousePressEvent(e);
    QColorDialog dialog(TColorToQColor(FColour), window());
    if (dialog.exec() == QDialog::Accepted) {
        const QColor c = dialog.selectedColor();
        SetColour(std::int32_t(c.red() | (c.green() << 8) | (c.blue() << 16)));
    }
}

TFormSetup::TFormSetup(TSetupTarget& target, QWidget* parent) : TDialogBase(parent), Target(target)
{
    setObjectName(QStringLiteral("FormSetup"));
    setWindowTitle(Caption);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* names = new QHBoxLayout;
    lbComputer = new QLabel(QStringLiteral("Имя компьютера ") + ComputerName, this);
    lbUser = new QLabel(QStringLiteral("Имя пользователя ") + UserName, this);
    names->addWidget(lbComputer);
    names->addSpacing(24);
    names->addWidget(lbUser);
    names->addStretch();
    layout->addLayout(names);
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(GeneralPage(), QStringLiteral("Общие"));
    PageControl1->addTab(SemanticsPage(), QStringLiteral("Семантика"));
    PageControl1->addTab(SignsPage(), QStringLiteral("Условные знаки"));
    PageControl1->addTab(ColoursPage(), QStringLiteral("Цвета"));
    PageControl1->addTab(ConverterPage(), QStringLiteral("Конвертер"));
    layout->addWidget(PageControl1, 1);
    btDone = new QPushButton(QStringLiteral("Готово"), this);
    btDone->setObjectName(QStringLiteral("btDone"));
    btDone->setDefault(true);
    btDone->setMinimumWidth(100);
    connect(btDone, &QPushButton::clicked, this, [this] { SetModalResult(mrOk); });
    layout->addWidget(btDone, 0, Qt::AlignHCenter);
}

QWidget* TFormSetup::GeneralPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    const auto labelled = [&](const QString& caption, QWidget* control) {
        grid->addWidget(new QLabel(caption, page), row, 0);
        grid->addWidget(control, row++, 1, 1, 2);
    };
    edPlans = new TDirectoryEdit(page);
    labelled(QStringLiteral("Расположение электронных планов"), edPlans);
    edRastrs = new TDirectoryEdit(page);
    labelled(QStringLiteral("Расположение растровых изображений"), edRastrs);
    edNomenclature = new TFilenameEdit(page);
    edNomenclature->SetFilter(QStringLiteral("файл номенклатур|*.wri"));
    edNomenclature->SetDialogTitle(QStringLiteral("Выбор файла номенклатур планшетов"));
    edNomenclature->SetInitialDir(ProgramFolderPath(QStringLiteral("номенклатуры")));
    labelled(QStringLiteral("Файл номенклатур"), edNomenclature);

    cbAutoSave = new QCheckBox(QStringLiteral("Время автосохранения,мин"), page);
    neAutoSave = IntegerEdit(page);
    neAutoSave->setMaximumWidth(80);
    grid->addWidget(cbAutoSave, row, 0);
    grid->addWidget(neAutoSave, row++, 1, Qt::AlignLeft);
    cbUndo = new QCheckBox(QStringLiteral("Использовать отмену и возврат"), page);
    grid->addWidget(cbUndo, row++, 0, 1, 3);

    auto* mouse = new QGroupBox(QStringLiteral("Курсор мыши"), page);
    auto* mouseGrid = new QGridLayout(mouse);
    neSnap = IntegerEdit(mouse);
    nePick = IntegerEdit(mouse);
    for (int i = 0; i < 2; ++i) {
        mouseGrid->addWidget(new QLabel(i == 0 ? QStringLiteral("Область привязки к точкам")
                                               : QStringLiteral("Область выбора объектов"), mouse), i, 0);
        TNumEdit* edit = i == 0 ? neSnap : nePick;
        edit->setMaximumWidth(60);
        mouseGrid->addWidget(edit, i, 1);
        mouseGrid->addWidget(new QLabel(QStringLiteral("пикс."), mouse), i, 2);
    }
    mouseGrid->setColumnStretch(3, 1);

    auto* dpi = new QGroupBox(QStringLiteral("Разрешающая способность экрана, dpi"), page);
    auto* dpiRow = new QHBoxLayout(dpi);
    neDpi = RealEdit(dpi, 2);
    neDpi->setMaximumWidth(80);
    btSystemDpi = Button(QStringLiteral("взять системное  значение"), dpi);
    btRulerDpi = Button(QStringLiteral("Определить самостоятельно"), dpi);
    dpiRow->addWidget(neDpi);
    dpiRow->addWidget(btSystemDpi);
    dpiRow->addWidget(btRulerDpi);
    dpiRow->addStretch();
    connect(btSystemDpi, &QPushButton::clicked, this, &TFormSetup::SystemDpiClick);
    connect(btRulerDpi, &QPushButton::clicked, this, &TFormSetup::RulerDpiClick);
    grid->addWidget(mouse, row, 0);
    grid->addWidget(dpi, row++, 1, 1, 2);

    auto* colour = new QGroupBox(QStringLiteral("Цветовой режим"), page);
    auto* colourGrid = new QGridLayout(colour);
    cbPlanDepth = new QComboBox(colour);
    cbRastrDepth = new QComboBox(colour);
    cbRastrDepth->addItem(QStringLiteral("соответствует файлу растра"));
    cbRastrDepth->addItem(QStringLiteral("соответствует плану"));
    for (const char* item : DepthItems) {
        cbPlanDepth->addItem(QString::fromUtf8(item));
        cbRastrDepth->addItem(QString::fromUtf8(item));
    }
    colourGrid->addWidget(new QLabel(QStringLiteral("Глубина цвета плана"), colour), 0, 0);
    colourGrid->addWidget(cbPlanDepth, 0, 1);
    colourGrid->addWidget(new QLabel(QStringLiteral("Глубина цвета растров"), colour), 1, 0);
    colourGrid->addWidget(cbRastrDepth, 1, 1);

    auto* wheel = new QGroupBox(QStringLiteral("Режим колеса мыши"), page);
    auto* wheelColumn = new QVBoxLayout(wheel);
    const QString wheelCaptions[3] = {QStringLiteral("по умолчанию (Shift)"),
                                      QStringLiteral("как в графических редакторах (...+Ctrl,...+Shift)"),
                                      QStringLiteral("Velmora (...+Ctrl,...+Shift)")};
    for (int i = 0; i < 3; ++i) {
        rbWheel[i] = new QRadioButton(wheelCaptions[i], wheel);
        wheelColumn->addWidget(rbWheel[i]);
    }
    grid->addWidget(colour, row, 0);
    grid->addWidget(wheel, row++, 1, 1, 2);

    auto* shell = new QHBoxLayout;
    btAssociations = Button(QStringLiteral("установить ассоциации файлов"), page);
    btDesktop = Button(QStringLiteral("создать ярлык на рабочем столе"), page);
    btStartMenu = Button(QStringLiteral("создать ярлык в меню пуск"), page);
    for (QPushButton* b : {btAssociations, btDesktop, btStartMenu})
        shell->addWidget(b);
    shell->addStretch();
    connect(btAssociations, &QPushButton::clicked, this, &TFormSetup::AssociationsClick);
    connect(btDesktop, &QPushButton::clicked, this, &TFormSetup::DesktopClick);
    connect(btStartMenu, &QPushButton::clicked, this, &TFormSetup::StartMenuClick);
    grid->addLayout(shell, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* TFormSetup::SemanticsPage()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* bases = new QGroupBox(QStringLiteral("Базы данных семантики"), page);
    auto* basesRow = new QHBoxLayout(bases);
    btStandard = Button(QStringLiteral("Стандартная"), bases);
    btExtended = Button(QStringLiteral("Расширенная "), bases);
    btWork = Button(QStringLiteral("Рабочая"), bases);
    const std::pair<QPushButton*, int> modes[3] = {{btStandard, 3}, {btExtended, 4}, {btWork, 2}};
    for (const auto& [button, mode] : modes) {
        basesRow->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, mode = mode] { Target.EditClassifier(mode); });
    }
    basesRow->addStretch();
    column->addWidget(bases);
    cbAskWorkSem = new QCheckBox(QStringLiteral("Спрашивать о неизвестной рабочей семантике"), page);
    column->addWidget(cbAskWorkSem);
    column->addWidget(new QLabel(QStringLiteral("Исключения:"), page));
    pcExcludes = new QTabWidget(page);
    const QString kinds[3] = {QStringLiteral("Точечные"), QStringLiteral("Линейные"),
                              QStringLiteral("Площадные")};
    for (int lm = 0; lm < 3; ++lm) {
        meExcludes[lm] = new QPlainTextEdit(pcExcludes);
        meExcludes[lm]->setLineWrapMode(QPlainTextEdit::NoWrap);
        pcExcludes->addTab(meExcludes[lm], kinds[lm]);
    }
    column->addWidget(pcExcludes, 1);
    btClearExcludes = Button(QStringLiteral("очистить"), page);
    connect(btClearExcludes, &QPushButton::clicked, this,
            [this] { meExcludes[pcExcludes->currentIndex()]->clear(); });
    column->addWidget(btClearExcludes, 0, Qt::AlignLeft);
    return page;
}

QWidget* TFormSetup::SignsPage()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    cbFontAutoload = new QCheckBox(QStringLiteral("Автозагрузка топографических шрифтов"), page);
    cbAskSigns = new QCheckBox(QStringLiteral("Спрашивать о неизвестных условных знаках"), page);
    cbSynonyms = new QCheckBox(QStringLiteral("Использовать синонимы семантики"), page);
    for (QCheckBox* c : {cbFontAutoload, cbAskSigns, cbSynonyms})
        column->addWidget(c);
    column->addWidget(new QLabel(QStringLiteral("Неизвестные условные знаки"), page));
    meUnknown = new QPlainTextEdit(page);
    meUnknown->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(meUnknown, 1);
    auto* row = new QHBoxLayout;
    btClearUnknown = Button(QStringLiteral("очистить"), page);
    btEditor = Button(QStringLiteral("Редактор"), page);
    connect(btClearUnknown, &QPushButton::clicked, meUnknown, &QPlainTextEdit::clear);
    connect(btEditor, &QPushButton::clicked, this, &TFormSetup::EditorClick);
    row->addWidget(btClearUnknown);
    row->addStretch();
    row->addWidget(btEditor);
    column->addLayout(row);
    return page;
}

QWidget* TFormSetup::ColoursPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 11; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(ColourCaptions[i]), page), i, 0);
        ColourBoxes[i] = new TColorBox(page);
        grid->addWidget(ColourBoxes[i], i, 1);
    }
    btDefaultBack = Button(QStringLiteral("по умолчанию"), page);
    connect(btDefaultBack, &QPushButton::clicked, this, [this] { ColourBoxes[0]->SetColour(clBtnFace); });
    grid->addWidget(btDefaultBack, 0, 2);
    neHighlightWidth = IntegerEdit(page);
    neArrowLength = IntegerEdit(page);
    neArrowAngle = RealEdit(page, 3);
    const std::pair<const char*, TNumEdit*> numbers[3] = {{"Толщина линий выделения", neHighlightWidth},
                                                         {"Длина стрелок линий выделения", neArrowLength},
                                                         {"Угол стрелок линий выделения", neArrowAngle}};
    int row = 11;
    for (const auto& [caption, edit] : numbers) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), page), row, 0);
        edit->setMaximumWidth(80);
        grid->addWidget(edit, row++, 1);
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* TFormSetup::ConverterPage()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* dxf = new QGroupBox(QStringLiteral("Autocad DXF"), page);
    auto* dxfColumn = new QVBoxLayout(dxf);
    cbHeightsZ = new QCheckBox(QStringLiteral("Использовать третью координату (Z или H) в отметках и горизонталях"), dxf);
    cbCaptionsZ = new QCheckBox(QStringLiteral("Использовать третью координату (Z или H) в подписях отметок"), dxf);
    dxfColumn->addWidget(cbHeightsZ);
    dxfColumn->addWidget(cbCaptionsZ);
    column->addWidget(dxf);
    column->addStretch();
    return page;
}

void TFormSetup::FormShow()
{
    Target.MovePaletteAside();
    Shown = Target.Values();
    const RSetupValues& v = Shown;
    edPlans->setText(v.PlansFolder);
    edRastrs->setText(v.RastrsFolder);
    edNomenclature->setText(v.NomenclatureFile);
    cbAutoSave->setChecked(v.AutoSaveOn);
    neAutoSave->SetIntegerValue(std::max<int>(1, int(Round(v.AutoSaveInterval / 60000.0L))));
    cbUndo->setChecked(v.UndoOn);
    neSnap->SetIntegerValue(v.SnapRadius);
    nePick->SetIntegerValue(v.PickRadius);
    neDpi->SetFloatValue(v.ScreenDpi);
    // A format outside the lists leaves the list's own item: the engine's default one.
    cbPlanDepth->setCurrentIndex(4);
    for (int i = 0; i < 5; ++i)
        if (PlanFormats[i] == v.PlanPixelFormat)
            cbPlanDepth->setCurrentIndex(i);
    cbRastrDepth->setCurrentIndex(v.RastrPixelFormat >= 0 && v.RastrPixelFormat <= 6 ? v.RastrPixelFormat : 4);
    for (int i = 0; i < 3; ++i)
        rbWheel[i]->setChecked(v.WheelMode == i);
    cbAskWorkSem->setChecked(v.AskUnknownWorkSem);
    cbFontAutoload->setChecked(v.FontAutoload);
    cbAskSigns->setChecked(v.AskUnknownSymbol);
    cbSynonyms->setChecked(v.UseSynonyms);
    ShowLines(meUnknown, v.UnknownSigns);
    for (int i = 0; i < 11; ++i)
        ColourBoxes[i]->SetColour(v.Colours[i]);
    neHighlightWidth->SetIntegerValue(v.HighlightWidth);
    neArrowLength->SetIntegerValue(v.ArrowLength);
    neArrowAngle->SetFloatValue(v.ArrowAngle);
    cbHeightsZ->setChecked(v.UseHCAD);
    cbCaptionsZ->setChecked(v.UseHCADinText);

    // The memos show the classifier's lists as it has them now.
    try {
        Target.SaveExcludes();
    } catch (const Exception& e) {
        Report(e);
    }
    for (int lm = 0; lm < 3; ++lm) {
        try {
            ShowLines(meExcludes[lm], ReadTextFileLines(ExcludeFile(lm)));
            ExcludesRead[lm] = true;
        } catch (const Exception& e) {
            // Written back, an empty memo would wipe the list the classifier still holds.
            meExcludes[lm]->setReadOnly(true);
            Report(e);
        }
    }
}

void TFormSetup::WriteExcludes()
{
    bool all = true;
    for (int lm = 0; lm < 3; ++lm) {
        if (!ExcludesRead[lm]) {
            all = false;
            continue;
        }
        try {
            WriteTextFileLines(ExcludeFile(lm), MemoLines(meExcludes[lm]));
        } catch (const Exception& e) {
            all = false;
            Report(e);
        }
    }
    // Read back only when every file holds what the memos hold.
    if (!all)
        return;
    try {
        Target.LoadExcludes();
    } catch (const Exception& e) {
        Report(e);
    }
}

void TFormSetup::FormClose()
{
    TSetupTarget& t = Target;
    t.SetUseSynonyms(cbSynonyms->isChecked());
    t.SetDxfHeights(cbHeightsZ->isChecked(), cbCaptionsZ->isChecked());
    for (int i = 0; i < 3; ++i)
        if (rbWheel[i]->isChecked())
            t.SetWheelMode(i);
    t.SetUnknownSigns(MemoLines(meUnknown));
    WriteExcludes();
    t.SetFontAutoload(cbFontAutoload->isChecked());
    t.SetAskSwitches(cbAskWorkSem->isChecked(), cbAskSigns->isChecked());
    t.SetPlansFolder(edPlans->text());
    t.SetRastrsFolder(edRastrs->text());
    // A 0 ms timer would fire without a pause: less than a minute is taken as a minute.
    const int minutes = std::clamp(neAutoSave->IntegerValue(), 1, MostAutoSaveMinutes);
    t.SetAutoSave(cbAutoSave->isChecked(), minutes * 60000);
    t.SetBackground(ColourBoxes[0]->Colour());

    // An untouched edit says nothing, even when its file has gone since.
    const QString nomenclature = edNomenclature->FileName();
    if (edNomenclature->text() != Shown.NomenclatureFile && nomenclature != Shown.NomenclatureFile) {
        if (QFileInfo(nomenclature).isFile())
            t.LoadNomenclatures(nomenclature);
        else
            ShowMsgDialog(Caption, QStringLiteral("Не найден файл номенклатур ") + nomenclature +
                                       QStringLiteral(": оставлен прежний ") + Shown.NomenclatureFile);
    }

    const Extended dpi = neDpi->FloatValue();
    if (dpi > 0)
        t.SetScreenDpi(dpi);
    else
        ShowMsgDialog(Caption, QStringLiteral("Разрешение экрана должно быть больше нуля: оставлено прежнее ") +
                                   FloatToFixed(Shown.ScreenDpi, 2, 6));
    t.SetPixelFormats(PlanFormats[std::max(0, cbPlanDepth->currentIndex())], std::max(0, cbRastrDepth->currentIndex()));
    std::array<std::int32_t, 11> colours{};
    for (int i = 0; i < 11; ++i)
        colours[i] = ColourBoxes[i]->Colour();
    t.SetColours(colours);
    t.SetSnapRadius(neSnap->IntegerValue());
    t.SetPickRadius(nePick->IntegerValue());
    t.SetHighlight(colours[9], colours[10], neHighlightWidth->IntegerValue(), neArrowLength->IntegerValue(),
                   neArrowAngle->FloatValue());
    t.SetUndoOn(cbUndo->isChecked());
    t.RestorePalette();
}

int TFormSetup::ScreenWidth() const
{
    const QScreen* s = screen();
    return s ? s->geometry().width() : 1024;
}

Extended TFormSetup::SystemDpi() const
{
    const QScreen* s = screen();
    return s ? Extended(s->logicalDotsPerInchX()) : 96;
}

void TFormSetup::SystemDpiClick() { neDpi->SetFloatValue(SystemDpi()); }

void TFormSetup::RulerDpiClick()
{
    Extended pixels = ScreenWidth();
    if (InpFltDialog(pixels, QStringLiteral("Количество точек экрана по горизонтали"),
                     QStringLiteral("Если необходимо,исправьте размер экрана в пикселях по горизонтали")) != mrOk)
        return;
    Extended millimetres = pixels / SystemDpi() * 25.4L;
    if (InpFltDialog(millimetres, QStringLiteral("Размер экрана по горизонтали,мм"),
                     QStringLiteral("Измерьте линейкой экран по горизонтали и введите размер в мм")) != mrOk)
        return;
    // Either size at zero or below would give no resolution at all, or a negative one.
    if (pixels <= 0 || millimetres <= 0) {
        ShowMsgDialog(Caption, QStringLiteral("Размер экрана должен быть больше нуля: разрешение не изменено"));
        return;
    }
    neDpi->SetFloatValue(pixels / (millimetres / 25.4L));
}

void TFormSetup::AssociationsClick()
{
    try {
        RegisterPlanExtensions();
    } catch (const Exception& e) {
        Report(e);
    }
}

void TFormSetup::DesktopClick()
{
    try {
        CreateDesktopShortcut();
    } catch (const Exception& e) {
        Report(e);
    }
}

void TFormSetup::StartMenuClick()
{
    // Once per window, as the menu's conversation it stands for ends with the first item.
    if (StartMenuDone)
        return;
    StartMenuDone = true;
    try {
        CreateMenuEntry();
    } catch (const Exception& e) {
        Report(e);
    }
}

QStringList TFormSetup::SignScales()
{
    const QString folder = ProgramFolderPath(QStringLiteral("Условные знаки"));
    std::vector<std::pair<int, QString>> scales;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool whole = false;
        const int scale = name.toInt(&whole);
        const bool digits = !name.isEmpty() &&
                            std::all_of(name.begin() + ((name[0] == u'-' || name[0] == u'+') ? 1 : 0), name.end(),
                                        [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (whole && digits)
            scales.emplace_back(scale, name);
    }
    std::sort(scales.begin(), scales.end());
    QStringList names;
    for (const auto& s : scales)
        names << s.second;
    return names;
}

void TFormSetup::EditorClick()
{
    QStringList scales = SignScales();
    int index = scales.isEmpty() ? -1 : 0;
    int added = 0;
    const TModalResult result =
        SelStrDialog(scales, index, added, QStringLiteral("Выберете масштаб"),
                     QStringLiteral("в списке отображены масштабы планов, для которых созданы условные знаки"));
    if (result != mrOk || added != 0 || index < 0 || index >= scales.size())
        return;
    SymbolManagerDlg(scales[index].toInt());
    Target.SignsEdited();
}

TModalResult SetupDlg(TSetupTarget& target)
{
    TFormSetup window(target, DialogOwner());
    window.FormShow();
    window.resize(window.sizeHint().expandedTo(QSize(760, 560)));
    window.PlaceScreenCentre();
    const TModalResult result = window.ShowModal();
    window.FormClose();
    return result;
}

void RegisterPlanExtension(const QString& s) { RegisterPlanMimeType(s, DesktopProgram()); }

void RegisterPlanExtensions()
{
    RegisterPlanMimeTypes({QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("500"),
                           QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("5000"),
                           QStringLiteral("10000"), QStringLiteral("25000")},
                          DesktopProgram());
}

void CreateDesktopShortcut() { WriteDesktopShortcut(DesktopProgram()); }

void CreateMenuEntry() { WriteApplicationEntry(DesktopProgram()); }
