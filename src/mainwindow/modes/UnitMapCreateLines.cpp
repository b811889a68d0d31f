// The creators of lines and polygons from the node array, and the two constructions that
// end in a polygon: the strip along the line drawn and the circle drawn with the mouse.
#include "mainwindow/UnitMap.h"

#include "dialogs/objects/FormObjectDest.h"
#include "dialogs/objects/ObjectFields.h"
#include "engine/GeoMap.h"
#include "foundation/GeoServ.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/FormInstr1.h"
#include "mainwindow/modes/Creators.h"
#include "survey/SurveyDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <cmath>
#include <numbers>

namespace {

const QString WrongAction = QStringLiteral("Неверное действие!");

void DrawChanged(TFormMap& form, int page, int layer, int kind)
{
    MainMap->EditedPage = page;
    MainMap->EditedLayer = layer;
    MainMap->EditedKind = std::uint8_t(kind);
    MainMap->EditedObject = -1;
    const QSize size = form.SurfaceSize();
    MainMap->Draw(size.width(), size.height(), 7, ddScreen);
}

// Segment type and style of a strip edge by its type (0 main, 1 special I, 2 special II).
void EdgeAttributes(int type, RCreateNode& node)
{
    node.SegmentType = std::uint8_t(type);
    node.SegmentStyle = type == 1 ? 1 : 0;
}

} // namespace

QString NewLineNodesField(const TCreateNodeArr& nodes, int decimals)
{
    QString field;
    for (const RCreateNode& n : nodes)
        field += TCommandValues()
                     .Fixed(n.Point.X, decimals)
                     .Fixed(n.Point.Y, decimals)
                     .Int(0)
                     .Fixed(-1)
                     .Int(0)
                     .Int(-1)
                     .Int(n.Curve)
                     .Int(0)
                     .Group();
    return field;
}

QString NewPolygonNodesField(const TCreateNodeArr& nodes, int decimals)
{
    QString field;
    for (const RCreateNode& n : nodes)
        field += TCommandValues()
                     .Fixed(n.Point.X, decimals)
                     .Fixed(n.Point.Y, decimals)
                     .Fixed(-1)
                     .Int(n.SegmentType)
                     .Int(n.SegmentStyle)
                     .Int(n.NodeLine)
                     .Int(n.NodePicture)
                     .Group();
    return field;
}

QString NewLineFromNodesParams(int page, int layer, const QString& sem, int precision, const QString& nodes)
{
    return TCommandParams()
        .Int(page)
        .Int(layer)
        .Text(sem)
        .Text(QString())
        .Int(0)
        .Fixed(0)
        .Int(precision)
        .Text(QString())
        .Field(nodes)
        .Str();
}

QString NewPolygonFromNodesParams(int page, int layer, const QString& sem, const QString& nodes, int precision,
                                  int captionAngle)
{
    return TCommandParams()
        .Int(page)
        .Int(layer)
        .Text(sem)
        .Field(nodes)
        .Int(precision)
        .Text(QString())
        .Fixed(0)
        .Fixed(0)
        .Text(QString())
        .Int(captionAngle)
        .Str();
}

void TFormMap::CreateLineObject()
{
    if (CreateNodes.size() < 2) {
        ShowMsgDialog(WrongAction, QStringLiteral("Для создания линии нужно не менее 2 узлов"));
        return;
    }
    QString sem = LineCode;
    int lm = 1;
    bool fromFavourites = false;
    const bool chosen = ChooseWorkSemantics(lm, sem, fromFavourites);
    const TCreateNodeArr nodes = std::exchange(CreateNodes, {});
    int page = -1, layer = -1;
    if (chosen && ChooseDestination(Points.Up.Plan, lm, sem, page, layer)) {
        // A line at precision 0 still keeps centimetres.
        const int decimals = CreatePrecision >= 1 && CreatePrecision <= 3 ? CreatePrecision : 2;
        const QString field = NewLineNodesField(nodes, decimals);
        if (IssueCommand(mcNewLine, [&] { return NewLineFromNodesParams(page, layer, sem, CreatePrecision, field); }))
            DrawChanged(*this, page, layer, 1);
    }
    SetMouseMode(mmCreateLine, 0, true);
    if (chosen && !fromFavourites)
        LineCode = sem;
    if (!chosen)
        MainMap->PaintBitmap();
}

void TFormMap::CreatePolygonObject()
{
    if (CreateNodes.size() < 3) {
        ShowMsgDialog(WrongAction, QStringLiteral("Для создания полигона нужно не менее 3 узлов"));
        return;
    }
    QString sem = PolygonCode;
    int lm = 2;
    bool fromFavourites = false;
    const bool chosen = ChooseWorkSemantics(lm, sem, fromFavourites);
    const TCreateNodeArr nodes = std::exchange(CreateNodes, {});
    int page = -1, layer = -1;
    if (chosen && ChooseDestination(Points.Up.Plan, lm, sem, page, layer)) {
        const QString field = NewPolygonNodesField(nodes, CoordDecimals(CreatePrecision));
        if (IssueCommand(mcNewPolygon,
                         [&] { return NewPolygonFromNodesParams(page, layer, sem, field, CreatePrecision, -1); }))
            DrawChanged(*this, page, layer, 2);
    }
    SetMouseMode(mmCreatePolygon, 0, true);
    if (chosen && !fromFavourites)
        PolygonCode = sem;
    if (!chosen)
        MainMap->PaintBitmap();
    if (ResetPolygonNodeAttributes) {
        PolygonSegmentType = PolygonSegmentStyle = PolygonNodeLine = PolygonNodePicture = 0;
        CheckCreatePolygonItems();
        if (FormInstr1)
            FormInstr1->UpdatePolygonPanel();
    }
}

void TFormMap::CreateStripObject()
{
    const std::size_t n = CreateNodes.size();
    bool distinct = n >= 2;
    for (std::size_t i = 1; distinct && i < n; ++i)
        distinct = CreateNodes[i].Point.X != CreateNodes[i - 1].Point.X ||
                   CreateNodes[i].Point.Y != CreateNodes[i - 1].Point.Y;
    if (!distinct) {
        // Every node needs a direction to its neighbour to be offset along.
        ShowMsgDialog(WrongAction, QStringLiteral("Для построения полосы нужно не менее 2 несовпадающих узлов"));
        return;
    }
    int position = 2, leftType = 0, rightType = 0;
    Extended width = 3;
    if (QStripDialog(position, leftType, rightType, width) != mrOk)
        return;
    const Extended w = position == 2 ? width / 2 : width;
    std::vector<TGeoPoint> left(n), right(n);
    for (std::size_t i = 0; i < n; ++i) {
        const TGeoPoint& p = CreateNodes[i].Point;
        TGeoAngle rightDir = 0, leftDir = 0;
        Extended length = w;
        if (i == 0 || i == n - 1) {
            TGeoAngle d = 0;
            if (i == 0)
                DirAngle(CreateNodes[0].Point, CreateNodes[1].Point, d);
            else
                DirAngle(CreateNodes[n - 2].Point, CreateNodes[n - 1].Point, d);
            rightDir = fNormalAngle(d + 90);
            leftDir = fNormalAngle(d - 90);
        } else {
            TGeoAngle d1 = 0, d2 = 0;
            DirAngle(CreateNodes[i - 1].Point, p, d1);
            DirAngle(p, CreateNodes[i + 1].Point, d2);
            const TGeoAngle bL = BetLeft(d1, d2);
            const TGeoAngle bR = BetRight(d1, d2);
            if (bL != 180) {
                const Extended half = (180 - std::min(bL, bR)) / 2 * std::numbers::pi_v<Extended> / 180;
                length = std::fabs(w / std::cos(half));
            }
            rightDir = NextDirAngle(d1, bR / 2, atRight);
            leftDir = NextDirAngle(d1, bL / 2, atLeft);
        }
        right[i] = PGZ(p, length, rightDir);
        left[i] = PGZ(p, length, leftDir);
    }
    std::vector<TGeoPoint> first, second;
    for (std::size_t i = 0; i < n; ++i)
        first.push_back(position == 3 ? CreateNodes[i].Point : left[i]);
    for (std::size_t i = n; i-- > 0;)
        second.push_back(position == 1 ? CreateNodes[i].Point : right[i]);
    TCreateNodeArr outline;
    for (std::size_t i = 0; i < 2 * n; ++i) {
        RCreateNode node;
        node.Point = i < n ? first[i] : second[i - n];
        if (i < n - 1)
            EdgeAttributes(leftType, node);
        else if (i >= n && i < 2 * n - 1)
            EdgeAttributes(rightType, node);
        outline.push_back(node);
    }
    CreateNodes = std::move(outline);
    CreatePolygonObject();
}

void TFormMap::CreateCircleObject()
{
    const TGeoPoint centre = Points.Down.Plan;
    Extended radius = 0;
    Dist(centre, Points.Up.Plan, radius);
    if (radius < 0.001L) {
        ShowMsgDialog(WrongAction,
                      QStringLiteral("Для создания окружности выберете центр, нажмите левую клавишу мыши "
                                     "и не отпуская, протяните для задания радиуса"));
        return;
    }
    const Extended t = CircleTolerance;
    if (!(t > 0) || !(t < radius)) {
        ShowMsgDialog(WrongAction, QStringLiteral("Точность построения должна быть больше 0 и меньше радиуса"));
        return;
    }
    const Extended step = 2 * std::acos((radius - t) / radius) * 180 / std::numbers::pi_v<Extended>;
    CreateNodes.clear();
    for (int k = 0; k * step <= 360; ++k) {
        RCreateNode node;
        node.Point = PGZ(centre, radius, k * step);
        node.NodeLine = 1;
        node.NodePicture = 1;
        CreateNodes.push_back(node);
    }
    CreatePolygonObject();
}

void TFormMap::CreateLineFromNodes() { CreateLineObject(); }

void TFormMap::CreatePolygonFromNodes() { CreatePolygonObject(); }

void TFormMap::CircleRelease() { CreateCircleObject(); }

void TFormMap::SetPolygonAttributes(int type, int style, int nodeLine, int nodePicture)
{
    if (type >= 0) {
        PolygonSegmentType = std::uint8_t(type);
        if (PolygonSegmentStyle != 2)
            PolygonSegmentStyle = type == 1 ? 1 : 0;
    }
    if (style == 0)
        PolygonSegmentStyle = PolygonSegmentType == 1 ? 1 : 0;
    else if (style == 2)
        PolygonSegmentStyle = 2;
    if (nodeLine >= 0)
        PolygonNodeLine = std::uint8_t(nodeLine);
    if (nodePicture >= 0)
        PolygonNodePicture = std::uint8_t(nodePicture);
    CheckCreatePolygonItems();
    if (FormInstr1)
        FormInstr1->UpdatePolygonPanel();
}

namespace {

// The attribute items of the polygon creation pop-up: caption, name, set; each set is
// checked as one group.
struct TPolygonItem {
    const char* Caption;
    const char* Name;
    int Set;   // 0 type, 1 style, 2 node line, 3 node picture
};
const TPolygonItem PolygonItems[] = {
    {"Основной сегмент", "NPSegmentTypeMain", 0},
    {"Специальный сегмент тип I", "NPSegmentTypeSpecial1", 0},
    {"Специальный сегмент тип II", "NPSegmentTypeSpecial2", 0},
    {"Видимый сегмент", "NPSegmentStyleVisible", 1},
    {"Скрытый сегмент", "NPSegmentStyleInvisible", 1},
    {"Линия к узлу есть", "NPNodeLineOn", 2},
    {"Линия к узлу нет", "NPNodeLineOff", 2},
    {"Рисунок в узле есть", "NPNodePicON", 3},
    {"Рисунок в узле нет", "NPNodePicOff", 3},
};

}  // namespace

void TFormMap::CheckCreatePolygonItems()
{
    if (!PMCreatePolygon)
        return;
    const auto check = [this](const char* name) {
        if (auto* a = PMCreatePolygon->findChild<QAction*>(QLatin1String(name)))
            a->setChecked(true);
    };
    // A value outside a set leaves its items as they are.
    static const char* const types[] = {"NPSegmentTypeMain", "NPSegmentTypeSpecial1", "NPSegmentTypeSpecial2"};
    if (PolygonSegmentType < 3)
        check(types[PolygonSegmentType]);
    if (PolygonSegmentStyle <= 2)
        check(PolygonSegmentStyle == 2 ? "NPSegmentStyleInvisible" : "NPSegmentStyleVisible");
    if (PolygonNodeLine <= 1)
        check(PolygonNodeLine == 0 ? "NPNodeLineOn" : "NPNodeLineOff");
    if (PolygonNodePicture <= 1)
        check(PolygonNodePicture == 0 ? "NPNodePicON" : "NPNodePicOff");
}

void TFormMap::ConnectCreationMenus()
{
    auto on = [this](QMenu* menu, const char* caption, std::function<void()> act) {
        if (!menu)
            return;
        const QString text = QString::fromUtf8(caption);
        for (QAction* a : menu->actions())
            if (a->text() == text)
                connect(a, &QAction::triggered, this, [act] { act(); });
    };
    on(PMCreateLine, "Закончить линию", [this] { CreateLineObject(); });
    on(PMCreateLine, "Закончить полосу", [this] {
        CreateStripObject();
        SetMouseMode(mmCreateLine, 0, true);
    });
    on(PMCreatePolygon, "Закончить полигон", [this] { CreatePolygonObject(); });
    on(PMCreatePolygon, "Основной сегмент", [this] { SetPolygonAttributes(0, -1, -1, -1); });
    on(PMCreatePolygon, "Специальный сегмент тип I", [this] { SetPolygonAttributes(1, -1, -1, -1); });
    on(PMCreatePolygon, "Специальный сегмент тип II", [this] { SetPolygonAttributes(2, -1, -1, -1); });
    on(PMCreatePolygon, "Видимый сегмент", [this] { SetPolygonAttributes(-1, 0, -1, -1); });
    on(PMCreatePolygon, "Скрытый сегмент", [this] { SetPolygonAttributes(-1, 2, -1, -1); });
    on(PMCreatePolygon, "Линия к узлу есть", [this] { SetPolygonAttributes(-1, -1, 0, -1); });
    on(PMCreatePolygon, "Линия к узлу нет", [this] { SetPolygonAttributes(-1, -1, 1, -1); });
    on(PMCreatePolygon, "Рисунок в узле есть", [this] { SetPolygonAttributes(-1, -1, -1, 0); });
    on(PMCreatePolygon, "Рисунок в узле нет", [this] { SetPolygonAttributes(-1, -1, -1, 1); });
    // The attribute items show the attributes of the next nodes, each set as one group.
    if (PMCreatePolygon) {
        QActionGroup* groups[4] = {};
        for (const TPolygonItem& item : PolygonItems)
            for (QAction* a : PMCreatePolygon->actions())
                if (a->text() == QString::fromUtf8(item.Caption)) {
                    a->setObjectName(QLatin1String(item.Name));
                    a->setCheckable(true);
                    if (!groups[item.Set])
                        groups[item.Set] = new QActionGroup(PMCreatePolygon);
                    groups[item.Set]->addAction(a);
                }
        CheckCreatePolygonItems();
        // The palette's own buttons change the attributes too.
        connect(PMCreatePolygon, &QMenu::aboutToShow, this, [this] { CheckCreatePolygonItems(); });
    }
    // The mode items; only texts and points press their palette button.
    on(NMouseMode, "Создание текстовых объектов", [this] { SetMouseMode(mmCreateText, 0, true); });
    on(NMouseMode, "Создание точечных объектов", [this] { SetMouseMode(mmCreatePoint, 0, true); });
    on(NMouseMode, "Создание линейных объектов", [this] { SetMouseMode(mmCreateLine, 0, false); });
    on(NMouseMode, "Создание площадных объектов", [this] { SetMouseMode(mmCreatePolygon, 0, false); });
    on(NMouseMode, "Создание отметок", [this] { SetMouseMode(mmCreateOtm, 0, false); });
    // The settings item stands in a group of its own right before the command processor's
    // group of the plan menu (the menus' final order is laid by ArrangeMenus).
    if (NPlan) {
        auto* separator = new QAction(NPlan);
        separator->setSeparator(true);
        auto* settings = new QAction(QStringLiteral("Параметры создания объектов"), NPlan);
        settings->setObjectName(QStringLiteral("NDestProp"));
        connect(settings, &QAction::triggered, this, [this] { NDestPropClick(); });
        const auto place = [this, separator, settings] {
            NPlan->removeAction(separator);
            NPlan->removeAction(settings);
            QAction* before = nullptr;
            const QList<QAction*> items = NPlan->actions();
            for (qsizetype i = 0; i < items.size(); ++i)
                if (items[i]->objectName() == QStringLiteral("N15"))
                    before = i > 0 && items[i - 1]->isSeparator() ? items[i - 1] : items[i];
            NPlan->insertAction(before, separator);
            NPlan->insertAction(before, settings);
        };
        place();
    }
    if (PageInf)
        connect(PageInf, &QAction::triggered, this, [this] { PageInfClick(); });
}

void TFormMap::NDestPropClick()
{
    ObjectDestDlg(0);
}

void TFormMap::PageInfClick()
{
    ObjectDestDlg(0);
}
