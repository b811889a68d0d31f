// The sheet choice window: the plan's sheets in a list of several selectable lines, for
// saving chosen sheets to a file or a folder.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>
#include <vector>

class QPushButton;
class TTextListBox;

// Shows the window captioned caption on the main plan's sheets; indexes receives the
// numbers of the selected lines, in list order, whatever the result (1 "Готово" or
// Enter, 2 Esc or the close box).
TModalResult SelectPagesDlg(const QString& caption, std::vector<int>& indexes);

class TFormMultiSelectPage : public TDialogBase {
    Q_OBJECT
public:
    TFormMultiSelectPage(const QString& caption, const QStringList& sheets,
                         QWidget* parent = nullptr);

    // The selected lines' numbers, in list order.
    std::vector<int> Selected() const;

    TTextListBox* TextListBox1;
    QPushButton* btDone;
};
