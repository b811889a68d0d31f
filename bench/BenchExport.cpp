// The exports and the underlay readers, each beside its floor: the whole plan to DXF
// beside writing the same bytes; a square of the plan at 1:500 and 300 dpi to BMP (24
// and 8 bits) and JPEG beside encoding the same picture alone; the exported BMP and JPEG
// read back through LoadPictureFile beside libjpeg decoding the same JPEG alone.
#include "BenchEnv.h"
#include "BenchGuard.h"
#include "BenchMap.h"
#include "Benchmarks.h"

#include "foundation/ProgramDialogs.h"
#include "imaging/BmpWriter.h"
#include "imaging/JpegWriter.h"
#include "imaging/PictureRegistry.h"
#include "semantics/signs/Symbols.h"

#include <QFile>
#include <QSaveFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace bench {

namespace {

Extended Side = 500;   // metres, set at registration

TGeoMap& ExportPlan()
{
    static std::unique_ptr<TGeoMap> map;
    if (!map) {
        map = NewBenchMap();
        OpenPlan(*map, TBenchEnv::Get().PlanFile());
        map->ShowSymbols = 1;
        map->ShowRastrs = 1;
        map->Draw(1920, 1080, 0, ddScreen);
    }
    return *map;
}

QString OutFile(const char* name) { return TBenchEnv::Get().OutFolder() + QString::fromLatin1(name); }

// The export of the square about the dense spot (see BenchDraw.cpp) at 1:500, 300 dpi.
void RasterExport(TGeoMap& map, const QString& file, TPixelDepth depth)
{
    TProgramDialogHooks hooks;
    hooks.SaveRastr = [depth](int& scale, Extended& dpi, TPixelDepth& d, Extended, Extended, Extended, Extended) {
        scale = 500;
        dpi = 300;
        d = depth;
        return TModalResult(mrOk);
    };
    const TScopedProgramDialogHooks scoped(hooks);
    const TGPoints& points = map.Pages.At(0)->Layers.At(0)->Points;
    const TGeoPoint at = points.GetCount() > 0 ? points.At(points.GetCount() / 2)->Position : GeoPoint(410500, 1320500);
    map.SaveToRaster(file, true, at.X - Side / 2, at.Y - Side / 2, at.X + Side / 2, at.Y + Side / 2);
    if (!QFile::exists(file))
        throw Exception(QStringLiteral("the raster export wrote no file \"%1\"").arg(file));
}

struct RExportCase {
    const char* Name;
    const char* File;
    TPixelDepth Depth;   // 6: 24 bits, 3: 8 bits
};
const RExportCase ExportCases[] = {
    {ExportBmp24, "export24.bmp", 6},
    {ExportBmp8, "export8.bmp", 3},
    {ExportJpeg, "export.jpg", 6},
};

void BM_RasterExport(benchmark::State& state, const RExportCase& c)
{
    Guarded(state, [&] {
        TGeoMap& map = ExportPlan();
        TPanelTimings panel;
        map.Services = &panel;
        for (auto _ : state) {
            panel.Drawings.clear();
            RasterExport(map, OutFile(c.File), c.Depth);
        }
        map.Services = nullptr;
        state.counters["file_bytes"] = double(QFile(OutFile(c.File)).size());
        // The drawing into the export's picture (its first drawing; the screen is drawn
        // again after it): the part of the floor the encoding does not hold.
        if (!panel.Drawings.empty()) {
            state.counters["picture_render_ms"] = panel.Drawings.front()[0] * 1000;
            state.counters["picture_draw_ms"] =
                (panel.Drawings.front()[1] + panel.Drawings.front()[2] + panel.Drawings.front()[3]) * 1000;
        }
    });
}

// The exported picture, as the export drew it (32 bits), read back once.
const QImage& ExportedPicture()
{
    static QImage picture;
    if (picture.isNull()) {
        const QString file = OutFile("export24.bmp");
        if (!QFile::exists(file))
            RasterExport(ExportPlan(), file, 6);
        picture = LoadPictureFile(file).convertToFormat(QImage::Format_RGB32);
    }
    return picture;
}

void BM_Encode(benchmark::State& state, int kind)
{
    Guarded(state, [&] {
        const QImage& picture = ExportedPicture();
        const QString file = OutFile("encoded.out");
        for (auto _ : state) {
            if (kind == 2)
                SaveImageAsJpeg(file, picture);
            else
                SaveImageAsBmp(file, picture, kind == 0 ? 24 : 8);
        }
        state.counters["pixels"] = double(picture.width()) * picture.height();
    });
}

void BM_Dxf(benchmark::State& state)
{
    Guarded(state, [&] {
        TGeoMap& map = ExportPlan();
        const QString file = OutFile("plan.dxf");
        // Once ahead, untimed: the first export of a process grows the heap by every
        // picture at 300 dpi (page faults), which its floor, run after it, would not pay.
        map.ExportToDxf(file);
        for (auto _ : state)
            map.ExportToDxf(file);
        state.counters["file_bytes"] = double(QFile(file).size());

    });
}

// The rendering part of the DXF export's floor: every point, line and polygon of the
// visible sheets and layers rendered at 300 dpi, as the export renders them.
void BM_DxfRender(benchmark::State& state)
{
    Guarded(state, [&] {
        TGeoMap& map = ExportPlan();
        map.Symbols->SetScale(map.MapProp.Scale, 300);
        std::int64_t objects = 0;
        for (auto _ : state) {
            objects = 0;
            for (const auto& page : map.Pages) {
                if (!page->Visible)
                    continue;
                for (const auto& layer : page->Layers) {
                    if (!layer->Visible)
                        continue;
                    for (const auto& o : layer->Polygons)
                        map.Symbols->RenderPolygon(o.get());
                    for (const auto& o : layer->Lines)
                        map.Symbols->RenderLine(o.get());
                    for (const auto& o : layer->Points)
                        map.Symbols->RenderPoint(o.get());
                    objects += layer->Polygons.GetCount() + layer->Lines.GetCount() + layer->Points.GetCount();
                }
            }
        }
        // The screen renders them again at its own resolution.
        for (const auto& page : map.Pages)
            for (const auto& layer : page->Layers) {
                for (const auto& o : layer->Polygons)
                    map.ForeignSigns.insert(o.get());
                for (const auto& o : layer->Lines)
                    map.ForeignSigns.insert(o.get());
                for (const auto& o : layer->Points)
                    map.ForeignSigns.insert(o.get());
            }
        state.counters["objects"] = double(objects);
    });
}

// The DXF's bytes written through QSaveFile, as the export writes them.
void BM_DxfBytes(benchmark::State& state)
{
    Guarded(state, [&] {
        const QString file = OutFile("plan.dxf");
        if (!QFile::exists(file))
            ExportPlan().ExportToDxf(file);
        const QByteArray bytes = ReadWholeFile(file);
        const QString copy = OutFile("plan-copy.dxf");
        for (auto _ : state) {
            QSaveFile out(copy);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(bytes) != bytes.size() ||
                !out.commit())
                throw Exception(QStringLiteral("cannot write \"%1\"").arg(copy));
        }
        state.counters["file_bytes"] = double(bytes.size());
    });
}

QString ExportedFile(const char* name, TPixelDepth depth)
{
    const QString file = OutFile(name);
    if (!QFile::exists(file))
        RasterExport(ExportPlan(), file, depth);
    return file;
}

void BM_Load(benchmark::State& state, bool jpeg)
{
    Guarded(state, [&] {
        const QString file = jpeg ? ExportedFile("export.jpg", 6) : ExportedFile("export24.bmp", 6);
        QSize size;
        for (auto _ : state) {
            const QImage image = LoadPictureFile(file);
            size = image.size();
        }
        state.counters["pixels"] = double(size.width()) * size.height();
    });
}

// libjpeg alone: the same file read into memory and decoded row by row into one buffer.
void BM_Libjpeg(benchmark::State& state)
{
    Guarded(state, [&] {
        const QByteArray bytes = ReadWholeFile(ExportedFile("export.jpg", 6));
        std::vector<unsigned char> pixels;
        for (auto _ : state) {
            const QByteArray data = ReadWholeFile(OutFile("export.jpg"));
            jpeg_decompress_struct cinfo;
            jpeg_error_mgr jerr;
            cinfo.err = jpeg_std_error(&jerr);
            jpeg_create_decompress(&cinfo);
            jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()), data.size());
            jpeg_read_header(&cinfo, TRUE);
            jpeg_start_decompress(&cinfo);
            const size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
            pixels.resize(stride * cinfo.output_height);
            while (cinfo.output_scanline < cinfo.output_height) {
                JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
                jpeg_read_scanlines(&cinfo, &row, 1);
            }
            jpeg_finish_decompress(&cinfo);
            jpeg_destroy_decompress(&cinfo);
            benchmark::DoNotOptimize(pixels.data());
        }
        state.counters["file_bytes"] = double(bytes.size());
    });
}

} // namespace

void RegisterExportBenchmarks(const QString& planSize)
{
    Side = planSize == QLatin1String("small") ? 50 : 500;
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark(ExportDxf, BM_Dxf)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorDxfBytes, BM_DxfBytes)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorDxfRender, BM_DxfRender)->Unit(ms)->UseRealTime();
    for (const RExportCase& c : ExportCases)
        benchmark::RegisterBenchmark(c.Name, [&c](benchmark::State& s) { BM_RasterExport(s, c); })
            ->Unit(ms)
            ->UseRealTime();
    benchmark::RegisterBenchmark(FloorEncodeBmp24, [](benchmark::State& s) { BM_Encode(s, 0); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorEncodeBmp8, [](benchmark::State& s) { BM_Encode(s, 1); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorEncodeJpeg, [](benchmark::State& s) { BM_Encode(s, 2); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(LoadBmp, [](benchmark::State& s) { BM_Load(s, false); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(LoadJpeg, [](benchmark::State& s) { BM_Load(s, true); })->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(FloorLibjpeg, BM_Libjpeg)->Unit(ms)->UseRealTime();
}

} // namespace bench
