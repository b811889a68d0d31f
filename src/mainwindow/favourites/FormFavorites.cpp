// The favourites palettes: built from the kind's folder each time, their buttons setting
// the code of new objects; their factory for the tool palette.
#include "mainwindow/favourites/FormFavorites.h"

#include "controls/ExSpeedButton.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "imaging/PictureReaders.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/favourites/FormFavSetup.h"
#include "mainwindow/favourites/Favourites.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QShowEvent>
#include <QToolButton>
#include <cmath>

namespace {

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 22;
constexpr int SeparatorWidth = 4;

// A separator of the toolbar: a gap of 4 pixels with an etched line down its middle.
class TFavouritesSeparator : public QWidget {
public:
    explicit TFavouritesSeparator(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Separator"));
        setFixedSize(SeparatorWidth, ButtonHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(1, 2, 1, height() - 3);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(2, 2, 2, height() - 3);
    }
};

// The set-up button's glyph: a five-pointed star.
QIcon SetupGlyph()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    constexpr double pi = 3.14159265358979323846;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 7.5 : 3.2;
        const double a = -pi / 2 + i * pi / 5;
        const QPointF pt(8 + r * std::cos(a), 8.4 + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(128, 80, 0), 1));
    p.setBrush(QColor(255, 204, 0));
    p.drawPath(star);
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

const TMouseMode CreationModes[] = {mmCreatePoint, mmCreateLine, mmCreatePolygon};

}  // namespace

TFormFavorites::TFormFavorites(TFormMap& form, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Form(form)
{
    setObjectName(QStringLiteral("FormFavorites"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    outer->addWidget(ToolBar1);
    outer->addStretch();
    Row = new QHBoxLayout(ToolBar1);
    Row->setContentsMargins(0, 2, 0, 2);
    Row->setSpacing(0);
    Row->setSizeConstraint(QLayout::SetFixedSize);
    Group = new QButtonGroup(this);
    Group->setExclusive(false);   // released and pressed by ButtonClick, as the user sees it

    ToolButton1 = new QToolButton(ToolBar1);
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    ToolButton1->setAutoRaise(true);
    ToolButton1->setFixedSize(ButtonWidth, ButtonHeight);
    ToolButton1->setIcon(SetupGlyph());
    ToolButton1->setToolTip(QStringLiteral("Настройка избранных объектов"));
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    Row->addWidget(ToolButton1);
}

TFormFavorites::~TFormFavorites() = default;

TExSpeedButton* TFormFavorites::CreationButton() const
{
    TFormInstr1* palette = Form.FormInstr1;
    if (!palette)
        return nullptr;
    TExSpeedButton* const buttons[] = {palette->sbPoint, palette->sbLine, palette->sbPolygon};
    return Kind >= 0 && Kind <= 2 ? buttons[Kind] : nullptr;
}

void TFormFavorites::ClearToolBar()
{
    for (QWidget* w : Elements())
        if (w != ToolButton1) {
            Row->removeWidget(w);
            w->hide();
            w->deleteLater();
        }
    for (QAbstractButton* b : Group->buttons())
        Group->removeButton(b);
}

void TFormFavorites::Load(int kind)
{
    Kind = kind;
    FolderWord = FavouritesFolderWord(kind);
    setWindowTitle(QStringLiteral("Избранные ") + FolderWord);
    // A palette of few buttons stays wide enough for its caption and close box.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 48);
    ClearToolBar();

    const QString folder = FavouritesFolder(FolderWord);
    QStringList lines;
    QStringList problems;
    try {
        ReadFavouriteButtons(folder, lines);
    } catch (const std::exception& e) {
        problems << ExceptionMessage(e);
    }
    int at = 0;   // before ToolButton1, in the file's order
    for (const QString& line : lines) {
        if (line == QString::fromUtf16(FavouritesSeparator)) {
            Row->insertWidget(at++, new TFavouritesSeparator(ToolBar1));
            continue;
        }
        const QString file = FavouritePictureFile(folder, line);
        if (file.isEmpty())
            continue;   // a deleted picture leaves no gap
        QImage picture;
        try {
            picture = ReadBmpPicture(file);
        } catch (const std::exception& e) {
            problems << ExceptionMessage(e);
            continue;
        }
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QStringLiteral("FavouriteButton"));
        b->setText(line.left(line.length() - 4));
        b->setToolTip(FavouriteHint(folder, line));
        b->setIcon(QIcon(QPixmap::fromImage(FavouriteIcon(picture))));
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setFixedSize(ButtonWidth, ButtonHeight);
        Group->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, b] { ButtonClick(b); });
        Row->insertWidget(at++, b);
    }
    adjustSize();
    if (!problems.isEmpty())
        ShowMsgDialog(windowTitle(), QStringLiteral("Часть панели не загружена:\r") +
                                         problems.join(QLatin1Char('\r')));
}

QList<QWidget*> TFormFavorites::Elements() const
{
    QList<QWidget*> elements;
    for (int i = 0; i < Row->count(); ++i)
        if (QWidget* w = Row->itemAt(i)->widget())
            elements << w;
    return elements;
}

QList<QToolButton*> TFormFavorites::Buttons() const
{
    QList<QToolButton*> buttons;
    for (QWidget* w : Elements())
        if (auto* b = qobject_cast<QToolButton*>(w); b && b != ToolButton1)
            buttons << b;
    return buttons;
}

void TFormFavorites::ButtonClick(QToolButton* button)
{
    for (QAbstractButton* b : Group->buttons())
        b->setChecked(b == button);
    QString* const codes[] = {&Form.PointCode, &Form.LineCode, &Form.PolygonCode};
    if (Kind < 0 || Kind > 2)
        return;
    *codes[Kind] = button->text();
    TExSpeedButton* creation = CreationButton();
    if (creation && !creation->Down())
        Form.SetMouseMode(CreationModes[Kind], 0, true);
}

void TFormFavorites::ToolButton1Click() { ShowFavSetup(Form, Kind); }

void TFormFavorites::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous() && Kind >= 0 && Kind <= 2)
        Form.SetMouseMode(CreationModes[Kind], 0, true);
}

QWidget* NewFormFavorites(int kind, QWidget* owner)
{
    if (kind < 0 || kind > 2)
        return nullptr;
    TFormMap* form = qobject_cast<TFormMap*>(owner);
    if (!form)
        form = FormMap;
    if (!form)
        return nullptr;
    auto* palette = new TFormFavorites(*form, owner);
    palette->Load(kind);
    return palette;
}

void RebuildFavorites(int kind)
{
    if (!FormMap || !FormMap->FormInstr1 || kind < 0 || kind > 2)
        return;
    TFormInstr1& palette = *FormMap->FormInstr1;
    QPointer<QWidget>& favorites = palette.FormFavorites[kind];
    if (favorites) {
        favorites->hide();
        favorites->deleteLater();
        favorites = nullptr;
    }
    const TExSpeedButton* const buttons[] = {palette.sbPoint, palette.sbLine, palette.sbPolygon};
    if (buttons[kind]->Down())
        palette.CreationButtonMouseUp(kind, Qt::RightButton);
}

void InstallFavouritesWindows() { MapHooks().NewFormFavorites = &NewFormFavorites; }
