// The registry of picture formats: extensions with their descriptions, file types and
// reader classes, the standard formats, and the open-dialog filter built from them.
#include "imaging/EpsReader.h"
#include "imaging/ImageGraphic.h"
#include "imaging/PcdReader.h"
#include "imaging/PcxReader.h"
#include "imaging/PictureReaders.h"
#include "imaging/PngReader.h"
#include "imaging/PpmReader.h"
#include "imaging/PsdReader.h"
#include "imaging/PspReader.h"
#include "imaging/RlaReader.h"
#include "imaging/SgiReader.h"
#include "imaging/TargaReader.h"
#include "imaging/TiffReader.h"

#include <algorithm>

namespace {

bool SameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void SortText(QStringList& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

// The reader classes of the standard formats; a class whose reader is not written yet
// has no Read and its files are refused by name.
const TGraphicClass BitmapClass{QStringLiteral("TBitmap"), &ReadBmpPicture};
const TGraphicClass IconClass{QStringLiteral("TIcon")};
const TGraphicClass JpegClass{QStringLiteral("TJPEGImage"), &ReadJpegPicture};
const TGraphicClass TargaClass{QStringLiteral("TTargaGraphic"), &ReadPictureWith<TTargaGraphic>,
                               [] { return std::unique_ptr<TImageGraphic>(new TTargaGraphic); }};
const TGraphicClass TiffClass{QStringLiteral("TTIFFGraphic"), &ReadPictureWith<TTIFFGraphic>,
                              [] { return std::unique_ptr<TImageGraphic>(new TTIFFGraphic); }};
const TGraphicClass EpsClass{QStringLiteral("TEPSGraphic"), &ReadPictureWith<TEPSGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TEPSGraphic); }};
const TGraphicClass PcxClass{QStringLiteral("TPCXGraphic"), &ReadPictureWith<TPCXGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPCXGraphic); }};
const TGraphicClass RlaClass{QStringLiteral("TRLAGraphic"), &ReadPictureWith<TRLAGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TRLAGraphic); }};
const TGraphicClass SgiClass{QStringLiteral("TSGIGraphic"), &ReadPictureWith<TSGIGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TSGIGraphic); }};
const TGraphicClass PsdClass{QStringLiteral("TPSDGraphic"), &ReadPictureWith<TPSDGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPSDGraphic); }};
const TGraphicClass PpmClass{QStringLiteral("TPPMGraphic"), &ReadPictureWith<TPPMGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPPMGraphic); }};
const TGraphicClass AutodeskClass{QStringLiteral("TAutodeskGraphic"), &ReadPictureWith<TAutodeskGraphic>,
                                  [] { return std::unique_ptr<TImageGraphic>(new TAutodeskGraphic); }};
const TGraphicClass PcdClass{QStringLiteral("TPCDGraphic"), &ReadPictureWith<TPCDGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPCDGraphic); }};
const TGraphicClass CutClass{QStringLiteral("TCUTGraphic"), &ReadPictureWith<TCUTGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TCUTGraphic); }};
const TGraphicClass PspClass{QStringLiteral("TPSPGraphic"), &ReadPictureWith<TPSPGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPSPGraphic); }};
const TGraphicClass PngClass{QStringLiteral("TPNGGraphic"), &ReadPictureWith<TPNGGraphic>,
                             [] { return std::unique_ptr<TImageGraphic>(new TPNGGraphic); }};

struct RStandardFormat {
    const char* Extension;
    const TGraphicClass* Class;
    const char* ExtensionDescription;
    const char* ClassDescription;
    std::uint8_t FileTypes;
};

// Metafiles (wmf, emf) are not among them: nothing here draws a metafile.
const RStandardFormat StandardFormats[] = {
    {"bmp", &BitmapClass, "", "Windows bitmaps", ftRaster},
    {"ico", &IconClass, "", "Windows icons", ftRaster},
    {"jfif", &JpegClass, "JFIF images", "JPG images", ftRaster},
    {"jpg", &JpegClass, "JPG images", "", ftRaster},
    {"jpe", &JpegClass, "JPE images", "", ftRaster},
    {"jpeg", &JpegClass, "JPEG images", "", ftRaster},
    {"rle", &BitmapClass, "Run length encoded Windows bitmaps", "Windows bitmaps", ftRaster},
    {"dib", &BitmapClass, "Device independant Windows bitmaps", "", ftRaster},
    {"win", &TargaClass, "", "Truevision images", ftRaster},
    {"vst", &TargaClass, "", "", ftRaster},
    {"vda", &TargaClass, "", "", ftRaster},
    {"tga", &TargaClass, "", "", ftRaster},
    {"icb", &TargaClass, "", "", ftRaster},
    {"tiff", &TiffClass, "Macintosh TIFF images", "Tagged image file format images", ftRaster | ftMultiImage},
    {"tif", &TiffClass, "PC TIF images", "", ftRaster | ftMultiImage},
    {"fax", &TiffClass, "GFI fax images", "", ftRaster | ftMultiImage},
    {"eps", &EpsClass, "", "Encapsulated Postscript images", ftRaster},
    {"pcx", &PcxClass, "", "ZSoft Paintbrush images", ftRaster},
    {"pcc", &PcxClass, "", "", ftRaster},
    {"scr", &PcxClass, "Word 5.x screen capture images", "", ftRaster},
    {"rpf", &RlaClass, "", "Alias/Wavefront images", ftRaster},
    {"rla", &RlaClass, "", "", ftRaster},
    {"sgi", &SgiClass, "SGI true color images", "SGI images", ftRaster},
    {"rgba", &SgiClass, "SGI true color images with alpha", "", ftRaster},
    {"rgb", &SgiClass, "SGI true color images", "", ftRaster},
    {"bw", &SgiClass, "SGI black/white images", "", ftRaster},
    {"psd", &PsdClass, "", "Photoshop images", ftRaster | ftLayered},
    {"pdd", &PsdClass, "", "", ftRaster | ftLayered},
    {"ppm", &PpmClass, "Portable pixel map images", "Portable map images", ftRaster},
    {"pgm", &PpmClass, "Portable gray map images", "", ftRaster},
    {"pbm", &PpmClass, "Portable bitmap images", "", ftRaster},
    {"cel", &AutodeskClass, "", "Autodesk images", ftRaster},
    {"pic", &AutodeskClass, "", "Autodesk images", ftRaster},
    {"pcd", &PcdClass, "", "Kodak Photo-CD images", ftRaster},
    {"cut", &CutClass, "", "Dr. Halo images", ftRaster},
    {"psp", &PspClass, "", "Paintshop Pro images", ftRaster | ftMeta},
    {"png", &PngClass, "", "Portable network graphic images", ftRaster},
};

}  // namespace

void TFileFormatList::AddFormat(const QString& extension, const QString& classDescription,
                                const QString& extensionDescription, std::uint8_t fileTypes, bool replace,
                                const TGraphicClass* graphicClass)
{
    if (extension.isEmpty() || !graphicClass)
        return;
    const auto classEntryOf = [&]() {
        const int index = IndexOfClass(graphicClass);
        if (index >= 0)
            return ClassList[std::size_t(index)].get();
        auto entry = std::make_unique<TClassEntry>();
        entry->GraphicClass = graphicClass;
        ClassList.push_back(std::move(entry));
        return ClassList.back().get();
    };
    const int index = IndexOfExtension(extension);
    if (index < 0) {
        auto entry = std::make_unique<TExtensionEntry>();
        entry->Extension = extension;
        entry->Description = extensionDescription;
        entry->FileTypes = fileTypes;
        entry->Class = classEntryOf();
        entry->Class->Count += 1;
        if (!classDescription.isEmpty())
            entry->Class->Description = classDescription;
        ExtensionList.push_back(std::move(entry));
        return;
    }
    if (!replace)
        RaiseGraphicError(QStringLiteral("Attempt to register %1 twice.").arg(extension));
    TExtensionEntry& entry = *ExtensionList[std::size_t(index)];
    if (entry.Class->GraphicClass != graphicClass) {
        TClassEntry* old = entry.Class;
        entry.Class = classEntryOf();
        entry.Class->Count += 1;
        if (--old->Count == 0)
            ClassList.erase(ClassList.begin() + IndexOfClass(old->GraphicClass));
    }
    if (!classDescription.isEmpty())
        entry.Class->Description = classDescription;
}

void TFileFormatList::RemoveFormat(const QString& extension, const TGraphicClass* graphicClass)
{
    if (!extension.isEmpty()) {
        const int index = IndexOfExtension(extension);
        if (index < 0)
            return;
        TClassEntry* owner = ExtensionList[std::size_t(index)]->Class;
        ExtensionList.erase(ExtensionList.begin() + index);
        if (--owner->Count == 0)
            ClassList.erase(ClassList.begin() + IndexOfClass(owner->GraphicClass));
        return;
    }
    const int classIndex = IndexOfClass(graphicClass);
    if (classIndex < 0)
        return;
    const TClassEntry* owner = ClassList[std::size_t(classIndex)].get();
    std::erase_if(ExtensionList, [owner](const auto& entry) { return entry->Class == owner; });
    ClassList.erase(ClassList.begin() + classIndex);
}

int TFileFormatList::IndexOfExtension(const QString& extension) const
{
    if (extension.isEmpty())
        return -1;
    for (std::size_t i = 0; i < ExtensionList.size(); ++i)
        if (SameText(ExtensionList[i]->Extension, extension))
            return int(i);
    return -1;
}

int TFileFormatList::IndexOfClass(const TGraphicClass* graphicClass) const
{
    for (std::size_t i = 0; i < ClassList.size(); ++i)
        if (ClassList[i]->GraphicClass == graphicClass)
            return int(i);
    return -1;
}

void TFileFormatList::Clear()
{
    ExtensionList.clear();
    ClassList.clear();
}

QString TFileFormatList::DescriptionOf(const TExtensionEntry& entry) const
{
    return entry.Description.isEmpty() ? entry.Class->Description : entry.Description;
}

QString TFileFormatList::BuildGraphicFilter(std::uint8_t fileTypes, TFilterSortKind sortKind,
                                            std::uint8_t options, const TGraphicClass* graphicClass) const
{
    if (fileTypes == 0)
        fileTypes = ftAllTypes;
    const bool sortDescriptions = sortKind == fstBoth || sortKind == fstDescription;
    const bool sortExtensions = sortKind == fstBoth || sortKind == fstExtension;
    struct RItem {
        QString Description, Pattern;
    };
    std::vector<RItem> items;
    QStringList all;
    const auto patternOf = [](const QStringList& extensions) {
        QStringList patterns;
        for (const QString& ext : extensions)
            patterns.append(QStringLiteral("*.") + ext);
        return patterns.join(QStringLiteral("; "));
    };
    const auto wanted = [&](const TExtensionEntry& e) {
        return (e.FileTypes & fileTypes) && (!graphicClass || e.Class->GraphicClass == graphicClass);
    };
    if (options & foCompact) {
        for (const auto& entry : ClassList) {
            if (graphicClass && entry->GraphicClass != graphicClass)
                continue;
            QStringList extensions;
            for (const auto& e : ExtensionList)
                if (e->Class == entry.get() && wanted(*e))
                    extensions.append(e->Extension);
            if (sortExtensions)
                SortText(extensions);
            if (options & foIncludeAll)
                all.append(extensions);
            if (!extensions.isEmpty())
                items.push_back({entry->Description, patternOf(extensions)});
        }
    } else {
        for (const auto& e : ExtensionList) {
            if (!wanted(*e))
                continue;
            items.push_back({DescriptionOf(*e), patternOf({e->Extension})});
            if (options & foIncludeAll)
                all.append(e->Extension);
        }
    }
    if (sortDescriptions)
        std::stable_sort(items.begin(), items.end(), [](const RItem& a, const RItem& b) {
            return a.Description.compare(b.Description, Qt::CaseInsensitive) < 0;
        });
    if (sortExtensions)
        SortText(all);

    QString result;
    if ((options & foIncludeAll) && !all.isEmpty())
        result = QStringLiteral("All images|") + patternOf(all) + QLatin1Char('|');
    for (const RItem& item : items) {
        result += item.Description;
        if (options & foIncludeExtension)
            result += QStringLiteral(" (") + item.Pattern + QLatin1Char(')');
        result += QLatin1Char('|') + item.Pattern + QLatin1Char('|');
    }
    result.chop(result.endsWith(QLatin1Char('|')) ? 1 : 0);
    return result;
}

void RegisterStandardFormats(TFileFormatList& list)
{
    for (const RStandardFormat& f : StandardFormats)
        list.AddFormat(QLatin1String(f.Extension), QLatin1String(f.ClassDescription),
                       QLatin1String(f.ExtensionDescription), f.FileTypes, false, f.Class);
}

TFileFormatList& FileFormatList()
{
    static TFileFormatList list;
    static const bool registered = (RegisterStandardFormats(list), true);
    (void)registered;
    return list;
}

bool PictureFormatRegistered(const QString& ext)
{
    return FileFormatList().IndexOfExtension(ext) >= 0;
}

QStringList RegisteredPictureExtensions()
{
    QStringList list;
    for (const auto& entry : FileFormatList().Extensions())
        list.append(entry->Extension.toLower());
    list.sort();
    return list;
}
