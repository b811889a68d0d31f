// The program's file dialogs as the user meets them: the filter they start on and the
// extension a save adds to a name typed without one.
#include "mainwindow/file/FileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

QString InitialNameFilter(const QStringList& filters)
{
    // A folder of plans holds mostly the usual survey scale, 1:500.
    for (const QString& filter : filters)
        if (FilterSuffix(filter) == QLatin1String("500"))
            return filter;
    return filters.value(0);
}

QString FilterSuffix(const QString& nameFilter)
{
    // The patterns between the last parentheses: one extension, in either case, names the
    // suffix; "*", "*.*" or several extensions (the "all of them" filters) name none.
    const int open = nameFilter.lastIndexOf(QLatin1Char('('));
    const int close = nameFilter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    const QStringList patterns =
        nameFilter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    static const QRegularExpression oneExtension(QStringLiteral("^\\*\\.([^*?.\\[\\]]+)$"));
    QString suffix;
    for (const QString& pattern : patterns) {
        const QRegularExpressionMatch match = oneExtension.match(pattern);
        if (!match.hasMatch())
            return {};
        const QString ext = match.captured(1);
        if (!suffix.isEmpty() && ext.compare(suffix, Qt::CaseInsensitive) != 0)
            return {};
        if (suffix.isEmpty())
            suffix = ext;
    }
    return suffix;
}

void PrepareFileDialog(QFileDialog& dialog, const QString& filter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(filters);
    const QString initial = InitialNameFilter(filters);
    dialog.selectNameFilter(initial);
    if (dialog.acceptMode() != QFileDialog::AcceptSave)
        return;
    // A name given without an extension takes the chosen filter's, or the file would be
    // refused for its unknown format.
    dialog.setDefaultSuffix(FilterSuffix(initial));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(FilterSuffix(chosen)); });
}

bool RunFileDialog(QFileDialog& dialog, QStringList& chosen)
{
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chosen = dialog.selectedFiles();
    chosen.removeAll(QString());
    return !chosen.isEmpty();
}
