// Text styles of the sign library ("Шрифты/<scale>/Стили.wri"), the resolving of a
// text's style into a concrete style, logical fonts, and the frame of a measured text
// in plan metres, turned upright when asked.
#include "semantics/signs/Symbols.h"
#include "semantics/signs/SymbolsForward.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/GeoServ.h"
#include "foundation/StringNum.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <utility>
#include <vector>

namespace {

const char* const Module = "Symbols";

// What a text gets when the library has no style at all (no styles file was read).
TUserStyle DefaultStyle()
{
    TUserStyle style;
    style.FontName = QStringLiteral("Liberation Sans");
    style.Size = 2.5L;
    return style;
}

}  // namespace

void TSymbols::LoadTextStyles(int scale)
{
    TTrailGuard guard(Module, "procedure TSymbols.LoadTextStyles(const scale:integer);",
                      TrailArg("scale", scale));
    const QString path =
        ProgramFolderPath(QStringLiteral("Шрифты/") + QString::number(scale) + QStringLiteral("/Стили.wri"));
    if (!QFileInfo(path).isFile())
        return;
    const QStringList lines = ReadTextFileLines(path, true);   // a lone CR ends a line

    // Read whole into new records first: a bad value leaves the styles as they were.
    std::vector<std::unique_ptr<TGeoTextStyle>> styles;
    int n = -1;   // lines before the first "*" belong to no style
    for (int at = 0; at < lines.size(); ++at) {
        const QString& s = lines[at];
        if (s == u'*') {
            styles.push_back(std::make_unique<TGeoTextStyle>());
            n = 0;
            continue;
        }
        if (n < 0)
            continue;
        TGeoTextStyle& style = *styles.back();
        try {
            switch (++n) {
            case 1: style.StyleName = s; break;
            case 2: style.Color = StrToInt(s); break;
            case 3: style.Size = StrToFlt(s); break;
            case 4: {
                // Only the first character counts: "13" is bold alone.
                const QChar c = s.isEmpty() ? QChar() : s[0];
                style.FontStyle = c == u'1' ? fsBoldBit : c == u'2' ? fsItalicBit
                                          : c == u'3'   ? fsUnderlineBit
                                                        : 0;
                break;
            }
            case 5: style.FontName = s; break;
            case 6: style.Comment = s; break;
            default: break;
            }
        } catch (const std::exception& e) {
            throw Exception(QStringLiteral("Ошибка в файле стилей ") + path + QStringLiteral(", строка ") +
                            QString::number(at + 1) + QStringLiteral(": ") + ExceptionMessage(e));
        }
    }
    TextStyles.DeleteAll();
    for (auto& style : styles)
        TextStyles.AddItem(std::move(style));
}

bool TSymbols::FindStyle(const QString& Name)
{
    return TextStyles.GoFirstItemWhere([&](const TGeoTextStyle& s) { return s.StyleName == Name; });
}

const TGeoTextStyle* TSymbols::StyleNamed(const QString& Name) const
{
    for (const auto& s : TextStyles)
        if (s->StyleName == Name)
            return s.get();
    return nullptr;
}

bool TSymbols::FindStyle(const QString& Name, QString& Comment, std::int32_t& Color, Extended& Size,
                         QString& FontName, std::uint8_t& FontStyle)
{
    if (!FindStyle(Name))
        return false;
    const TGeoTextStyle& s = *TextStyles.Item;
    Comment = s.Comment;
    Color = s.Color;
    Size = s.Size;
    FontName = s.FontName;
    FontStyle = s.FontStyle;
    return true;
}

void TSymbols::ResolveStyle(const std::unique_ptr<TUserStyle>& own, const QString& styleName,
                            TUserStyle& Style, bool inDots, bool roundNamed)
{
    if (own) {
        Style.FontName = own->FontName;
        Style.Color = own->Color;
        Style.FontStyle = own->FontStyle;
        Style.Size = inDots ? own->Size * DotsPerMM : own->Size;
        return;
    }
    TUserStyle named = DefaultStyle();
    const TGeoTextStyle* found = StyleNamed(styleName);
    if (!found && TextStyles.GetCount() > 0)
        found = TextStyles.At(TextStyles.GetCount() - 1);
    if (found) {
        const TGeoTextStyle& s = *found;
        named.FontName = s.FontName;
        named.Color = s.Color;
        named.FontStyle = s.FontStyle;
        named.Size = s.Size;
    }
    Style.FontName = named.FontName;
    Style.Color = named.Color;
    Style.FontStyle = named.FontStyle;
    if (!inDots)
        Style.Size = named.Size;
    else if (roundNamed)
        Style.Size = static_cast<Extended>(Round(named.Size * DotsPerMM));
    else
        Style.Size = named.Size * DotsPerMM;
}

void TSymbols::SelectTextStyle(const RSemText& SemText, TUserStyle& Style)
{
    ResolveStyle(SemText.OwnStyle, SemText.StyleName, Style, true, true);
}

void TSymbols::SelectTextStyle2(const RVpText& VpText, TUserStyle& Style)
{
    ResolveStyle(VpText.OwnStyle, VpText.StyleName, Style, true, true);
}

void TSymbols::SelectTextStyle3(const RGText& Text, TUserStyle& Style)
{
    ResolveStyle(Text.OwnStyle, Text.StyleName, Style, true, true);
}

void TSymbols::SelectTextStyleOver(const RVpText& VpText, TUserStyle& Style)
{
    ResolveStyle(VpText.OwnStyle, VpText.StyleName, Style, false, false);
}

void TSymbols::DefLogFont(TLogFont& lf) const
{
    lf = TLogFont();
    lf.CharSet = 1;        // the platform's default character set
    lf.OutPrecision = 4;   // true-type precision
}

void TSymbols::UserStyleToLF(const TUserStyle& US, TLogFont& LF) const
{
    LF.FaceName = US.FontName;
    LF.Weight = (US.FontStyle & fsBoldBit) ? 700 : 0;
    LF.Italic = (US.FontStyle & fsItalicBit) ? 1 : 0;
    LF.Underline = (US.FontStyle & fsUnderlineBit) ? 1 : 0;
    LF.Height = static_cast<std::int32_t>(Round(US.Size));
}

void TSymbols::GeoAngleToLF(TGeoAngle an, TLogFont& lf) const
{
    lf.Escapement = GeoToWinAngle(an);
    lf.Orientation = lf.Escapement;
}

void TSymbols::GetTextRect2(TTextMeasurer& Canv, const QString& txt, TLogFont& LogFont,
                            std::uint8_t autoinvert, TGeoPoint& Point, TGeoRect& Rect)
{
    TTrailGuard guard(Module,
                      "procedure TSymbols.GetTextRect2(Canv:TCanvas; txt:string; var LogFont:TLogFont; "
                      "autoinvert:byte; var Point:TGeoPoint; var Rect:TGeoRect);",
                      TrailArg("txt", txt), TrailArg("autoinvert", autoinvert));
    const Extended k = MetresPerDot;
    const std::int32_t o = LogFont.Orientation;
    LogFont.Escapement = 0;
    LogFont.Orientation = 0;
    const TTextExtent upright = Canv.TextExtent(txt, LogFont);
    TTextExtent turned = upright;
    if (o != 0) {
        LogFont.Escapement = o;
        LogFont.Orientation = o;
        turned = Canv.TextExtent(txt, LogFont);
    }
    const Extended W = (o != 0 ? turned.Width : upright.Width) * k;
    const Extended A = upright.Height * k;
    const Extended E = (o != 0 ? turned.Height : upright.Height) * k;
    const TGeoAngle f = WinToGeoAngle(o);

    TGeoPoint c0 = Point;
    TGeoPoint c1, c2, c3;
    SignPGZ(c0.X, c0.Y, W, f, c1.X, c1.Y);
    SignPGZ(c0.X, c0.Y, A, f + 90, c3.X, c3.Y);
    SignPGZ(c1.X, c1.Y, A, f + 90, c2.X, c2.Y);
    const Extended d = (E - A) / 2;

    const bool turn = (autoinvert == 1 && f >= 180 - UprightTolerance && f <= 360 - UprightTolerance) ||
                      (autoinvert == 2 && f >= 0 && f <= 180);
    // The anchor of a taller turned font moves back by half the extra height.
    const auto shift = [&](const TGeoPoint& from, TGeoAngle direction) {
        TGeoPoint moved;
        SignPGZ(from.X, from.Y, d, direction + 90, moved.X, moved.Y);
        return GeoPoint(from.X - (moved.X - from.X), from.Y - (moved.Y - from.Y));
    };
    if (!turn) {
        Rect = {c0, c1, c2, c3};
        if (d != 0)
            Point = shift(c0, f);
        return;
    }
    Rect = {c2, c3, c0, c1};
    std::int32_t turnedOrientation = o + 1800;
    if (turnedOrientation > 3600)
        turnedOrientation -= 3600;
    LogFont.Orientation = turnedOrientation;
    LogFont.Escapement = turnedOrientation;
    Point = c2;
    if (d != 0)
        Point = shift(c2, WinToGeoAngle(turnedOrientation));
}
