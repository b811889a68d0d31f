// The windows of the file commands behind replaceable hooks: tests answer them, the
// program shows the real ones.
#pragma once

#include <QString>
#include <functional>

struct TFileDialogHooks {
    // An open dialog; true with fileName when a file was chosen.
    std::function<bool(const QString& title, const QString& filter, QString& fileName)> OpenFileName;
};

TFileDialogHooks& FileDialogHooks();

bool OpenFileNameDialog(const QString& title, const QString& filter, QString& fileName);
// The open dialog's filter: the eight plan scales, the exchange format, all of them,
// the backups and the drawings.
QString PlanOpenFilter();
