// Typed command lines, as the journal replays them, through StrToComm and DoCommand on
// the plan the program holds: each line the plan refuses must leave it as it was.
// Lines of a file command (one whose name speaks of a plan, file, raster, export or
// saving) naming a path with a folder are skipped, so that a run reads and writes
// nowhere but its own temporary folder.
#include "FuzzRun.h"

#include "platform/CodePage.h"

#include <QRegularExpression>

namespace {

bool NamesOutsidePath(const QString& line)
{
    static const QRegularExpression fileCommand(QStringLiteral("Map|Save|Rastr|Export|Import|File|Load|Open|Write|Copy|Nomencl"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression path(QStringLiteral("[/\\\\:]|\\.\\."));
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return line.left(eq < 0 ? line.size() : eq).contains(fileCommand) && line.contains(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString text = DecodeCodePage(reinterpret_cast<const char*>(data), qsizetype(size));
    TFuzzPlan plan = FuzzNewPlan(true);
    int lines = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (NamesOutsidePath(line))
            continue;
        if (++lines > 16)
            break;
        FuzzCommandKeepsPlanWhenRefused(*plan.Map, line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
    }
    return 0;
}
