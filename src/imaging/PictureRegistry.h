// Raster pictures read by their file's extension: the one registry of picture formats
// that raster underlays are loaded through and the open dialogs list. Every reader
// returns the whole image or raises EPictureError with a message the user will read;
// none writes to the console, ends the program or returns half an image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

// A picture that cannot be read: unknown format, unreadable or broken file, or an image
// too large for the memory left. Message is Russian; what() gives it as UTF-8.
class EPictureError : public std::exception {
public:
    explicit EPictureError(QString message);
    const char* what() const noexcept override { return Utf8.constData(); }

    QString Message;

private:
    QByteArray Utf8;
};

// Reads the file at path (an existing file, named as on disk) in one format.
using TPictureReader = QImage (*)(const QString& path);

class TImageGraphic;

// What the registry knows of one reader class. Classes are told apart by address: each
// is one static record.
struct TGraphicClass {
    QString Name;                        // "TBitmap", "TTIFFGraphic"
    TPictureReader Read = nullptr;       // null while the format has no reader
    std::unique_ptr<TImageGraphic> (*Create)() = nullptr;  // for TImageGraphic readers
};

// Bits of a file type set. Every raster format has ftRaster; a request with no bits
// means all of them.
enum TFileType : std::uint8_t {
    ftUnused = 1,
    ftLayered = 2,       // Photoshop
    ftMultiImage = 4,    // TIFF
    ftRaster = 8,
    ftMeta = 16,         // metafiles and Paintshop Pro
    ftAllTypes = 31
};

struct TClassEntry {
    const TGraphicClass* GraphicClass = nullptr;  // link, not owned
    QString Description;
    int Count = 0;                                // its extensions
};

struct TExtensionEntry {
    QString Extension;        // without the dot
    QString Description;      // may be empty: the class's then
    std::uint8_t FileTypes = 0;
    TClassEntry* Class = nullptr;                 // link into the class list
};

// BuildGraphicFilter options: one entry per class, an "All images" entry first, the
// pattern shown after each description.
enum TFilterOption : std::uint8_t { foCompact = 1, foIncludeAll = 2, foIncludeExtension = 4 };
// BuildGraphicFilter sorting: none, all lists, descriptions, extensions.
enum TFilterSortKind : std::uint8_t { fstNone, fstBoth, fstDescription, fstExtension };

// The registry of picture formats by file extension, both lists in registration order.
// Pictures are loaded through the reader its extension names.
class TFileFormatList {
public:
    TFileFormatList() = default;
    TFileFormatList(const TFileFormatList&) = delete;
    TFileFormatList& operator=(const TFileFormatList&) = delete;
    ~TFileFormatList() { Clear(); }

    // Nothing for an empty extension. An extension registered already raises
    // EInvalidGraphic "Attempt to register %s twice." unless replace, which moves it to
    // graphicClass. A non-empty class description replaces the class's.
    void AddFormat(const QString& extension, const QString& classDescription,
                   const QString& extensionDescription, std::uint8_t fileTypes, bool replace,
                   const TGraphicClass* graphicClass);
    // With an extension: that one (nothing when unknown), the class going with its last
    // extension. Without: every extension of graphicClass and the class.
    void RemoveFormat(const QString& extension, const TGraphicClass* graphicClass);
    // Position in the extension list, letter case ignored; -1 when absent or empty.
    int IndexOfExtension(const QString& extension) const;
    int IndexOfClass(const TGraphicClass* graphicClass) const;
    void Clear();

    // An open-dialog filter "description|pattern|…" of the formats whose types meet
    // fileTypes (0: all), of graphicClass only when given.
    QString BuildGraphicFilter(std::uint8_t fileTypes, TFilterSortKind sortKind, std::uint8_t options,
                               const TGraphicClass* graphicClass = nullptr) const;

    const std::vector<std::unique_ptr<TExtensionEntry>>& Extensions() const { return ExtensionList; }
    const std::vector<std::unique_ptr<TClassEntry>>& Classes() const { return ClassList; }
    // The extension's own description, or its class's when it has none.
    QString DescriptionOf(const TExtensionEntry& entry) const;

private:
    std::vector<std::unique_ptr<TClassEntry>> ClassList;
    std::vector<std::unique_ptr<TExtensionEntry>> ExtensionList;
};

// The run's registry, the standard formats registered on first use (a static library
// drops registrations nobody references).
TFileFormatList& FileFormatList();
// The standard formats, in their order, into list (which must not hold them yet).
void RegisterStandardFormats(TFileFormatList& list);

// Whether an extension (without the dot, case ignored) is registered.
bool PictureFormatRegistered(const QString& ext);
// The registered extensions, lower case, sorted.
QStringList RegisteredPictureExtensions();

// Reads the picture at path with the reader of its extension (case ignored). Raises
// EPictureError: "Неизвестное расширение файла рисунка" for an extension nobody
// registered, "Рисунки формата … не читаются" for a format that has no reader yet, and
// the reader's message for a file that cannot be opened, is broken or is too large for
// memory. The image is in a format QPainter draws directly (indexed, mono,
// grayscale, RGB555, RGB16, RGB888, BGR888 or RGB32).
QImage LoadPictureFile(const QString& path);

// The largest image in bytes that a reader allocates: the memory available to the
// process now (available memory and free swap), and never more than MaxPictureBytes.
// Tests set a limit; 0 restores this.
std::int64_t PictureMemoryLimit();
void SetPictureMemoryLimit(std::int64_t bytes);
// 2 GB: the largest picture the raster export itself makes, and more than a scan of an A0
// sheet at 600 dots per inch in colour takes; a file claiming more is not a plan's underlay.
constexpr std::int64_t MaxPictureBytes = std::int64_t(1) << 31;
