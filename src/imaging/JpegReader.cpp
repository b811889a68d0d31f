// The JPEG reader over libjpeg: baseline and progressive files, greyscale, colour and
// the CMYK of print scans. libjpeg's fatal errors jump back to the decoding frame
// through the shared error manager; the decoder's memory is released by the frame that
// owns it, never by the jump.
#include "imaging/JpegGlue.h"
#include "imaging/PictureReaders.h"

#include <algorithm>

#include <jerror.h>

namespace {

// Progressive files of ordinary writers have about ten scans; every scan walks the
// whole picture, so a file of thousands of tiny scans would keep the reader busy for
// hours. Such a file is refused.
constexpr int MaxJpegScans = 1000;
// The error code the scan limit leaves; libjpeg's own codes are not negative.
constexpr int TooManyScansCode = -1;

bool EndOfDataIsFatal(int code)
{
    // A file that ends early is broken (libjpeg would paint the rest grey); the other
    // warnings (stray bytes between markers and the like) are harmless.
    return code == JWRN_JPEG_EOF;
}

// Called between the steps of the decoding, the reading of each scan included.
void JpegProgress(j_common_ptr info)
{
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxJpegScans) {
        auto* error = reinterpret_cast<RJpegErrorManager*>(info->err);
        error->Code = TooManyScansCode;
        std::longjmp(error->Jump, 1);
    }
}

// Owns the decoder, so that it is destroyed on every way out, the jump included.
struct TJpegDecoder {
    jpeg_decompress_struct Info{};
    RJpegErrorManager Error;
    jpeg_progress_mgr Progress{};
    bool Created = false;

    TJpegDecoder() = default;
    TJpegDecoder(const TJpegDecoder&) = delete;
    TJpegDecoder& operator=(const TJpegDecoder&) = delete;
    ~TJpegDecoder()
    {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
};

// Decodes data into *image; false when libjpeg failed (its message in the decoder).
// libjpeg leaves this frame by longjmp, so nothing here has a destructor that a jump
// could skip: the decoder and the image belong to the caller. A picture too large for
// memory raises EPictureError normally.
bool DecodeJpeg(TJpegDecoder* decoder, const uchar* data, std::int64_t size, const QString* path,
                QImage* image)
{
    jpeg_decompress_struct* info = &decoder->Info;
    info->err = JpegErrorManager(decoder->Error);
    decoder->Error.FatalWarning = &EndOfDataIsFatal;
    if (setjmp(decoder->Error.Jump))
        return false;

    decoder->Created = true;
    jpeg_create_decompress(info);
    decoder->Progress.progress_monitor = &JpegProgress;
    info->progress = &decoder->Progress;
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);

    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    const bool grey = !cmyk && info->num_components == 1;
    info->out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    // The size the header claims is checked before the decoder allocates anything for
    // it: a progressive file is decoded whole into buffers of the claimed size before
    // the first row comes out. What memory the image leaves is all the decoder may
    // take; beyond it libjpeg fails (it has no backing store) instead of allocating.
    jpeg_calc_output_dimensions(info);
    const int width = static_cast<int>(info->output_width);
    const int height = static_cast<int>(info->output_height);
    const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
    const std::int64_t imageBytes = CheckPictureSize(*path, width, height, format);
    info->mem->max_memory_to_use = static_cast<long>(
        std::max<std::int64_t>(PictureMemoryLimit() - imageBytes, 1));
    jpeg_start_decompress(info);

    *image = NewPictureImage(*path, width, height, format);
    // CMYK rows go through a buffer of the decoder's own pool, freed with it.
    JSAMPARRAY buffer = cmyk ? info->mem->alloc_sarray(reinterpret_cast<j_common_ptr>(info),
                                                       JPOOL_IMAGE, JDIMENSION(width) * 4, 1)
                             : nullptr;
    // Adobe's writers store CMYK inverted.
    const bool inverted = info->saw_Adobe_marker != 0;
    while (info->output_scanline < info->output_height) {
        const int line = static_cast<int>(info->output_scanline);
        JSAMPROW row = cmyk ? buffer[0] : image->scanLine(line);
        // A source held in memory never suspends; no row would mean a loop forever.
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            ERREXIT(info, JERR_BAD_BUFFER_MODE);
        if (cmyk) {
            uchar* out = image->scanLine(line);
            for (int x = 0; x < width; ++x, row += 4, out += 3) {
                const int c = inverted ? row[0] : 255 - row[0];
                const int m = inverted ? row[1] : 255 - row[1];
                const int y = inverted ? row[2] : 255 - row[2];
                const int k = inverted ? row[3] : 255 - row[3];
                out[0] = uchar(c * k / 255);
                out[1] = uchar(m * k / 255);
                out[2] = uchar(y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

}  // namespace

QImage ReadJpegPicture(const QString& path)
{
    const TPictureFileBytes file(path);
    if (file.Size() < 4 || file.Data()[0] != 0xFF || file.Data()[1] != 0xD8)
        RaiseBrokenPicture(path, QStringLiteral("это не рисунок JPEG"));
    TJpegDecoder decoder;
    QImage image;
    if (!DecodeJpeg(&decoder, file.Data(), file.Size(), &path, &image)) {
        if (decoder.Error.Code == TooManyScansCode)
            RaiseBrokenPicture(path, QStringLiteral("более %1 проходов прогрессивного JPEG")
                                         .arg(MaxJpegScans));
        if (decoder.Error.Code == JERR_NO_BACKING_STORE || decoder.Error.Code == JERR_OUT_OF_MEMORY)
            RaisePictureTooLarge(path, decoder.Info.output_width, decoder.Info.output_height);
        if (decoder.Error.Code == JWRN_JPEG_EOF)
            RaiseBrokenPicture(path, QStringLiteral("данные обрезаны"));
        RaiseBrokenPicture(path, QStringLiteral("ошибка декодирования JPEG (%1)")
                                     .arg(QString::fromLatin1(decoder.Error.Message)));
    }
    return image;
}
