// What the decoders share: their error.
#include "imaging/decoders/Decoders.h"

void RaiseCompressionError(const QString& Message)
{
    throw EGraphicCompression(Message);
}
