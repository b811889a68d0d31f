// Tabs in several rows, every caption shown whole: the tab set of the value lists, whose
// 23 kinds do not fit one row of the window.
#pragma once

#include <QWidget>
#include <vector>

class QButtonGroup;
class QGridLayout;
class QToolButton;

class TTabRows : public QWidget {
    Q_OBJECT
public:
    // perRow tabs to a row; the rows fill from the top.
    explicit TTabRows(int perRow, QWidget* parent = nullptr);

    int addTab(const QString& caption);
    int count() const { return int(Tabs.size()); }
    QString tabText(int index) const;
    // The active tab; -1 while there is none.
    int currentIndex() const { return Current; }
    // Makes index the active tab and reports the change; an index out of range or the
    // active one changes nothing.
    void setCurrentIndex(int index);

signals:
    void currentChanged(int index);

private:
    int PerRow;
    int Current = -1;
    QGridLayout* Grid;
    QButtonGroup* Group;
    std::vector<QToolButton*> Tabs;
};
