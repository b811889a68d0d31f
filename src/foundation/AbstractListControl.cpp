#include "foundation/AbstractListControl.h"

#include "foundation/AppGlobalVar.h"

namespace list_detail {

void AddListTrail(const char* listName, const QString& routine, const QStringList& args)
{
    try {
        if (!ErrorInfo)
            return;
        ErrorInfo->append(QStringLiteral("Module name: GeoDataObjects"));
        ErrorInfo->append(QStringLiteral("Procedure: ") + QLatin1String(listName) +
                          QLatin1Char('.') + routine);
        if (!args.isEmpty() && LogArguments == 1) {
            ErrorInfo->append(QStringLiteral("Arguments"));
            ErrorInfo->append(args);
        }
    } catch (...) {
    }
}

}  // namespace list_detail
