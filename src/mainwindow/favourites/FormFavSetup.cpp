// The favourites set-up window: its lists, its buttons and the one instance.
#include "mainwindow/favourites/FormFavSetup.h"

#include "controls/TextListBox.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/MapHooks.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/favourites/FormFavorites.h"
#include "mainwindow/favourites/Favourites.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

QPointer<TFormFavSetup> FormFavSetup;

namespace {

const TMouseMode CaptureModes[] = {mmCapturePointPicture, mmCaptureLinePicture,
                                   mmCapturePolygonPicture};

}  // namespace

TFormFavSetup::TFormFavSetup(TFormMap& form, QWidget* owner) : TDialogBase(owner), Form(form)
{
    setObjectName(QStringLiteral("FormFavSetup"));
    setWindowTitle(QStringLiteral("Настройка избранных объектов"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setAttribute(Qt::WA_DeleteOnClose);
    Sizeable = true;
    SetClientSize(612, 268);
    const Qt::Edges all = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;

    Label1 = new QLabel(QStringLiteral("Панель инструментов"), this);
    Place(Label1, QRect(8, 6, 220, 16));
    TextListBox1 = new TTextListBox(this);
    TextListBox1->setObjectName(QStringLiteral("TextListBox1"));
    Place(TextListBox1, QRect(8, 24, 224, 236), Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
    Label2 = new QLabel(QStringLiteral("Доступные кнопки"), this);
    Place(Label2, QRect(240, 6, 220, 16));
    TextListBox2 = new TTextListBox(this);
    TextListBox2->setObjectName(QStringLiteral("TextListBox2"));
    Place(TextListBox2, QRect(240, 24, 224, 236), all);

    auto button = [this](const char* name, const char* caption, int top, int height = 24) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        Place(b, QRect(472, top, 132, height), Qt::TopEdge | Qt::RightEdge);
        return b;
    };
    btnUp = button("btnUp", "вперед", 24);
    btnDown = button("btnDown", "назад", 52);
    btnAdd = button("btnAdd", "кнопку добавить", 88);
    Button2 = button("Button2", "разделитель добавить", 116);
    btnEdit = button("btnEdit", "изменить рисунок", 152);
    btnDel = button("btnDel", "удалить", 180);
    Button1 = button("Button1", "обновить панель", 208);
    BitBtn1 = button("BitBtn1", "Создать кнопку", 236);

    connect(btnUp, &QPushButton::clicked, this, [this] { btnUpClick(); });
    connect(btnDown, &QPushButton::clicked, this, [this] { btnDownClick(); });
    connect(btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(btnEdit, &QPushButton::clicked, this, [this] { btnEditClick(); });
    connect(btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

TFormFavSetup::~TFormFavSetup() = default;

void TFormFavSetup::SetKind(int kind)
{
    Kind = kind;
    FolderWord = FavouritesFolderWord(kind);
    Reload();
}

void TFormFavSetup::Reload()
{
    const QString folder = FavouritesFolder(FolderWord);
    ToolbarReadable = true;
    QString problem;
    try {
        ReadFavouriteButtons(folder, ToolbarLines);
    } catch (const std::exception& e) {
        ToolbarReadable = false;
        ToolbarLines.clear();
        problem = ExceptionMessage(e);
    }
    PictureFiles = FavouritePictures(folder);
    TextListBox1->clear();
    for (const QString& line : ToolbarLines)
        TextListBox1->addItem(FavouriteDescription(Kind, line));
    TextListBox2->clear();
    for (const QString& name : PictureFiles)
        TextListBox2->addItem(FavouriteDescription(Kind, name));
    if (!problem.isEmpty())
        ShowMsgDialog(windowTitle(), problem);
}

void TFormFavSetup::SaveAndRebuild(int line)
{
    if (!ToolbarReadable) {
        ShowMsgDialog(windowTitle(),
                      QStringLiteral("Файл \"кнопки.txt\" не прочитан; панель не изменена"));
        return;
    }
    try {
        WriteFavouriteButtons(FavouritesFolder(FolderWord), ToolbarLines);
    } catch (const std::exception& e) {
        ShowMsgDialog(windowTitle(), ExceptionMessage(e));
        Reload();   // the lists show the file as it stayed
        return;
    }
    RebuildFavorites(Kind);
    Reload();
    if (line >= 0 && line < TextListBox1->count())
        TextListBox1->setCurrentRow(line);
}

void TFormFavSetup::btnUpClick()
{
    const int i = TextListBox1->currentRow();
    if (i > 0 && i < ToolbarLines.size()) {
        ToolbarLines.swapItemsAt(i, i - 1);
        SaveAndRebuild(i - 1);
        return;
    }
    SaveAndRebuild(i);
}

void TFormFavSetup::btnDownClick()
{
    const int i = TextListBox1->currentRow();
    if (i >= 0 && i + 1 < ToolbarLines.size()) {
        ToolbarLines.swapItemsAt(i, i + 1);
        SaveAndRebuild(i + 1);
        return;
    }
    SaveAndRebuild(i);
}

void TFormFavSetup::btnAddClick()
{
    const int i = TextListBox2->currentRow();
    if (i >= 0 && i < PictureFiles.size())
        ToolbarLines << PictureFiles[i];
    SaveAndRebuild(i >= 0 ? int(ToolbarLines.size()) - 1 : TextListBox1->currentRow());
}

void TFormFavSetup::Button2Click()
{
    ToolbarLines << QString::fromUtf16(FavouritesSeparator);
    SaveAndRebuild(int(ToolbarLines.size()) - 1);
}

void TFormFavSetup::btnEditClick()
{
    const int i = TextListBox1->currentRow();
    if (i >= 0 && i < ToolbarLines.size()) {
        const QString folder = FavouritesFolder(FolderWord);
        const QString file = FavouritePictureFile(folder, ToolbarLines[i]);
        if (!file.isEmpty() &&
            !LaunchDocument(file, QString(), QFileInfo(file).absolutePath(), 0))
            ShowMsgDialog(windowTitle(), QStringLiteral("Не удается открыть рисунок ") + file);
    }
    SaveAndRebuild(i);
}

void TFormFavSetup::btnDelClick()
{
    const int i = TextListBox1->currentRow();
    if (i >= 0 && i < ToolbarLines.size()) {
        ToolbarLines.removeAt(i);
        SaveAndRebuild(std::min(i, int(ToolbarLines.size()) - 1));
        return;
    }
    SaveAndRebuild(-1);
}

void TFormFavSetup::Button1Click() { SaveAndRebuild(TextListBox1->currentRow()); }

void TFormFavSetup::BitBtn1Click()
{
    if (Kind < 0 || Kind > 2)
        return;
    Form.SetMouseMode(CaptureModes[Kind], 0, false);
    hide();
}

TFormFavSetup* ShowFavSetup(TFormMap& form, int kind)
{
    if (FormFavSetup) {
        FormFavSetup->hide();
        FormFavSetup->deleteLater();
        FormFavSetup = nullptr;
    }
    FormFavSetup = new TFormFavSetup(form, &form);
    FormFavSetup->SetKind(kind);
    FormFavSetup->show();
    return FormFavSetup;
}
