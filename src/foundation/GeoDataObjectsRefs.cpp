#include "foundation/GeoDataObjectsRefs.h"

namespace {

// Whether s reads as a 32-bit integer below 0: leading blanks, "-", decimal digits,
// nothing after them.
bool IsNegativeInteger(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    if (i >= s.size() || s[i] != QLatin1Char('-'))
        return false;
    ++i;
    if (i >= s.size())
        return false;
    std::int64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > 2147483648LL)
            return false;   // not a 32-bit integer
    }
    return magnitude > 0;
}

}  // namespace

bool CaptionRuleMatches(const RSemText& rule, const RFindedSemProp& prop)
{
    return rule.PropKey == prop.Key &&
           (rule.PropCode == prop.Code || IsNegativeInteger(rule.PropCode));
}
