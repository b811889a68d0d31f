// The conventional-sign library of one map scale. Every plan document owns one and
// hands it its scale whenever a plan is made, opened or rescaled.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TSymbols {
public:
    TSymbols() = default;
    TSymbols(const TSymbols&) = delete;
    TSymbols& operator=(const TSymbols&) = delete;

    // The scale denominator of the library; 0 until the first load.
    std::int32_t GetScale() const { return Scale; }
    // Makes this the library of scale.
    void LoadSymbols(std::int32_t scale);

    // Keys of objects for which no sign is to be looked for again, one per line of
    // "неизвестные знаки.wri".
    QStringList UnknownSymbols;

private:
    std::int32_t Scale = 0;
};
