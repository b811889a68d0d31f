// The splash window and its component.
#include "foundation/ui/StartMark.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

TMarkLogo::TMarkLogo(QWidget* parent) : QWidget(parent) {}

void TMarkLogo::SetPicture(const QImage& picture)
{
    Picture = picture;
    resize(picture.size());
    update();
}

void TMarkLogo::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

TMark::TMark(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(496, 323);
    Logo = new TMarkLogo(this);
    Logo->move(0, 0);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->setGeometry(3, 309, 245, 7);
    ProgressBar->hide();
}

QPoint SplashTopLeft(QSize screen, QSize image)
{
    return QPoint((screen.width() - image.width()) / 2, (screen.height() - image.height()) / 2);
}

TStartMark::TStartMark(QWidget* owner) : QObject(owner) {}

TStartMark::~TStartMark() { CloseMark(); }

void TStartMark::SetPicture(const QImage& picture)
{
    if (!picture.isNull())
        Picture = picture.copy();
}

void TStartMark::SetActive(bool value)
{
    if (value) {
        CloseMark();
        Window = std::make_unique<TMark>();
        Window->Logo->SetPicture(Picture);
        if (!Picture.isNull())
            Window->resize(Picture.size());
        QSize screen(Window->size());
        if (QScreen* s = QGuiApplication::primaryScreen())
            screen = s->geometry().size();
        Window->move(SplashTopLeft(screen, Window->size()));
        Window->setWindowOpacity(1.0);
        Window->show();
        if (ShowTime > 0) {
            // The wait keeps the window painting and the program answering.
            QEventLoop wait;
            QTimer::singleShot(ShowTime * 100, &wait, &QEventLoop::quit);
            wait.exec();
        }
    }
    Active = value;
}

void TStartMark::CloseMark()
{
    Window.reset();
}
