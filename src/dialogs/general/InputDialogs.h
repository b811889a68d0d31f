// The program's small windows: one integer, one real, a coordinate pair, a height mark,
// three and two values, an angle, a question with two named answers, the hot-key
// reference and the about window, and the one call that puts them (with the open
// filter, raster-export and print windows) behind the hooks of ProgramDialogs. Each
// window is filled by its constructor and read back after ShowModal by its entry hook.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QImage>
#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TNumEdit;

// Installs the real windows behind every hook of ProgramDialogs and the open filter.
void InstallProgramDialogWindows();

// The window sees every key before its controls: Enter clicks the focused button (when
// buttonsTakeEnter), or ends the window with enterResult; Esc ends it with the window's
// cancel result. Other keys go on to the controls.
void PreviewKeys(TDialogBase* window, TModalResult enterResult, bool buttonsTakeEnter = true);

class TFormInpIntDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpIntDialog(int value, const QString& caption, const QString& message,
                      QWidget* parent = nullptr);

    TNumEdit* NumEdit1;
    QPushButton* Button1;   // "Готово"
};

class TFormInpFltDialog : public TMessageWindow {
    Q_OBJECT
public:
    TFormInpFltDialog(Extended value, const QString& caption, const QString& message,
                      QWidget* parent = nullptr);

    TNumEdit* NumEdit1;
    QPushButton* Button1;
};

class TFormInpCoordDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormInpCoordDialog(const QString& caption, Extended X, Extended Y, QWidget* parent = nullptr);

    TNumEdit* NumEdit1;    // X, north
    TNumEdit* NumEdit2;    // Y, east
    TNumEdit* NumEdit3;    // the step
    QPushButton* Button1;
    // up, down, left, right, upleft, upright, downleft, downright
    std::array<QPushButton*, 8> StepButtons{};

private:
    // Moves the point by the step times dx north and dy east.
    void Step(int dx, int dy);
};

class TFormInpOtm : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormInpOtm(Extended height, QWidget* parent = nullptr);

    TNumEdit* NumEdit1;

protected:
    void showEvent(QShowEvent* e) override;
};

class TForm2WayDialog : public TMessageWindow {
    Q_OBJECT
public:
    TForm2WayDialog(const QString& caption, const QString& message, const QString& first,
                    const QString& second, QWidget* parent = nullptr);

    QPushButton* BitBtn1;   // 100
    QPushButton* BitBtn2;   // 101
};

class TFormInp3IntDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormInp3IntDialog(int n, Extended a, Extended b, const QString& caption,
                       const QString& label1, const QString& label2, const QString& label3,
                       QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    TNumEdit* NumEdit1;   // whole
    TNumEdit* NumEdit2;   // real
    TNumEdit* NumEdit3;   // real
    QPushButton* Button1;
};

class TFormInp2IntDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormInp2IntDialog(int a, int b, const QString& caption, const QString& label1,
                       const QString& label2, QWidget* parent = nullptr);

    // The second field is laid out as a real edit but holds a whole number: a text
    // that is none reads 0.
    int SecondValue();

    QLabel* Label1;
    QLabel* Label2;
    TNumEdit* NumEdit1;
    TNumEdit* NumEdit2;
    QPushButton* Button1;
};

class TFormInpAngleDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormInpAngleDialog(Extended angle, const QString& caption, QWidget* parent = nullptr);

    // Degrees + (minutes + seconds / 60) / 60 from the fields.
    Extended Angle();

    TNumEdit* A1G;   // degrees
    TNumEdit* A1m;   // minutes
    TNumEdit* A1s;   // seconds
    QPushButton* Button1;
};

// The reference text of the hot keys, line by line.
const QStringList& HotKeyLines();

class TFormHotKeys : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormHotKeys(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;   // "Закрыть"
};

class TFormAbout : public TDialogBase {
    Q_OBJECT
public:
    explicit TFormAbout(const QImage& picture, QWidget* parent = nullptr);

    QLabel* Picture;
    QLabel* ProgramName;    // AppName and AppVersion
    QLabel* LicenceLink;
    QPushButton* Button1;   // "Готово"
    // Opens the licence page; the window starts it through LaunchFile.
    std::function<void(const QString& file)> Launch;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
