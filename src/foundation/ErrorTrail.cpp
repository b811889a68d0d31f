#include "foundation/ErrorTrail.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/DelphiFormat.h"

const char* Exception::what() const noexcept
{
    try {
        if (Utf8.isEmpty())
            Utf8 = Message.toUtf8();
        return Utf8.constData();
    } catch (...) {
        return "";
    }
}

QString ExceptionMessage(const std::exception& e)
{
    if (const auto* own = dynamic_cast<const Exception*>(&e))
        return own->Message;
    return QString::fromUtf8(e.what());
}

QString TrailValue(const QString& v) { return v; }
QString TrailValue(const char* v) { return QString::fromUtf8(v); }
QString TrailValue(bool v) { return v ? QStringLiteral("True") : QStringLiteral("False"); }
QString TrailValue(int v) { return QString::number(v); }
QString TrailValue(unsigned v) { return QString::number(v); }
QString TrailValue(long v) { return QString::number(v); }
QString TrailValue(unsigned long v) { return QString::number(v); }
QString TrailValue(long long v) { return QString::number(v); }
QString TrailValue(unsigned long long v) { return QString::number(v); }
QString TrailValue(unsigned char v) { return QString::number(v); }
QString TrailValue(signed char v) { return QString::number(v); }
QString TrailValue(short v) { return QString::number(v); }
QString TrailValue(unsigned short v) { return QString::number(v); }
QString TrailValue(double v) { return FloatToStr(v); }
QString TrailValue(long double v) { return FloatToStr(v); }
QString TrailValue(const void* v)
{
    return QString::number(reinterpret_cast<quintptr>(v));
}

void ClearErrorTrail() noexcept
{
    if (ErrorInfo)
        ErrorInfo->clear();
}

namespace trail_detail {

namespace {
// Counted per thread: a failure belongs to the thread that raised it.
thread_local unsigned long long FailureCount = 0;
thread_local unsigned long long TrailFailure = 0;   // the failure the trail's lines are of
}  // namespace

void NewFailure() noexcept { ++FailureCount; }

bool BeginBlock(const char* module, const char* declaration)
{
    if (!ErrorInfo)
        return false;
    // The first guard a new failure passes drops what an earlier, handled one left.
    if (TrailFailure != FailureCount) {
        ErrorInfo->clear();
        TrailFailure = FailureCount;
    }
    const QString m = QString::fromUtf8(module);
    ErrorInfo->append(m.contains(QLatin1Char(':')) ? m : QStringLiteral("Module name: ") + m);
    ErrorInfo->append(QString::fromUtf8(declaration));
    return true;
}

void AddArgumentsHeader() { ErrorInfo->append(QStringLiteral("Arguments:")); }

void AddLine(const QString& line) { ErrorInfo->append(line); }

bool ArgumentsOn() { return ErrorInfo && LogArguments == 1; }

}  // namespace trail_detail
