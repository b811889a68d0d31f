#include "platform/Platform.h"

#include <QLocale>

QChar DecimalSeparator = QLatin1Char('.');
QChar ThousandSeparator = QLatin1Char(',');

void InitSeparatorsFromLocale()
{
    const QLocale locale = QLocale::system();
    const QString dec = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    DecimalSeparator = dec == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
    ThousandSeparator = group.isEmpty() ? QChar(0xA0) : group.at(0);
}
