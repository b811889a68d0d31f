// Tabs in several rows: checkable buttons of one exclusive group, the active one shown
// pressed, with hot tracking.
#include "editors/classifier/TabRows.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QToolButton>

TTabRows::TTabRows(int perRow, QWidget* parent)
    : QWidget(parent), PerRow(perRow > 0 ? perRow : 1), Grid(new QGridLayout(this)),
      Group(new QButtonGroup(this))
{
    Grid->setContentsMargins(0, 0, 0, 0);
    Grid->setSpacing(1);
    Group->setExclusive(true);
    connect(Group, &QButtonGroup::idClicked, this, [this](int id) { setCurrentIndex(id); });
}

int TTabRows::addTab(const QString& caption)
{
    const int index = count();
    auto* tab = new QToolButton(this);
    tab->setText(caption);
    tab->setCheckable(true);
    tab->setAutoRaise(true);   // raised under the mouse: hot tracking
    tab->setFocusPolicy(Qt::NoFocus);
    tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Group->addButton(tab, index);
    Grid->addWidget(tab, index / PerRow, index % PerRow);
    Tabs.push_back(tab);
    if (Current < 0) {
        Current = index;
        tab->setChecked(true);
    }
    return index;
}

QString TTabRows::tabText(int index) const
{
    return index >= 0 && index < count() ? Tabs[size_t(index)]->text() : QString();
}

void TTabRows::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    Tabs[size_t(index)]->setChecked(true);
    if (index == Current)
        return;
    Current = index;
    emit currentChanged(index);
}
