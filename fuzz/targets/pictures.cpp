// The picture readers through the registry: the input is read under every registered
// extension, as a raster underlay named so would be. A reader answers with the whole
// image or EPictureError; anything else escapes and is a finding.
#include "FuzzRun.h"

#include "imaging/PictureRegistry.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    static const QStringList extensions = RegisteredPictureExtensions();
    for (const QString& ext : extensions) {
        const QString path = FuzzWriteFile(QStringLiteral("fuzz.") + ext, data, size);
        try {
            const QImage image = LoadPictureFile(path);
            if (image.isNull())
                FuzzFail("a reader returned no image without an error", ext);
        } catch (const EPictureError&) {
        }
        QFile::remove(path);
    }
    return 0;
}
