// The dialog base, the placement rules and the message memo.
#include "foundation/ui/DialogBase.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QVBoxLayout>
#include <QWindow>
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

namespace {

QRect TestScreenGeometry;   // empty: the real screens
QRect TestWorkArea;

QScreen* ScreenOf(QPoint at)
{
    QScreen* screen = QGuiApplication::screenAt(at);
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The common window managers draw title bars of 24 to 32 pixels and borders of up to 4,
// more than the style gives for its own: the estimate takes the larger, so a window
// placed before its frame is known is not pushed under the task bar by the frame.
constexpr int LeastTitleBar = 30;
constexpr int LeastBorder = 4;

}  // namespace

QRect ScreenArea(QPoint at)
{
    if (!TestScreenGeometry.isEmpty())
        return TestScreenGeometry;
    const QScreen* screen = ScreenOf(at);
    return screen ? screen->geometry() : QRect();
}

QRect WorkArea(QPoint at)
{
    if (!TestScreenGeometry.isEmpty())
        return TestWorkArea;
    const QScreen* screen = ScreenOf(at);
    return screen ? screen->availableGeometry() : QRect();
}

void SetTestScreen(const QRect& geometry, const QRect& workArea)
{
    TestScreenGeometry = geometry;
    TestWorkArea = workArea;
}

QMargins WindowFrame(const QWidget& window)
{
    if (window.windowFlags() & Qt::FramelessWindowHint)
        return QMargins();
    if (const QWindow* handle = window.windowHandle(); handle && window.isVisible()) {
        const QMargins shown = handle->frameMargins();
        if (!shown.isNull())
            return shown;
    }
    const QStyle* style = window.style();
    const int border = std::max(style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window),
                                LeastBorder);
    const int title = std::max(style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                               LeastTitleBar);
    return QMargins(border, title + border, border, border);
}

QPoint KeptInside(QPoint topLeft, QSize size, const QMargins& frame, const QRect& area)
{
    const int width = size.width() + frame.left() + frame.right();
    const int height = size.height() + frame.top() + frame.bottom();
    QPoint p = topLeft;
    p.setX(std::max(std::min(p.x(), area.x() + area.width() - width), area.x()));
    p.setY(std::max(std::min(p.y(), area.y() + area.height() - height), area.y()));
    return p;
}

void KeepInsideWorkArea(QWidget& window)
{
    const QRect area = WorkArea(window.frameGeometry().center());
    if (area.isEmpty())
        return;
    const QPoint kept = KeptInside(window.pos(), window.size(), WindowFrame(window), area);
    if (kept != window.pos())
        window.move(kept);
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
    if (Scroll)
        Scroll->setGeometry(0, 0, width(), std::max(height() - BottomStrip, 0));
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
    // The scrolled controls follow the content as they followed the window: the content
    // stands for the client area less the bottom strip.
    const QSize scrolled = Content ? Content->size() + QSize(0, BottomStrip) : size();
    for (const TAnchored& a : Anchored) {
        const QSize now = a.Control->parentWidget() == Content && Content ? scrolled : size();
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
    QPoint p = CentredOn(pointer, size());
    const QRect area = WorkArea(pointer);
    if (!area.isEmpty())
        p = PushBackIntoWorkArea(p, size(), area);
    move(p);
}

void TDialogBase::PlaceScreenCentre()
{
    const QRect screen = ScreenArea(QCursor::pos());
    if (!screen.isEmpty())
        move(CentredIn(screen, size()));
}

void TDialogBase::PlaceDesktopCentre()
{
    if (!TestScreenGeometry.isEmpty())
        move(CentredIn(TestScreenGeometry, size()));
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredIn(screen->virtualGeometry(), size()));
}

void TDialogBase::setVisible(bool visible)
{
    if (visible && !isVisible() && isWindow())
        FitIntoWorkArea();
    QDialog::setVisible(visible);
}

void TDialogBase::FitIntoWorkArea()
{
    // The size and place the window would take while showing, first: a layout's minimum,
    // the size a window never sized takes, and a window never placed centred on its
    // owner. The fit then works on what will really show.
    ensurePolished();
    if (QLayout* own = layout())
        own->activate();
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    if (!testAttribute(Qt::WA_Moved))
        adjustPosition(parentWidget());
    const QRect before(pos(), size());
    const QRect area = WorkArea(frameGeometry().center());
    if (area.isEmpty())
        return;
    const QMargins frame = WindowFrame(*this);
    const QSize room(std::max(area.width() - frame.left() - frame.right(), 1),
                     std::max(area.height() - frame.top() - frame.bottom(), 1));
    QSize fitting = size().boundedTo(room);
    if (fitting != size()) {
        // The scroll bar takes room of its own on the side that was not shrunk, when
        // the work area has it.
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        if (fitting.height() < height())
            fitting.setWidth(std::min(fitting.width() + bar, room.width()));
        if (fitting.width() < width())
            fitting.setHeight(std::min(fitting.height() + bar, room.height()));
        ScrollControls(fitting);
        // The shrunk window keeps the centre it was placed on.
        move(before.center() - QPoint(fitting.width() / 2, fitting.height() / 2));
    }
    const QPoint kept = KeptInside(pos(), size(), frame, area);
    if (kept != pos())
        move(kept);
}

void TDialogBase::ScrollControls(QSize fitting)
{
    if (!Scroll) {
        const QSize laidOut = size();
        // The buttons along the bottom edge (anchored to it and not to the top) stay on
        // the window below the scrolled part, so "Готово" is always in reach.
        std::vector<QWidget*> kept;
        int stripTop = laidOut.height();
        if (!layout())
            for (const TAnchored& a : Anchored)
                if (a.Control->parentWidget() == this && (a.Anchors & Qt::BottomEdge) &&
                    !(a.Anchors & Qt::TopEdge) && a.Control->geometry().top() > laidOut.height() / 2) {
                    kept.push_back(a.Control);
                    stripTop = std::min(stripTop, a.Control->geometry().top() - 4);
                }
        // No strip when another control reaches into it, or when it would leave the
        // scrolled part too little room.
        BottomStrip = laidOut.height() - stripTop;
        for (QObject* child : children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow() &&
                std::find(kept.begin(), kept.end(), w) == kept.end() &&
                w->geometry().bottom() >= stripTop)
                BottomStrip = 0;
        if (BottomStrip > 0 && fitting.height() - BottomStrip < 2 * TextHeight())
            BottomStrip = 0;
        if (BottomStrip == 0)
            kept.clear();

        Content = new QWidget;
        Content->setObjectName(QStringLiteral("FitContent"));
        // The window's own layout and the widgets it manages go over to the content.
        if (QLayout* own = layout())
            Content->setLayout(own);
        else
            Content->setMinimumSize(laidOut.width(), laidOut.height() - BottomStrip);
        Content->resize(laidOut.width(), laidOut.height() - BottomStrip);
        const QObjectList children = this->children();
        for (QObject* child : children) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w->isWindow() || w == Content || qobject_cast<QSizeGrip*>(w) ||
                std::find(kept.begin(), kept.end(), w) != kept.end())
                continue;
            const bool hidden = w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
            const QRect g = w->geometry();
            w->setParent(Content);
            w->setGeometry(g);
            w->setVisible(!hidden);
        }
        Scroll = new QScrollArea(this);
        Scroll->setObjectName(QStringLiteral("FitScroll"));
        Scroll->setFrameShape(QFrame::NoFrame);
        Scroll->setWidgetResizable(true);
        Scroll->setWidget(Content);
        Content->installEventFilter(this);
        Scroll->show();
        Scroll->lower();
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (Sizeable)
        resize(fitting);
    else
        setFixedSize(fitting);
    Scroll->setGeometry(0, 0, fitting.width(), fitting.height() - BottomStrip);
    ApplyAnchors();
}

void TDialogBase::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Once shown, the window system may know the real frame: a frame larger than the
    // estimate must not leave the window past the work area's edge.
    if (!isWindow() || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QRect area = WorkArea(frameGeometry().center());
    if (area.isEmpty())
        return;
    const QPoint kept = KeptInside(pos(), size(), WindowFrame(*this), area);
    if (kept != pos())
        move(kept);
}

bool TDialogBase::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Content && e->type() == QEvent::Resize)
        ApplyAnchors();
    return QDialog::eventFilter(watched, e);
}

int TDialogBase::TextHeight() const { return QFontMetrics(font()).height(); }

int TDialogBase::MostClientHeight() const
{
    const QRect area = WorkArea(QCursor::pos());
    if (area.isEmpty())
        return QWIDGETSIZE_MAX;
    const QMargins frame = WindowFrame(*this);
    return std::max(area.height() - frame.top() - frame.bottom(), 1);
}

TMessageWindow::TMessageWindow(int width, int height, const QString& caption, QWidget* parent)
    : TDialogBase(parent)
{
    setWindowTitle(caption);
    SetClientSize(width, height);
    Memo1 = new TMessageMemo(this);
    // The prompt is read before anything is typed: in grey, the colour of an inactive
    // caption, it read as a disabled control, so it takes the window's text colour.
    Memo1->SetTextColor(palette().color(QPalette::WindowText));
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
