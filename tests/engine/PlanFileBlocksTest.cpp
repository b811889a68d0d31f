// The reader takes the file a block at a time: a line end split between two blocks (a
// CR LF, a lone CR before the next block) or a line longer than a block must read as
// in a file read whole.
#include "PlanFileTest.h"

namespace {

class PlanFileBlocks : public PlanFileFixture {
protected:
    // The fixture after an information line of length long ended by end, with two
    // short information lines after it; the first line sits right at the file's start,
    // so long decides where the block boundary falls.
    void WritePadded(const QString& name, qsizetype length, const QByteArray& end)
    {
        const QByteArray fixture = Fixture();
        const qsizetype firstEnd = fixture.indexOf("\r\n") + 2;
        QByteArray bytes = fixture.left(firstEnd);
        bytes += EncodeCodePage(QStringLiteral("{ИНФ\r\n"));
        bytes += QByteArray(length, 'x');
        bytes += end;
        bytes += "y\rz\r\n";
        bytes += EncodeCodePage(QStringLiteral("}ИНФ\r\n"));
        bytes += fixture.mid(firstEnd);
        WriteBytes(PlanPath(name), bytes);
    }

    // The plan read from the padded file: its information without the long line, and
    // its native text under that information.
    std::pair<QString, QByteArray> ReadPadded(qsizetype length, const QByteArray& end)
    {
        WritePadded(QStringLiteral("padded.500"), length, end);
        TGeoMap map;
        map.Services = &Files;
        LoadEverything(map);
        EXPECT_TRUE(map.ReadDataFromFile(QStringLiteral("padded.500"), true));
        const QString info = map.MapProp.Info;
        EXPECT_TRUE(info.startsWith(QString(length, QLatin1Char('x')))) << length;
        map.MapProp.Info = info.mid(length);
        return {map.MapProp.Info, Native(map)};
    }
};

TEST_F(PlanFileBlocks, LineEndsAcrossBlockBoundariesReadAsInOneBlock)
{
    constexpr qsizetype block = 1 << 20;
    for (const QByteArray& end : {QByteArray("\r"), QByteArray("\r\n"), QByteArray("\n")}) {
        const auto expected = ReadPadded(5, end);
        EXPECT_TRUE(expected.first.startsWith(QStringLiteral("\ry\rz"))) << expected.first.left(20).toStdString();
        // The long line's end walks over the first block boundary byte by byte, and
        // one line is longer than two blocks.
        std::vector<qsizetype> lengths;
        for (qsizetype length = block - 40; length <= block - 16; ++length)
            lengths.push_back(length);
        lengths.push_back(2 * block + 7);
        for (const qsizetype length : lengths) {
            const auto read = ReadPadded(length, end);
            EXPECT_EQ(read.first, expected.first) << length;
            EXPECT_EQ(read.second, expected.second) << length;
        }
    }
    EXPECT_TRUE(Files.Messages().isEmpty()) << Files.Messages().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
