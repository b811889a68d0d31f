// The picture of a raster underlay: the loaded image, or nothing while the raster is
// not loaded. Readers of the image formats fill it; the plan drawing stretches it.
#pragma once

#include <QImage>

class TRastrPicture {
public:
    QImage Image;   // null while empty

    bool Empty() const { return Image.isNull(); }
    int Width() const { return Image.width(); }     // pixels, 0 while empty
    int Height() const { return Image.height(); }
    // Drops the image: the picture becomes a new, empty one.
    void Clear() { Image = QImage(); }
};
