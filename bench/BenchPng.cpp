// Our PNG reader beside libpng on the same scan: a coloured topographic sheet, mostly
// white paper with line work in a few colours, written by libpng as RGB and as a
// palette image with its default filters and compression. Each of ours is judged
// against libpng decoding the same file into one picture buffer in the same run.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "Benchmarks.h"
#include "SheetDrawing.h"

#include "imaging/PictureRegistry.h"

#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

namespace {

int ScanWidth = 1000;
int ScanHeight = 700;

// The colours of the sheet: paper, black line work, brown contours, blue water, green
// vegetation, a grey grid.
const std::uint8_t Inks[6][3] = {{255, 255, 255}, {20, 20, 20}, {150, 90, 40}, {40, 90, 220}, {60, 160, 60},
                                 {160, 160, 160}};

// The scan as ink indexes, one byte a pixel, top row first; made once.
const std::vector<std::uint8_t>& Scan()
{
    static const std::vector<std::uint8_t> pixels = [] {
        TSheetRaster sheet(ScanWidth, ScanHeight, 0, 54321);
        const int w = sheet.W, h = sheet.H;
        // Grey grid, brown contours with a black edge, black lettering.
        DrawSheetLineWork(sheet, RSheetInks{5, 5, 2, 1, 1});
        // Water: a few wide bands; vegetation: scattered blocks of dots.
        for (int k = 0; k < 3; ++k)
            for (int x = 0; x < w; ++x)
                for (int t = 0; t < 6; ++t)
                    sheet.Dot(x, h / 4 * (k + 1) + int(30 * std::sin(x / 200.0 + k)) + t, 3);
        for (int b = 0; b < w * h / 20000; ++b) {
            const int bx = int(sheet.Next() % unsigned(w)), by = int(sheet.Next() % unsigned(h));
            for (int i = 0; i < 40; ++i)
                sheet.Dot(bx + int(sheet.Next() % 60), by + int(sheet.Next() % 40), 4);
        }
        return std::move(sheet.Pixels);
    }();
    return pixels;
}

struct RForm {
    const char* Name;
    bool Palette;
};
constexpr RForm Forms[] = {{"rgb", false}, {"palette", true}};

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

void LibpngWrite(const std::string& file, bool palette)
{
    TFilePtr out(std::fopen(file.c_str(), "wb"));
    if (!out)
        throw std::runtime_error("cannot create " + file);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng cannot write " + file);
    }
    png_init_io(png, out.get());
    png_set_IHDR(png, info, png_uint_32(ScanWidth), png_uint_32(ScanHeight), 8,
                 palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color colours[6];
    for (int i = 0; i < 6; ++i)
        colours[i] = {Inks[i][0], Inks[i][1], Inks[i][2]};
    if (palette)
        png_set_PLTE(png, info, colours, 6);
    png_write_info(png, info);
    const auto& pixels = Scan();
    std::vector<std::uint8_t> row(std::size_t(ScanWidth) * 3);
    for (int y = 0; y < ScanHeight; ++y) {
        const std::uint8_t* source = &pixels[std::size_t(y) * ScanWidth];
        if (palette) {
            png_write_row(png, source);
            continue;
        }
        for (int x = 0; x < ScanWidth; ++x)
            for (int k = 0; k < 3; ++k)
                row[std::size_t(3 * x + k)] = Inks[source[x]][k];
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
}

QString ScanFile(const RForm& form)
{
    const QString file = TBenchEnv::Get().OutFolder() + QStringLiteral("scan-%1.png").arg(form.Name);
    if (!QFile::exists(file))
        LibpngWrite(file.toStdString(), form.Palette);
    return file;
}

void BM_Decode(benchmark::State& state, const RForm* form)
{
    Guarded(state, [&] {
        const QString file = ScanFile(*form);
        for (auto _ : state) {
            QImage image = LoadPictureFile(file);
            benchmark::DoNotOptimize(image.constBits());
        }
        state.SetBytesProcessed(state.iterations() * std::int64_t(ScanWidth) * ScanHeight);
        state.counters["file_bytes"] = double(QFile(file).size());
    });
}

// libpng reading the whole picture row by row into one buffer, in the file's layout.
void LibpngDecode(const std::string& file)
{
    TFilePtr in(std::fopen(file.c_str(), "rb"));
    if (!in)
        throw std::runtime_error("cannot open " + file);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng cannot read " + file);
    }
    png_init_io(png, in.get());
    png_read_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    std::vector<std::uint8_t> picture(rowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y)
        png_read_row(png, picture.data() + rowBytes * y, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(picture.data());
}

void BM_LibpngDecode(benchmark::State& state, const RForm* form)
{
    Guarded(state, [&] {
        const std::string file = ScanFile(*form).toStdString();
        for (auto _ : state)
            LibpngDecode(file);
        state.SetBytesProcessed(state.iterations() * std::int64_t(ScanWidth) * ScanHeight);
    });
}

} // namespace

void RegisterPngBenchmarks(const QString& planSize)
{
    if (planSize != QStringLiteral("small")) {
        ScanWidth = 10000;
        ScanHeight = 7000;
    }
    const auto ms = benchmark::kMillisecond;
    for (const RForm& form : Forms) {
        benchmark::RegisterBenchmark((std::string(PngDecode) + form.Name).c_str(), BM_Decode, &form)
            ->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark((std::string(PngDecodeLibpng) + form.Name).c_str(), BM_LibpngDecode, &form)
            ->Unit(ms)->UseRealTime();
    }
}

} // namespace bench
