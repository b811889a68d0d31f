// The splash: a borderless window with the start picture, shown while the main window
// starts up. The start-up draws its texts onto the picture and may advance the
// progress bar; CloseMark ends it.
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QWidget>
#include <memory>

class QProgressBar;

// The picture at the splash's top left; painting into Picture and calling update()
// shows the change.
class TMarkLogo : public QWidget {
    Q_OBJECT
public:
    explicit TMarkLogo(QWidget* parent = nullptr);
    void SetPicture(const QImage& picture);   // sizes the logo to the picture

    QImage Picture;

protected:
    void paintEvent(QPaintEvent* e) override;
};

class TMark : public QWidget {
    Q_OBJECT
public:
    explicit TMark(QWidget* parent = nullptr);

    TMarkLogo* Logo;
    QProgressBar* ProgressBar;   // hidden, 0 to 100
};

// Top-left corner that centres an image on the whole screen; halves towards zero, so
// an image larger than the screen gets a negative corner.
QPoint SplashTopLeft(QSize screen, QSize image);

class TStartMark : public QObject {
    Q_OBJECT
public:
    // owner: the main window, which frees the component and with it the splash.
    explicit TStartMark(QWidget* owner = nullptr);
    ~TStartMark() override;

    int ShowTime = 2;   // tenths of a second that activation waits

    const QImage& GetPicture() const { return Picture; }
    // Copies picture; a null picture is ignored.
    void SetPicture(const QImage& picture);

    bool GetActive() const { return Active; }
    // True creates and shows the splash and waits ShowTime tenths of a second with the
    // events processed; false only stores the value.
    void SetActive(bool value);

    // Frees the splash window when there is one.
    void CloseMark();

    // The splash window while it is shown, else null.
    TMark* Mark() const { return Window.get(); }

private:
    QImage Picture;
    bool Active = false;
    std::unique_ptr<TMark> Window;   // the component, a child of the owner, frees it
};
