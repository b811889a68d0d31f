// The error trail: every core routine holds one guard; when an exception passes
// through it, the guard appends the module line, the routine's declaration and its
// arguments to ErrorInfo, so the trail reads like a call stack of the failure.
// Arguments are formatted only then, so a guard costs next to nothing on success.
#pragma once

#include "platform/Platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <exception>
#include <tuple>
#include <type_traits>
#include <utility>

namespace trail_detail {
void NewFailure() noexcept;
}

// The program's exception: a message the user will read. Raising one begins a new
// failure: the trail left by an earlier one, handled since, gives way to this one's.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : Message(std::move(message)) { trail_detail::NewFailure(); }
    const char* what() const noexcept override;

    QString Message;

private:
    mutable QByteArray Utf8;
};

// The message of any exception, for windows and reports.
QString ExceptionMessage(const std::exception& e);

// The trail belongs to one failure: whoever handles a failure (the crash reporter, the
// event loop between two events) clears it, so a later report never shows the lines of
// an earlier failure and handled failures never pile up.
void ClearErrorTrail() noexcept;

// Argument values as the trail writes them: integers in decimal, reals in the
// general format, booleans "True"/"False", texts as they are, records as addresses.
QString TrailValue(const QString& v);
QString TrailValue(const char* v);
QString TrailValue(bool v);
QString TrailValue(int v);
QString TrailValue(unsigned v);
QString TrailValue(long v);
QString TrailValue(unsigned long v);
QString TrailValue(long long v);
QString TrailValue(unsigned long long v);
QString TrailValue(double v);
QString TrailValue(long double v);
QString TrailValue(const void* v);
template <class T>
QString TrailValue(const T* v) { return TrailValue(static_cast<const void*>(v)); }
QString TrailValue(unsigned char v);
QString TrailValue(signed char v);
QString TrailValue(short v);
QString TrailValue(unsigned short v);

// A guard outlives the expression that built it: numbers and pointers are kept by
// value, anything else by reference to the caller's variable, so a temporary of a class
// type is refused at compile time instead of dangling.
template <class T>
struct TTrailArg {
    using TStored = std::conditional_t<std::is_scalar_v<T>, T, const T&>;
    const char* Name;
    TStored Value;
};

template <class T>
TTrailArg<T> TrailArg(const char* name, const T& value) { return {name, value}; }
template <class T>
    requires(!std::is_scalar_v<T>)
TTrailArg<T> TrailArg(const char* name, const T&& value) = delete;

namespace trail_detail {
// Appends the module line and the declaration; returns false when there is no trail.
bool BeginBlock(const char* module, const char* declaration);
void AddArgumentsHeader();
void AddLine(const QString& line);
bool ArgumentsOn();
}  // namespace trail_detail

// module: "GeoServ" gives "Module name: GeoServ"; a text holding ":" is written as is
// (the codec writes "ModuleName: SemCodec").
template <class... A>
class TTrailGuard {
public:
    TTrailGuard(const char* module, const char* declaration, TTrailArg<A>... args)
        : Module(module), Declaration(declaration), Args(args...),
          Uncaught(std::uncaught_exceptions())
    {
    }
    TTrailGuard(const TTrailGuard&) = delete;
    TTrailGuard& operator=(const TTrailGuard&) = delete;

    ~TTrailGuard()
    {
        if (std::uncaught_exceptions() <= Uncaught)
            return;
        try {
            if (!trail_detail::BeginBlock(Module, Declaration))
                return;
            if constexpr (sizeof...(A) > 0) {
                if (!trail_detail::ArgumentsOn())
                    return;
                if constexpr (sizeof...(A) == 1) {
                    const auto& a = std::get<0>(Args);
                    trail_detail::AddLine(QLatin1String("Argument ") + QLatin1String(a.Name) +
                                          QLatin1Char('=') + TrailValue(a.Value));
                } else {
                    trail_detail::AddArgumentsHeader();
                    std::apply([](const auto&... a) {
                        (trail_detail::AddLine(QLatin1String(a.Name) + QLatin1Char('=') +
                                               TrailValue(a.Value)), ...);
                    }, Args);
                }
            }
        } catch (...) {
            // The trail is a courtesy to the report; it never replaces the real failure.
        }
    }

private:
    const char* Module;
    const char* Declaration;
    std::tuple<TTrailArg<A>...> Args;
    int Uncaught;
};

template <class... A>
TTrailGuard(const char*, const char*, TTrailArg<A>...) -> TTrailGuard<A...>;
