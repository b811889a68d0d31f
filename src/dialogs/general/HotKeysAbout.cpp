// The help menu's two windows: the hot-key reference and the about window.
#include "dialogs/general/InputDialogs.h"

#include "controls/core/ExShell.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/FirstStart.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

const QStringList& HotKeyLines()
{
    static const QStringList lines = {
        QString(),
        QStringLiteral("F1         - режим создания точечных объектов"),
        QStringLiteral("F2         - режим создания линейных объектов"),
        QStringLiteral("F3         - режим создания площадных объектов"),
        QStringLiteral("F4         - режим создания текстовых объектов"),
        QStringLiteral("F5         - режим создания отметок"),
        QStringLiteral("F6         - режим выбора вида (масштаба)"),
        QStringLiteral("F7         - режим выбора объектов (поиска)"),
        QStringLiteral("F8         - предыдущий режим"),
        QStringLiteral("F12       - трассировка горизонтали"),
        QStringLiteral("Ctrl  -    -уменьшение масштаба отображения в 2 раза"),
        QStringLiteral("Ctrl +    -увеличение масштаба отображения в 2 раза"),
        QStringLiteral("пробел -переключение между найденными объектами (выбор объекта) "),
        QStringLiteral("Ctrl S    - смена режимов привязки к точкам"),
        QStringLiteral("Ctrl Z    -  основной сегмент (создание площадного объекта)"),
        QStringLiteral("Ctrl X    - I тип сегмента (создание площадного объекта) "),
        QStringLiteral("Ctrl C    - II тип сегмента (создание площадного объекта)"),
        QStringLiteral("Ctrl A    - смена режимов видимости сегмента (создание площадного объекта)"),
        QString(),
        QStringLiteral("В режиме создания отметок Shift - запятая в числе, без шифта -точка"),
        QString(),
        QStringLiteral("BackSpace (стирание влево), Shift Del - удаление выделенного объекта"),
        QString(),
        QStringLiteral("Esc       - снять выделение объектов, закрытие окон диалога(отмена)"),
        QString(),
        QStringLiteral("В большинстве режимов Сдвиг вида- протяжка мышкой при нажатой"),
        QStringLiteral("правой клавише"),
        QString(),
        QStringLiteral("Управление Колесиком мыши: 3 режима- увеличение/уменьшение вида,"),
        QStringLiteral("сдвиг вида по горизонтали, сдвиг вида по вертикали; переключение "),
        QStringLiteral("клавишами Shift,Ctrl в зависимости от настроек"),
        QString(),
        QStringLiteral("в режиме создания точечного объекта"),
        QStringLiteral("протяжка мышкой при нажатой левой клавише:"),
        QStringLiteral("              - поворот автоподписи"),
        QStringLiteral("Ctrl        - поворот знака точечного объекта"),
        QString(),
        QStringLiteral("в режиме редактирования выделенного объекта"),
        QStringLiteral("во время протягивания мышкой текстового объекта либо автоподписи:"),
        QStringLiteral("Ctrl       - поворот текста (для текстового объекта либо автоподписи точечного "),
        QStringLiteral("              объекта)"),
        QStringLiteral("            - раздельное перемещение элемента группы автотекста"),
        QStringLiteral("              (линейные и площадные объекты)"),
        QStringLiteral("Shift     - ортогональное (относительно координат) перемещение"),
    };
    return lines;
}

TFormHotKeys::TFormHotKeys(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Горячие клавиши"));
    SetClientSize(560, 420);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(HotKeyLines().join(QLatin1Char('\n')));
    Place(Memo1, QRect(0, 0, 560, 384));
    Button1 = AddButton(QStringLiteral("Закрыть"), QRect(243, 390, 75, 24), mrOk);
    Button1->setObjectName(QStringLiteral("Button1"));
    setTabOrder(Memo1, Button1);
    Memo1->setFocus();
}

TFormAbout::TFormAbout(const QImage& picture, QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("О программе"));
    const int pictureWidth = picture.isNull() ? 450 : picture.width();
    const int pictureHeight = picture.isNull() ? 0 : picture.height();
    const int width = pictureWidth + 16;
    Picture = new QLabel(this);
    Picture->setObjectName(QStringLiteral("Picture"));
    if (!picture.isNull())
        Picture->setPixmap(QPixmap::fromImage(picture));
    Place(Picture, QRect(8, 8, pictureWidth, pictureHeight));

    int top = 8 + pictureHeight + 8;
    ProgramName = new QLabel(AppName + QLatin1Char(' ') + AppVersion, this);
    ProgramName->setObjectName(QStringLiteral("ProgramName"));
    QFont bold = ProgramName->font();
    bold.setBold(true);
    if (bold.pixelSize() > 0)
        bold.setPixelSize(bold.pixelSize() + 3);
    else
        bold.setPointSizeF(bold.pointSizeF() + 2);
    ProgramName->setFont(bold);
    Place(ProgramName, QRect(8, top, pictureWidth, 20));
    top += 24;

    auto* purpose = new QLabel(
        QStringLiteral("Редактор крупномасштабных топографических планов."), this);
    purpose->setObjectName(QStringLiteral("Purpose"));
    Place(purpose, QRect(8, top, pictureWidth, 16));
    top += 20;
    auto* distribution = new QLabel(
        QStringLiteral("Распространяется на условиях лицензионного соглашения."), this);
    distribution->setObjectName(QStringLiteral("Distribution"));
    Place(distribution, QRect(8, top, pictureWidth, 16));
    top += 20;

    LicenceLink = new QLabel(
        QStringLiteral("<a href=\"licence\">Лицензионное соглашение</a>"), this);
    LicenceLink->setObjectName(QStringLiteral("LicenceLink"));
    LicenceLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                         Qt::LinksAccessibleByKeyboard);
    Place(LicenceLink, QRect(8, top, pictureWidth - 90, 18));
    Launch = [](const QString& file) { LaunchFile(file, QString(), QString(), 0); };
    connect(LicenceLink, &QLabel::linkActivated, this, [this] {
        if (Launch)
            Launch(LicenceFileName());
    });

    Button1 = AddButton(QStringLiteral("Готово"), QRect(width - 83, top - 4, 75, 24), mrOk,
                        Qt::LeftEdge | Qt::TopEdge);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    SetClientSize(width, top + 28);
    Button1->setFocus();
}

void TFormAbout::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        SetModalResult(mrOk);
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        SetModalResult(mrCancel);
        return;
    }
    TDialogBase::keyPressEvent(e);
}
