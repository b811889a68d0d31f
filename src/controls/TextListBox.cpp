// List boxes whose horizontal scroll range follows their widest line. The range is
// kept incrementally: adding a line can only widen it, only deleting the widest line
// or changing the font measures every line again.
#include "controls/TextListBox.h"

#include "platform/Platform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

// Every line is as wide as the widest one, so the view's own layout gives the
// horizontal range without measuring each line again.
class TExtentDelegate : public QStyledItemDelegate {
public:
    explicit TExtentDelegate(TExtentListBox* box) : QStyledItemDelegate(box), Box(box) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return QSize(Box->MaxWidth, Box->LineHeight(index.row()));
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (!Box->DrawLine(*painter, option, index.row()))
            QStyledItemDelegate::paint(painter, option, index);
    }

private:
    TExtentListBox* Box;  // link, not owned (the delegate's parent)
};

TExtentListBox::TExtentListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new TExtentDelegate(this));
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { RowsInserted(first, last); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { RowsAboutToBeRemoved(first, last); });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { RowsRemoved(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { RecomputeExtent(); });
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                // A line given a new text can only widen the range here; a line that got
                // shorter leaves some room to scroll, which does no harm.
                if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                    RowsInserted(from.row(), to.row());
            });
    connect(model(), &QAbstractItemModel::layoutChanged, this, [this] { RelayoutLines(); });
}

TExtentListBox::~TExtentListBox()
{
    // The model empties itself after this part of the box is gone.
    disconnect(model(), nullptr, this, nullptr);
}

int TExtentListBox::TabStopPixels() const
{
    if (FTabWidth == 0)
        return 0;
    return int(Round(Extended(fontMetrics().horizontalAdvance(QLatin1Char('0'))) * FTabWidth / 4));
}

int TExtentListBox::ItemWidth(int index) const
{
    const QListWidgetItem* line = item(index);
    if (line == nullptr)
        return 0;
    const QString text = line->text() + QLatin1Char('x');
    const QFontMetrics fm = fontMetrics();
    const int tabs = TabStopPixels();
    if (tabs > 0)
        return fm.size(Qt::TextSingleLine | Qt::TextExpandTabs, text, tabs).width();
    return fm.horizontalAdvance(text);
}

int TExtentListBox::LineHeight(int) const
{
    return fontMetrics().height();
}

bool TExtentListBox::DrawLine(QPainter&, const QStyleOptionViewItem&, int)
{
    return false;
}

void TExtentListBox::RelayoutLines()
{
    // The cached size of the uniform layout goes only with a full layout.
    setUniformItemSizes(UniformLines());
    doItemsLayout();
}

void TExtentListBox::RowsInserted(int first, int last)
{
    if (!KeepsExtent())
        return;
    const int old = MaxWidth;
    for (int i = first; i <= last; ++i)
        MaxWidth = std::max(MaxWidth, ItemWidth(i));
    if (MaxWidth != old)
        RelayoutLines();
}

void TExtentListBox::RowsAboutToBeRemoved(int first, int last)
{
    if (!KeepsExtent())
        return;
    for (int i = first; i <= last && !WidestGoing; ++i)
        WidestGoing = ItemWidth(i) >= MaxWidth;
}

void TExtentListBox::RowsRemoved()
{
    if (WidestGoing || count() == 0) {
        WidestGoing = false;
        RecomputeExtent();
    }
}

void TExtentListBox::RecomputeExtent()
{
    horizontalScrollBar()->setValue(0);
    MaxWidth = 0;
    if (KeepsExtent())
        for (int i = 0, n = count(); i < n; ++i)
            MaxWidth = std::max(MaxWidth, ItemWidth(i));
    RelayoutLines();
}

void TExtentListBox::SetTabWidth(int value)
{
    value = std::max(value, 0);
    if (value == FTabWidth)
        return;
    FTabWidth = value;
    RecomputeExtent();
}

void TExtentListBox::SetMultiSelect(bool value)
{
    FMultiSelect = value;
    ApplySelectionMode();
}

void TExtentListBox::SetExtendedSelect(bool value)
{
    FExtendedSelect = value;
    ApplySelectionMode();
}

void TExtentListBox::ApplySelectionMode()
{
    if (!FMultiSelect)
        setSelectionMode(QAbstractItemView::SingleSelection);
    else if (FExtendedSelect)
        setSelectionMode(QAbstractItemView::ExtendedSelection);
    else
        setSelectionMode(QAbstractItemView::MultiSelection);
}

void TExtentListBox::changeEvent(QEvent* e)
{
    QListWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        RecomputeExtent();
}

void TExtentListBox::mousePressEvent(QMouseEvent* e)
{
    QListWidget::mousePressEvent(e);
    ClickPending = e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid();
}

void TExtentListBox::mouseReleaseEvent(QMouseEvent* e)
{
    QListWidget::mouseReleaseEvent(e);
    if (ClickPending && e->button() == Qt::LeftButton) {
        ClickPending = false;
        if (OnClick)
            OnClick();
    }
}

void TExtentListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    ClickPending = false;
    // A second press on another line than the first is handed to mousePressEvent as
    // a plain press: it selects that line and its release reports a click.
    QListWidget::mouseDoubleClickEvent(e);
    if (!ClickPending && e->button() == Qt::LeftButton &&
        indexAt(e->position().toPoint()).isValid() && OnDblClick)
        OnDblClick();
}

void TExtentListBox::keyPressEvent(QKeyEvent* e)
{
    const int oldRow = currentRow();
    const QList<QListWidgetItem*> oldSelection = selectedItems();
    QListWidget::keyPressEvent(e);
    if ((currentRow() != oldRow || selectedItems() != oldSelection) && OnClick)
        OnClick();
}
