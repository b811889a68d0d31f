// The classifier services without their window: the one semantics codec of the process
// with the classifier loaded into it, the readable decodings, the synonym and exclusion
// files and the window font file. The classifier window wraps this object; the plan
// engine and the sign library reach it through the plain routines at the end.
#pragma once

#include "foundation/GeoTypes.h"
#include "semantics/codec/SemCodec.h"

#include <QString>
#include <cstdint>

class TSemServices {
public:
    // Creates the codec, empty, and becomes the instance the plain routines use.
    TSemServices();
    // Writes nothing (Close does); the plain routines then find no instance.
    ~TSemServices();
    TSemServices(const TSemServices&) = delete;
    TSemServices& operator=(const TSemServices&) = delete;

    TSemCodec Codec;

    // The font of the work-semantics list of the classifier window, kept in the file
    // "Семантика/шрифт.wri" (its first line).
    QString FontName = QStringLiteral("MS Sans Serif");

    // The sign library's option "ask about unknown work semantics" (link, not owned):
    // the main plan's sign library binds it at start. Unbound, decode never asks.
    const std::uint8_t* AskUnknownWorkSem = nullptr;

    // What the classifier window does at its creation: the standard classifier, the
    // work bases with value lists and topocodes, the font file and each exclusion file
    // that exists. Every step runs; the first failure is raised after the last step.
    void Open();
    // What it does at exit: writes the font file and the three exclusion lists. Throws
    // when a file cannot be written (the later step is then skipped).
    void Close();

    void ReadFontFile();
    void WriteFontFile();

    // The three exclusion files, points, lines, polygons; each must exist.
    void LoadExcludes();
    void SaveExcludes();
    void LoadSynonyms();
    void SaveSynonyms();

    // Rereads the synonyms, asks the codec (which may open the add-synonym window) and
    // writes the synonyms back when a sign name was found.
    bool SemToSymbolName(const QString& sem, TLmode lm, QString& name, int scale);

    // The readable text of sem: its work name, or its standard description, followed by
    // its material, state and extended items. For an object without a work name that is
    // in no exclusion list of kind lm, and while the bound option is on, asks whether to
    // add it to the classifier (SemDlg mode 5), and excludes it when the user declines.
    void decode(TLmode lm, const QString& sem, QString& res);
    // The same text without any question.
    void decode2(TLmode lm, const QString& sem, QString& res);
    // The property descriptions and the compact item texts (caption-rule conditions).
    void decode3(TLmode lm, const QString& sem, QString& res);
    // The elevation marks ("ИВ") and numbers ("ИН") of sem that are valid reals.
    void GetH(const QString& sem, TArrayFloats& hh);
    void GetN(const QString& sem, TArrayFloats& nn);
    // sem parsed and built again without its М, С and extended items.
    void SemToSTD(QString& sem);
    void ShiftHeights(const QString& sem, QString& result, Extended increment);
    // Line cod of the material list, or "код вне диапазона".
    void decodeM(int cod, QString& M);
};

// The instance in force: the latest created that still lives, or null.
TSemServices* SemServices();

// The plain routines of the classifier window's unit, on SemServices(); each throws
// when no instance exists.
void DecodeSem(TLmode lm, const QString& sem, QString& text);
void SemToSTD(QString& sem);
void ShiftHeights(const QString& sem, QString& result, Extended increment);
void GetH(const QString& sem, TArrayFloats& hh);
void GetN(const QString& sem, TArrayFloats& nn);
void decodeM(int cod, QString& M);
