// velmora_plangen SIZE OUT: writes the synthetic plan of that size ("small", "medium" or
// "large") to the file OUT, with the semantics of the classifier beside the program.
#include "PlanGenerator.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/ProgramFolder.h"

#include <QTextStream>

int main(int argc, char** argv)
{
    QTextStream err(stderr);
    QTextStream out(stdout);
    if (argc != 3) {
        err << "usage: velmora_plangen SIZE OUT\n  SIZE: " << PlanSizeNames().join(QStringLiteral(", "))
            << "\n  OUT: the plan file to write; its extension is the scale, e.g. plan.500\n";
        return 2;
    }
    try {
        const TPlanShape shape = PlanShapeByName(QString::fromLocal8Bit(argv[1]));
        const TSemanticsPool pool = LoadSemanticsPool(GetProgramFolder());
        const RPlanStats stats = TPlanGenerator(shape, pool).WriteFile(QString::fromLocal8Bit(argv[2]));
        out << QString::fromLocal8Bit(argv[2]) << ": " << stats.Bytes << " bytes, " << stats.FileLines
            << " lines; " << stats.Points << " points, " << stats.Lines << " lines, " << stats.Polygons
            << " polygons, " << stats.Texts << " texts, " << stats.Nodes << " nodes, " << stats.Captions
            << " captions\n";
        return 0;
    } catch (const std::exception& e) {
        err << ConsoleText(ExceptionMessage(e)) << "\n";
        return 1;
    }
}
