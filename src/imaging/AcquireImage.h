// The scanner component the main window carries. Nothing calls it and it acquires no
// image; it only has the identity a scanner source is offered.
#pragma once

#include <QString>

class TAcquireImage {
public:
    QString Manufacturer = QStringLiteral("none");
    QString ProductFamily = QStringLiteral("none");
    QString ProductName = QStringLiteral("none");
    QString VersionInfo = QStringLiteral("none");
    bool ShowUI = true;  // the scanner's own window would be shown
};
