#include "semantics/Symbols.h"

void TSymbols::LoadSymbols(std::int32_t scale) { Scale = scale; }
