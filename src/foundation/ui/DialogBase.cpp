// The dialog base, the placement rules and the message memo.
#include "foundation/ui/DialogBase.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

QPoint CentredOn(QPoint pointer, QSize size)
{
    return QPoint(pointer.x() - int(Round(size.width() / 2.0L)),
                  pointer.y() - int(Round(size.height() / 2.0L)));
}

QPoint PushBackIntoWorkArea(QPoint topLeft, QSize size, const QRect& workArea)
{
    QPoint p = topLeft;
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    if (p.x() + size.width() > right)
        p.setX(right - size.width());
    if (p.y() + size.height() > bottom)
        p.setY(bottom - size.height());
    return p;
}

QPoint CentredIn(const QRect& area, QSize size)
{
    return QPoint(area.x() + (area.width() - size.width()) / 2,
                  area.y() + (area.height() - size.height()) / 2);
}

int MessageWindowHeight(int lineCount, int textHeight, int controlsRoom)
{
    return (lineCount + 1) * textHeight + controlsRoom;
}

QFont DialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QColor ActiveCaptionColor() { return QColor(0x0A, 0x24, 0x6A); }
QColor InactiveCaptionColor() { return QColor(0x80, 0x80, 0x80); }

QWidget* DialogOwner()
{
    // A window that has gone is no owner, even while it is still reported active (as on
    // the offscreen platform): a window given such an owner would be freed with it.
    // Nor is the splash: the start closes it while the licence question may be open.
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && active->windowType() != Qt::SplashScreen)
        return active;
    return nullptr;
}

TMessageMemo::TMessageMemo(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(false);
    document()->setDocumentMargin(0);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
}

void TMessageMemo::SetLines(const QStringList& lines)
{
    MemoLines = lines;
    clear();
    QTextCursor cursor(document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.setBlockFormat(centred);
        // A lone line feed belongs to its line, as in the original memo, where it drew
        // nothing; it must not become a line of its own here.
        QString shown = lines.at(i);
        shown.remove(QLatin1Char('\n'));
        cursor.insertText(shown);
    }
    if (lines.isEmpty())
        cursor.setBlockFormat(centred);
    moveCursor(QTextCursor::Start);
}

int TMessageMemo::ShownLineCount() const
{
    if (MemoLines.isEmpty())
        return 0;
    // A document of its own, laid out as the memo lays out its text, so the count does
    // not depend on whether the memo has been shown yet.
    QTextDocument shown;
    shown.setDefaultFont(font());
    shown.setDocumentMargin(document()->documentMargin());
    QTextOption option = shown.defaultTextOption();
    option.setWrapMode(wordWrapMode());
    shown.setDefaultTextOption(option);
    shown.setPlainText(document()->toPlainText());
    shown.setTextWidth(width());
    shown.size();   // lays the text out
    int count = 0;
    for (QTextBlock block = shown.firstBlock(); block.isValid(); block = block.next())
        count += std::max(1, block.layout()->lineCount());
    return count;
}

void TMessageMemo::SetTextColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Text, color);
    setPalette(pal);
}

TDialogBase::TDialogBase(QWidget* parent) : QDialog(parent)
{
    setFont(DialogFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

TModalResult TDialogBase::ShowModal()
{
    const int result = exec();
    return result == 0 ? CloseResult : result;
}

void TDialogBase::SetModalResult(TModalResult result) { done(result); }

void TDialogBase::PreviewEnterEsc()
{
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this,
                [this] { SetModalResult(mrOk); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { SetModalResult(mrCancel); });
}

void TDialogBase::reject() { done(EscResult); }

void TDialogBase::closeEvent(QCloseEvent* e)
{
    e->accept();
    done(CloseResult);
}

void TDialogBase::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    ApplyAnchors();
}

void TDialogBase::SetClientSize(int width, int height)
{
    if (Sizeable) {
        resize(width, height);
    } else {
        setFixedSize(width, height);
    }
    ApplyAnchors();
}

void TDialogBase::Place(QWidget* control, const QRect& rect, Qt::Edges anchors)
{
    control->setGeometry(rect);
    const TAnchored placed{control, rect, size(), anchors};
    for (TAnchored& a : Anchored)
        if (a.Control == control) {
            a = placed;
            return;
        }
    Anchored.push_back(placed);
}

QPushButton* TDialogBase::AddButton(const QString& caption, const QRect& rect,
                                    TModalResult result, Qt::Edges anchors)
{
    auto* button = new QPushButton(caption, this);
    Place(button, rect, anchors);
    if (result != mrNone)
        connect(button, &QPushButton::clicked, this, [this, result] { SetModalResult(result); });
    return button;
}

void TDialogBase::ApplyAnchors()
{
    const QSize now = size();
    for (const TAnchored& a : Anchored) {
        const int dw = now.width() - a.Client.width();
        const int dh = now.height() - a.Client.height();
        QRect r = a.Rect;
        const bool left = a.Anchors & Qt::LeftEdge;
        const bool right = a.Anchors & Qt::RightEdge;
        const bool top = a.Anchors & Qt::TopEdge;
        const bool bottom = a.Anchors & Qt::BottomEdge;
        if (left && right)
            r.setWidth(r.width() + dw);
        else if (right)
            r.moveLeft(r.left() + dw);
        if (top && bottom)
            r.setHeight(r.height() + dh);
        else if (bottom)
            r.moveTop(r.top() + dh);
        a.Control->setGeometry(r);
    }
}

void TDialogBase::PlaceOnMouse()
{
    const QPoint pointer = QCursor::pos();
    QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QPoint p = CentredOn(pointer, size());
    if (screen)
        p = PushBackIntoWorkArea(p, size(), screen->availableGeometry());
    move(p);
}

void TDialogBase::PlaceScreenCentre()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        move(CentredIn(screen->geometry(), size()));
}

void TDialogBase::PlaceDesktopCentre()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredIn(screen->virtualGeometry(), size()));
}

int TDialogBase::TextHeight() const { return QFontMetrics(font()).height(); }

int TDialogBase::MostClientHeight() const
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QWIDGETSIZE_MAX;
    // The frame is not known before the window shows: the style's title bar and borders
    // stand for it.
    const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) +
                      2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return std::max(screen->availableGeometry().height() - frame, 1);
}

TMessageWindow::TMessageWindow(int width, int height, const QString& caption, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption);
    SetClientSize(width, height);
    Memo1 = new TMessageMemo(this);
    Memo1->SetTextColor(InactiveCaptionColor());
    Place(Memo1, QRect(0, 0, width, height), Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
}

void TMessageWindow::ShowMessage(const QString& text, int controlsRoom)
{
    Memo1->SetLines(Split(text));
    const int lines = Memo1->ShownLineCount();
    const int height = MessageWindowHeight(lines, TextHeight(), controlsRoom);
    const int most = MostClientHeight();
    if (height <= most) {
        SetClientSize(width(), height);
        return;
    }
    // Taller than the screen: the window keeps to the screen, so its buttons stay within
    // reach, and the text scrolls in the part above the controls. The strip below the
    // memo takes the memo's colour, as the rest of the window would show it.
    SetClientSize(width(), most);
    Place(Memo1, QRect(0, 0, width(), std::max(most - controlsRoom + TextHeight(), TextHeight())),
          Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Memo1->palette().color(QPalette::Base));
    setPalette(pal);
}
