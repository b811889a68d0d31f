// The traverse table file (".th") read as the traverse window opens it, the traverse
// computed from what it holds, and the table written back: a table that can be saved
// reads back to the same cells.
#include "FuzzRun.h"

#include "platform/TextFiles.h"
#include "survey/TraverseTable.h"
#include "survey/traverse/TraverseFile.h"

namespace {

QStringList Cells(const TTraverseTable& table)
{
    QStringList cells;
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < TTraverseTable::ColCount; ++c)
            cells << table.Cell(r, c);
    return cells;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(QStringLiteral("fuzz.th"), data, size);
    QStringList lines;
    try {
        lines = ReadTextFileLines(path);
    } catch (const std::exception&) {
        return 0;
    }
    int type = 0;
    if (lines.isEmpty() || !TraverseFileClosure(lines.first(), type))
        return 0;   // "Файл не является таблицей теодолитного хода"
    TTraverseTable table;
    table.SetClosureType(type);
    table.SetPointsCount(TraverseFilePoints(int(lines.size())));
    LoadTraverseRows(table, lines);

    QString refusal;
    const QStringList saved = TraverseFileLines(table, refusal);
    if (refusal.isEmpty()) {
        TTraverseTable again;
        int savedType = 0;
        if (!TraverseFileClosure(saved.first(), savedType))
            FuzzFail("the saved traverse table has no closure line", saved.first());
        again.SetClosureType(savedType);
        again.SetPointsCount(TraverseFilePoints(int(saved.size())));
        LoadTraverseRows(again, saved);
        if (Cells(again) != Cells(table) || again.ClosureType() != table.ClosureType())
            FuzzFail("the traverse table does not read back as saved", saved.join(u'\n'));
    }
    try {
        table.ComputeTraverse();
    } catch (const std::exception&) {
    }
    return 0;
}
