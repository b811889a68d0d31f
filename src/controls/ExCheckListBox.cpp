// The owner-drawn list box base and the check list box.
#include "controls/ExCheckListBox.h"

#include "controls/core/ControlUtils.h"
#include "controls/core/ExConst.h"
#include "foundation/ErrorTrail.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionViewItem>
#include <QTextOption>

namespace {

// A line's check state and enabled flag live beside its text and data.
constexpr int DataRole = Qt::UserRole;
constexpr int StateRole = Qt::UserRole + 1;
constexpr int EnabledRole = Qt::UserRole + 2;

constexpr int CellWidth = 16;
constexpr int CellHeight = 13;

// The check cells: rows check box, radio button, check mark; columns unchecked,
// checked, grayed, then the same disabled. Loaded on first use, shared by all boxes.
const QImage& CheckCells()
{
    static const QImage cells = LoadResourceBitmap(QStringLiteral("CHECK_IMAGES"));
    return cells;
}

}  // namespace

// ---- the owner-drawn base ----

TExCustomListBox::TExCustomListBox(QWidget* parent) : TExtentListBox(parent)
{
    resize(121, 97);
    setFocusPolicy(Qt::StrongFocus);
}

void TExCustomListBox::SetStyle(TListBoxStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    RecomputeExtent();
}

void TExCustomListBox::SetItemHeight(int value)
{
    if (value < 1 || value == FItemHeight)
        return;
    FItemHeight = value;
    RelayoutLines();
}

void TExCustomListBox::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    FSorted = value;
    setSortingEnabled(value);
    if (value)
        sortItems();
}

void TExCustomListBox::SetAutoScroll(bool value)
{
    if (value == FAutoScroll)
        return;
    FAutoScroll = value;
    RecomputeExtent();
}

void TExCustomListBox::SetGraySelection(bool value)
{
    if (value != FGraySelection) {
        FGraySelection = value;
        viewport()->update();
    }
}

void TExCustomListBox::ClearItems()
{
    clear();
}

void TExCustomListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= count())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}

QString TExCustomListBox::ItemText(int index) const
{
    CheckIndex(index);
    return item(index)->text();
}

QVariant TExCustomListBox::ItemData(int index) const
{
    CheckIndex(index);
    return item(index)->data(DataRole);
}

void TExCustomListBox::SetItemData(int index, const QVariant& data)
{
    CheckIndex(index);
    item(index)->setData(DataRole, data);
}

int TExCustomListBox::ItemWidth(int index) const
{
    if (FStyle != lbStandard && OnGetItemWidth && OnDrawItem) {
        int width = 0;
        OnGetItemWidth(index, width);
        return width;
    }
    return TExtentListBox::ItemWidth(index);
}

int TExCustomListBox::LineHeight(int index) const
{
    if (FStyle == lbStandard)
        return fontMetrics().height();
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable && OnMeasureItem)
        OnMeasureItem(index, height);
    return height;
}

bool TExCustomListBox::DrawLine(QPainter& p, const QStyleOptionViewItem& option, int row)
{
    const QPalette& pal = palette();
    LineBrush = pal.color(QPalette::Base);
    LinePen = pal.color(QPalette::Text);
    if (option.state & QStyle::State_Selected) {
        if (FGraySelection && !hasFocus()) {
            LineBrush = pal.color(QPalette::Button);
            if (LinePen == LineBrush)
                LinePen = pal.color(QPalette::ButtonText);
        } else {
            LineBrush = pal.color(QPalette::Highlight);
            LinePen = pal.color(QPalette::HighlightedText);
        }
    }
    const QRect rect = ItemRect(option.rect);
    p.save();
    p.setFont(font());
    DrawItem(p, row, rect, option.state);
    p.restore();
    if ((option.state & QStyle::State_HasFocus) && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect;
        focus.backgroundColor = LineBrush;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
    return true;
}

void TExCustomListBox::DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state)
{
    p.setBrush(LineBrush);
    p.setPen(LinePen);
    if (FStyle != lbStandard && OnDrawItem) {
        OnDrawItem(p, index, rect, state);
        return;
    }
    p.fillRect(rect, LineBrush);
    const QFontMetrics fm = fontMetrics();
    const int textHeight = fm.height();
    const int y = std::max(rect.top(), (2 * rect.top() + rect.height() - textHeight) / 2);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    if (const int tabs = TabStopPixels(); tabs > 0)
        option.setTabStopDistance(tabs);
    QRect textRect(rect.left() + 2, y, rect.width() - 2, textHeight);
    if (layoutDirection() == Qt::RightToLeft) {
        textRect = QRect(rect.left(), y, rect.width() - 2, textHeight);
        option.setAlignment(Qt::AlignRight);
    }
    p.drawText(QRectF(textRect), item(index)->text(), option);
}

void TExCustomListBox::focusInEvent(QFocusEvent* e)
{
    TExtentListBox::focusInEvent(e);
    if (FGraySelection && MultiSelect() && selectedItems().size() > 1)
        viewport()->update();
}

void TExCustomListBox::focusOutEvent(QFocusEvent* e)
{
    TExtentListBox::focusOutEvent(e);
    if (FGraySelection && MultiSelect() && selectedItems().size() > 1)
        viewport()->update();
}

// ---- the check list box ----

TExCheckListBox::TExCheckListBox(QWidget* parent) : TExCustomListBox(parent) {}

TCheckBoxState TExCheckListBox::StoredState(int index) const
{
    const QVariant v = item(index)->data(StateRole);
    return v.isValid() ? TCheckBoxState(v.toInt()) : cbUnchecked;
}

void TExCheckListBox::StoreState(int index, TCheckBoxState state)
{
    item(index)->setData(StateRole, int(state));
}

TCheckBoxState TExCheckListBox::State(int index) const
{
    CheckIndex(index);
    const TCheckBoxState state = StoredState(index);
    if (FCheckKind == ckRadioButtons && state != cbChecked)
        return cbUnchecked;
    return state;
}

void TExCheckListBox::SetState(int index, TCheckBoxState state)
{
    CheckIndex(index);
    if (state == State(index) && !ForceState)
        return;
    if (FCheckKind == ckRadioButtons && state != cbChecked && index == CheckedIndex())
        return;
    StoreState(index, state);
    if (FCheckKind == ckRadioButtons && state == cbChecked) {
        for (int i = 0, n = count(); i < n; ++i) {
            if (i != index && StoredState(i) == cbChecked) {
                StoreState(i, cbUnchecked);
                RepaintCheckArea(i);
            }
        }
    }
    RepaintCheckArea(index);
    if (OnStateChange)
        OnStateChange(index);
}

bool TExCheckListBox::ItemEnabled(int index) const
{
    CheckIndex(index);
    const QVariant v = item(index)->data(EnabledRole);
    return !v.isValid() || v.toBool();
}

void TExCheckListBox::SetItemEnabled(int index, bool value)
{
    if (value == ItemEnabled(index))
        return;
    item(index)->setData(EnabledRole, value);
    viewport()->update(visualRect(model()->index(index, 0)));
}

void TExCheckListBox::SetItemChecked(int index, bool checked)
{
    SetState(index, checked ? cbChecked : cbUnchecked);
}

bool TExCheckListBox::IsItemChecked(int index) const
{
    CheckIndex(index);
    return StoredState(index) == cbChecked;
}

void TExCheckListBox::SetCheckKind(TCheckKind value)
{
    if (value == FCheckKind)
        return;
    FCheckKind = value;
    ReestablishRadio();
    viewport()->update();
}

void TExCheckListBox::SetAllowGrayed(bool value)
{
    FAllowGrayed = value;
}

int TExCheckListBox::CheckedIndex() const
{
    if (FCheckKind != ckRadioButtons)
        return -1;
    for (int i = 0, n = count(); i < n; ++i)
        if (StoredState(i) == cbChecked)
            return i;
    return -1;
}

void TExCheckListBox::SetCheckedIndex(int value)
{
    if (FCheckKind == ckRadioButtons && count() > 0)
        SetState(std::max(value, 0), cbChecked);
}

void TExCheckListBox::ReestablishRadio()
{
    // The checked line (line 0 when none is) is checked again even when it already
    // is, so the other lines go and OnStateChange reports it.
    if (FCheckKind != ckRadioButtons || count() == 0)
        return;
    ForceState = true;
    try {
        SetState(std::max(CheckedIndex(), 0), cbChecked);
    } catch (...) {
        ForceState = false;
        throw;
    }
    ForceState = false;
}

void TExCheckListBox::AssignItems(const QStringList& lines)
{
    clear();
    addItems(lines);
}

void TExCheckListBox::AssignItems(const TExCheckListBox& other)
{
    if (&other == this)
        return;
    clear();
    for (int i = 0, n = other.count(); i < n; ++i) {
        auto* line = other.item(i)->clone();
        addItem(line);
    }
}

int TExCheckListBox::StandardLineHeight() const
{
    return std::max(fontMetrics().height(), CellHeight);
}

int TExCheckListBox::LineHeight(int index) const
{
    if (Style() == lbStandard)
        return StandardLineHeight();
    if (Style() == lbOwnerDrawFixed && !OnDrawItem)
        return std::max(StandardLineHeight(), TExCustomListBox::ItemHeight());
    return TExCustomListBox::LineHeight(index);
}

int TExCheckListBox::ItemHeight() const
{
    if (Style() == lbStandard || (Style() == lbOwnerDrawFixed && !OnDrawItem))
        return LineHeight(0);
    return TExCustomListBox::ItemHeight();
}

int TExCheckListBox::ItemWidth(int index) const
{
    return TExCustomListBox::ItemWidth(index) + CheckWidth;
}

QRect TExCheckListBox::ItemRect(const QRect& lineRect) const
{
    if (layoutDirection() == Qt::RightToLeft)
        return lineRect.adjusted(0, 0, -CheckWidth, 0);
    return lineRect.adjusted(CheckWidth, 0, 0, 0);
}

void TExCheckListBox::DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State state)
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const QRect area(rtl ? rect.left() + rect.width() : rect.left() - CheckWidth, rect.top(),
                     CheckWidth, rect.height());
    // The check area keeps the control's colour whatever the selection.
    p.fillRect(area, palette().color(QPalette::Base));
    const bool enabled = ItemEnabled(index);
    const int row = int(FCheckKind);
    const int column = int(State(index)) + (enabled ? 0 : 3);
    const QImage cell = CopyBitmapCell(CheckCells(), 6, row * 6 + column, 3);
    DrawBitmapMasked(p, area.left() + 1, area.top() + (area.height() - CellHeight) / 2, cell,
                     BitmapTransparentColor(CheckCells()));
    if (!enabled)
        LinePen = palette().color(QPalette::Disabled,
                                  (state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                   : QPalette::Text);
    TExCustomListBox::DrawItem(p, index, rect, state);
}

void TExCheckListBox::RepaintCheckArea(int index)
{
    const QRect line = visualRect(model()->index(index, 0));
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    viewport()->update(QRect(rtl ? line.right() - CheckWidth + 1 : line.left(), line.top(),
                             CheckWidth, line.height()));
}

void TExCheckListBox::ToggleClickCheck(int index)
{
    if (index < 0 || index >= count() || !ItemEnabled(index))
        return;
    TCheckBoxState next = cbChecked;
    switch (State(index)) {
    case cbUnchecked:
        next = AllowGrayed() ? cbGrayed : cbChecked;
        break;
    case cbChecked:
        next = cbUnchecked;
        break;
    case cbGrayed:
        next = cbChecked;
        break;
    }
    SetState(index, next);
    if (OnClickCheck)
        OnClickCheck();
}

bool TExCheckListBox::ToggleIfInCheck(QPoint pos)
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return false;
    const QRect line = visualRect(index);
    const bool inCheck = layoutDirection() == Qt::RightToLeft
                             ? line.right() - pos.x() < CheckWidth
                             : pos.x() - line.left() < CheckWidth;
    if (inCheck)
        ToggleClickCheck(index.row());
    return inCheck;
}

void TExCheckListBox::mousePressEvent(QMouseEvent* e)
{
    TExCustomListBox::mousePressEvent(e);
    // The toggle comes before the click is reported, so OnClick sees the new state.
    if (e->button() == Qt::LeftButton)
        ToggleIfInCheck(e->position().toPoint());
}

void TExCheckListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    TExCustomListBox::mouseDoubleClickEvent(e);
    // The second press of a quick double click on a check is a press of its own: the
    // check toggles back, as for two separate clicks, and the release reports it.
    // (A second press on another line already went through mousePressEvent.)
    if (e->button() == Qt::LeftButton && !ClickReportPending() &&
        ToggleIfInCheck(e->position().toPoint()))
        ReportClickOnRelease();
}

void TExCheckListBox::keyPressEvent(QKeyEvent* e)
{
    const QString text = e->text();
    if (e->key() == Qt::Key_Space) {
        ToggleClickCheck(currentRow());
    } else if (text == QLatin1String("+") || text == QLatin1String("-")) {
        if (FCheckKind != ckRadioButtons) {
            const TCheckBoxState state = text == QLatin1String("+") ? cbChecked : cbUnchecked;
            for (int i = 0, n = count(); i < n; ++i)
                if (ItemEnabled(i))
                    SetState(i, state);
        }
        if (OnClickCheck)
            OnClickCheck();
    } else {
        TExCustomListBox::keyPressEvent(e);
        return;
    }
    e->accept();
    // A window that rebuilds itself on a click must see a keyboard toggle as well.
    if (OnClick)
        OnClick();
}
