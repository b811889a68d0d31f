// The Wavefront RLA reader: big-endian rows located through a table of offsets, each row
// holding its channels one after another, run-length coded.
#pragma once

#include "imaging/ImageGraphic.h"

#include <QIODevice>

class TRLAGraphic : public TImageGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    bool ReadImageInfo(QIODevice& stream, unsigned imageIndex) override;
    void LoadFromStream(QIODevice& stream) override;
};

// The gamma text of an RLA header: a decimal number with "." or "," whatever the locale;
// 1.0 when the text is no positive number.
float ParseRlaGamma(const QByteArray& text);
