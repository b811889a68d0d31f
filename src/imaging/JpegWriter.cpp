// The JPEG writer over libjpeg's encoder. libjpeg's fatal errors, a stream that stops
// taking bytes included, jump back to the encoding frame through the shared error
// manager; the encoder and the rows handed to it belong to the caller's frame, so the
// jump skips no destructor.
#include "imaging/JpegWriter.h"

#include "imaging/ImageGraphic.h"
#include "imaging/JpegGlue.h"

#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <vector>

#include <jerror.h>

namespace {

// Rows converted and handed to the encoder at a time: a large export is never copied whole.
constexpr int BandRows = 16;
constexpr std::size_t OutputBufferSize = 64 * 1024;

// libjpeg's destination record first, so the encoder's dest pointer is this record.
struct RJpegDestination {
    jpeg_destination_mgr Manager{};
    QIODevice* Stream = nullptr;         // link, not owned
    JOCTET* Buffer = nullptr;            // link: the encoder's buffer
    bool WriteFailed = false;
};

// Called from libjpeg's C frames: nothing may unwind through them.
bool WriteAll(QIODevice& stream, const JOCTET* data, std::size_t count) noexcept
{
    try {
        std::size_t done = 0;
        while (done < count) {
            const qint64 written = stream.write(reinterpret_cast<const char*>(data + done),
                                                qint64(count - done));
            if (written <= 0)
                return false;
            done += std::size_t(written);
        }
        return true;
    } catch (...) {
        return false;
    }
}

RJpegDestination* DestinationOf(j_compress_ptr info)
{
    return reinterpret_cast<RJpegDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info)
{
    RJpegDestination* d = DestinationOf(info);
    d->Manager.next_output_byte = d->Buffer;
    d->Manager.free_in_buffer = OutputBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr info)
{
    RJpegDestination* d = DestinationOf(info);
    if (!WriteAll(*d->Stream, d->Buffer, OutputBufferSize)) {
        d->WriteFailed = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
    InitDestination(info);
    return TRUE;
}

void TermDestination(j_compress_ptr info)
{
    RJpegDestination* d = DestinationOf(info);
    if (!WriteAll(*d->Stream, d->Buffer, OutputBufferSize - d->Manager.free_in_buffer)) {
        d->WriteFailed = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
}

// Owns the encoder and what it reads and writes, so that all of it goes on every way
// out, the jump included.
struct TJpegEncoder {
    jpeg_compress_struct Info{};
    RJpegErrorManager Error;
    RJpegDestination Destination;
    std::vector<JOCTET> Output = std::vector<JOCTET>(OutputBufferSize);
    QImage Band;                              // the rows being handed over, as RGB
    std::array<JSAMPROW, BandRows> Rows{};
    bool Created = false;

    TJpegEncoder() = default;
    TJpegEncoder(const TJpegEncoder&) = delete;
    TJpegEncoder& operator=(const TJpegEncoder&) = delete;
    ~TJpegEncoder()
    {
        if (Created)
            jpeg_destroy_compress(&Info);
    }
};

[[noreturn]] void RaiseNotWritten(const QString& fileName, const QString& reason, bool refusal)
{
    const QString message =
        fileName.isEmpty()
            ? QStringLiteral("Рисунок JPEG не записан: %1").arg(reason)
            : QStringLiteral("Рисунок JPEG \"%1\" не записан: %2").arg(fileName, reason);
    if (refusal)
        throw EInvalidGraphic(message);
    throw EPictureError(message);
}

void CheckJpegImage(const QImage& image, int quality, int dotsPerInch, const QString& fileName)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        RaiseNotWritten(fileName, QStringLiteral("рисунок пуст"), true);
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        RaiseNotWritten(fileName,
                        QStringLiteral("рисунок %1×%2 точек больше, чем вмещает JPEG "
                                       "(%3 точек по каждой стороне)")
                            .arg(image.width())
                            .arg(image.height())
                            .arg(JPEG_MAX_DIMENSION),
                        true);
    if (quality < 1 || quality > 100)
        RaiseNotWritten(fileName,
                        QStringLiteral("качество JPEG %1 вне пределов от 1 до 100").arg(quality),
                        true);
    // The header holds the density in 16 bits.
    if (dotsPerInch < 0 || dotsPerInch > 65535)
        RaiseNotWritten(fileName,
                        QStringLiteral("разрешение %1 точек на дюйм вне пределов от 0 до 65535")
                            .arg(dotsPerInch),
                        true);
}

// Puts rows top … top + count - 1 of image into the encoder's row pointers, converted to
// RGB. Runs between libjpeg's calls, never inside one, so it may raise.
void PrepareBand(TJpegEncoder* encoder, const QImage& image, int top, int count,
                 const QString& fileName)
{
    const QImage* rows = &image;
    int first = top;
    if (image.format() != QImage::Format_RGB888) {
        encoder->Band = image.copy(0, top, image.width(), count)
                            .convertToFormat(QImage::Format_RGB888);
        if (encoder->Band.isNull())
            RaiseNotWritten(fileName, QStringLiteral("не хватает памяти"), false);
        rows = &encoder->Band;
        first = 0;
    }
    for (int i = 0; i < count; ++i)
        encoder->Rows[std::size_t(i)] = const_cast<JSAMPROW>(rows->constScanLine(first + i));
}

// Encodes image into encoder's destination; false when libjpeg failed (its code and
// message in the encoder). libjpeg leaves this frame by longjmp, so nothing here has a
// destructor a jump could skip.
bool EncodeJpeg(TJpegEncoder* encoder, const QImage* image, int quality, int dotsPerInch,
                const QString* fileName)
{
    jpeg_compress_struct* info = &encoder->Info;
    info->err = JpegErrorManager(encoder->Error);
    if (setjmp(encoder->Error.Jump))
        return false;

    encoder->Created = true;
    jpeg_create_compress(info);
    encoder->Destination.Buffer = encoder->Output.data();
    encoder->Destination.Manager.init_destination = &InitDestination;
    encoder->Destination.Manager.empty_output_buffer = &EmptyOutputBuffer;
    encoder->Destination.Manager.term_destination = &TermDestination;
    info->dest = &encoder->Destination.Manager;
    info->image_width = JDIMENSION(image->width());
    info->image_height = JDIMENSION(image->height());
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    // A JFIF header is written for RGB input by default; it states the density.
    info->write_JFIF_header = TRUE;
    if (dotsPerInch > 0) {
        info->density_unit = 1;   // dots per inch
        info->X_density = UINT16(dotsPerInch);
        info->Y_density = UINT16(dotsPerInch);
    }
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        const int top = int(info->next_scanline);
        const int count = std::min(BandRows, image->height() - top);
        PrepareBand(encoder, *image, top, count, *fileName);
        // A destination that writes at once never suspends; no row taken would loop.
        if (jpeg_write_scanlines(info, encoder->Rows.data(), JDIMENSION(count)) !=
            JDIMENSION(count))
            ERREXIT(info, JERR_BAD_BUFFER_MODE);
    }
    jpeg_finish_compress(info);
    return true;
}

void Encode(QIODevice& stream, const QImage& image, int quality, int dotsPerInch,
            const QString& fileName)
{
    CheckJpegImage(image, quality, dotsPerInch, fileName);
    TJpegEncoder encoder;
    encoder.Destination.Stream = &stream;
    if (EncodeJpeg(&encoder, &image, quality, dotsPerInch, &fileName))
        return;
    if (encoder.Destination.WriteFailed)
        RaiseNotWritten(fileName, stream.errorString().isEmpty()
                                      ? QStringLiteral("ошибка записи")
                                      : QStringLiteral("ошибка записи (%1)").arg(stream.errorString()),
                        false);
    if (encoder.Error.Code == JERR_OUT_OF_MEMORY)
        RaiseNotWritten(fileName, QStringLiteral("не хватает памяти"), false);
    RaiseNotWritten(fileName,
                    QStringLiteral("ошибка кодирования JPEG (%1)")
                        .arg(QString::fromLatin1(encoder.Error.Message)),
                    false);
}

}  // namespace

void WriteJpegToStream(QIODevice& stream, const QImage& image, int quality, int dotsPerInch)
{
    Encode(stream, image, quality, dotsPerInch, QString());
}

void SaveImageAsJpeg(const QString& fileName, const QImage& image, int quality, int dotsPerInch)
{
    CheckJpegImage(image, quality, dotsPerInch, fileName);   // a refused image leaves the file untouched
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        RaiseNotWritten(fileName,
                        QStringLiteral("не удается создать файл (%1)").arg(file.errorString()),
                        false);
    Encode(file, image, quality, dotsPerInch, fileName);
    if (!file.commit())
        RaiseNotWritten(fileName, QStringLiteral("ошибка записи (%1)").arg(file.errorString()),
                        false);
}

void SaveBitmapAsJpeg(const QString& fileName, const TBitmap& bitmap, int quality, int dotsPerInch)
{
    SaveImageAsJpeg(fileName, bitmap.Image(), quality, dotsPerInch);
}
