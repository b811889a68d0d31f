// Two services over the layers' own texts: the named texts that hold the fields of
// stamps and sheet frames ("^key%value"), read as a list and filled in through text
// commands, and the text search that hands back one hit per call.
#include "engine/GeoMap.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"

namespace {

const char* const Module = "GeoMap";

// The first sheet named pageName and its first layer named layName made current, their
// positions handed back; false when either is missing.
bool GoNamedLayer(TGPages& pages, const QString& pageName, const QString& layName, int& page,
                  int& lay)
{
    if (!pages.GoFirstItemWhere([&](const RGPage& p) { return p.Name == pageName; }))
        return false;
    TGLayers& layers = pages.Item->Layers;
    if (!layers.GoFirstItemWhere([&](const RGLayer& l) { return l.Name == layName; }))
        return false;
    page = pages.GetIndex();
    lay = layers.GetIndex();
    return true;
}

bool Matches(const QString& content, const QString& wanted, bool variword, bool varicase)
{
    const QString text = varicase ? content.toUpper() : content;
    if (!variword)
        return text == wanted;
    return !wanted.isEmpty() && text.contains(wanted);
}

}  // namespace

void TGeoMap::GetNamedTexts(const QString& PageName, const QString& LayName,
                            QStringList& NamedTexts)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.GetNamedTexts(PageName,LayName:string; var NamedTexts:TStringList);",
                      TrailArg("PageName", PageName), TrailArg("LayName", LayName));
    NamedTexts.clear();
    int page = 0;
    int lay = 0;
    if (!GoNamedLayer(Pages, PageName, LayName, page, lay))
        return;
    for (const auto& t : Pages.Item->Layers.Item->Texts)
        if (t->Text.startsWith(QLatin1Char('^')))
            NamedTexts.append(t->Text);
}

// Positions are written to the millimetre: with two decimals a filled stamp would move
// its texts by up to 5 mm on the ground.
void TGeoMap::SetNamedTexts(const QString& pagename, const QString& layname,
                            const QStringList& NamedTexts)
{
    TTrailGuard guard(Module,
                      "procedure TGeoMap.SetNamedTexts(pagename,layname:string; NamedTexts:TStringList);",
                      TrailArg("pagename", pagename), TrailArg("layname", layname));
    int page = 0;
    int lay = 0;
    if (!GoNamedLayer(Pages, pagename, layname, page, lay))
        return;
    for (const QString& line : NamedTexts) {
        const qsizetype percent = line.indexOf(QLatin1Char('%'));
        if (percent < 0)
            continue;
        const QString key = line.left(percent + 1);
        // Looked up afresh each time: every command moves the cursors.
        const int count = GetTextsCount(page, lay);
        for (int i = 0; i < count; ++i) {
            const RGText* t = Pages.At(page)->Layers.At(lay)->Texts.At(i);
            if (!t || t->Text.left(key.size()) != key)
                continue;
            QString text, styleName, fontName, fontStyle;
            Extended x = 0, y = 0, sizeFactor = 1, size = 0;
            int rotation = 0, color = 0;
            bool ownStyle = false;
            GetTextProp(page, lay, i, text, x, y, rotation, sizeFactor, styleName, ownStyle,
                        fontName, color, size, fontStyle);
            // The command takes the "*" back to the ">" the plan keeps.
            if (!styleName.isEmpty())
                styleName[0] = QLatin1Char('*');
            DoCommand(mcSetTextProp, TCommandParams()
                                         .Int(page)
                                         .Int(lay)
                                         .Int(i)
                                         .Text(line)
                                         .Fixed(x, 3)
                                         .Fixed(y, 3)
                                         .Int(rotation)
                                         .Fixed(sizeFactor)
                                         .Text(styleName)
                                         .Int(ownStyle ? 1 : 0)
                                         .Text(fontName)
                                         .Int(color)
                                         .Fixed(size)
                                         .Text(fontStyle)
                                         .Int(0));
        }
    }
}

int TGeoMap::BeginFindScript(const QString& str, int& page, int& lay, int& obj, bool variword,
                             bool varicase, QString& txt, Extended& x, Extended& y)
{
    TTrailGuard guard(Module,
                      "function TGeoMap.BeginFindScript(str:string; var page,lay,obj:integer; "
                      "variword,varicase:boolean; var txt:string; var x,y:extended):TModalResult;",
                      TrailArg("str", str));
    SearchPage = 0;
    SearchLayer = 0;
    SearchText = 0;
    return NextFindScript(str, page, lay, obj, variword, varicase, txt, x, y);
}

int TGeoMap::NextFindScript(const QString& str, int& page, int& lay, int& obj, bool variword,
                            bool varicase, QString& txt, Extended& x, Extended& y)
{
    TTrailGuard guard(Module,
                      "function TGeoMap.NextFindScript(str:string; var page,lay,obj:integer; "
                      "variword,varicase:boolean; var txt:string; var x,y:extended):TModalResult;",
                      TrailArg("str", str));
    const QString wanted = varicase ? str.toUpper() : str;
    // The sheets of this plan: counting those of another plan would stop the walk short
    // or run it past the end.
    const int sheets = Pages.GetCount();
    for (int p = SearchPage < 0 ? 0 : SearchPage; p < sheets; ++p) {
        Pages.GoItem(p);
        TGLayers& layers = Pages.Item->Layers;
        const int firstLayer = p == SearchPage ? SearchLayer : 0;
        for (int l = firstLayer < 0 ? 0 : firstLayer; l < layers.GetCount(); ++l) {
            layers.GoItem(l);
            TGTexts& texts = layers.Item->Texts;
            const int firstText = p == SearchPage && l == SearchLayer ? SearchText : 0;
            for (int t = firstText < 0 ? 0 : firstText; t < texts.GetCount(); ++t) {
                const RGText& text = *texts.At(t);
                if (!Matches(text.Text, wanted, variword, varicase))
                    continue;
                texts.GoItem(t);
                SearchPage = p;
                SearchLayer = l;
                SearchText = t + 1;
                page = p;
                lay = l;
                obj = t;
                txt = text.Text;
                x = text.Position.X;
                y = text.Position.Y;
                return mrYes;
            }
        }
    }
    SearchLayer = 0;
    SearchText = 0;
    return mrNo;
}
