// JPEG-compressed TIFF strips through libjpeg: the shared tables are read once, each strip
// is a JPEG image of its own whose size, components, precision and sampling must match the
// TIFF's. libjpeg reports a fatal error by calling its error manager, which jumps back to
// the one frame that called the library; the exception is raised only after that frame
// has been left, so no C frame is ever unwound by it.
#include "imaging/decoders/Decoders.h"
#include "imaging/JpegGlue.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};
constexpr char UnexpectedEnd[] = "JPEG decompression error. Unexpected end of input.";

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Asked for more than the block holds: warn and end the image.
boolean FillInputBuffer(j_decompress_ptr info)
{
    JpegWarning(*reinterpret_cast<RJpegErrorManager*>(info->err), UnexpectedEnd);
    info->src->next_input_byte = EndOfImage;
    info->src->bytes_in_buffer = sizeof EndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count)
{
    if (count <= 0)
        return;
    if (std::size_t(count) > info->src->bytes_in_buffer) {
        FillInputBuffer(info);
        return;
    }
    info->src->next_input_byte += count;
    info->src->bytes_in_buffer -= std::size_t(count);
}

enum TBlockFault {
    bfNone,
    bfLibrary,
    bfNotTables,
    bfSize,
    bfComponents,
    bfPrecision,
    bfSampling,
    bfFractional,
    bfLineTooShort,
};

} // namespace

struct TTIFFJPEGDecoder::TState {
    jpeg_decompress_struct Info{};
    RJpegErrorManager Error{};
    jpeg_source_mgr Source{};
    bool Created = false;
    int SamplingH = 1, SamplingV = 1;
    std::vector<std::uint8_t> Tables;

    void SetBlock(const std::uint8_t* data, std::size_t size)
    {
        Source.next_input_byte = data;
        Source.bytes_in_buffer = size;
    }
};

namespace {

using TState = TTIFFJPEGDecoder::TState;

// Everything below that calls libjpeg holds no object with a destructor: a fatal error
// jumps back into these frames.

TBlockFault CreateDecompressor(TState* s)
{
    if (setjmp(s->Error.Jump))
        return bfLibrary;
    jpeg_create_decompress(&s->Info);
    s->Created = true;
    s->Info.src = &s->Source;
    if (!s->Tables.empty()) {
        s->SetBlock(s->Tables.data(), s->Tables.size());
        if (jpeg_read_header(&s->Info, FALSE) != JPEG_HEADER_TABLES_ONLY)
            return bfNotTables;
    }
    return bfNone;
}

struct RBlockRequest {
    const std::uint8_t* Data;
    std::size_t Size;
    std::uint8_t* Dest;
    std::size_t UnpackedSize;
    std::int64_t Width, Rows;
    int Components;          // expected components of the JPEG image
    bool Interleaved;
    int Precision;
    TColorModel ColorScheme;
    std::size_t BytesPerLine;
};

TBlockFault DecodeBlock(TState* s, const RBlockRequest* r)
{
    j_decompress_ptr info = &s->Info;
    if (setjmp(s->Error.Jump)) {
        jpeg_abort_decompress(info);
        return bfLibrary;
    }
    jpeg_abort_decompress(info);
    s->SetBlock(r->Data, r->Size);
    jpeg_read_header(info, TRUE);
    TBlockFault fault = bfNone;
    if (std::int64_t(info->image_width) != r->Width || std::int64_t(info->image_height) != r->Rows)
        fault = bfSize;
    else if (info->num_components != r->Components)
        fault = bfComponents;
    else if (info->data_precision != r->Precision)
        fault = bfPrecision;
    else if (r->Interleaved) {
        if (info->comp_info[0].h_samp_factor != s->SamplingH
            || info->comp_info[0].v_samp_factor != s->SamplingV)
            fault = bfSampling;
        for (int i = 1; i < info->num_components; ++i)
            if (info->comp_info[i].h_samp_factor != 1 || info->comp_info[i].v_samp_factor != 1)
                fault = bfSampling;
    } else if (info->comp_info[0].h_samp_factor != 1 || info->comp_info[0].v_samp_factor != 1) {
        fault = bfSampling;
    }
    if (fault != bfNone) {
        jpeg_abort_decompress(info);
        return fault;
    }
    // The colour space follows the photometric interpretation; colour comes out as blue,
    // green, red, grey as one byte, four components as they are.
    switch (info->num_components) {
    case 1:
        info->jpeg_color_space = JCS_GRAYSCALE;
        info->out_color_space = JCS_GRAYSCALE;
        break;
    case 3:
        info->jpeg_color_space = r->ColorScheme == cmYCbCr ? JCS_YCbCr : JCS_RGB;
        info->out_color_space = JCS_EXT_BGR;
        break;
    case 4:
        info->jpeg_color_space = JCS_CMYK;
        info->out_color_space = JCS_CMYK;
        break;
    default:
        info->jpeg_color_space = JCS_UNKNOWN;
        info->out_color_space = JCS_UNKNOWN;
        break;
    }
    if (r->BytesPerLine == 0 || r->UnpackedSize % r->BytesPerLine != 0) {
        jpeg_abort_decompress(info);
        return bfFractional;
    }
    jpeg_start_decompress(info);
    if (std::size_t(info->output_components) * info->output_width > r->BytesPerLine) {
        jpeg_abort_decompress(info);
        return bfLineTooShort;
    }
    const std::size_t rows = r->UnpackedSize / r->BytesPerLine;
    std::size_t done = 0;
    while (done < rows && info->output_scanline < info->output_height) {
        JSAMPROW line = r->Dest + done * r->BytesPerLine;
        if (jpeg_read_scanlines(info, &line, 1) != 1)
            break;
        ++done;
    }
    if (info->output_scanline >= info->output_height)
        jpeg_finish_decompress(info);
    else
        jpeg_abort_decompress(info);
    return bfNone;
}

} // namespace

TTIFFJPEGDecoder::TTIFFJPEGDecoder(const TImageProperties* Properties)
    : Properties(Properties), State(std::make_unique<TState>())
{
    State->Tables = Properties->JPEGTables;
}

TTIFFJPEGDecoder::~TTIFFJPEGDecoder()
{
    FinishUnpack();
}

void TTIFFJPEGDecoder::StartUnpack()
{
    FinishUnpack();
    TState* s = State.get();
    s->Info.err = JpegErrorManager(s->Error);
    s->Source.init_source = &InitSource;
    s->Source.fill_input_buffer = &FillInputBuffer;
    s->Source.skip_input_data = &SkipInputData;
    s->Source.resync_to_restart = &jpeg_resync_to_restart;
    s->Source.term_source = &TermSource;
    const auto& sub = Properties->SubSampling;
    s->SamplingH = sub.size() >= 1 ? sub[0] : 1;
    s->SamplingV = sub.size() >= 2 ? sub[1] : 1;
    switch (CreateDecompressor(s)) {
    case bfNone:
        return;
    case bfNotTables:
        RaiseCompressionError(QStringLiteral("Bogus JPEG tables field."));
    default:
        RaiseJpegError(s->Error);
    }
}

void TTIFFJPEGDecoder::Unpack(const std::uint8_t*& Source, std::uint8_t*& Dest,
                              std::size_t PackedSize, std::size_t UnpackedSize)
{
    if (!State->Created)
        StartUnpack();
    std::memset(Dest, 0, UnpackedSize);
    const TImageProperties& p = *Properties;
    std::int64_t rows = 0;
    if (!p.RowsPerStrip.empty())
        rows = p.RowsPerStrip[std::min<std::size_t>(p.CurrentStrip, p.RowsPerStrip.size() - 1)];
    if (std::int64_t(p.CurrentRow) < p.Height)
        rows = std::min<std::int64_t>(rows, p.Height - std::int64_t(p.CurrentRow));
    const bool interleaved = p.PlanarConfig != 2;
    const RBlockRequest request{Source, PackedSize, Dest, UnpackedSize, p.Width, rows,
                                interleaved ? int(p.SamplesPerPixel) : 1, interleaved,
                                int(p.BitsPerSample), p.ColorScheme, p.BytesPerLine};
    switch (DecodeBlock(State.get(), &request)) {
    case bfNone:
    case bfNotTables:
        return;
    case bfLibrary:
        RaiseJpegError(State->Error);
    case bfSize:
        RaiseCompressionError(QStringLiteral("Improper JPEG strip/tile size."));
    case bfComponents:
        RaiseCompressionError(QStringLiteral("Improper JPEG component count."));
    case bfPrecision:
        RaiseCompressionError(QStringLiteral("Improper JPEG data precision."));
    case bfSampling:
        RaiseCompressionError(QStringLiteral("Improper JPEG sampling factors."));
    case bfFractional:
        RaiseCompressionError(QStringLiteral("Fractional JPEG scanline unsupported."));
    case bfLineTooShort:
        RaiseCompressionError(QStringLiteral("JPEG rows are wider than the image's rows."));
    }
}

void TTIFFJPEGDecoder::FinishUnpack()
{
    if (State->Created) {
        jpeg_destroy_decompress(&State->Info);
        State->Created = false;
    }
}
