// The binary EPS reader: the TIFF preview such a file carries, shown in place of the
// PostScript, which is never read.
#pragma once

#include "imaging/TiffReader.h"

class TEPSGraphic : public TTIFFGraphic {
public:
    bool ProbeStream(QIODevice& stream) override;
    void LoadFromStream(QIODevice& stream) override;
};
