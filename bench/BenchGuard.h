// A benchmark whose engine call raises is reported as failed with the message, not
// left to end the whole run.
#pragma once

#include "foundation/ErrorTrail.h"

#include <benchmark/benchmark.h>

namespace bench {

template <class F>
void Guarded(benchmark::State& state, F body)
{
    try {
        body();
    } catch (const std::exception& e) {
        state.SkipWithError(ExceptionMessage(e).toUtf8().constData());
    }
}

} // namespace bench
