// The main window's layout: menus, the button panel, the drawing surface, the status
// bar with its panels and progress bars, the timers and the named cursors.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/StartMark.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/ModalOwner.h"
#include "mainwindow/VclTimer.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFormMap* FormMap = nullptr;

bool IsHeadless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

TFormMap::TFormMap(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), Arguments(arguments)
{
    FormMap = this;
    setObjectName(QStringLiteral("FormMap"));
    if (!IsHeadless())
        setWindowOpacity(1.0 / 255);   // almost invisible until the start timer fades it in
    StartMark1 = new TStartMark(this);
    BuildMenus();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* panel = new QFrame(central);
    panel->setObjectName(QStringLiteral("ButtonPanel"));
    BuildButtonPanel(panel);
    column->addWidget(panel);
    auto* bevel = new QFrame(central);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* bevelLayout = new QVBoxLayout(bevel);
    bevelLayout->setContentsMargins(1, 1, 1, 1);
    DisplaySurf = new TDisplaySurface(*this, bevel);
    DisplaySurf->setObjectName(QStringLiteral("DisplaySurf"));
    BackGround = new QLabel(DisplaySurf);   // lies beneath: the canvas covers it
    BackGround->hide();
    bevelLayout->addWidget(DisplaySurf);
    column->addWidget(bevel, 1);
    setCentralWidget(central);
    BuildStatusBar();
    ConnectUndoCommands();
    ConnectFileCommands();
    ConnectSurfaceCommands();
    ConnectSearchCommands();
    ConnectViewMenu();
    ConnectSurveyCommands();
    ConnectRastrCommands();
    ConnectStampCommands();

    ProgressBar1 = new QProgressBar(DisplaySurf);
    ProgressBar2 = new QProgressBar(DisplaySurf);
    for (QProgressBar* bar : {ProgressBar1, ProgressBar2}) {
        bar->setTextVisible(false);
        bar->hide();
    }

    TimerCloseStart = new TVclTimer(500, true, [this] { TimerCloseStartTimer(); }, this);
    TimerWorkTime = new TVclTimer(1000, true, [this] { TimerWorkTimeTimer(); }, this);
    TimerAutosave = new TVclTimer(300000, false, [this] { TimerAutosaveTimer(); }, this);
    tmLink = new TVclTimer(250, false, [this] { tmLinkTimer(); }, this);
    tmSelect = new TVclTimer(100, false, [this] { tmSelectTimer(); }, this);
    ConnectSelectionCommands();
    ConnectKeysAndWheel();
    ArrangeMenus();

    // Key preview: every key of the window passes the hot keys first.
    qApp->installEventFilter(this);
    new TModalOwner(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SessionEnd(); });
    FormCreate();
}

TFormMap::~TFormMap()
{
    qApp->removeEventFilter(this);
    FormDestroy();
    if (FormMap == this)
        FormMap = nullptr;
}

void TFormMap::BuildMenus()
{
    QMenuBar* bar = menuBar();
    NFile = bar->addMenu(QStringLiteral("Файл"));
    NHistory = NFile->addMenu(QStringLiteral("История"));
    NView = bar->addMenu(QStringLiteral("Вид"));
    NPlan = bar->addMenu(QStringLiteral("План"));
    NSearch = bar->addMenu(QStringLiteral("Поиск"));
    Clock = bar->addAction(QStringLiteral("00:00"));
    Clock->setObjectName(QStringLiteral("Clock"));
    connect(Clock, &QAction::triggered, this, [this] { ClockClick(); });
    NSettings = bar->addAction(QStringLiteral("Настройка"));
    NSettings->setObjectName(QStringLiteral("NSettings"));
    connect(NSettings, &QAction::triggered, this, [this] { NSetupClick(); });
    NHelp = bar->addMenu(QStringLiteral("Справка"));
    NMouseMode = bar->addMenu(QStringLiteral("Режим не выбран"));
    NMouseMode->setObjectName(QStringLiteral("NMouseMode"));
    NSelectView = NMouseMode->addAction(QStringLiteral("выбор вида"));
    connect(NSelectView, &QAction::triggered, this, [this] { NSelectViewClick(); });
    NMoveView = NMouseMode->addAction(QStringLiteral("сдвиг вида"));
    connect(NMoveView, &QAction::triggered, this, [this] { NMoveViewClick(); });
    NSelectObject = NMouseMode->addAction(QStringLiteral("выбор объекта"));
    connect(NSelectObject, &QAction::triggered, this, [this] { NSelectObjectClick(); });
    NMouseMode->addSeparator();
    // Their modes belong to the creation and survey tools, which connect them.
    for (const char* item : {"Создание текстовых объектов", "Создание точечных объектов",
                             "Создание линейных объектов", "Создание площадных объектов",
                             "Создание отметок", "Прокладка горизонтали", "Создание окружности"})
        NMouseMode->addAction(QString::fromUtf8(item));
    PageInf = bar->addAction(QStringLiteral("лист:"));
    PageInf->setObjectName(QStringLiteral("PageInf"));
}

void TFormMap::BuildButtonPanel(QWidget* panel)
{
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    QStyle* style = QApplication::style();
    auto button = [&](const QString& hint, const QString& text, QStyle::StandardPixmap icon,
                      bool enabled = true) {
        auto* b = new QToolButton(panel);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        if (icon != QStyle::SP_CustomBase)
            b->setIcon(style->standardIcon(icon));
        else
            b->setText(text);
        b->setEnabled(enabled);
        b->setFixedHeight(26);
        row->addWidget(b);
        PanelButtons.insert(hint, b);
        return b;
    };
    constexpr auto text = QStyle::SP_CustomBase;
    button(QStringLiteral("Печать"), QStringLiteral("Печ"), text);
    button(QStringLiteral("Сохранить план"), {}, QStyle::SP_DialogSaveButton);
    button(QStringLiteral("Открыть план"), {}, QStyle::SP_DialogOpenButton);
    button(QStringLiteral("Создать план"), {}, QStyle::SP_FileIcon);
    button(QStringLiteral("Сохранить область плана в выбраном формате"), QStringLiteral("Обл"), text);
    FoundCount = new QLabel(QStringLiteral("0"), panel);
    FoundCount->setToolTip(QStringLiteral("Число найденных объектов"));
    FoundCount->setMinimumWidth(28);
    FoundCount->setAlignment(Qt::AlignCenter);
    row->addWidget(FoundCount);
    button(QStringLiteral("Показать выделенный объект"), QStringLiteral("Пок"), text, false);
    button(QStringLiteral("Убрать выделение объектов"), QStringLiteral("Убр"), text, false);
    button(QStringLiteral("Рамка планшета"), QStringLiteral("Рам"), text);
    button(QStringLiteral("Открыть растровый планшет"), QStringLiteral("Р+"), text);
    button(QStringLiteral("Сохранить растровый планшет"), QStringLiteral("Р↓"), text);
    button(QStringLiteral("Сохранить план в выбранном формате"), QStringLiteral("Экс"), text);
    button(QStringLiteral("Штамп"), QStringLiteral("Шт"), text);
    button(QStringLiteral("Подписи координат"), QStringLiteral("XY"), text);
    UndoButton = button(QStringLiteral("отменить"), QStringLiteral("↶"), text, false);
    RedoButton = button(QStringLiteral("вернуть"), QStringLiteral("↷"), text, false);
    button(QStringLiteral("Режим колеса мыши"), QStringLiteral("Кол"), text);
    auto* dot = button(QStringLiteral("."), QStringLiteral("."), text);
    dot->setFixedWidth(14);
    auto* selected = new QComboBox(panel);
    selected->setObjectName(QStringLiteral("SelectedObjects"));
    // As wide as the found objects' names need, within what the window leaves.
    selected->setMinimumWidth(120);
    selected->setMaximumWidth(360);
    selected->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row->addWidget(selected, 1);
    row->addStretch();
}

void TFormMap::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    const struct {
        int Width;
        Qt::Alignment Align;
        QFrame::Shadow Shadow;
    } panels[6] = {{120, Qt::AlignLeft, QFrame::Sunken},    {120, Qt::AlignCenter, QFrame::Sunken},
                   {120, Qt::AlignCenter, QFrame::Sunken},  {60, Qt::AlignCenter, QFrame::Plain},
                   {100, Qt::AlignLeft, QFrame::Raised},    {50, Qt::AlignLeft, QFrame::Raised}};
    // The widths were set for a narrower font: the scale and the counts are cut unless
    // their panels fit the longest text they show. The drawing times take what room the
    // window leaves, down to their old width, so that a narrow window overlaps nothing.
    const QString longest[6] = {QStringLiteral("масштаб 1:2147483647"), {}, {},
                                {}, QStringLiteral("вывод изображения: [0.00+0.00+0.00+0.00+0.00]=0.00сек."),
                                QStringLiteral("9999999/9999999")};
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(bar);
        const int fit = std::max(panels[i].Width, label->fontMetrics().horizontalAdvance(longest[i]) + 8);
        if (i == 4) {
            label->setMinimumWidth(panels[i].Width);
            label->setMaximumWidth(fit);
        } else {
            label->setFixedWidth(fit);
        }
        label->setAlignment(panels[i].Align | Qt::AlignVCenter);
        label->setFrameStyle(i == 3 ? QFrame::NoFrame : (QFrame::Panel | panels[i].Shadow));
        bar->addWidget(label);
        StatusPanels[i] = label;
    }
}

void TFormMap::LoadCursors()
{
    // Hot spots: the cross and its kin at their centre, arrows at their tip, the
    // magnifier at the centre of its lens.
    static const char* const names[30] = {
        "CROSS",      "MOVE",         "MOVEDN",        "SELECT",           "ZOOM",
        "PRINT",      "DBET",         "ONNODE",        "ONOBJECT",         "ONTEXT",
        "ONSEGMENT",  "MOVENODE",     "MOVEOBJECT",    "MOVETEXT",         "MOVESEGMENT",
        "ROTATETEXT", "ROTATEOBJECT", "STAMP",         "SELECTSAVEREGION", "GTRACE1",
        "GTRACE2",    "COORDTEXT",    "SelectSLinePoint1", "SelectSLinePoint2", "OnRadius",
        "MoveRadius", "SetRastrBL",   "CAPPICTPOINT",  "CAPPICTLINE",      "CAPPICTPOLYGON"};
    for (const char* name : names) {
        const QString key = QString::fromLatin1(name);
        const QImage image(ProgramFolderPath(QStringLiteral("курсоры/") + key + QStringLiteral(".png")));
        const bool arrow = key.startsWith(QLatin1String("ON")) || key == QLatin1String("SELECT") ||
                           key.startsWith(QLatin1String("ROTATE")) || key == QLatin1String("OnRadius");
        if (image.isNull())
            Cursors.insert(key, QCursor(arrow ? Qt::ArrowCursor : Qt::CrossCursor));
        else if (arrow)
            Cursors.insert(key, QCursor(QPixmap::fromImage(image), 0, 0));
        else if (key == QLatin1String("ZOOM"))
            Cursors.insert(key, QCursor(QPixmap::fromImage(image), 12, 12));
        else
            Cursors.insert(key, QCursor(QPixmap::fromImage(image), 15, 15));
    }
}

void TFormMap::CreateToolPalette()
{
    if (FormInstr1)
        return;
    FormInstr1 = new TFormInstr1(*this, this);
    // The palette shows "Выбор вида" pressed from the start: the mode agrees with it at
    // once, so the first drag on the plan zooms and the first click on the palette is the
    // user's choice, which nothing later undoes.
    SetMouseMode(mmSelectView, 0, true);
    if (!IsHeadless())
        FormInstr1->setWindowOpacity(0);
    FormInstr1->show();
    FadeInToolPalette();
}
