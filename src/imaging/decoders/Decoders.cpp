// What the decoders share: their error and where their warnings go.
#include "imaging/decoders/Decoders.h"

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

void SetDecoderWarningSink(TDecoderWarningSink sink)
{
    WarningSink() = std::move(sink);
}

void ShowDecoderWarning(const QString& text)
{
    if (WarningSink())
        WarningSink()(QStringLiteral("Warning"), text);
}
