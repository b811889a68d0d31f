// Total-station record files as the survey tools read them: the Sokkia SDR and Pentax
// DC1 text files of fixed-column lines, their column cutters, and the stations with the
// observations of each. Fields stay texts; the caller converts and rejects numbers.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Columns count from 1. A range cutter gives the non-blank characters of its columns
// (blanks inside dropped) and the empty text for a line shorter than its minimum; none
// reads past the end of its line.
QString SdrRecordCode(const QString& line);       // 1-4, blanks kept
QString Dc1RecordCode(const QString& line);       // 1-3, blanks kept
QString Dc1Value(const QString& line);            // 5 to the end, blanks kept
QString SdrStationName(const QString& line);      // 5-20, at least 20 long
QString SdrTargetHeight(const QString& line);     // 5-20, at least 20 long
QString SdrToPoint(const QString& line);          // 21-36, at least 36 long
QString SdrSlopeDistance(const QString& line);    // 37-52, at least 52 long
QString SdrVerticalAngle(const QString& line);    // 53-68, at least 68 long
QString SdrInstrumentHeight(const QString& line); // 69-74, at least 74 long
// 69-84 from a line of at least 69: a line ending inside gives what it holds there.
QString SdrHorizontalAngle(const QString& line);
// 85 to the end; true when not empty. A line shorter than 85 gives false and leaves
// code as it was.
bool SdrPointCode(const QString& line, QString& code);

enum class TTotalStationFormat { Sdr, Dc1 };

// One observed point: texts as they stand in the file. The target carries "/" and the
// point code when the SDR line has one.
struct RFieldObservation {
    QString Target;
    QString SlopeDistance;
    QString VerticalAngle;   // zenith angle, degrees
    QString HorizontalAngle; // circle reading, degrees
    QString TargetHeight;
};

class TTotalStationFile {
public:
    // Reads the file (code page 1251, lines ended by CR LF or LF). Raises Exception
    // with a message the user reads when the file cannot be read, or when an SDR header
    // declares a layout or units these readers would misread.
    static TTotalStationFile Load(const QString& path, TTotalStationFormat format);
    // The same over lines already read; source names the file in a refusal.
    TTotalStationFile(QStringList lines, TTotalStationFormat format,
                      const QString& source = QString());

    TTotalStationFormat Format;
    QStringList Lines;
    // In file order, equal names kept apart; positions index Lines. Empty when the file
    // has no station line.
    QStringList StationNames;
    QList<int> StationPositions;

    // The lines after the station's line up to the next station line or the end;
    // empty for an index out of range.
    QStringList Block(int station) const;
    // SDR: columns 69-74 of the station line; DC1: the last "INH" value of the block.
    QString InstrumentHeight(int station) const;
    QList<RFieldObservation> Observations(int station) const;

private:
    QList<RFieldObservation> SdrObservations(int station) const;
    QList<RFieldObservation> Dc1Observations(int station) const;
};
