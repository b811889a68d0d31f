// The commands on the free texts of a layer: create, delete, change, reorder. A text is
// addressed by sheet, layer and text position; a position that does not exist ends the
// command silently. Coordinates, size factor and own-style size are read with the
// locale's decimal separator only.
#include "engine/GeoMap.h"

namespace {

// The builders write "*" as the first character of a style name; the plan keeps ">".
QString StoredStyleName(const QString& field)
{
    if (field.isEmpty())
        return field;
    return QLatin1Char('>') + field.mid(1);
}

// The values of a text from field first on: text, X, Y, angle, size factor, style name,
// own-style flag and, when the flag is not 0, font name, colour, size and font styles.
// Fields past those are not read.
struct RTextFields {
    QString Text;
    TGeoPoint Position;
    TWinAngle Angle = 0;
    Extended SizeFactor = 1;
    QString StyleName;
    std::unique_ptr<TUserStyle> OwnStyle;   // null: the text takes its named style

    static RTextFields From(const TCommandFields& f, int first)
    {
        RTextFields t;
        t.Text = f.Text(first);
        const Extended x = f.RealLocale(first + 1);
        const Extended y = f.RealLocale(first + 2);
        t.Position = GeoPoint(x, y);
        t.Angle = f.Int(first + 3);
        t.SizeFactor = f.RealLocale(first + 4);
        t.StyleName = StoredStyleName(f.Text(first + 5));
        if (f.Flag(first + 6)) {
            auto style = std::make_unique<TUserStyle>();
            style->FontName = f.Text(first + 7);
            style->Color = f.Int(first + 8);
            style->Size = f.RealLocale(first + 9);
            style->FontStyle = f.FontStyles(first + 10);
            t.OwnStyle = std::move(style);
        }
        return t;
    }

    void StoreInto(RGText& text)
    {
        text.Text = Text;
        text.Position = Position;
        text.Angle = Angle;
        text.SizeFactor = SizeFactor;
        text.StyleName = StyleName;
        text.OwnStyle = std::move(OwnStyle);
        text.FrameValid = 0;
    }
};

}  // namespace

void TGeoMap::CmdNewText(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    RTextFields values = RTextFields::From(f, 2);
    auto text = std::make_unique<RGText>();
    values.StoreInto(*text);
    Pages.Item->Layers.Item->Texts.AddItem(std::move(text));
}

void TGeoMap::CmdDelText(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGTexts& texts = Pages.Item->Layers.Item->Texts;
    if (texts.GoItem(f.Int(2)))
        texts.DeleteItem();
}

// The own-style flag 0 takes an own style away, so the text is drawn with its named
// style again; otherwise no window could ever turn an own font off.
void TGeoMap::CmdSetTextProp(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGTexts& texts = Pages.Item->Layers.Item->Texts;
    if (!texts.GoItem(f.Int(2)))
        return;
    RTextFields values = RTextFields::From(f, 3);
    values.StoreInto(*texts.Item);
}

void TGeoMap::CmdChangeTextOrder(const TCommandFields& f)
{
    if (!MoveToCommandLayer(f))
        return;
    TGTexts& texts = Pages.Item->Layers.Item->Texts;
    const int i = f.Int(2);
    if (!texts.GoItem(i))
        return;
    texts.ChangeItems(i, f.Int(3));
}
