// The SDR and DC1 readers. An SDR file is checked at the door: the fixed columns below
// hold for the SDR33 layout in degrees and metres with zenith angles only, and any other
// declaration would turn silently into wrong coordinates.
#include "survey/UnitSokkiaServ.h"

#include "foundation/ErrorTrail.h"
#include "platform/TextFiles.h"

namespace {

// Columns first..last (from 1) without their blanks; "" when the line is shorter
// than minLength.
QString Cut(const QString& line, int first, int last, int minLength)
{
    if (line.size() < minLength)
        return QString();
    QString r;
    for (int i = first - 1; i < last && i < line.size(); ++i)
        if (line[i] != u' ')
            r += line[i];
    return r;
}

QString Column(const QString& line, int column)
{
    return column <= line.size() ? QString(line[column - 1]) : QString();
}

// What a header declares that the readers cannot take; "" when nothing.
QString UnsupportedDeclaration(const QString& line)
{
    const QString code = SdrRecordCode(line);
    if (code == u"00NM") {
        const QString version = line.mid(4).trimmed();
        if (version.startsWith(u"SDR2"))
            return QStringLiteral("формат %1 (номера точек из четырех знаков, другие колонки)")
                .arg(version.section(u' ', 0, 0));
        const QString angles = Column(line, 41);
        if (!angles.isEmpty() && angles != u"1")
            return QStringLiteral("углы не в градусах (код единиц углов %1)").arg(angles);
        const QString distances = Column(line, 42);
        if (!distances.isEmpty() && distances != u"1")
            return QStringLiteral("расстояния не в метрах (код единиц расстояний %1)")
                .arg(distances);
    } else if (code == u"01KI" && Column(line, 51) == u"2") {
        return QStringLiteral("вертикальные углы отсчитываются от горизонта");
    }
    return QString();
}

} // namespace

QString SdrRecordCode(const QString& line)
{
    return line.left(4);
}

QString Dc1RecordCode(const QString& line)
{
    return line.left(3);
}

QString Dc1Value(const QString& line)
{
    return line.mid(4);
}

QString SdrStationName(const QString& line)
{
    return Cut(line, 5, 20, 20);
}

QString SdrTargetHeight(const QString& line)
{
    return Cut(line, 5, 20, 20);
}

QString SdrToPoint(const QString& line)
{
    return Cut(line, 21, 36, 36);
}

QString SdrSlopeDistance(const QString& line)
{
    return Cut(line, 37, 52, 52);
}

QString SdrVerticalAngle(const QString& line)
{
    return Cut(line, 53, 68, 68);
}

QString SdrInstrumentHeight(const QString& line)
{
    return Cut(line, 69, 74, 74);
}

QString SdrHorizontalAngle(const QString& line)
{
    return Cut(line, 69, 84, 69);
}

bool SdrPointCode(const QString& line, QString& code)
{
    if (line.size() < 85)
        return false;
    code = Cut(line, 85, int(line.size()), 85);
    return !code.isEmpty();
}

TTotalStationFile TTotalStationFile::Load(const QString& path, TTotalStationFormat format)
{
    return TTotalStationFile(ReadTextFileLines(path), format, path);
}

TTotalStationFile::TTotalStationFile(QStringList lines, TTotalStationFormat format,
                                     const QString& source)
    : Format(format), Lines(std::move(lines))
{
    const bool sdr = Format == TTotalStationFormat::Sdr;
    for (int i = 0; i < Lines.size(); ++i) {
        const QString& line = Lines[i];
        if (sdr) {
            const QString declared = UnsupportedDeclaration(line);
            if (!declared.isEmpty())
                throw Exception(QStringLiteral("Неподдерживаемый формат файла%1: %2")
                                    .arg(source.isEmpty() ? QString() : u' ' + source,
                                         declared));
            if (SdrRecordCode(line) == u"02TP") {
                StationNames << SdrStationName(line);
                StationPositions << i;
            }
        } else if (Dc1RecordCode(line) == u"STA") {
            StationNames << Dc1Value(line);
            StationPositions << i;
        }
    }
}

QStringList TTotalStationFile::Block(int station) const
{
    if (station < 0 || station >= StationPositions.size())
        return {};
    const int first = StationPositions[station] + 1;
    const int end = station + 1 < StationPositions.size() ? StationPositions[station + 1]
                                                          : int(Lines.size());
    return Lines.mid(first, end - first);
}

QString TTotalStationFile::InstrumentHeight(int station) const
{
    if (station < 0 || station >= StationPositions.size())
        return QString();
    if (Format == TTotalStationFormat::Sdr)
        return SdrInstrumentHeight(Lines[StationPositions[station]]);
    QString height;
    for (const QString& line : Block(station))
        if (Dc1RecordCode(line) == u"INH")
            height = Dc1Value(line);
    return height;
}

QList<RFieldObservation> TTotalStationFile::Observations(int station) const
{
    if (station < 0 || station >= StationPositions.size())
        return {};
    return Format == TTotalStationFormat::Sdr ? SdrObservations(station)
                                              : Dc1Observations(station);
}

QList<RFieldObservation> TTotalStationFile::SdrObservations(int station) const
{
    const int first = StationPositions[station] + 1;
    const int end = station + 1 < StationPositions.size() ? StationPositions[station + 1]
                                                          : int(Lines.size());
    // The height in force may come from before the station line: searched from the start.
    QString targetHeight = QStringLiteral("0.0");
    for (int i = 0; i < first; ++i)
        if (SdrRecordCode(Lines[i]) == u"03NM")
            targetHeight = SdrTargetHeight(Lines[i]);

    QList<RFieldObservation> result;
    for (int i = first; i < end; ++i) {
        const QString& line = Lines[i];
        const QString code = SdrRecordCode(line);
        if (code == u"03NM") {
            targetHeight = SdrTargetHeight(line);
        } else if (code == u"09F1") {
            RFieldObservation o;
            o.Target = SdrToPoint(line);
            QString pointCode;
            if (SdrPointCode(line, pointCode))
                o.Target += u'/' + pointCode;
            o.SlopeDistance = SdrSlopeDistance(line);
            o.VerticalAngle = SdrVerticalAngle(line);
            o.HorizontalAngle = SdrHorizontalAngle(line);
            o.TargetHeight = targetHeight;
            result << o;
        }
    }
    return result;
}

QList<RFieldObservation> TTotalStationFile::Dc1Observations(int station) const
{
    QList<RFieldObservation> result;
    for (const QString& line : Block(station)) {
        const QString code = Dc1RecordCode(line);
        if (code == u"PPD") {
            // A point without distance gives way to the next one.
            if (result.isEmpty() || !result.last().SlopeDistance.isEmpty())
                result.append(RFieldObservation());
            result.last() = RFieldObservation();
            result.last().Target = Dc1Value(line);
            continue;
        }
        if (result.isEmpty())
            continue;
        RFieldObservation& o = result.last();
        if (code == u"RTD")
            o.SlopeDistance = Dc1Value(line);
        else if (code == u"RTV")
            o.VerticalAngle = Dc1Value(line);
        else if (code == u"RTH")
            o.HorizontalAngle = Dc1Value(line);
        else if (code == u"PPH")
            o.TargetHeight = Dc1Value(line);
    }
    if (!result.isEmpty() && result.last().SlopeDistance.isEmpty())
        result.removeLast();
    return result;
}
