// Progress controls known by their class and the names of their three properties.
#include "controls/core/ExProgress.h"

#include <QObject>
#include <QVariant>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

struct RProgressClass {
    const char* ClassName;
    const char* Properties[3];  // maximum, minimum, position
};

std::vector<RProgressClass>& ProgressClasses()
{
    static std::vector<RProgressClass> classes{
        {"QProgressBar", {"maximum", "minimum", "value"}}};
    return classes;
}

void SetProgressProperty(QObject* control, int which, std::int64_t value)
{
    if (control == nullptr)
        return;
    const std::vector<RProgressClass>& classes = ProgressClasses();
    for (auto it = classes.rbegin(); it != classes.rend(); ++it) {
        if (control->inherits(it->ClassName)) {
            const auto clipped = int(std::clamp<std::int64_t>(
                value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            control->setProperty(it->Properties[which], clipped);
            return;
        }
    }
}

}  // namespace

void RegisterProgressControl(const char* className, const char* maxProperty,
                             const char* minProperty, const char* positionProperty)
{
    ProgressClasses().push_back({className, {maxProperty, minProperty, positionProperty}});
}

void SetProgressMax(QObject* control, std::int64_t value)
{
    SetProgressProperty(control, 0, value);
}

void SetProgressMin(QObject* control, std::int64_t value)
{
    SetProgressProperty(control, 1, value);
}

void SetProgressPosition(QObject* control, std::int64_t value)
{
    SetProgressProperty(control, 2, value);
}
