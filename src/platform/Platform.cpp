#include "platform/Platform.h"

#include "platform/CodePage.h"

#include <QLocale>

QChar DecimalSeparator = QLatin1Char('.');
QChar ThousandSeparator = QLatin1Char(',');

void InitSeparatorsFromLocale() { InitSeparatorsFromLocale(QLocale::system()); }

void InitSeparatorsFromLocale(const QLocale& locale)
{
    const QString dec = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    DecimalSeparator = dec == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char('.');
    // Numbers are written into code page 1251 files: the group separator must have a
    // place there, and must never be mistaken for the decimal one.
    const QChar noBreakSpace(0x00A0);
    ThousandSeparator = group.size() == 1 && group.at(0) != DecimalSeparator &&
                                IsEncodable(group, TCodePage::Cp1251)
                            ? group.at(0)
                            : noBreakSpace;
}
