// The composite fields of the object commands.
#include "dialogs/objects/ObjectFields.h"

#include "engine/commands/MapCommand.h"
#include "foundation/DelphiFormat.h"

int CoordDecimals(TPrecision precision)
{
    return precision >= 1 && precision <= 3 ? precision : 0;
}

QString CoordText(Extended value, TPrecision precision)
{
    return FloatToFixed(value, CoordDecimals(precision));
}

QString UserTextsField(const ArrUserTexts& texts)
{
    QString field;
    for (const RUserText& t : texts)
        field += TCommandValues().Fixed(t.Dx).Fixed(t.Dy).Int(t.Angle).Fixed(t.SizeFactor).Int(t.Show).Group();
    return field;
}

QString LineNodesField(const ArrLineNodes& nodes, TPrecision precision, const std::vector<int>* origins)
{
    const int decimals = CoordDecimals(precision);
    QString field;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const RGLineNodeData& n = nodes[i];
        TCommandValues values;
        values.Fixed(n.Position.X, decimals)
            .Fixed(n.Position.Y, decimals)
            .Int(n.NodeType)
            .Fixed(n.SignShift)
            .Int(n.SegmentType)
            .Int(n.TextCounter)
            .Int(n.Curve)
            .Int(n.InvertText);
        if (origins)
            values.Int(i < origins->size() ? (*origins)[i] : -1);
        field += values.Group();
    }
    return field;
}

QString PolygonNodesField(const ArrPolygonNodes& nodes, TPrecision precision)
{
    const int decimals = CoordDecimals(precision);
    QString field;
    for (const RGPolygonNode& n : nodes)
        field += TCommandValues()
                     .Fixed(n.Position.X, decimals)
                     .Fixed(n.Position.Y, decimals)
                     .Fixed(n.SignShift)
                     .Int(n.SegmentType)
                     .Int(n.SegmentStyle)
                     .Int(n.CornerLine)
                     .Int(n.CornerPicture)
                     .Int(n.Curve)
                     .Group();
    return field;
}

QString IntrPolygonsField(const ArrIntrPolygons& contours, TPrecision precision)
{
    const int decimals = CoordDecimals(precision);
    QString field;
    for (const ArrPolygonNodes& contour : contours) {
        field += QLatin1Char('(');
        for (const RGPolygonNode& n : contour)
            field += TCommandValues()
                         .Fixed(n.Position.X, decimals)
                         .Fixed(n.Position.Y, decimals)
                         .Fixed(n.SignShift)
                         .Int(n.SegmentStyle)
                         .Int(n.CornerPicture)
                         .Int(n.Curve)
                         .Group();
        field += QLatin1Char(')');
    }
    return field;
}

QString OverLinesField(const QStringList& semantics)
{
    TCommandValues values;
    for (const QString& s : semantics)
        values.Text(s);
    return values.Str();
}

QString StyleNameField(const QString& styleName)
{
    if (styleName.isEmpty())
        return styleName;
    return QLatin1Char('*') + styleName.mid(1);
}
