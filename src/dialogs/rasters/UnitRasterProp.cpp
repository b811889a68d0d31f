// "Свойства растра". The window keeps the raster's values while it is open and writes
// them with "Закрыть" (and with "Загрузить", which must load what the window shows); the
// preview runs the very filter the engine applies to a loaded raster.
#include "dialogs/rasters/UnitRasterProp.h"

#include "controls/ComboEdit.h"
#include "controls/core/ControlUtils.h"
#include "dialogs/objects/UnitChangePageLayer.h"
#include "engine/GeoMap.h"
#include "engine/commands/RasterFilter.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "imaging/PictureRegistry.h"
#include "platform/FileLookup.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <cmath>

std::function<bool(bool save, QString& fileName)> TFormRasterProp::ProfileDialogHook;

namespace {

const QString Caption = QStringLiteral("Свойства растра");
const QString ProfileFilter = QStringLiteral("цветовой профиль растра (*.lrgb)");

// The filter button's glyph: a small sun, the raster made lighter.
QIcon SunGlyph()
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265358979 / 4;
        p.drawLine(QPointF(9 + 5 * std::cos(a), 9 + 5 * std::sin(a)),
                   QPointF(9 + 8 * std::cos(a), 9 + 8 * std::sin(a)));
    }
    p.setBrush(QColor(0xFF, 0xD0, 0x20));
    p.drawEllipse(QPointF(9, 9), 4, 4);
    return QIcon(pixmap);
}

TNumEdit* CornerEdit(QWidget* parent, const char* name)
{
    auto* edit = new TNumEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->UniversalDecimalSeparator = true;
    edit->EnableFloatPrecision = true;
    edit->SetNumberOfDecimalDigits(3);
    return edit;
}

bool RunProfileDialog(QWidget* owner, bool save, QString& fileName)
{
    if (TFormRasterProp::ProfileDialogHook)
        return TFormRasterProp::ProfileDialogHook(save, fileName);
    const QString folder = RasterProfilesFolder();
    const QString chosen =
        save ? QFileDialog::getSaveFileName(owner, QStringLiteral("Сохранить профиль"), folder,
                                            ProfileFilter, nullptr, QFileDialog::DontUseNativeDialog)
             : QFileDialog::getOpenFileName(owner, QStringLiteral("Загрузить профиль"), folder,
                                            ProfileFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

}  // namespace

QString RasterProfilesFolder()
{
    return ResolvePath(GetProgramFolder() + QStringLiteral("Растровые фильтры"));
}

void ReadRasterProfile(const QString& path, int& L, int& r, int& g, int& b)
{
    const QStringList lines = ReadTextFileLines(path);
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = i < lines.size() ? lines[i].trimmed().toInt(&ok) : 0;
        if (!ok)
            throw Exception(QStringLiteral("Строка %1 профиля %2 не является целым числом")
                                .arg(i + 1)
                                .arg(QFileInfo(path).fileName()));
    }
    L = values[0];
    r = values[1];
    g = values[2];
    b = values[3];
}

void WriteRasterProfile(const QString& path, int L, int r, int g, int b)
{
    WriteTextFileLines(path, {QString::number(L), QString::number(r), QString::number(g),
                              QString::number(b)});
}

TFormRasterProp::TFormRasterProp(TGeoMap& map, int page, int rastr, QWidget* parent)
    : TDialogBase(parent), PageIndex(page), RastrIndex(rastr), Map(map)
{
    setWindowTitle(Caption);
    SetClientSize(568, 382);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setAutoFillBackground(true);
    Place(Image1, QRect(8, 8, 224, 224));

    auto* pageLabel = new QLabel(QStringLiteral("Лист"), this);
    Place(pageLabel, QRect(244, 12, 30, 16));
    LPage = new QLabel(this);
    LPage->setObjectName(QStringLiteral("LPage"));
    Place(LPage, QRect(278, 12, 196, 16));
    sbChangePageLayer = new QPushButton(QStringLiteral("Изменить"), this);
    sbChangePageLayer->setObjectName(QStringLiteral("sbChangePageLayer"));
    Place(sbChangePageLayer, QRect(480, 8, 80, 24));

    const auto cornerGroup = [this](const QString& title, int x, TNumEdit*& xEdit, const char* xName,
                                    TNumEdit*& yEdit, const char* yName) {
        auto* group = new QGroupBox(title, this);
        Place(group, QRect(x, 38, 154, 72));
        auto* lx = new QLabel(QStringLiteral("X="), group);
        lx->setGeometry(8, 22, 20, 16);
        xEdit = CornerEdit(group, xName);
        xEdit->setGeometry(30, 20, 116, 21);
        auto* ly = new QLabel(QStringLiteral("Y="), group);
        ly->setGeometry(8, 46, 20, 16);
        yEdit = CornerEdit(group, yName);
        yEdit->setGeometry(30, 44, 116, 21);
    };
    cornerGroup(QStringLiteral("Левый нижний угол"), 244, XBL, "XBL", YBL, "YBL");
    cornerGroup(QStringLiteral("Правый верхний угол"), 406, XTR, "XTR", YTR, "YTR");

    auto* linkLabel = new QLabel(QStringLiteral("Путь растра"), this);
    Place(linkLabel, QRect(244, 116, 120, 16));
    RastrLink = new TFilenameEdit(this);
    RastrLink->setObjectName(QStringLiteral("RastrLink"));
    RastrLink->SetDialogKind(dkOpenPicture);
    RastrLink->SetFilter(FileFormatList().BuildGraphicFilter(0, fstBoth, foCompact | foIncludeAll |
                                                                             foIncludeExtension));
    Place(RastrLink, QRect(244, 134, 316, 22));

    rbVisible = new QRadioButton(QStringLiteral("Видимый"), this);
    rbVisible->setObjectName(QStringLiteral("rbVisible"));
    Place(rbVisible, QRect(244, 164, 100, 18));
    rbHide = new QRadioButton(QStringLiteral("Скрытый"), this);
    rbHide->setObjectName(QStringLiteral("rbHide"));
    Place(rbHide, QRect(350, 164, 100, 18));

    StaticText = new QLabel(this);
    StaticText->setObjectName(QStringLiteral("StaticText"));
    StaticText->setAlignment(Qt::AlignCenter);
    StaticText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(StaticText, QRect(244, 190, 316, 20));
    btLoad = new QPushButton(QStringLiteral("Загрузить"), this);
    btLoad->setObjectName(QStringLiteral("btLoad"));
    Place(btLoad, QRect(244, 216, 96, 25));
    btUnLoad = new QPushButton(QStringLiteral("Выгрузить"), this);
    btUnLoad->setObjectName(QStringLiteral("btUnLoad"));
    Place(btUnLoad, QRect(346, 216, 96, 25));

    const auto toolButton = [this](const char* name, const QString& hint, QRect rect) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        Place(b, rect);
        return b;
    };
    const QString lighter = QStringLiteral("Осветлить растр");
    btFilterOn = toolButton("btFilterOn", lighter, QRect(8, 240, 28, 28));
    btFilterOn->setCheckable(true);
    btFilterOn->setIcon(SunGlyph());
    ExSpeedButton1 = toolButton("ExSpeedButton1", lighter, QRect(40, 240, 28, 28));
    ExSpeedButton1->setText(QStringLiteral("0"));
    ButtonSave = toolButton("ButtonSave", QStringLiteral("Сохранить профиль"), QRect(80, 240, 28, 28));
    ButtonSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ButtonOpen = toolButton("ButtonOpen", QStringLiteral("Загрузить профиль"), QRect(112, 240, 28, 28));
    ButtonOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));

    const auto slider = [this](const char* name, const QString& label, int y, int max) {
        auto* l = new QLabel(label, this);
        Place(l, QRect(8, y + 2, 64, 16));
        auto* s = new QSlider(Qt::Horizontal, this);
        s->setObjectName(QLatin1String(name));
        s->setRange(0, max);
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(max / 10);
        Place(s, QRect(76, y, 372, 24));
        return s;
    };
    slLight = slider("slLight", QStringLiteral("яркость"), 276, 200);
    slRed = slider("slRed", QStringLiteral("красный"), 302, 100);
    slGreen = slider("slGreen", QStringLiteral("зеленый"), 328, 100);
    slBlue = slider("slBlue", QStringLiteral("синий"), 354, 100);

    BitBtn1 = AddButton(QStringLiteral("Закрыть"), QRect(480, 350, 80, 25), mrNone);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    const auto corner = [this](TNumEdit* edit, Extended& value) {
        connect(edit, &TNumEdit::Changed, this, [this, edit, &value] {
            if (!Filling)
                value = edit->FloatValue();
        });
    };
    corner(XBL, Values.BL.X);
    corner(YBL, Values.BL.Y);
    corner(XTR, Values.TR.X);
    corner(YTR, Values.TR.Y);
    connect(rbVisible, &QRadioButton::clicked, this, [this] { Values.Visible = 1; });
    connect(rbHide, &QRadioButton::clicked, this, [this] { Values.Visible = 0; });
    connect(RastrLink, &QLineEdit::textChanged, this, [this] { RastrLinkChange(); });
    connect(btLoad, &QPushButton::clicked, this, [this] { btLoadClick(); });
    connect(btUnLoad, &QPushButton::clicked, this, [this] { btUnLoadClick(); });
    connect(btFilterOn, &QToolButton::clicked, this, [this] { btFilterOnClick(); });
    connect(slLight, &QSlider::valueChanged, this, [this](int v) { SliderChange(Values.L, v); });
    connect(slRed, &QSlider::valueChanged, this, [this](int v) { SliderChange(Values.R, v); });
    connect(slGreen, &QSlider::valueChanged, this, [this](int v) { SliderChange(Values.G, v); });
    connect(slBlue, &QSlider::valueChanged, this, [this](int v) { SliderChange(Values.B, v); });
    connect(ExSpeedButton1, &QToolButton::clicked, this, [this] { ExSpeedButton1Click(); });
    connect(ButtonSave, &QToolButton::clicked, this, [this] { ButtonSaveClick(); });
    connect(ButtonOpen, &QToolButton::clicked, this, [this] { ButtonOpenClick(); });
    connect(sbChangePageLayer, &QPushButton::clicked, this, [this] { sbChangePageLayerClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    FormShow();
}

void TFormRasterProp::FormShow()
{
    Filling = true;
    ReadRastr(Map, PageIndex, RastrIndex, Values);
    LoadPreview();
    SetSliders(Values.L, Values.R, Values.G, Values.B);
    btFilterOn->setChecked(Values.FilterOn == 1);
    for (QSlider* s : {slLight, slRed, slGreen, slBlue})
        s->setEnabled(Values.FilterOn == 1);
    XBL->SetFloatValue(Values.BL.X);
    YBL->SetFloatValue(Values.BL.Y);
    XTR->SetFloatValue(Values.TR.X);
    YTR->SetFloatValue(Values.TR.Y);
    try {
        RastrLink->SetFileName(Values.Path);
    } catch (const Exception&) {
        RastrLink->setText(Values.Path);
    }
    rbVisible->setChecked(Values.Visible != 0);
    rbHide->setChecked(Values.Visible == 0);
    UpdateStatus();
    DrawPreview();
    Filling = false;
    QString name;
    std::uint8_t visible = 0;
    Map.GetPageProp(PageIndex, name, visible);
    LPage->setText(name);
}

void TFormRasterProp::LoadPreview()
{
    PreviewPicture = QImage();
    if (!FileExistsIgnoringCase(Values.Path))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        FitPreview(ReadRastrPicture(Values.Path));
    } catch (const Exception&) {
        // An unreadable picture shows no preview; loading it tells the reason.
    }
    QApplication::restoreOverrideCursor();
}

void TFormRasterProp::FitPreview(const QImage& picture)
{
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0) {
        PreviewPicture = QImage();
        return;
    }
    const QSize area = Image1->contentsRect().size();
    const double k = std::min(double(area.height()) / picture.height(),
                              double(area.width()) / picture.width());
    const int w = std::max(1, int(std::nearbyint(picture.width() * k)));
    const int h = std::max(1, int(std::nearbyint(picture.height() * k)));
    PreviewPicture = picture.convertToFormat(QImage::Format_RGB32)
                         .scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void TFormRasterProp::DrawPreview()
{
    if (PreviewPicture.isNull()) {
        Image1->setPixmap(QPixmap());
        return;
    }
    QImage shown = PreviewPicture;
    if (btFilterOn->isChecked())
        shown = ApplyRasterFilter(PreviewPicture, Values.L, Values.R, Values.G, Values.B);
    Image1->setPixmap(QPixmap::fromImage(shown));
}

QString TFormRasterProp::StatusText() const
{
    const QString found = FileExistsIgnoringCase(Values.Path) ? QStringLiteral("найден;")
                                                              : QStringLiteral("не найден;");
    const QString loaded = Values.Loaded ? QStringLiteral("загружен;") : QStringLiteral("не загружен;");
    return found + QLatin1Char(' ') + loaded;
}

void TFormRasterProp::UpdateStatus() { StaticText->setText(StatusText()); }

bool TFormRasterProp::Loaded()
{
    return Map.SelectRastr(PageIndex, RastrIndex) && Map.RastrLoaded();
}

bool TFormRasterProp::Issue(TMapCommand comm, const QString& params)
{
    try {
        Map.DoCommand(comm, params);
        return true;
    } catch (const Exception& e) {
        ShowMsgDialog(Caption, e.Message);
        return false;
    }
}

void TFormRasterProp::SetSliders(int L, int r, int g, int b)
{
    SettingSliders = true;
    slLight->setValue(L);
    slRed->setValue(r);
    slGreen->setValue(g);
    slBlue->setValue(b);
    SettingSliders = false;
}

void TFormRasterProp::RastrLinkChange()
{
    if (Filling)
        return;
    // The text as typed: a path with blanks that names no file yet must not be cut at
    // its first blank; the quotes the edit puts round such a path are not part of it.
    QString name = RastrLink->text().trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.mid(1, name.size() - 2);
    if (name == Values.Path)
        return;
    Values.Path = name;
    // The loaded picture is no longer the file the window names.
    if (Loaded())
        Issue(mcUnLoadRastr, TCommandParams().Int(PageIndex).Int(RastrIndex));
    Values.Loaded = Loaded() ? 1 : 0;
    UpdateStatus();
}

void TFormRasterProp::btUnLoadClick()
{
    if (Loaded())
        Issue(mcUnLoadRastr, TCommandParams().Int(PageIndex).Int(RastrIndex));
    Values.Loaded = Loaded() ? 1 : 0;
    UpdateStatus();
}

void TFormRasterProp::btLoadClick()
{
    if (Loaded())
        Issue(mcUnLoadRastr, TCommandParams().Int(PageIndex).Int(RastrIndex));
    if (!Issue(mcSetRastrProp, SetRastrPropParams(PageIndex, RastrIndex, Values))) {
        Values.Loaded = Loaded() ? 1 : 0;
        UpdateStatus();
        return;
    }
    const bool exists = FileExistsIgnoringCase(Values.Path);
    if (exists)
        Issue(mcLoadRastr, TCommandParams().Int(PageIndex).Int(RastrIndex));
    Values.Loaded = Loaded() ? 1 : 0;
    UpdateStatus();
    if (exists) {
        LoadPreview();
        DrawPreview();
    }
}

void TFormRasterProp::btFilterOnClick()
{
    Values.FilterOn = btFilterOn->isChecked() ? 1 : 0;
    for (QSlider* s : {slLight, slRed, slGreen, slBlue})
        s->setEnabled(Values.FilterOn == 1);
    DrawPreview();
}

void TFormRasterProp::SliderChange(int& level, int value)
{
    if (SettingSliders)
        return;
    level = value;
    DrawPreview();
}

void TFormRasterProp::ExSpeedButton1Click()
{
    SetSliders(100, 100, 100, 100);
    Values.L = Values.R = Values.G = Values.B = 100;
    DrawPreview();
}

void TFormRasterProp::ButtonSaveClick()
{
    QString fileName;
    if (!RunProfileDialog(this, true, fileName))
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".lrgb");
    try {
        WriteRasterProfile(fileName, slLight->value(), slRed->value(), slGreen->value(),
                           slBlue->value());
    } catch (const Exception& e) {
        ShowMsgDialog(Caption, e.Message);
    }
}

void TFormRasterProp::ButtonOpenClick()
{
    QString fileName;
    if (!RunProfileDialog(this, false, fileName))
        return;
    int L = 0, r = 0, g = 0, b = 0;
    try {
        ReadRasterProfile(fileName, L, r, g, b);
    } catch (const Exception& e) {
        ShowMsgDialog(Caption, e.Message);
        return;
    }
    // Each slider keeps the value within its range and stores it through its handler.
    slLight->setValue(L);
    slRed->setValue(r);
    slGreen->setValue(g);
    slBlue->setValue(b);
    DrawPreview();
}

void TFormRasterProp::sbChangePageLayerClick()
{
    int page = PageIndex, index = RastrIndex;
    ChangeRastrPageDlg(page, index);
    // The window's edits stay: only the raster's place and sheet change.
    if (page != PageIndex) {
        PageIndex = page;
        RastrIndex = index;
        Values.Loaded = Loaded() ? 1 : 0;
        UpdateStatus();
    }
    QString name;
    std::uint8_t visible = 0;
    Map.GetPageProp(PageIndex, name, visible);
    LPage->setText(name);
}

void TFormRasterProp::BitBtn1Click()
{
    if (Issue(mcSetRastrProp, SetRastrPropParams(PageIndex, RastrIndex, Values)))
        SetModalResult(mrOk);
}

TModalResult RunRasterProp(int page, int rastr)
{
    if (!MainMap)
        return mrCancel;
    TFormRasterProp form(*MainMap, page, rastr, DialogOwner());
    form.PlaceScreenCentre();
    return form.ShowModal();
}

void InstallRasterWindows() { ProgramDialogHooks().RasterProp = RunRasterProp; }
