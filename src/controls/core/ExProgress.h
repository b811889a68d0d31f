// Progress controls known by their class: each registered class names its three
// integer properties (maximum, minimum, position), so a routine can report progress
// into any of them without knowing widgets.
#pragma once

#include <cstdint>

class QObject;

// A class registered later is searched first. QProgressBar is known from the start.
void RegisterProgressControl(const char* className, const char* maxProperty,
                             const char* minProperty, const char* positionProperty);
// Values beyond the 32-bit range are clipped to it; a control of an unknown class
// is left alone.
void SetProgressMax(QObject* control, std::int64_t value);
void SetProgressMin(QObject* control, std::int64_t value);
void SetProgressPosition(QObject* control, std::int64_t value);
