// What the decoders share: their error and where their warnings go.
#include "imaging/decoders/Decoders.h"

#include <utility>

namespace {

TDecoderWarningSink& WarningSink()
{
    static TDecoderWarningSink sink;
    return sink;
}

} // namespace

void RaiseCompressionError(const QString& Message)
{
    throw EGraphicCompression(Message);
}

TDecoderWarningSink SetDecoderWarningSink(TDecoderWarningSink sink)
{
    return std::exchange(WarningSink(), std::move(sink));
}

void ShowDecoderWarning(const QString& text)
{
    if (WarningSink())
        WarningSink()(text);
}
