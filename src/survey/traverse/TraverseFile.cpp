#include "survey/traverse/TraverseFile.h"

QStringList TraverseFileLines(const TTraverseTable& table, QString& refusal)
{
    refusal.clear();
    QStringList lines;
    lines << QString::number(table.ClosureType());
    for (int r = 1; r < table.RowCount(); ++r) {
        QString line;
        for (int c = 0; c < TTraverseTable::ColCount; ++c) {
            const QString cell = table.Cell(r, c);
            if (cell.contains(QLatin1Char('|')) || cell.contains(QLatin1Char('\r')) ||
                cell.contains(QLatin1Char('\n'))) {
                refusal = QStringLiteral("Строка %1, столбец %2: в ячейке стоит знак \"|\" или "
                                         "перевод строки, файл хода не записан")
                              .arg(r)
                              .arg(c);
                return {};
            }
            line += cell + QLatin1Char('|');
        }
        lines << line;
    }
    return lines;
}

void ParseTableLine(TTraverseTable& table, const QString& line, int& row)
{
    int col = 0;
    qsizetype start = 0;
    for (qsizetype bar = line.indexOf(QLatin1Char('|')); bar >= 0;
         bar = line.indexOf(QLatin1Char('|'), start)) {
        table.SetCell(row, col++, line.mid(start, bar - start));
        start = bar + 1;
    }
    ++row;
}

bool TraverseFileClosure(const QString& firstLine, int& type)
{
    const QString text = firstLine.trimmed();
    qsizetype end = 0;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    bool ok = false;
    const int value = text.left(end).toInt(&ok);
    if (ok)
        type = value;
    return ok;
}

int TraverseFilePoints(int lineCount) { return (lineCount - 9) / 2; }

void LoadTraverseRows(TTraverseTable& table, const QStringList& lines)
{
    for (int r = 1; r < table.RowCount(); ++r)
        for (int c = 0; c < TTraverseTable::ColCount; ++c)
            table.SetCell(r, c, QString());
    int row = 1;
    for (qsizetype i = 1; i < lines.size() && row < table.RowCount(); ++i)
        ParseTableLine(table, lines[i], row);
}
