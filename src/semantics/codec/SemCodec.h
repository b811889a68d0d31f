// The semantics codec: the classifier tables and the one current semantics that every
// parse replaces and every build or decode reads. Parse and build in pairs on the
// user-interface thread; nothing here is shared between threads.
//
// A semantics string: a three-letter object code, then, when items follow, "/" and the
// items separated by ";": Ф, К, Н (three digits each), М (three digits), С (two digits),
// then extended items (a two-letter kind, a value without ";" and ":", and optionally
// ":" with a two-digit index into the kind's value list). Positions are characters.
#pragma once

#include "foundation/GeoTypes.h"
#include "foundation/SemTables.h"

#include <QString>
#include <QStringList>
#include <array>

// The kind of an object for semantics, signs and layers.
using TLmode = int;
constexpr TLmode lmPoint = 0;
constexpr TLmode lmLine = 1;
constexpr TLmode lmPolygon = 2;

class TSemCodec {
public:
    // Indexes into SL beyond the 23 value lists.
    static constexpr int slTopoCodes = 23;
    static constexpr int slExcludes = 24;   // + lm: points, lines, polygons
    static constexpr int slCount = 27;

    // The file names of the classifier, in the folder "Семантика".
    static const QString StandartFileName;        // "ФКН.wri"
    static const QString TopoCodesFileName;       // "топокоды.wri"
    static const QString WorkFileNames[3];        // "ТОЧСЕМ.wri", "ЛИНСЕМ.wri", "ПОЛСЕМ.wri"
    static const QString ExcludeFileNames[3];     // "Исключения-Точечные.wri" ...
    static const QString SynonymReadNames[3];     // "ТОЧСИН.wri" ...
    static const QString SynonymWriteNames[3];    // "ТОЧСин.wri" ...
    static QString ValueListFileName(int kind);   // "М.wri" ... "ИН.wri"

    // The classifier folder below the program folder, with a trailing "/".
    static QString ClassifierFolder();
    // A file of the classifier folder, found without regard to letter case; a file
    // that does not exist keeps the spelling given.
    static QString ClassifierPath(const QString& fileName);

    TSemCodec();
    TSemCodec(const TSemCodec&) = delete;
    TSemCodec& operator=(const TSemCodec&) = delete;
    ~TSemCodec();

    // ---- Classifier tables ----

    // 0..22 the value lists of the extended kinds (line n is the text of code n, line 0
    // is reserved and empty), 23 the topocodes (a code line followed by its text), 24..26
    // the exclusion lists of points, lines and polygons (standard semantics, one a line).
    std::array<QStringList, slCount> SL;
    QString TopoCodeObj;   // the object code whose "ИИ" values are topocodes
    TSemStandarts SemStandarts;
    std::array<TSemWorks, 3> SemWorks;   // by TLmode
    std::array<TSynonyms, 3> Synonyms;   // by TLmode

    // ---- The current semantics ----

    QString ObjCode;   // whatever the parsed string held in its first three characters
    TSemFKNs FList;
    TSemFKNs KList;
    TSemFKNs NList;
    TSemMs MList;
    TSemSs SList;
    TSemEs EList;

    // ---- Parsing and building ----

    void ClearFields();
    // Replaces the current semantics by the parse of sem. Empty and one-character items
    // are dropped, and so are items of an unknown letter; a malformed code is asked for
    // again (checkval). Throws when the user cancels that question; the current
    // semantics is then empty.
    void Split(const QString& sem);
    // Parses one item and appends it to its list.
    void AddProp(const QString& prop);
    // Asks until s is exactly range digits; " #" at the end is removed first. Throws
    // when the question is cancelled (or no window can ask it).
    void checkval(QString& s, const QString& prop, int range);
    // Value and index of an extended item's text: the index follows the first ":"
    // (checked by checkval), 0 when there is none.
    void readval(QString& s, const QString& chr1, const QString& chr2, int range, QString& val1,
                 int& val2);

    // The object code and the Ф, К, Н items; with UseExt also the М, С and extended
    // items. Empty without an object code.
    void Code(QString& sem, bool UseExt) const;
    // The sign-selecting form: object code with the Ф, К, Н, М and С items.
    void SymbolSemCode(QString& sem) const;
    // The extended items alone, without object code and "/".
    void ExtLessMSCode(QString& sem) const;

    // Parses the standard semantics of the first work record of kind lm named wrksem;
    // false, current semantics unchanged, when there is none. The work list's cursor
    // stays on the record found.
    bool WorkToStd(TLmode lm, const QString& wrksem);
    // Parses sem and looks for the work record of kind lm with its standard semantics:
    // true with wrk its work name, otherwise false with wrk the standard semantics.
    bool SemToWrkName(TLmode lm, const QString& sem, QString& wrk);

    // True when a standard record has exactly this object code; the classifier's cursor
    // stays on it (on the last record when none matched).
    bool findObj(const QString& code);
    // True when the standard record under the cursor defines this Ф (К, Н) code; the
    // property list's cursor stays on the entry found.
    bool findFsv(int code);
    bool findKsv(int code);
    bool findNsv(int code);

    // The values of the current "ИВ" ("ИН") items that are valid reals ("," or ".").
    void GetIVval(TArrayFloats& val) const;
    void GetINval(TArrayFloats& val) const;
    // Parses sem, adds increment to every "ИВ" value that is a valid real (written with
    // two decimals and the locale's separator) and builds the whole string into result.
    void ShiftHeights(const QString& sem, QString& result, Extended increment);

    // The value list of kind se; sl is left alone for a kind above 22.
    void SemExtToSL(int se, QStringList& sl) const;
    // True when code lies in 0 .. lines of kind prop's list - 1 (0 .. 0 for an empty
    // list); otherwise says so in the message window and gives false.
    bool CheckWrkProp(int prop, int code, const QString& description) const;
    // The text of line index of kind's value list; empty where the list has no such
    // line. Callers check the range with CheckWrkProp first.
    QString ValueName(int kind, int index) const;

    // ---- Classifier files ----
    // A file that fails to load changes nothing in memory: it is read into temporaries
    // that replace the tables only when the whole file was read. A table whose last load
    // failed is not saved (the save throws), so a broken file is never overwritten by an
    // empty table. Saves go through a temporary file.

    void LoadStandartBase();
    void SaveStandartBase();
    // The 23 value lists, the three work semantics files and the topocodes, all or none.
    void LoadWorkBase();
    // The 23 value lists, the three exclusion lists and the three work semantics files.
    void SaveWorkBase();
    // Each synonym file that exists replaces its list; a missing one leaves it.
    void LoadSynonyms();
    // Writes each list into the file its reader reads (a new file "ТОЧСин.wri" ...
    // where there is none).
    void SaveSynonyms();
    // The exclusion lists: with mustExist a missing file fails the load, otherwise it
    // leaves its list empty.
    void LoadExcludes(bool mustExist);
    void SaveExcludes();

    // The sign name of sem through the synonyms of kind lm, asking the add-synonym
    // window on the sign folder of the scale when none matches. True with name the sign
    // name joined with the extended part; false with name empty. The name found is not
    // looked up again: a caller that selects a sign by it must not ask the synonyms a
    // second time (one hop), or two synonyms naming each other would never end.
    bool SemToSymbolName(const QString& sem, TLmode lm, QString& name, int scale);

    // ---- Readable texts of the current semantics ----
    // Each sets res to its text (callers join them). Codes out of their list's range
    // read "Вне диапазона" after CheckWrkProp's message.

    // The standard description: the object's name and its Ф, К, Н properties.
    void STDdecode(QString& res);
    // The property descriptions alone.
    void FKNdecode(QString& res);
    // The М, С and extended items, each introduced by "; ".
    void Decode(QString& res);
    // The same items without leading separators.
    void DecodeCompact(QString& res);

private:
    void StandartText(QString& res, bool withName);
    QString TopoText(const QString& source) const;
    QString ItemName(int kind, int code) const;

    static QString SynonymWritePath(int lm);

    bool StandartBroken = false;
    bool WorkBaseBroken = false;
    std::array<bool, 3> ExcludesBroken{};
    std::array<bool, 3> SynonymsBroken{};
};
