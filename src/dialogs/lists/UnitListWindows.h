// The list windows of the main plan: its sheets, the layers or rasters of one sheet, and
// the texts, points, lines or polygons of one layer. One family: a fixed-pitch list of the
// engine's filler lines, the choosers of the sheet and layer listed, and buttons that
// issue one plan command each, then refill the list and redraw the main surface.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <cstdint>
#include <functional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class TTextListBox;

// What a window lists; the order of the object kinds is that of the menu.
enum TListKind : std::uint8_t { lkPages, lkLayers, lkRastrs, lkTexts, lkPoints, lkLines, lkPolygons };

class TFormListBase : public TDialogBase {
    Q_OBJECT
public:
    TFormListBase(TListKind kind, QWidget* parent);

    const TListKind Kind;
    QComboBox* cbPage = nullptr;         // the plan's sheets; item index = sheet index
    QComboBox* cbLayer = nullptr;        // the chosen sheet's layers; item index = layer index
    TTextListBox* LB = nullptr;          // line i = item i of the engine's list
    QPushButton* btAdd = nullptr;        // "Добавить"
    QPushButton* btDel = nullptr;        // "Удалить"
    QPushButton* btName = nullptr;       // sheets and layers
    QPushButton* btProp = nullptr;       // rasters and objects
    QPushButton* btShow = nullptr;       // sheets, layers, rasters
    QPushButton* btHide = nullptr;
    QPushButton* btUp = nullptr;         // "Вперед"
    QPushButton* btDown = nullptr;       // "Назад"
    QPushButton* btSavaAsText = nullptr; // points only
    QPushButton* BitBtn1 = nullptr;      // "Закрыть", result 1

    // The choosers and the list filled as the window opens, then the enabling rule.
    void FormShow();
    // The enabling rule over the selection: none selected, every button but add, save
    // and close disabled; one, all enabled; several, only delete, show and hide.
    void LBClick();
    void cbPageChange();
    void cbLayerChange();
    void btAddClick();
    void btDelClick();
    void btNameClick();
    void btShowClick() { SetVisibility(1); }
    void btHideClick() { SetVisibility(0); }
    void btUpClick() { MoveSelected(-1); }
    void btDownClick() { MoveSelected(1); }
    void btPropClick();
    void btSavaAsTextClick();

    // The sheet and layer chosen; -1 when the chooser is empty or absent.
    int Page() const;
    int Layer() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* Button(const QString& caption, const char* name, void (TFormListBase::*click)());
    void LayOut(const QString& listLabel);
    // The list for the chosen sheet and layer, refilled from the engine's filler; the
    // selection goes with the old lines.
    void FillList();
    void FillLayers();
    // The engine's lines of the kind at (page, layer).
    QStringList ListLines(int page, int layer) const;
    bool IsObjectList() const { return Kind >= lkTexts; }
    // The object editor of the kind on (page, layer, index); its result.
    TModalResult EditObject(int& page, int& layer, int& index, bool isNew);
    // Issues one command with the parameter string params builds; a field the formatter
    // or the engine refuses is told to the user and false returned.
    bool Issue(int comm, const std::function<QString()>& params);
    void Redraw(int mode);
    // The per-line delete run of sheets, layers and rasters.
    void DeleteItems();
    // One question, then every selected object deleted.
    void DeleteObjects();
    void SetVisibility(int visible);
    // Swaps the one selected line with its neighbour step lines away (-1 up, +1 down).
    void MoveSelected(int step);
    void AddPage();
    void AddLayer();
    void AddRastr();
    void AddObject();
    // The repeated name question for sheets (layer false) or layers; false when it was
    // not answered with 1.
    bool AskNewName(QString& name, bool layer, int page);
};

class TFormPages : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormPages(QWidget* parent = nullptr) : TFormListBase(lkPages, parent) {}
};
class TFormLayers : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormLayers(QWidget* parent = nullptr) : TFormListBase(lkLayers, parent) {}
};
class TFormRastrs : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormRastrs(QWidget* parent = nullptr) : TFormListBase(lkRastrs, parent) {}
};
class TFormTexts : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormTexts(QWidget* parent = nullptr) : TFormListBase(lkTexts, parent) {}
};
class TFormPoints : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormPoints(QWidget* parent = nullptr) : TFormListBase(lkPoints, parent) {}
};
class TFormLines : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormLines(QWidget* parent = nullptr) : TFormListBase(lkLines, parent) {}
};
class TFormPolygons : public TFormListBase {
    Q_OBJECT
public:
    explicit TFormPolygons(QWidget* parent = nullptr) : TFormListBase(lkPolygons, parent) {}
};

// Creates the window of kind for one modal showing over the main plan and frees it.
TModalResult ShowListWindow(TListKind kind, QWidget* owner);
