// The sign files, in both formats: the first byte chooses the kind of sign (point, line,
// polygon) the file is read as, the rest is the file.
#include "FuzzRun.h"

#include "semantics/codec/SemCodec.h"

#include "semantics/signs/Symbols.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    if (size < 1)
        return 0;
    static const TLmode kinds[] = {lmPoint, lmLine, lmPolygon};
    const TLmode lm = kinds[data[0] % 3];
    const QString path = FuzzWriteFile(QStringLiteral("fuzz.wri"), data + 1, size - 1);
    TSymbols symbols;
    try {
        symbols.LoadSymbol(path, QStringLiteral("ЗНК"), lm);
    } catch (const std::exception&) {
    }
    return 0;
}
