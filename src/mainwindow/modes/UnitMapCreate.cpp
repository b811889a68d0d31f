// The creators of points, height marks and texts. Each builds one plan command over the
// destination rule and asks the engine to draw; the plan is never changed otherwise.
#include "mainwindow/UnitMap.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoTypes.h"
#include "foundation/ProgramDialogs.h"
#include "foundation/ServDialogs.h"
#include "foundation/StringNum.h"
#include "foundation/ui/NumEdit.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/modes/Creators.h"
#include "semantics/codec/SemDialogs.h"

std::function<bool(int lm)> FavouritesPaletteShown;

namespace {

bool NoSemDown(const TFormMap& form)
{
    return form.FormInstr1 && form.FormInstr1->sbNoSem && form.FormInstr1->sbNoSem->Down();
}

// The height of a height mark as the semantics carries it: eight significant digits,
// two decimals, the locale's separator.
QString HeightText(Extended height)
{
    return FloatToStrF(height, ffFixed, 8, 2);
}

QString HeightMarkSemantics(const QString& height)
{
    return QStringLiteral("ОТА/ИВ") + height + u';';
}

} // namespace

bool IssueCommand(TMapCommand command, const std::function<QString()>& params)
{
    QString text;
    try {
        text = params();
    } catch (const Exception& e) {
        MessageDlg(e.Message, mtError);
        return false;
    }
    MainMap->DoCommand(command, text);
    return true;
}

QString UserCaptionGroup(const TFormMap& form)
{
    return TCommandValues()
        .Fixed(form.AutoTextDX)
        .Fixed(form.AutoTextDY)
        .Int(form.AutoTextAngle)
        .Fixed(form.AutoTextSizeFactor)
        .Int(form.AutoTextView)
        .Group();
}

bool TFormMap::ChooseWorkSemantics(int& lm, QString& code, bool& fromFavourites)
{
    fromFavourites = false;
    if (FavouritesPaletteShown && FavouritesPaletteShown(lm) && !code.isEmpty()) {
        fromFavourites = true;
        if (code.endsWith(u'-')) {
            code.chop(1);
            return true;
        }
        return SemDlg(1, lm, code) == mrOk;
    }
    if (NoSemDown(*this))
        return true;
    return SemDlg(1, lm, code) == mrOk;
}

// The point as a command of this precision class stores it: its coordinates rounded
// to the decimals written.
static TGeoPoint WrittenPoint(const TGeoPoint& p, int precision)
{
    const int decimals = CoordDecimals(precision);
    const auto written = [decimals](Extended v) {
        Extended back = v;
        const QString text = FloatToFixed(v, decimals);
        const QChar separator = text.contains(QLatin1Char(',')) ? QLatin1Char(',') : QLatin1Char('.');
        return DecimalTextToFloat(text, separator, back) ? back : v;
    };
    return GeoPoint(written(p.X), written(p.Y));
}

TGeoPoint TFormMap::CreationPoint() const
{
    return MainMap->LinkToNodes && Snapped ? SnapPoint : Points.Down.Plan;
}

void TFormMap::CreatePointObject()
{
    QString sem;
    int lm = 0;
    bool fromFavourites = false;
    switch (MouseMode) {
    case mmCreatePoint:
        sem = PointCode;
        if (!ChooseWorkSemantics(lm, sem, fromFavourites)) {
            MainMap->PaintBitmap();
            return;
        }
        break;
    case mmCreateOtm: {
        const TModalResult result = InpOtmDialog(OtmHeight);
        if (result != mrOk) {
            MainMap->PaintBitmap();
            return;
        }
        QString height = HeightText(OtmHeight);
        // Shift at the press keeps the locale's comma; otherwise the point is the rule.
        if ((DownShift & 1) == 0)
            height.replace(u',', u'.');
        sem = HeightMarkSemantics(height);
        break;
    }
    case mmInterpolateHeights:
    case mmCheckHeights:
        sem = HeightMarkSemantics(HeightText(OtmHeight));
        break;
    default:
        return;
    }
    if (MouseMode != mmCreatePoint)
        lm = 0;

    bool captionFlag = PointAngleDragged || AutoTextAllFromFirst != 0;
    Extended signAngle = PointSignAngle;
    if (PointCtrlFlag) {
        captionFlag = false;
        signAngle = WinToGeoAngle(AutoTextAngle);
    }
    const QString caption = captionFlag ? UserCaptionGroup(*this) : QString();

    const bool interpolated = MouseMode == mmInterpolateHeights;
    const TGeoPoint at = interpolated ? OtmPoint : CreationPoint();
    int page = -1, layer = -1;
    // The sheet is the one the point lies on as it will be stored: its own place (not
    // the last mouse-up, which for interpolated marks is the second picked mark), at
    // the precision it is written with, so that a point computed a hair off a sheet
    // line lands on the side its coordinates say.
    if (ChooseDestination(WrittenPoint(at, CreatePrecision), lm, sem, page, layer)) {
        const int decimals = CoordDecimals(CreatePrecision);
        auto coord = [&](Extended v) {
            QString text = FloatToFixed(v, decimals);
            if (interpolated && text.size() < 8)
                text = QString(8 - text.size(), u' ') + text;
            return text;
        };
        const bool made = IssueCommand(mcNewPoint, [&] {
            return TCommandParams()
                .Int(page)
                .Int(layer)
                .Text(sem)
                .Text(coord(at.X))
                .Text(coord(at.Y))
                .Int(CreatePrecision)
                .Fixed(signAngle)
                .Field(caption)
                .Int(captionFlag ? 1 : 0)
                .Int(PointCaptionLine)
                .Str();
        });
        if (made && !interpolated) {
            MainMap->EditedPage = page;
            MainMap->EditedLayer = layer;
            MainMap->EditedKind = 0;
            MainMap->EditedObject = -1;
            const QSize size = SurfaceSize();
            MainMap->Draw(size.width(), size.height(), 7, ddScreen);
        }
    }
    if (!fromFavourites)
        PointCode = sem;
}

void TFormMap::CreatePointByCoordinates(Extended X, Extended Y)
{
    QString sem = PointCode;
    int lm = 0;
    if (!NoSemDown(*this) && SemDlg(1, lm, sem) != mrOk)
        return;
    bool captionFlag = PointAngleDragged || AutoTextAllFromFirst != 0;
    Extended signAngle = PointSignAngle;
    if (PointCtrlFlag) {
        captionFlag = false;
        signAngle = WinToGeoAngle(AutoTextAngle);
    }
    const QString caption = captionFlag ? UserCaptionGroup(*this) : QString();
    int page = -1, layer = -1;
    if (ChooseDestination(Points.Up.Plan, lm, sem, page, layer)) {
        // Computed coordinates go out with the creation precision, as every point does.
        const int decimals = CoordDecimals(CreatePrecision);
        const bool made = IssueCommand(mcNewPoint, [&] {
            return TCommandParams()
                .Int(page)
                .Int(layer)
                .Text(sem)
                .Fixed(X, decimals)
                .Fixed(Y, decimals)
                .Int(CreatePrecision)
                .Fixed(signAngle)
                .Field(caption)
                .Int(captionFlag ? 1 : 0)
                .Int(PointCaptionLine)
                .Str();
        });
        if (made) {
            MainMap->EditedPage = page;
            MainMap->EditedLayer = layer;
            MainMap->EditedKind = 0;
            MainMap->EditedObject = -1;
            const QSize size = SurfaceSize();
            MainMap->Draw(size.width(), size.height(), 7, ddScreen);
        }
    }
    PointCode = sem;
}

void TFormMap::CreateTextObject()
{
    int page = -1, layer = -1;
    // Texts go to the caption layer, not by the layer rules.
    const std::uint8_t autoLayer = DestAutoLayer;
    const QString layerName = DestLayerName;
    if (DestAutoLayer == 1) {
        DestAutoLayer = 0;
        DestLayerName = MainMap->CaptionLayerName;
    }
    const bool placed = ChooseDestination(Points.Up.Plan, 0, QString(), page, layer);
    DestAutoLayer = autoLayer;
    DestLayerName = layerName;
    if (!placed)
        return;
    const TGeoPoint at = CreationPoint();
    const bool made = IssueCommand(mcNewText, [&] {
        return TCommandParams()
            .Int(page)
            .Int(layer)
            .Text(TextCaption)
            .Fixed(at.X)
            .Fixed(at.Y)
            .Int(TextAngle)
            .Fixed(1)
            .Text(StyleNameField(TextStyleName))
            .Int(TextStyleName.isEmpty() ? 1 : 0)
            .Text(TextFontName)
            .Int(TextColor)
            .Fixed(TextFontSize)
            .Text(FontStylesToStr(TextFontStyle))
            .Str();
    });
    if (!made)
        return;
    const QSize size = SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 3, ddScreen);
    TextAngleDragged = false;
    MouseStep = 1;
}

void TFormMap::SetBaseLinePoint()
{
    QWidget* palette = FormInstr1 ? FormInstr1->FormInstr2 : nullptr;
    if (!palette || (MouseStep != 1 && MouseStep != 2))
        return;
    const TGeoPoint at = CreationPoint();
    const bool start = MouseStep == 1;
    auto* x = palette->findChild<TNumEdit*>(start ? QStringLiteral("NumEdit1") : QStringLiteral("NumEdit3"));
    auto* y = palette->findChild<TNumEdit*>(start ? QStringLiteral("NumEdit2") : QStringLiteral("NumEdit4"));
    if (x)
        x->SetFloatValue(at.X);
    if (y)
        y->SetFloatValue(at.Y);
    SetMouseMode(mmBaseLinePoint, 2, false);
}

void TFormMap::CreatePointRelease()
{
    CreatePointUp();
    CreatePointObject();
}

void TFormMap::CreateTextRelease()
{
    CreateTextObject();
}

void TFormMap::BaseLinePointRelease()
{
    SetBaseLinePoint();
}
