// Numeric conventions of the whole program: the 80-bit real, rounding as the
// original platform did, and the process-wide separators used when numbers become text.
#pragma once

#include <QChar>
#include <cmath>
#include <cstdint>

using Extended = long double;
using Int64 = std::int64_t;

// Halves go to the even neighbour (banker's rounding), as the original platform did.
// llrintl rounds as nearbyintl under the default rounding mode, which the program never
// changes, without saving and restoring the floating-point environment around it, and
// gives the integer without switching the unit to truncation for a conversion.
inline Int64 Round(Extended v) { return static_cast<Int64>(std::llrint(v)); }
inline Int64 Trunc(Extended v) { return static_cast<Int64>(v); }

// "The locale's decimal separator": set once at start from the user's numeric
// locale, settable by tests. Never use the C library's locale for numbers.
extern QChar DecimalSeparator;
extern QChar ThousandSeparator;

class QLocale;

// Sets both separators from the system's numeric locale.
void InitSeparatorsFromLocale();
// The same from the given locale. A decimal separator other than "," becomes "."; a
// group separator that code page 1251 cannot hold (the narrow no-break space of French,
// Arabic digits' marks) or that equals the decimal one becomes the no-break space.
void InitSeparatorsFromLocale(const QLocale& locale);
