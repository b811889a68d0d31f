// The command window: the journal of the plan's commands and a line that is executed
// through the engine's reverse parser, as a command name, "=" and its parameters.
#pragma once

#include "foundation/ui/DialogBase.h"

#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;
class TGeoMap;

// Shows the window on journal and map; returns its modal result (1 "Готово" or Enter,
// 2 Esc or the close box). The plan is not redrawn here.
TModalResult CommandDlg(const QStringList& journal, TGeoMap& map);

class TFormCommandDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormCommandDialog(const QStringList& journal, TGeoMap& map, QWidget* parent = nullptr);

    // "Выполнить": the edit's line to the engine; appended to the list once it ran. An
    // error goes to the program's error report and the window stays open.
    void Execute();

    QListWidget* lbComList;
    QLineEdit* Edit1;
    QPushButton* btExecute;
    QPushButton* btDone;

protected:
    // Enter closes with 1 and Esc with 2 whatever control has the focus, the edit too:
    // a typed line runs only by its button.
    void keyPressEvent(QKeyEvent* e) override;

private:
    TGeoMap& Map;
};
