// The node lists of the line, polygon and inner-contour windows.
#include "dialogs/objects/NodeLists.h"

#include "dialogs/objects/UnitIntrPolygonProp.h"
#include "dialogs/objects/UnitLineProp.h"
#include "dialogs/objects/UnitPolygonProp.h"
#include "foundation/DelphiFormat.h"
#include "foundation/ErrorTrail.h"
#include "platform/TextFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <cmath>

std::function<bool(QString& fileName)> NodesSaveDialogHook;

TNodeButtonsState NodeButtonsState(int selectedCount)
{
    TNodeButtonsState s;
    s.Prop = selectedCount == 1;
    s.Moves = selectedCount == 1;
    s.Del = selectedCount >= 1;
    return s;
}

QString NodeShiftText(Extended shift)
{
    return shift < 0 ? QStringLiteral("нет") : FloatToStrF(shift, ffFixed, 4, 2);
}

QString OnOffText(std::uint8_t value)
{
    return value == 0 ? QStringLiteral("вкл") : QStringLiteral("выкл");
}

namespace {

// "%-3d (%8.<p>f %8.<p>f) " and the rest of a list line's format.
QString NodeLineFormat(int precision, const char* rest)
{
    const QString p = QString::number(precision >= 0 && precision <= 9 ? precision : 0);
    return QStringLiteral("%-3d (%8.") + p + QStringLiteral("f %8.") + p + QStringLiteral("f) ") +
           QString::fromUtf8(rest);
}

QString SegmentStyleText(std::uint8_t style)
{
    switch (style) {
    case 0:
        return QStringLiteral("основной");
    case 1:
        return QStringLiteral("специальный1");
    case 2:
        return QStringLiteral("скрытый");
    default:
        return QString();
    }
}

QString SegmentTypeText(std::uint8_t type)
{
    switch (type) {
    case 0:
        return QStringLiteral("основной");
    case 1:
        return QStringLiteral("специальный1");
    case 2:
        return QStringLiteral("специальный2");
    default:
        return QString();
    }
}

Extended Distance(const TGeoPoint& a, const TGeoPoint& b)
{
    const Extended dx = b.X - a.X;
    const Extended dy = b.Y - a.Y;
    return std::sqrt(dx * dx + dy * dy);
}

QString Figure(Extended value)
{
    return FloatToStrF(value, ffFixed, 12, 3);
}

}  // namespace

QString LineNodeListLine(int i, const RGLineNodeData& node, int precision)
{
    const QString type = node.NodeType == 0   ? QStringLiteral("основной")
                         : node.NodeType == 1 ? QStringLiteral("специальный")
                                              : QString();
    const QString counter = node.TextCounter < 0 ? QStringLiteral("авто") : QString::number(node.TextCounter);
    return Format(NodeLineFormat(precision, "сдвиг знака %s; тип узла %11s; счетчик текста %s"),
                  {i, node.Position.X, node.Position.Y, NodeShiftText(node.SignShift), type, counter});
}

QString PolygonNodeListLine(int i, const RGPolygonNode& node, int precision)
{
    return Format(NodeLineFormat(precision, "сдвиг знака %s; тип сегмента %s; стиль сегмента %s; "
                                            "линия к узлу %s; рисунок в узле %s"),
                  {i, node.Position.X, node.Position.Y, NodeShiftText(node.SignShift),
                   SegmentTypeText(node.SegmentType), SegmentStyleText(node.SegmentStyle),
                   OnOffText(node.CornerLine), OnOffText(node.CornerPicture)});
}

QString IntrNodeListLine(int i, const RGPolygonNode& node, int precision)
{
    return Format(NodeLineFormat(precision, "сдвиг знака %s; стиль сегмента %s; рисунок в узле %s"),
                  {i, node.Position.X, node.Position.Y, NodeShiftText(node.SignShift),
                   SegmentStyleText(node.SegmentStyle), OnOffText(node.CornerPicture)});
}

QString IntrPolygonListLine(int i, const ArrPolygonNodes& contour)
{
    return Format(QStringLiteral("%-3d (число узлов: %d) "), {i, contour.size()});
}

Extended ContourLength(const ArrLineNodes& nodes)
{
    Extended length = 0;
    for (size_t i = 1; i < nodes.size(); ++i)
        length += Distance(nodes[i - 1].Position, nodes[i].Position);
    return length;
}

QString LineLengthText(const ArrLineNodes& nodes)
{
    return QStringLiteral("Длина контура=") + Figure(ContourLength(nodes)) + QStringLiteral("м");
}

Extended RingArea(const ArrPolygonNodes& ring)
{
    const size_t n = ring.size();
    Extended twice = 0;
    for (size_t i = 0; i < n; ++i) {
        const TGeoPoint& next = ring[(i + 1) % n].Position;
        const TGeoPoint& prev = ring[(i + n - 1) % n].Position;
        twice += ring[i].Position.X * (next.Y - prev.Y);
    }
    return twice / 2;
}

Extended RingPerimeter(const ArrPolygonNodes& ring)
{
    const size_t n = ring.size();
    Extended perimeter = 0;
    for (size_t i = 0; i < n; ++i)
        perimeter += Distance(ring[i].Position, ring[(i + 1) % n].Position);
    return perimeter;
}

Extended PolygonArea(const ArrPolygonNodes& outer, const ArrIntrPolygons& holes)
{
    Extended area = std::fabs(RingArea(outer));
    for (const ArrPolygonNodes& hole : holes)
        area -= std::fabs(RingArea(hole));
    return area;
}

QString PolygonAreaText(const ArrPolygonNodes& outer, const ArrIntrPolygons& holes)
{
    const Extended area = PolygonArea(outer, holes);
    return QStringLiteral("Площадь полигона=") + Figure(area) + QStringLiteral("кв.м.; ") +
           Figure(area / 10000) + QStringLiteral("га; ") + QStringLiteral("периметр, внешний контур=") +
           Figure(RingPerimeter(outer)) + QStringLiteral("м");
}

QStringList NodesTxtLines(const std::vector<TGeoPoint>& positions, int precision)
{
    const QString p = QString::number(precision >= 0 && precision <= 9 ? precision : 0);
    const QString format = QStringLiteral("%-3d%8.") + p + QStringLiteral("f  %8.") + p + QStringLiteral("f ");
    QStringList lines;
    for (size_t i = 0; i < positions.size(); ++i)
        lines << Format(format, {i, positions[i].X, positions[i].Y});
    return lines;
}

void SaveNodesTxt(const QStringList& lines)
{
    QString fileName;
    if (NodesSaveDialogHook) {
        if (!NodesSaveDialogHook(fileName))
            return;
    } else {
        QFileDialog dialog(QApplication::activeWindow());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setDefaultSuffix(QStringLiteral("txt"));
        dialog.setNameFilter(QStringLiteral("Текстовые файлы (*.txt)"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        fileName = dialog.selectedFiles().first();
    }
    if (fileName.isEmpty())
        return;
    try {
        // The name is the user's own choice: written as given.
        WriteTextFileLines(fileName, lines);
    } catch (const Exception& e) {
        ShowMsgDialog(QStringLiteral("-> в txt"), e.Message);
    }
}

TLineNodeKind::Node TLineNodeKind::NewNode()
{
    return Node();
}

TModalResult TLineNodeKind::Edit(Node& n, int precision)
{
    return LineNodePropDlg(precision, n.Position.X, n.Position.Y, n.NodeType, n.SignShift, n.SegmentType,
                           n.TextCounter, n.InvertText);
}

QString TLineNodeKind::DeleteTitle()
{
    return QStringLiteral("Удаление узлов линейного объекта");
}

TPolygonNodeKind::Node TPolygonNodeKind::NewNode()
{
    return Node();
}

TModalResult TPolygonNodeKind::Edit(Node& n, int precision)
{
    return PolygonNodePropDlg(precision, n.Position.X, n.Position.Y, n.SignShift, n.SegmentType,
                              n.SegmentStyle, n.CornerLine, n.CornerPicture);
}

QString TPolygonNodeKind::DeleteTitle()
{
    return QStringLiteral("Удаление узлов площадного объекта");
}

TIntrNodeKind::Node TIntrNodeKind::NewNode()
{
    Node n;
    n.SignShift = 0;
    return n;
}

TModalResult TIntrNodeKind::Edit(Node& n, int precision)
{
    return IntrPolygonNodePropDlg(precision, n.Position.X, n.Position.Y, n.SignShift, n.SegmentStyle,
                                  n.CornerPicture);
}

QString TIntrNodeKind::DeleteTitle()
{
    return QStringLiteral("Удаление узлов отверстия полигона");
}
