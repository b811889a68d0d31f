// Total-station files: the column cutters on the awkward line lengths, the stations and
// observations of the fixture files against the fields worked by hand beside them, and
// the SDR headers that must be refused rather than misread.
#include "SurveyTestSupport.h"
#include "foundation/ErrorTrail.h"
#include "survey/UnitSokkiaServ.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Fixture(const QString& name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES "/survey/") + name;
}

// Places texts at their first columns (from 1), padding with blanks.
QString Record(const QString& code, std::initializer_list<std::pair<int, QString>> fields,
               int length = 0)
{
    QString line = code;
    for (const auto& [column, text] : fields)
        line = line.leftJustified(column - 1, u' ') + text;
    return line.leftJustified(length, u' ');
}

TEST(SokkiaCutters, FieldsOfShortAndLongLines)
{
    const QString full = Record(QStringLiteral("09F1"),
                                {{5, QStringLiteral("ST 1")},
                                 {21, QStringLiteral("P1")},
                                 {37, QStringLiteral("25.123")},
                                 {53, QStringLiteral("90.1234")},
                                 {69, QStringLiteral("45.5000")}},
                                84);
    struct Case {
        const char* name;
        QString line;
        QString station, to, distance, vertical, horizontal, instrument;
        bool hasCode;
        QString code;
    } cases[] = {
        {"84 characters: every field, no code", full, "ST1", "P1", "25.123", "90.1234",
         "45.5000", "45.500", false, "unchanged"},
        {"code after two blanks", full + QStringLiteral("  K12"), "ST1", "P1", "25.123",
         "90.1234", "45.5000", "45.500", true, "K12"},
        {"75 characters: reading from 69-75 only", full.left(68) + QStringLiteral("1 34567"),
         "ST1", "P1", "25.123", "90.1234", "134567", "13456", false, "unchanged"},
        {"68 characters: no reading", full.left(68), "ST1", "P1", "25.123", "90.1234", "",
         "", false, "unchanged"},
        {"02TP of 60 characters: no instrument height",
         Record(QStringLiteral("02TP"), {{5, QStringLiteral("A")}}, 60), "A", "", "", "", "",
         "", false, "unchanged"},
        {"19 characters: nothing", QStringLiteral("09F1ST1"), "", "", "", "", "", "", false,
         "unchanged"},
        {"empty line", QString(), "", "", "", "", "", "", false, "unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SdrStationName(c.line), c.station);
        EXPECT_EQ(SdrTargetHeight(c.line), c.station);
        EXPECT_EQ(SdrToPoint(c.line), c.to);
        EXPECT_EQ(SdrSlopeDistance(c.line), c.distance);
        EXPECT_EQ(SdrVerticalAngle(c.line), c.vertical);
        EXPECT_EQ(SdrHorizontalAngle(c.line), c.horizontal);
        EXPECT_EQ(SdrInstrumentHeight(c.line), c.instrument);
        QString code = QStringLiteral("unchanged");
        EXPECT_EQ(SdrPointCode(c.line, code), c.hasCode);
        EXPECT_EQ(code, c.code);
    }
    EXPECT_EQ(SdrRecordCode(QStringLiteral("09")), QStringLiteral("09"));
    EXPECT_EQ(Dc1RecordCode(QStringLiteral("PPD 12 A")), QStringLiteral("PPD"));
    EXPECT_EQ(Dc1Value(QStringLiteral("PPD 12 A")), QStringLiteral("12 A"));
    EXPECT_EQ(Dc1Value(QStringLiteral("RTD ")), QString());
}

// Each fixture against its ".expected" file, worked by hand from the columns.
TEST(SokkiaFiles, FixturesGiveTheFieldsWorkedByHand)
{
    struct Case {
        const char* file;
        TTotalStationFormat format;
    } cases[] = {{"two_setups_crlf.sdr", TTotalStationFormat::Sdr},
                 {"no_target_height_lf.sdr", TTotalStationFormat::Sdr},
                 {"points_crlf.dc1", TTotalStationFormat::Dc1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString name = QString::fromLatin1(c.file);
        const TTotalStationFile file = TTotalStationFile::Load(Fixture(name), c.format);
        QFile expectedFile(Fixture(name + QStringLiteral(".expected")));
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
        QStringList stations, observations;
        for (const QString& line : QString::fromUtf8(expectedFile.readAll()).split(u'\n')) {
            if (line.startsWith(u"station|"))
                stations << line;
            else if (line.startsWith(u"obs|"))
                observations << line;
        }
        QStringList gotStations, gotObservations;
        for (int i = 0; i < file.StationNames.size(); ++i) {
            gotStations << QStringLiteral("station|%1|%2|%3|%4")
                               .arg(i)
                               .arg(file.StationNames[i])
                               .arg(file.StationPositions[i])
                               .arg(file.InstrumentHeight(i));
            for (const RFieldObservation& o : file.Observations(i))
                gotObservations << QStringList{QStringLiteral("obs"), QString::number(i),
                                               o.Target,
                                               o.SlopeDistance,
                                               o.VerticalAngle,
                                               o.HorizontalAngle,
                                               o.TargetHeight}
                                       .join(u'|');
        }
        EXPECT_EQ(gotStations, stations);
        EXPECT_EQ(gotObservations, observations);
    }
}

TEST(SokkiaFiles, SecondSetupOfAStationReadsItsOwnBlock)
{
    const TTotalStationFile file = TTotalStationFile::Load(
        Fixture(QStringLiteral("two_setups_crlf.sdr")), TTotalStationFormat::Sdr);
    ASSERT_EQ(file.StationNames.size(), 3);
    EXPECT_EQ(file.StationNames[0], file.StationNames[2]);
    EXPECT_EQ(file.Block(2).size(), 1);
    EXPECT_TRUE(file.Block(3).isEmpty());
    EXPECT_TRUE(file.Observations(-1).isEmpty());
    EXPECT_TRUE(file.InstrumentHeight(7).isEmpty());
}

TEST(SokkiaFiles, FileWithoutStationsListsNothing)
{
    const TTotalStationFile file(
        {QStringLiteral("09F1"), QStringLiteral("PPD 1"), QString()}, TTotalStationFormat::Sdr);
    EXPECT_TRUE(file.StationNames.isEmpty());
    EXPECT_TRUE(file.Observations(0).isEmpty());
}

// An unreadable file was sent to the crash reporter; it must give a message instead.
TEST(SokkiaFiles, MissingFileRaisesAClearMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.sdr"));
    try {
        TTotalStationFile::Load(path, TTotalStationFormat::Sdr);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(path)) << e.Message.toStdString();
    }
}

// Headers declaring other layouts or units were read with the SDR33 degree-and-metre
// columns and gave silently wrong coordinates.
TEST(SokkiaFiles, HeadersOfOtherLayoutsOrUnitsAreRefused)
{
    const QString station = Record(QStringLiteral("02TP"), {{5, QStringLiteral("S")}}, 74);
    auto header = [](const QString& version, const QString& units) {
        return Record(QStringLiteral("00NM"), {{5, version}, {41, units}});
    };
    auto instrument = [](const QString& vertical) {
        return Record(QStringLiteral("01KI"), {{5, QStringLiteral("SET")}, {51, vertical}});
    };
    const QString sdr33 = QStringLiteral("SDR33 V04-04.02");
    struct Case {
        const char* name;
        QString line;
        const char* declared; // nullptr: read
    } cases[] = {
        {"gon", header(sdr33, QStringLiteral("211111")), "углы не в градусах"},
        {"mil", header(sdr33, QStringLiteral("311111")), "углы не в градусах"},
        {"feet", header(sdr33, QStringLiteral("121111")), "расстояния не в метрах"},
        {"horizon", instrument(QStringLiteral("2")), "от горизонта"},
        {"SDR20", header(QStringLiteral("SDR20 V03-05"), QStringLiteral("111111")), "SDR20"},
        {"degrees and metres", header(sdr33, QStringLiteral("111111")), nullptr},
        {"zenith", instrument(QStringLiteral("1")), nullptr},
        {"header without unit columns", header(sdr33, QString()), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const TTotalStationFile file({c.line, station}, TTotalStationFormat::Sdr,
                                         QStringLiteral("f.sdr"));
            EXPECT_EQ(c.declared, nullptr);
            EXPECT_EQ(file.StationNames, QStringList{QStringLiteral("S")});
        } catch (const Exception& e) {
            ASSERT_NE(c.declared, nullptr) << e.Message.toStdString();
            EXPECT_TRUE(e.Message.startsWith(
                QStringLiteral("Неподдерживаемый формат файла f.sdr: ")))
                << e.Message.toStdString();
            EXPECT_TRUE(e.Message.contains(QString::fromUtf8(c.declared)))
                << e.Message.toStdString();
        }
    }
    // A DC1 file is not an SDR file: its lines are never taken for SDR headers.
    EXPECT_NO_THROW(TTotalStationFile({header(sdr33, QStringLiteral("2"))},
                                      TTotalStationFormat::Dc1));
}

} // namespace
