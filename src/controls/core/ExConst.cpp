// The control library's own pictures, drawn for this program and kept as XPM
// sources beside the other resources, and the two cursors made from them.
#include "controls/core/ExConst.h"

#include "foundation/ErrorTrail.h"

#include <QPixmap>

#include "resources/check_images.xpm"
#include "resources/device_fnt.xpm"
#include "resources/ex_dragcur.xpm"
#include "resources/ex_handcur.xpm"
#include "resources/feditbmp.xpm"
#include "resources/truetype_fnt.xpm"
#include "resources/w95_hrl.xpm"
#include "resources/w95_htb.xpm"
#include "resources/w95_vrl.xpm"
#include "resources/w95_vtb.xpm"

namespace {

struct RNamedPicture {
    const char* Name;
    const char* const* Xpm;
};

const RNamedPicture Pictures[] = {
    {"CHECK_IMAGES", check_images_xpm}, {"FEDITBMP", feditbmp_xpm},
    {"TRUETYPE_FNT", truetype_fnt_xpm}, {"DEVICE_FNT", device_fnt_xpm},
    {"W95_HTB", w95_htb_xpm},           {"W95_HRL", w95_hrl_xpm},
    {"W95_VTB", w95_vtb_xpm},           {"W95_VRL", w95_vrl_xpm},
    {"EX_HANDCUR", ex_handcur_xpm},     {"EX_DRAGCUR", ex_dragcur_xpm},
};

// A cursor picture with its key colour (the bottom-left pixel) made see-through.
QCursor MakeCursor(const char* const* xpm, int hotX, int hotY)
{
    QImage image = QImage(xpm).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == key)
                image.setPixel(x, y, 0);
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace

QImage BitmapFromResource(const QString& name)
{
    try {
        for (const RNamedPicture& p : Pictures)
            if (name.compare(QLatin1String(p.Name), Qt::CaseInsensitive) == 0)
                return QImage(p.Xpm).convertToFormat(QImage::Format_RGB32);
    } catch (...) {
        // A picture that cannot be made is simply not there.
    }
    return QImage();
}

void RaiseResourceNotFound(const QString& name)
{
    throw Exception(QStringLiteral("Resource %1 not found").arg(name));
}

QImage LoadResourceBitmap(const QString& name)
{
    QImage image = BitmapFromResource(name);
    if (image.isNull())
        RaiseResourceNotFound(name);
    return image;
}

QCursor ExCursor(int number)
{
    switch (number) {
    case crExHand: {
        static const QCursor hand = MakeCursor(ex_handcur_xpm, 6, 0);
        return hand;
    }
    case crExDrag: {
        static const QCursor drag = MakeCursor(ex_dragcur_xpm, 0, 0);
        return drag;
    }
    default:
        return QCursor(Qt::ArrowCursor);
    }
}
