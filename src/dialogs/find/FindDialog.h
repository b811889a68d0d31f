// The modeless find window of the main window's text search: the text to find, the
// match-case box and "Найти далее". It searches nothing itself: it tells its owner when
// it is shown and when the search button is pressed.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QLineEdit* FindText;     // "Образец"
    QCheckBox* MatchCase;    // "С учетом регистра"
    QPushButton* FindNext;   // "Найти далее"
    QPushButton* Cancel;     // "Отмена": hides the window

    // The owner's handlers; empty ones do nothing.
    std::function<void()> OnShow;
    std::function<void()> OnFind;

protected:
    void showEvent(QShowEvent* e) override;
};
