// The node lists of the line, polygon and inner-contour windows, written once for the
// three kinds of node: the list lines, "Добавить", "Вставить", "Свойства", "Удалить",
// "Вперед", "Назад", "В начало", "В конец" with their selection rule, "-> в txt", and the
// length, area and perimeter the windows show. The line window also follows each
// node's origin, the old node whose attached points it keeps, through the operations.
#pragma once

#include "controls/TextListBox.h"
#include "foundation/GeoDataObjects.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/STDserv.h"

#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// The selection rule of the node buttons: none selected disables "Свойства", "Удалить"
// and the four moves; one enables all; several enable "Удалить" only. "Добавить" and
// "Вставить" are always enabled.
struct TNodeButtonsState {
    bool Prop = false;
    bool Del = false;
    bool Moves = false;
};
TNodeButtonsState NodeButtonsState(int selectedCount);

// "Вперед" swaps with the node before, "Назад" with the one after, "В начало" with the
// first and "В конец" with the last; the nodes between stay where they are.
enum TNodeMove { nmForward, nmBack, nmFirst, nmLast };

// A copy of the node at at stands at at, the node itself and those after it one place
// further on; the copy has no origin (the points stay with the node they hang on).
// False, nothing changed, for a position outside the nodes.
template <class N>
bool InsertNodeCopy(std::vector<N>& nodes, std::vector<int>* origins, int at)
{
    if (at < 0 || at >= static_cast<int>(nodes.size()))
        return false;
    const N copy = nodes[static_cast<size_t>(at)];
    nodes.insert(nodes.begin() + at, copy);
    if (origins && at <= static_cast<int>(origins->size()))
        origins->insert(origins->begin() + at, -1);
    return true;
}

// Removes the nodes at lines (ascending); the others keep their order.
template <class N>
void DeleteNodes(std::vector<N>& nodes, std::vector<int>* origins, const TSelectedLines& lines)
{
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (*it < 0 || *it >= static_cast<int>(nodes.size()))
            continue;
        nodes.erase(nodes.begin() + *it);
        if (origins && *it < static_cast<int>(origins->size()))
            origins->erase(origins->begin() + *it);
    }
}

// The move of the node at i; false, nothing changed, when there is no such node or it
// stands where the move would take it.
template <class N>
bool MoveNode(std::vector<N>& nodes, std::vector<int>* origins, int i, TNodeMove move)
{
    const int n = static_cast<int>(nodes.size());
    if (i < 0 || i >= n)
        return false;
    const int j = move == nmForward ? i - 1 : move == nmBack ? i + 1 : move == nmFirst ? 0 : n - 1;
    if (j < 0 || j >= n || j == i)
        return false;
    std::swap(nodes[static_cast<size_t>(i)], nodes[static_cast<size_t>(j)]);
    if (origins && i < static_cast<int>(origins->size()) && j < static_cast<int>(origins->size()))
        std::swap((*origins)[static_cast<size_t>(i)], (*origins)[static_cast<size_t>(j)]);
    return true;
}

// The sign shift in a list line: two decimals in at most four significant digits, or
// "нет" when negative (automatic).
QString NodeShiftText(Extended shift);
// "вкл" for 0, "выкл" for anything else.
QString OnOffText(std::uint8_t value);

// The list line of node i of each kind, its coordinates with precision decimals.
QString LineNodeListLine(int i, const RGLineNodeData& node, int precision);
QString PolygonNodeListLine(int i, const RGPolygonNode& node, int precision);
QString IntrNodeListLine(int i, const RGPolygonNode& node, int precision);
// The list line of inner contour i: "%-3d (число узлов: %d) ".
QString IntrPolygonListLine(int i, const ArrPolygonNodes& contour);

// The sum of the straight distances between consecutive nodes, no closing segment; 0
// for fewer than two nodes.
Extended ContourLength(const ArrLineNodes& nodes);
// "Длина контура=" with the length, three decimals, "м".
QString LineLengthText(const ArrLineNodes& nodes);
// S = ½ Σ X_i (Y_(i+1) − Y_(i−1)) around the ring: positive for a ring running
// clockwise on the plan; 0 for no node.
Extended RingArea(const ArrPolygonNodes& ring);
// The outer ring's distances with the closing one; 0 for no node.
Extended RingPerimeter(const ArrPolygonNodes& ring);
// |S outer| − Σ |S inner|, square metres.
Extended PolygonArea(const ArrPolygonNodes& outer, const ArrIntrPolygons& holes);
// "Площадь полигона=…кв.м.; …га; периметр, внешний контур=…м".
QString PolygonAreaText(const ArrPolygonNodes& outer, const ArrIntrPolygons& holes);

// "-> в txt": one line per node, "%-3d%8.<p>f  %8.<p>f ".
QStringList NodesTxtLines(const std::vector<TGeoPoint>& positions, int precision);
// The save dialog ("Текстовые файлы|*.txt", extension "txt"), then the lines written in
// code page 1251 with CR LF. A file that cannot be written is said in a message; nothing
// is written after a cancel.
void SaveNodesTxt(const QStringList& lines);
// Replaces the save dialog (tests): true with the file name chosen.
extern std::function<bool(QString& fileName)> NodesSaveDialogHook;

// What each kind of node brings to the one list editor below: its default node, its
// list line, its window and the title of its deletion question.
struct TLineNodeKind {
    using Node = RGLineNodeData;
    static Node NewNode();
    static QString ListLine(int i, const Node& node, int precision) { return LineNodeListLine(i, node, precision); }
    static TModalResult Edit(Node& node, int precision);
    static QString DeleteTitle();
};

struct TPolygonNodeKind {
    using Node = RGPolygonNode;
    static Node NewNode();
    static QString ListLine(int i, const Node& node, int precision) { return PolygonNodeListLine(i, node, precision); }
    static TModalResult Edit(Node& node, int precision);
    static QString DeleteTitle();
};

struct TIntrNodeKind {
    using Node = RGPolygonNode;
    // A fixed shift of 0 mm, not automatic as an outer node.
    static Node NewNode();
    static QString ListLine(int i, const Node& node, int precision) { return IntrNodeListLine(i, node, precision); }
    static TModalResult Edit(Node& node, int precision);
    static QString DeleteTitle();
};

// The buttons of a node list, each null when the window has none.
struct TNodeButtons {
    QPushButton* Prop = nullptr;
    QPushButton* Add = nullptr;
    QPushButton* Del = nullptr;
    QPushButton* Insert = nullptr;
    QPushButton* GoUp = nullptr;
    QPushButton* GoDown = nullptr;
    QPushButton* GoFirst = nullptr;
    QPushButton* GoLast = nullptr;
};

// One node list over its controls. Each operation acts on the window's own nodes (and
// origins, when followed), refills the list, which leaves no line selected, applies the
// selection rule and calls Changed. Precision gives the decimals of the moment.
template <class K>
class TNodeListEditor {
public:
    using Node = typename K::Node;

    TNodeListEditor(std::vector<Node>& nodes, std::vector<int>* origins, TTextListBox* list,
                    const TNodeButtons& buttons, std::function<int()> precision,
                    std::function<void()> changed)
        : Nodes(nodes), Origins(origins), List(list), Buttons(buttons),
          Precision(std::move(precision)), Changed(std::move(changed))
    {
        const auto on = [this](QPushButton* b, std::function<void()> act) {
            if (b) {
                b->setAutoDefault(false);
                QObject::connect(b, &QPushButton::clicked, &Context, std::move(act));
            }
        };
        on(Buttons.Prop, [this] { Prop(); });
        on(Buttons.Add, [this] { Add(); });
        on(Buttons.Del, [this] { Del(); });
        on(Buttons.Insert, [this] { Insert(); });
        on(Buttons.GoUp, [this] { Move(nmForward); });
        on(Buttons.GoDown, [this] { Move(nmBack); });
        on(Buttons.GoFirst, [this] { Move(nmFirst); });
        on(Buttons.GoLast, [this] { Move(nmLast); });
        List->OnDblClick = [this] { Prop(); };
        QObject::connect(List, &QListWidget::itemSelectionChanged, &Context, [this] { UpdateButtons(); });
        Refill();
    }

    // The window's controls outlive the editor: nothing of theirs may call it after.
    ~TNodeListEditor()
    {
        if (List)
            List->OnDblClick = nullptr;
    }
    TNodeListEditor(const TNodeListEditor&) = delete;
    TNodeListEditor& operator=(const TNodeListEditor&) = delete;

    // The list lines anew, the rule applied; the window's figures follow.
    void Refill()
    {
        List->clear();
        const int precision = Precision();
        for (size_t i = 0; i < Nodes.size(); ++i)
            List->addItem(K::ListLine(static_cast<int>(i), Nodes[i], precision));
        UpdateButtons();
        if (Changed)
            Changed();
    }

    void UpdateButtons()
    {
        TSelectedLines lines;
        TextListBoxSelectedLines(List, lines);
        const TNodeButtonsState s = NodeButtonsState(static_cast<int>(lines.size()));
        if (Buttons.Prop)
            Buttons.Prop->setEnabled(s.Prop);
        if (Buttons.Del)
            Buttons.Del->setEnabled(s.Del);
        for (QPushButton* b : {Buttons.GoUp, Buttons.GoDown, Buttons.GoFirst, Buttons.GoLast})
            if (b)
                b->setEnabled(s.Moves);
    }

    // "Свойства" and a double click: the first selected node in its window.
    void Prop()
    {
        const int i = TextListBoxFirstSelected(List);
        if (i < 0 || i >= static_cast<int>(Nodes.size()))
            return;
        K::Edit(Nodes[static_cast<size_t>(i)], Precision());
        Refill();
    }

    // "Добавить": a new node at the end, opened in its window.
    void Add()
    {
        Nodes.push_back(K::NewNode());
        if (Origins)
            Origins->push_back(-1);
        K::Edit(Nodes.back(), Precision());
        Refill();
    }

    // "Вставить": a copy of the selected node before it, opened in its window; nothing
    // with no node selected.
    void Insert()
    {
        const int i = TextListBoxFirstSelected(List);
        if (!InsertNodeCopy(Nodes, Origins, i))
            return;
        K::Edit(Nodes[static_cast<size_t>(i)], Precision());
        Refill();
    }

    // "Удалить": asks with the count, removes only on 1.
    void Del()
    {
        TSelectedLines lines;
        TextListBoxSelectedLines(List, lines);
        if (lines.empty())
            return;
        if (ShowMsgDialog(K::DeleteTitle(), QStringLiteral("узлов будет удалено: ") +
                                                QString::number(lines.size())) != mrOk)
            return;
        DeleteNodes(Nodes, Origins, lines);
        Refill();
    }

    void Move(TNodeMove move)
    {
        MoveNode(Nodes, Origins, TextListBoxFirstSelected(List), move);
        Refill();
    }

private:
    QObject Context;              // the connections end with the editor
    std::vector<Node>& Nodes;     // the window's, not owned
    std::vector<int>* Origins;    // alongside Nodes, or null
    QPointer<TTextListBox> List;
    TNodeButtons Buttons;
    std::function<int()> Precision;
    std::function<void()> Changed;
};
