// The JPEG reader over libjpeg: baseline and progressive files, greyscale, colour and
// the CMYK of print scans. libjpeg reports a fatal error by calling its error manager,
// which here jumps back to the decoding frame instead of ending the program; the
// decoder's memory is released by the frame that owns it, never by the jump.
#include "imaging/PictureReaders.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct RJpegError {
    jpeg_error_mgr Manager;   // first, so that libjpeg's err pointer is this record
    std::jmp_buf Jump;
    int Code = 0;
    char Message[JMSG_LENGTH_MAX] = {};
};

void JpegErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<RJpegError*>(info->err);
    error->Code = info->err->msg_code;
    info->err->format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Warnings: a file that ends early is broken (libjpeg would paint the rest grey);
// the others (stray bytes between markers and the like) are harmless. Nothing is ever
// written to the console.
void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        JpegErrorExit(info);
}

void JpegOutputMessage(j_common_ptr) {}

// Owns the decoder, so that it is destroyed on every way out, the jump included.
struct TJpegDecoder {
    jpeg_decompress_struct Info{};
    RJpegError Error;
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
    info->err = jpeg_std_error(&decoder->Error.Manager);
    decoder->Error.Manager.error_exit = &JpegErrorExit;
    decoder->Error.Manager.emit_message = &JpegEmitMessage;
    decoder->Error.Manager.output_message = &JpegOutputMessage;
    if (setjmp(decoder->Error.Jump))
        return false;

    decoder->Created = true;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);

    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    const bool grey = !cmyk && info->num_components == 1;
    info->out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(info);

    const int width = static_cast<int>(info->output_width);
    const int height = static_cast<int>(info->output_height);
    *image = NewPictureImage(*path, width, height,
                             grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    // CMYK rows go through a buffer of the decoder's own pool, freed with it.
    JSAMPARRAY buffer = cmyk ? info->mem->alloc_sarray(reinterpret_cast<j_common_ptr>(info),
                                                       JPOOL_IMAGE, JDIMENSION(width) * 4, 1)
                             : nullptr;
    // Adobe's writers store CMYK inverted.
    const bool inverted = info->saw_Adobe_marker != 0;
    while (info->output_scanline < info->output_height) {
        const int line = static_cast<int>(info->output_scanline);
        JSAMPROW row = cmyk ? buffer[0] : image->scanLine(line);
        jpeg_read_scanlines(info, &row, 1);
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
        if (decoder.Error.Code == JWRN_JPEG_EOF)
            RaiseBrokenPicture(path, QStringLiteral("данные обрезаны"));
        RaiseBrokenPicture(path, QStringLiteral("ошибка декодирования JPEG (%1)")
                                     .arg(QString::fromLatin1(decoder.Error.Message)));
    }
    return image;
}
