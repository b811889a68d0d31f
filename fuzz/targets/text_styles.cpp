// The text styles of a scale ("Шрифты/500/Стили.wri"), read into a sign library.
#include "FuzzRun.h"

#include "semantics/signs/Symbols.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    FuzzWriteFile(FuzzProgramFolder() + QStringLiteral("Шрифты/500/Стили.wri"), data, size);
    TSymbols symbols;
    try {
        symbols.LoadTextStyles(500);
    } catch (const std::exception&) {
    }
    return 0;
}
