// Owner-drawn combo boxes and the font chooser.
#include "controls/FontComboBox.h"

#include "controls/core/ControlUtils.h"
#include "controls/core/ExConst.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

constexpr int FlagsRole = Qt::UserRole;

// The family without the foundry that Qt appends when a family has several.
QString PlainFamilyName(const QString& family)
{
    const qsizetype open = family.lastIndexOf(QLatin1String(" ["));
    if (open > 0 && family.endsWith(QLatin1Char(']')))
        return family.left(open);
    return family;
}

}  // namespace

// Items are measured and drawn by their combo box.
class TOwnerDrawComboDelegate : public QStyledItemDelegate {
public:
    explicit TOwnerDrawComboDelegate(TOwnerDrawComboBox* box) : QStyledItemDelegate(box), Box(box) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), Box->MinimumItemHeight());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QPalette& pal = Box->palette();
        const bool selected = option.state & (QStyle::State_Selected | QStyle::State_MouseOver);
        Box->LineBrush = pal.color(selected ? QPalette::Highlight : QPalette::Base);
        Box->LinePen = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        Box->DrawItem(*painter, index.row(), option.rect, option.state);
        painter->restore();
    }

private:
    TOwnerDrawComboBox* Box;  // link, not owned (the delegate's parent)
};

// ---- the owner-drawn base ----

TOwnerDrawComboBox::TOwnerDrawComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new TOwnerDrawComboDelegate(this));
    setEditable(false);
}

void TOwnerDrawComboBox::SetStyle(TOwnerDrawComboStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    const QString text = currentText();
    setEditable(value != csDropDownList);
    if (isEditable())
        setEditText(text);
}

int TOwnerDrawComboBox::MinimumItemHeight() const
{
    return std::max(fontMetrics().height() + 1, 9);
}

void TOwnerDrawComboBox::DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State)
{
    p.fillRect(rect, LineBrush);
    p.setPen(LinePen);
    p.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

void TOwnerDrawComboBox::paintEvent(QPaintEvent* e)
{
    if (isEditable() || currentIndex() < 0) {
        QComboBox::paintEvent(e);
        return;
    }
    // The closed list-only box shows its current item drawn like the list's.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QPalette& pal = palette();
    const bool focused = hasFocus();
    LineBrush = pal.color(focused ? QPalette::Highlight : QPalette::Base);
    LinePen = pal.color(focused ? QPalette::HighlightedText : QPalette::Text);
    painter.save();
    DrawItem(painter, currentIndex(), field,
             focused ? QStyle::State_Selected | QStyle::State_HasFocus : QStyle::State_None);
    painter.restore();
}

void TOwnerDrawComboBox::changeEvent(QEvent* e)
{
    QComboBox::changeEvent(e);
    if (e->type() == QEvent::FontChange && view())
        view()->doItemsLayout();
}

// ---- the font chooser ----

TFontComboBox::TFontComboBox(QWidget* parent) : TOwnerDrawComboBox(parent)
{
    TrueTypePicture = LoadResourceBitmap(QStringLiteral("TRUETYPE_FNT"));
    DevicePicture = LoadResourceBitmap(QStringLiteral("DEVICE_FNT"));
    ++Blocked;
    RebuildFontList();
    setCurrentIndex(-1);
    --Blocked;
    connect(this, &QComboBox::activated, this, [this](int) {
        if (Blocked > 0)
            return;
        if (OnClick)
            OnClick();
        Change();
    });
    connect(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (Blocked > 0 || !isEditable() || !lineEdit() || !lineEdit()->isModified())
            return;
        Change();
        const int line = FindLine(text);
        if (line >= 0 && line != currentIndex()) {
            ++Blocked;
            setCurrentIndex(line);
            --Blocked;
            Change();
        }
    });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::fontDatabaseChanged, this, [this] { RebuildKeepingName(); });
}

void TFontComboBox::Change()
{
    if (Blocked == 0 && OnChange)
        OnChange();
}

int TFontComboBox::FindLine(const QString& name) const
{
    for (int i = 0, n = count(); i < n; ++i)
        if (itemText(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TFontComboBox::RemoveExtraLine()
{
    if (ExtraName.isEmpty())
        return;
    const int line = findText(ExtraName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (line >= 0 && itemData(line, FlagsRole).toInt() == 0)
        removeItem(line);
    ExtraName.clear();
}

void TFontComboBox::SetFontName(const QString& name)
{
    if (name == currentText())
        return;
    ++Blocked;
    int line = FindLine(name);
    if (line < 0)
        line = FindLine(PlainFamilyName(name));   // a name saved with its foundry
    if (line < 0 && !name.isEmpty() && !isEditable()) {
        // A font of the data that is not installed here: kept as a line of its own,
        // so confirming a window never erases it.
        RemoveExtraLine();
        line = 0;
        while (line < count() && itemText(line).compare(name, Qt::CaseInsensitive) < 0)
            ++line;
        insertItem(line, name);
        setItemData(line, 0, FlagsRole);
        ExtraName = name;
    }
    if (line >= 0) {
        setCurrentIndex(line);
    } else if (isEditable()) {
        setCurrentIndex(-1);
        setEditText(name);
    } else {
        setCurrentIndex(-1);
    }
    --Blocked;
    Change();
}

void TFontComboBox::SetDevice(TFontDevice value)
{
    if (value != FDevice) {
        FDevice = value;
        RebuildKeepingName();
    }
}

void TFontComboBox::SetOptions(TFontListOptions value)
{
    if (value != FOptions) {
        FOptions = value;
        RebuildKeepingName();
    }
}

void TFontComboBox::SetTrueTypeOnly(bool value)
{
    SetOptions(value ? (FOptions | foTrueTypeOnly) : (FOptions & ~foTrueTypeOnly));
}

void TFontComboBox::SetUseFonts(bool value)
{
    if (value != FUseFonts) {
        FUseFonts = value;
        update();
        if (view())
            view()->viewport()->update();
    }
}

int TFontComboBox::LineFlags(int index) const
{
    return itemData(index, FlagsRole).toInt();
}

QFont TFontComboBox::LineFont(int index) const
{
    QFont f = font();
    if (FUseFonts && (LineFlags(index) & NotSymbolFont))
        f.setFamilies({itemText(index)});
    return f;
}

int TFontComboBox::MinimumItemHeight() const
{
    return std::max(TOwnerDrawComboBox::MinimumItemHeight(), TrueTypePicture.height() - 1);
}

void TFontComboBox::RebuildFontList()
{
    // The printer of this system offers the same families as the screen, so every
    // device lists the installed families once.
    clear();
    ExtraName.clear();
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    for (const QString& family : families) {
        // A family installed from several foundries comes once per foundry, tagged
        // "C059 [urw]"; the list shows it once by its plain name, the name a text style
        // keeps and QFont takes.
        const QString name = PlainFamilyName(family);
        if (QFontDatabase::isPrivateFamily(family) || findText(name, Qt::MatchFixedString) >= 0)
            continue;
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        const bool symbol = systems.contains(QFontDatabase::Symbol);
        const bool scalable = QFontDatabase::isScalable(family);
        const bool trueType = QFontDatabase::isSmoothlyScalable(family);
        int flags = trueType ? TrueTypeFontType : (scalable ? 0 : RasterFontType);
        if (!symbol)
            flags |= NotSymbolFont;
        if ((FOptions & foAnsiOnly) && !systems.contains(QFontDatabase::Latin))
            continue;
        if ((FOptions & foTrueTypeOnly) && !trueType)
            continue;
        if ((FOptions & foFixedPitchOnly) && !QFontDatabase::isFixedPitch(family))
            continue;
        if (FOptions & foOEMFontsOnly)
            continue;  // no font here carries the OEM character set
        if ((FOptions & foNoSymbolFonts) && symbol)
            continue;
        if ((FOptions & foScalableOnly) && !scalable)
            continue;
        addItem(name);
        setItemData(count() - 1, flags, FlagsRole);
    }
}

void TFontComboBox::RebuildKeepingName()
{
    const QString name = FontName();
    ++Blocked;
    RebuildFontList();
    setCurrentIndex(-1);
    if (isEditable())
        setEditText(QString());
    SetFontName(name);
    --Blocked;
    if (FontName() != name)
        Change();
}

void TFontComboBox::DrawItem(QPainter& p, int index, const QRect& rect, QStyle::State)
{
    p.fillRect(rect, LineBrush);
    const int flags = LineFlags(index);
    const QImage* picture = nullptr;
    if (flags & TrueTypeFontType)
        picture = &TrueTypePicture;
    else if (flags & DeviceFontType)
        picture = &DevicePicture;
    if (picture)
        DrawBitmapMasked(p, rect.left() + 2,
                         (2 * rect.top() + rect.height() - picture->height()) / 2, *picture,
                         TransparentDefault);
    const int textLeft = rect.left() + (picture ? picture->width() : 20) + 6;
    p.setFont(LineFont(index));
    p.setPen(LinePen);
    const QRect textRect(textLeft, rect.top(), rect.right() - textLeft + 1, rect.height());
    const int align = layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    p.drawText(textRect, align | Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}
