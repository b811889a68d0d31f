// The recovery window.
#include "dialogs/file/UnitRestore.h"

#include "controls/TextListBox.h"
#include "controls/core/FileUtil.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ui/NumEdit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

// A whole number with an optional sign, as the run time's conversion takes it.
bool WholeNumber(const QString& text, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// The entries of folder, sorted by name; filters add to the "." and ".." left out.
QStringList Entries(const QString& folder, QDir::Filters filters)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
}

// Fills combo with names and selects the entry named wanted (none when absent).
bool FillCombo(QComboBox* combo, const QStringList& names, int selected)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(names);
    combo->setCurrentIndex(selected);
    return !names.isEmpty();
}

}  // namespace

int DateFolderDays(const QString& date)
{
    int day = 0, month = 0, year = 0;
    if (!WholeNumber(date.mid(0, 2), day) || !WholeNumber(date.mid(3, 2), month) ||
        !WholeNumber(date.mid(6, 4), year))
        return -1;
    return (year * 12 + month) * 30 + day;
}

TModalResult RestoreDlg(QString& fileName)
{
    TFormRestore window(QDir(DataRootFolder).filePath(QStringLiteral("Пользователи")), ComputerName, UserName,
                        StartDate, DialogOwner());
    const TModalResult result = window.ShowModal();
    fileName = result == mrOk ? window.RestoreFile : QString();
    return result;
}

TFormRestore::TFormRestore(const QString& usersFolder, const QString& computer,
                           const QString& user, const QString& today, QWidget* parent)
    : TDialogBase(parent), UsersFolder(usersFolder), Computer(computer), User(user), Today(today)
{
    setObjectName(QStringLiteral("FormRestore"));
    setWindowTitle(QStringLiteral("Восстановление данных"));
    SetClientSize(532, 372);

    auto label = [this](const QString& text, const QRect& rect) {
        Place(new QLabel(text, this), rect);
    };
    auto combo = [this](const char* name, const QString& empty, const QRect& rect) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setPlaceholderText(empty);
        Place(c, rect);
        return c;
    };
    label(QStringLiteral("Компьютер-клиент"), QRect(8, 6, 254, 16));
    ComboBox1 = combo("ComboBox1", QStringLiteral("не выбран"), QRect(8, 22, 254, 22));
    label(QStringLiteral("Пользователь-клиент"), QRect(270, 6, 254, 16));
    ComboBox2 = combo("ComboBox2", QStringLiteral("не выбран"), QRect(270, 22, 254, 22));
    label(QStringLiteral("Дата запуска программы"), QRect(8, 52, 254, 16));
    ComboBox3 = combo("ComboBox3", QStringLiteral("не выбрана"), QRect(8, 68, 254, 22));
    label(QStringLiteral("Время запуска программы"), QRect(270, 52, 254, 16));
    ComboBox4 = combo("ComboBox4", QStringLiteral("не выбрано"), QRect(270, 68, 254, 22));

    label(QStringLiteral("Сеанс работы"), QRect(8, 98, 254, 16));
    TextListBox1 = new TTextListBox(this);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    Place(TextListBox1, QRect(8, 114, 254, 206));
    label(QStringLiteral("элементы сеанса"), QRect(270, 98, 254, 16));
    TextListBox2 = new TTextListBox(this);
    TextListBox2->setObjectName(QStringLiteral("TextListBox2"));
    Place(TextListBox2, QRect(270, 114, 254, 206));

    Button1 = AddButton(QStringLiteral("Удалить файлы старше"), QRect(8, 336, 150, 25), mrNone,
                        Qt::LeftEdge | Qt::TopEdge);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    NumEdit1 = new TNumEdit(this);
    NumEdit1->setObjectName(QStringLiteral("NumEdit1"));
    NumEdit1->ClearTextIFValueNotInteger = true;
    NumEdit1->ClearAndChangeToOldValue = true;
    NumEdit1->SetIntegerValue(30);
    Place(NumEdit1, QRect(164, 338, 56, 21));
    label(QStringLiteral("дней"), QRect(226, 340, 40, 16));
    BitBtn1 = AddButton(QStringLiteral("Восстановить"), QRect(412, 336, 112, 25), mrNone,
                        Qt::LeftEdge | Qt::TopEdge);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComputerChange(); });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this] { UserChange(); });
    connect(ComboBox3, &QComboBox::currentIndexChanged, this, [this] { DateChange(); });
    connect(ComboBox4, &QComboBox::currentIndexChanged, this, [this] { RunChange(); });
    TextListBox1->OnClick = [this] { DocumentClick(); };
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    FillComputers();
    FillUsers();
    FillDates();
    FillRuns();
    FillDocuments();
    TextListBox2->clear();
    PlaceScreenCentre();
}

QString TFormRestore::Chosen(int depth) const
{
    QString folder = UsersFolder;
    const QComboBox* combos[4] = {ComboBox1, ComboBox2, ComboBox3, ComboBox4};
    for (int i = 0; i < depth; ++i) {
        if (combos[i]->currentIndex() < 0)
            return {};
        folder += QLatin1Char('/') + combos[i]->currentText();
    }
    return folder;
}

bool TFormRestore::FillComputers()
{
    const QStringList names = Entries(UsersFolder, QDir::AllEntries | QDir::Hidden);
    return FillCombo(ComboBox1, names, int(names.indexOf(Computer)));
}

bool TFormRestore::FillUsers()
{
    const QStringList names = Entries(Chosen(1), QDir::AllEntries | QDir::Hidden);
    return FillCombo(ComboBox2, names, int(names.indexOf(User)));
}

bool TFormRestore::FillDates()
{
    // Only plain folders: the user's folder also holds the settings and the recent list.
    const QStringList names = Entries(Chosen(2), QDir::Dirs | QDir::NoSymLinks);
    return FillCombo(ComboBox3, names, int(names.size()) - 1);
}

bool TFormRestore::FillRuns()
{
    const QStringList names = Entries(Chosen(3), QDir::AllEntries | QDir::Hidden);
    return FillCombo(ComboBox4, names, int(names.size()) - 1);
}

bool TFormRestore::FillDocuments()
{
    TextListBox1->clear();
    QStringList names = Entries(Chosen(4), QDir::AllEntries | QDir::Hidden);
    names.removeAll(QStringLiteral("Errors"));
    TextListBox1->addItems(names);
    return !names.isEmpty();
}

bool TFormRestore::FillDocumentFiles(const QString& folder)
{
    TextListBox2->clear();
    const QStringList names = Entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System);
    TextListBox2->addItems(names);
    return !names.isEmpty();
}

void TFormRestore::ComputerChange()
{
    FillUsers();
    UserChange();
}

void TFormRestore::UserChange()
{
    FillDates();
    DateChange();
}

void TFormRestore::DateChange()
{
    FillRuns();
    RunChange();
}

void TFormRestore::RunChange()
{
    FillDocuments();
    TextListBox2->clear();
}

void TFormRestore::DocumentClick()
{
    const QString run = Chosen(4);
    for (int i = 0; i < TextListBox1->count(); ++i)
        if (TextListBox1->item(i)->isSelected()) {
            FillDocumentFiles(run.isEmpty() ? QString() : run + QLatin1Char('/') + TextListBox1->item(i)->text());
            return;
        }
}

void TFormRestore::Button1Click()
{
    const QString userFolder = Chosen(2);
    if (userFolder.isEmpty())
        return;
    const int keep = NumEdit1->IntegerValue();
    if (keep < 0) {
        // Today's folder would qualify, and it holds this run's own undo history.
        ShowMsgDialog(QStringLiteral("Число дней не может быть отрицательным"), QString());
        return;
    }
    const int today = DateFolderDays(Today);
    const QDir folder(userFolder);
    for (const QString& name : Entries(userFolder, QDir::AllEntries | QDir::Hidden | QDir::System)) {
        const int days = DateFolderDays(name);
        if (days <= 0 || name == Today || !(keep < today - days))
            continue;
        const QString path = folder.filePath(name);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
            ClearDirectory(path, true);
        else
            QFile::remove(path);
    }
}

void TFormRestore::BitBtn1Click()
{
    RestoreFile.clear();
    const QString run = Chosen(4);
    const QListWidgetItem* document = nullptr;
    for (int i = 0; i < TextListBox1->count() && !document; ++i)
        if (TextListBox1->item(i)->isSelected())
            document = TextListBox1->item(i);
    const QListWidgetItem* file = TextListBox2->currentItem();
    if (!run.isEmpty() && document && file && file->isSelected())
        RestoreFile = run + QLatin1Char('/') + document->text() + QLatin1Char('/') + file->text();
    SetModalResult(mrOk);
}
