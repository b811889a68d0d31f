// The licence-agreement window a new user sees at the first start: the licence text
// "лицензия.rtf" from the program folder, agree (1) or decline (2).
#pragma once

#include "foundation/ui/DialogBase.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TFormFirstStart : public TDialogBase {
    Q_OBJECT
public:
    // licenceFile: the licence text to show; a missing or unreadable file shows a notice
    // in its place, and agree and decline still work.
    explicit TFormFirstStart(const QString& licenceFile, QWidget* parent = nullptr);

    QLabel* Header;
    QLabel* VersionLabel;
    QLabel* Notice;
    QPlainTextEdit* LicenceText;
    QPlainTextEdit* NoteMemo;
    QPushButton* AgreeButton;     // 1
    QPushButton* DeclineButton;   // 2
    bool LicenceLoaded = false;
};

// The licence file of the program folder, its name matched without regard to case.
QString LicenceFileName();
