// Our TIFF reader and writer beside libtiff on the same scan: a greyscale sheet, mostly
// white with dark line work (a grid, contour-like curves, short strokes of lettering and
// light speckle), written by libtiff in LZW, PackBits and uncompressed forms. Each of
// ours is judged against libtiff doing the same work in the same run.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "Benchmarks.h"
#include "SheetDrawing.h"

#include "imaging/Bitmap.h"
#include "imaging/Bmp2Tiff.h"
#include "imaging/PictureRegistry.h"

#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

namespace {

int ScanWidth = 1000;
int ScanHeight = 700;
constexpr int RowsPerStrip = 64;

// The scan, one byte a pixel, top row first; made once.
const std::vector<std::uint8_t>& Scan()
{
    static const std::vector<std::uint8_t> pixels = [] {
        TSheetRaster sheet(ScanWidth, ScanHeight, 255, 12345);
        // Light speckle of the paper, one pixel in about 40, as a scanner sees its grain.
        std::vector<std::uint8_t>& p = sheet.Pixels;
        for (std::size_t i = sheet.Next() % 40; i < p.size(); i += 1 + sheet.Next() % 80)
            p[i] = std::uint8_t(200 + sheet.Next() % 40);
        // Grid, contours and lettering in dark greys, contour edges lighter.
        DrawSheetLineWork(sheet, RSheetInks{40, 90, 30, 150, 20});
        return std::move(sheet.Pixels);
    }();
    return pixels;
}

struct TTiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TTiffPtr = std::unique_ptr<TIFF, TTiffCloser>;

// The scan written by libtiff as greyscale (or as a grey palette, the layout our writer
// gives an 8-bit bitmap) in strips of rowsPerStrip rows.
void LibtiffWrite(const std::string& file, std::uint16_t compression, bool palette, std::uint32_t rowsPerStrip)
{
    TTiffPtr t(TIFFOpen(file.c_str(), "w"));
    if (!t)
        throw std::runtime_error("libtiff cannot create " + file);
    TIFFSetField(t.get(), TIFFTAG_IMAGEWIDTH, std::uint32_t(ScanWidth));
    TIFFSetField(t.get(), TIFFTAG_IMAGELENGTH, std::uint32_t(ScanHeight));
    TIFFSetField(t.get(), TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t.get(), TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t.get(), TIFFTAG_COMPRESSION, compression);
    TIFFSetField(t.get(), TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (palette) {
        static std::vector<std::uint16_t> ramp = [] {
            std::vector<std::uint16_t> r(256);
            for (int i = 0; i < 256; ++i)
                r[i] = std::uint16_t(i * 257);
            return r;
        }();
        TIFFSetField(t.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(t.get(), TIFFTAG_COLORMAP, ramp.data(), ramp.data(), ramp.data());
    } else {
        TIFFSetField(t.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    }
    const auto& pixels = Scan();
    for (int y = 0; y < ScanHeight; ++y)
        if (TIFFWriteScanline(t.get(), const_cast<std::uint8_t*>(&pixels[std::size_t(y) * ScanWidth]), y, 0) < 0)
            throw std::runtime_error("libtiff cannot write " + file);
}

struct RForm {
    const char* Name;
    std::uint16_t Compression;
};
constexpr RForm Forms[] = {{"lzw", COMPRESSION_LZW}, {"packbits", COMPRESSION_PACKBITS}, {"none", COMPRESSION_NONE}};

// The scan file of one form, written on first use into the run's folder.
QString ScanFile(const RForm& form)
{
    const QString file = TBenchEnv::Get().OutFolder() + QStringLiteral("scan-%1.tif").arg(form.Name);
    if (!QFile::exists(file))
        LibtiffWrite(file.toStdString(), form.Compression, false, RowsPerStrip);
    return file;
}

std::int64_t StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::stoll(line.substr(key.size()));
    return -1;
}

// Peak resident memory of one decode above what was resident before it, in bytes; -1
// when the kernel cannot reset the peak.
template <class F>
std::int64_t DecodePeak(F decode)
{
    std::ofstream clear("/proc/self/clear_refs");
    if (!(clear << "5" << std::flush))
        return -1;
    const std::int64_t before = StatusKb("VmRSS");
    decode();
    return (StatusKb("VmHWM") - before) * 1024;
}

void CountPicture(benchmark::State& state, std::int64_t peak)
{
    const double picture = double(ScanWidth) * ScanHeight;
    state.SetBytesProcessed(state.iterations() * std::int64_t(picture));
    if (peak >= 0) {
        // What the decode holds beyond the picture, in strips of the file.
        state.counters["peak_bytes"] = double(peak);
        state.counters["extra_strips"] = (double(peak) - picture) / (double(ScanWidth) * RowsPerStrip);
    }
}

void BM_Decode(benchmark::State& state, const RForm* form)
{
    Guarded(state, [&] {
        const QString file = ScanFile(*form);
        for (auto _ : state) {
            QImage image = LoadPictureFile(file);
            benchmark::DoNotOptimize(image.constBits());
        }
        CountPicture(state, DecodePeak([&] { QImage image = LoadPictureFile(file); }));
        state.counters["file_bytes"] = double(QFile(file).size());
    });
}

// libtiff reading the whole picture strip by strip into one buffer, as ours does.
void LibtiffDecode(const std::string& file)
{
    TTiffPtr t(TIFFOpen(file.c_str(), "r"));
    if (!t)
        throw std::runtime_error("libtiff cannot open " + file);
    std::vector<std::uint8_t> picture(std::size_t(ScanWidth) * ScanHeight);
    const tstrip_t strips = TIFFNumberOfStrips(t.get());
    std::size_t at = 0;
    for (tstrip_t s = 0; s < strips; ++s) {
        const tmsize_t got = TIFFReadEncodedStrip(t.get(), s, picture.data() + at, tmsize_t(picture.size() - at));
        if (got < 0)
            throw std::runtime_error("libtiff cannot read " + file);
        at += std::size_t(got);
    }
    benchmark::DoNotOptimize(picture.data());
}

void BM_LibtiffDecode(benchmark::State& state, const RForm* form)
{
    Guarded(state, [&] {
        const std::string file = ScanFile(*form).toStdString();
        for (auto _ : state)
            LibtiffDecode(file);
        CountPicture(state, DecodePeak([&] { LibtiffDecode(file); }));
    });
}

// Our writer: the scan as an 8-bit bitmap with a grey palette, uncompressed, one strip.
void BM_Write(benchmark::State& state)
{
    Guarded(state, [&] {
        TBitmap bitmap;
        bitmap.SetPixelFormat(pf8bit);
        bitmap.SetSize(ScanWidth, ScanHeight);
        QList<QRgb> grey;
        for (int i = 0; i < 256; ++i)
            grey.push_back(qRgb(i, i, i));
        bitmap.SetColorTable(grey);
        const auto& pixels = Scan();
        for (int y = 0; y < ScanHeight; ++y)
            std::copy_n(&pixels[std::size_t(y) * ScanWidth], ScanWidth, bitmap.ScanLine(y));
        const QString file = TBenchEnv::Get().OutFolder() + QStringLiteral("written.tif");
        for (auto _ : state) {
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                state.SkipWithError("cannot create the written scan");
                return;
            }
            WriteTiffToStream(out, bitmap);
        }
        state.SetBytesProcessed(state.iterations() * std::int64_t(ScanWidth) * ScanHeight);
    });
}

// libtiff writing the same layout: grey palette, uncompressed, one strip, row by row.
void BM_LibtiffWrite(benchmark::State& state)
{
    Guarded(state, [&] {
        const std::string file = (TBenchEnv::Get().OutFolder() + QStringLiteral("written-libtiff.tif")).toStdString();
        Scan();
        for (auto _ : state)
            LibtiffWrite(file, COMPRESSION_NONE, true, std::uint32_t(ScanHeight));
        state.SetBytesProcessed(state.iterations() * std::int64_t(ScanWidth) * ScanHeight);
    });
}

} // namespace

void RegisterTiffBenchmarks(const QString& planSize)
{
    // The real sheet unless the run is the small smoke run.
    if (planSize != QStringLiteral("small")) {
        ScanWidth = 10000;
        ScanHeight = 7000;
    }
    // libtiff's own warnings (none expected) would only clutter the report.
    TIFFSetWarningHandler(nullptr);
    const auto ms = benchmark::kMillisecond;
    for (const RForm& form : Forms) {
        benchmark::RegisterBenchmark((std::string(TiffDecode) + form.Name).c_str(), BM_Decode, &form)
            ->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark((std::string(TiffDecodeLibtiff) + form.Name).c_str(), BM_LibtiffDecode, &form)
            ->Unit(ms)->UseRealTime();
    }
    benchmark::RegisterBenchmark(TiffWrite, BM_Write)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(TiffWriteLibtiff, BM_LibtiffWrite)->Unit(ms)->UseRealTime();
}

} // namespace bench
