// Combo edits: the edit with its button, and the file-name and folder edits.
#include "controls/ComboEdit.h"

#include "controls/BrowseFolder.h"
#include "controls/core/ControlUtils.h"
#include "controls/core/ExConst.h"
#include "controls/core/FileUtil.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr QRgb GlyphKey = 0xFFFF00FF;  // magenta, the key of the generated glyphs

// A small downward arrow, as on a combo box.
QImage DropDownGlyph()
{
    QImage image(9, 6, QImage::Format_RGB32);
    image.fill(GlyphKey);
    for (int row = 0; row < 4; ++row)
        for (int x = row; x < 7 - row; ++x)
            image.setPixel(x + 1, row + 1, qRgb(0, 0, 0));
    return image;
}

// Three small black dots.
QImage EllipsisGlyph()
{
    QImage image(12, 4, QImage::Format_RGB32);
    image.fill(GlyphKey);
    for (int dot = 0; dot < 3; ++dot)
        for (int y = 1; y < 3; ++y)
            for (int x = 0; x < 2; ++x)
                image.setPixel(1 + dot * 4 + x, y, qRgb(0, 0, 0));
    return image;
}

// The folder part of a name, with its final "/"; empty for a bare name.
QString FolderPart(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : name.left(slash + 1);
}

QString QuotedWhenBlank(const QString& name)
{
    if (name.contains(QLatin1Char(' ')) && !name.startsWith(QLatin1Char('"')))
        return QLatin1Char('"') + name + QLatin1Char('"');
    return name;
}

}  // namespace

// ---- the button ----

TEditButton::TEditButton(TCustomComboEdit* edit, QWidget* host) : TExSpeedButton(host), Edit(edit)
{
    setCursor(Qt::ArrowCursor);
}

void TEditButton::Click()
{
    if (!Edit->ReadOnly())
        Edit->ButtonClick();
}

void TEditButton::Paint(QPainter& p)
{
    TExSpeedButton::Paint(p);
    if (DrawState() == bdsPressed)
        return;
    // Two lines join the button to the edit's border.
    p.setPen(palette().color(Style() == bsWin31 ? QPalette::Dark : QPalette::Button));
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(1, 1, 1, height() - 2);
}

void TEditButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && (Edit->focusPolicy() & Qt::TabFocus) &&
        Edit->isEnabled() && Edit->isVisible() && !Edit->hasFocus())
        Edit->setFocus(Qt::MouseFocusReason);
    TExSpeedButton::mousePressEvent(e);
}

// ---- the combo edit ----

TCustomComboEdit::TCustomComboEdit(QWidget* parent)
    : QLineEdit(parent), Host(new QWidget(this)), FButton(new TEditButton(this, Host))
{
    Host->resize(21, 17);
    FButton->resize(21, 17);
    resize(121, 21);
    setMinimumHeight(MinimumEditHeight());
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange();
    });
    PlaceButton();
}

int TCustomComboEdit::MinimumEditHeight() const
{
    const int system = QFontMetrics(QApplication::font()).height();
    return std::min(system, fontMetrics().height()) + 4 + 1;
}

int TCustomComboEdit::ButtonWidth() const
{
    return Host->isVisibleTo(this) ? FButton->width() : 0;
}

void TCustomComboEdit::SetButtonWidth(int value)
{
    if (value <= 1) {
        Host->hide();
    } else {
        if (value >= width())
            return;
        Host->show();
        FButton->resize(value, FButton->height());
    }
    PlaceButton();
    RemakeGlyph();
}

QString TCustomComboEdit::ButtonHint() const
{
    return FButton->toolTip();
}

void TCustomComboEdit::SetButtonHint(const QString& hint)
{
    FButton->setToolTip(hint);
}

const QImage& TCustomComboEdit::Glyph() const
{
    return FButton->Glyph();
}

void TCustomComboEdit::SetGlyph(const QImage& glyph)
{
    FButton->SetGlyph(glyph);
    FGlyphKind = gkCustom;
}

int TCustomComboEdit::NumGlyphs() const
{
    return FButton->NumGlyphs();
}

void TCustomComboEdit::SetNumGlyphs(int value)
{
    switch (FGlyphKind) {
    case gkDropDown:
    case gkEllipsis:
    case gkDefault:
        FButton->SetNumGlyphs(1);
        break;
    case gkCustom:
        FButton->SetNumGlyphs(value);
        break;
    }
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value)
{
    if (value == FGlyphKind)
        return;
    FGlyphKind = value;
    RemakeGlyph();
}

void TCustomComboEdit::RemakeGlyph()
{
    switch (FGlyphKind) {
    case gkDefault: {
        const QImage glyph = DefaultGlyph();
        FButton->SetGlyph(glyph);
        FButton->SetNumGlyphs(1);
        if (!glyph.isNull() && Host->isVisibleTo(this))
            FButton->resize(std::max(glyph.width() + 6, FButton->width()), FButton->height());
        break;
    }
    case gkDropDown:
        FButton->SetGlyph(DropDownGlyph());
        FButton->SetNumGlyphs(1);
        if (Host->isVisibleTo(this))
            FButton->resize(style()->pixelMetric(QStyle::PM_ScrollBarExtent), FButton->height());
        break;
    case gkEllipsis:
        FButton->SetGlyph(EllipsisGlyph());
        FButton->SetNumGlyphs(1);
        break;
    case gkCustom:
        break;
    }
    PlaceButton();
}

void TCustomComboEdit::PlaceButton()
{
    const int b = Host->isVisibleTo(this) ? FButton->width() : 0;
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    if (b > 0) {
        Host->setGeometry(width() - b - frame, frame, b, height() - 2 * frame);
        FButton->setGeometry(0, 0, b, Host->height());
    }
    // Typed text never runs under the button.
    setTextMargins(0, 0, b > 0 ? b + 2 : 0, 0);
}

void TCustomComboEdit::SetDirectInput(bool value)
{
    FDirectInput = value;
    ApplyReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value)
{
    FReadOnly = value;
    ApplyReadOnly();
}

void TCustomComboEdit::ApplyReadOnly()
{
    // Read-only also refuses pasting and cutting.
    setReadOnly(!FDirectInput || FReadOnly);
}

void TCustomComboEdit::ButtonClick()
{
    if (OnButtonClick)
        OnButtonClick();
}

void TCustomComboEdit::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    PlaceButton();
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* e)
{
    QLineEdit::keyPressEvent(e);
    if (QKeySequence(e->keyCombination()) == FClickKey && ButtonWidth() > 0) {
        e->accept();
        FButton->Click();
    }
}

void TCustomComboEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    if (e->reason() != Qt::MouseFocusReason) {
        if (FAutoSelect && FDirectInput)
            selectAll();
        else
            deselect();
    }
    if (OnEnter)
        OnEnter();
}

void TCustomComboEdit::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        FButton->setEnabled(isEnabled());
    } else if (e->type() == QEvent::FontChange) {
        setMinimumHeight(MinimumEditHeight());
    } else if (e->type() == QEvent::StyleChange) {
        PlaceButton();
    }
}

// ---- file and folder edits ----

TFileDirEdit::TFileDirEdit(QWidget* parent) : TCustomComboEdit(parent)
{
    SetGlyphKind(gkDefault);
}

QImage TFileDirEdit::DefaultGlyph() const
{
    static const QImage glyph = LoadResourceBitmap(QStringLiteral("FEDITBMP"));
    return glyph;
}

std::function<bool(RFileDialog& dialog)> TFilenameEdit::DialogHook;
std::function<bool(TDirectoryEdit& edit, QString& folder)> TDirectoryEdit::DialogHook;

TFilenameEdit::TFilenameEdit(QWidget* parent) : TFileDirEdit(parent) {}

QString TFilenameEdit::FileName() const
{
    const QString content = text();
    if (QFileInfo(content).isFile())
        return content;
    return CommandLineWord(content, 0);
}

void TFilenameEdit::SetFileName(const QString& value)
{
    if (!value.isEmpty()) {
        const QString readBack = QFileInfo(value).isFile() ? value : CommandLineWord(value, 0);
        if (!IsValidFileName(readBack))
            throw EComboEditError(QStringLiteral("Invalid file name - %1").arg(value));
    }
    setText(QuotedWhenBlank(value));
    Dialog.Files.clear();
}

void TFilenameEdit::SetDialogOptions(TOpenOptions value)
{
    Dialog.Options = value;
    if (!(value & ofAllowMultiSelect))
        Dialog.Files.clear();
}

void TFilenameEdit::ButtonClick()
{
    TCustomComboEdit::ButtonClick();
    QString name = FileName();
    bool action = true;
    if (OnBeforeDialog)
        OnBeforeDialog(name, action);
    if (!action)
        return;
    if (IsValidFileName(name)) {
        const QString folder = FolderPart(name);
        if (!folder.isEmpty() && FolderExists(folder))
            Dialog.InitialDir = DropTrailingBackslash(folder);
        const QString file = QFileInfo(name).fileName();
        if (file.isEmpty() || !IsValidFileName(file))
            name.clear();
        Dialog.FileName = name;
    }
    action = RunDialog();
    if (action)
        name = Dialog.FileName;
    if (isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    if (OnAfterDialog)
        OnAfterDialog(name, action);
    if (action) {
        setText(QuotedWhenBlank(name));
        Dialog.InitialDir = DropTrailingBackslash(FolderPart(Dialog.FileName));
    }
}

bool TFilenameEdit::RunDialog()
{
    if (DialogHook)
        return DialogHook(Dialog);
    const bool save = Dialog.Kind == dkSave || Dialog.Kind == dkSavePicture;
    // The library's default filter and title are English; the window shows Russian ones.
    const bool defaultFilter = Dialog.Filter == RFileDialog().Filter;
    const QStringList filters = FilterToNameFilters(
        defaultFilter ? QStringLiteral("Все файлы (*.*)|*.*") : Dialog.Filter);
    QString title = Dialog.Title;
    if (title.isEmpty() || title == RFileDialog().Title)
        title = save ? QStringLiteral("Сохранить как") : QStringLiteral("Открыть");
    QFileDialog dialog(this, title, Dialog.InitialDir);
    dialog.setNameFilters(filters);
    if (Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[Dialog.FilterIndex - 1]);
    QString ext = Dialog.DefaultExt;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else if (Dialog.Options & ofAllowMultiSelect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode((Dialog.Options & ofFileMustExist) ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Dialog.Options & ofOverwritePrompt));
    if (!Dialog.HistoryList.isEmpty())
        dialog.setHistory(Dialog.HistoryList);
    if (!Dialog.FileName.isEmpty())
        dialog.selectFile(Dialog.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    Dialog.Files = dialog.selectedFiles();
    Dialog.FileName = Dialog.Files.first();
    Dialog.FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

TDirectoryEdit::TDirectoryEdit(QWidget* parent) : TFileDirEdit(parent) {}

void TDirectoryEdit::ButtonClick()
{
    TCustomComboEdit::ButtonClick();
    QString name = text();
    bool action = true;
    if (OnBeforeDialog)
        OnBeforeDialog(name, action);
    if (!action)
        return;
    if (name.isEmpty())
        name = FInitialDir.isEmpty() ? QStringLiteral("/") : FInitialDir;
    if (!FolderExists(name))
        name = QStringLiteral("/");
    action = RunDialog(name);
    if (isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    if (OnAfterDialog)
        OnAfterDialog(name, action);
    if (action) {
        if (hasSelectedText())
            del();
        if (FMultipleDirs && !text().isEmpty())
            setText(text() + QLatin1Char(';') + name);
        else
            setText(name);
        if (FolderExists(name))
            FInitialDir = name;
    }
}

bool TDirectoryEdit::RunDialog(QString& folder)
{
    if (DialogHook)
        return DialogHook(*this, folder);
    if (FDialogKind == dkWin32)
        return BrowseForFolderDlg(folder, FDialogText, 0);
    QFileDialog dialog(this, FolderDialogTitle, folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::ReadOnly, !(FDialogOptions & sdAllowCreate));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    folder = DropTrailingBackslash(dialog.selectedFiles().first());
    return true;
}
