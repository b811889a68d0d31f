// What a read of a damaged plan file left out: the count the main window looks at before
// it lets a save write over the file that was opened.
#include "PlanFileTest.h"

#include "support/TestHelpers.h"

namespace {

// The Cyrillic letters in KOI8-R, the order of its bytes 0xC0 to 0xFF.
const char16_t Koi8Letters[] = u"юабцдефгхийклмнопярстужвьызшэщчъЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧЪ";

QByteArray ToKoi8(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
            continue;
        }
        const QStringView letters(Koi8Letters);
        const qsizetype at = letters.indexOf(c);
        out.append(at >= 0 ? char(0xC0 + at) : c == u'ё' ? char(0xA3) : c == u'Ё' ? char(0xB3) : '?');
    }
    return out;
}

class PlanFileDamage : public PlanFileFixture {};

TEST_F(PlanFileDamage, AWholeFileLeavesNothingOut)
{
    for (const char* name : {"full.500", "signs.500"}) {
        SCOPED_TRACE(name);
        M().ReadSkipped = 99;
        ASSERT_TRUE(M().ReadDataFromFile(QString::fromUtf8(name), true));
        EXPECT_EQ(M().ReadSkipped, 0);
        // What the writer writes reads whole again, escaped information lines included.
        WriteBytes(PlanPath(QStringLiteral("again.500")), Native());
        ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("again.500"), true));
        EXPECT_EQ(M().ReadSkipped, 0);
    }
}

// Guards against a plan in another code page, or with NUL bytes, opening as an empty or
// partial plan that nothing marks as less than its file.
TEST_F(PlanFileDamage, AFileInAnotherCodePageOrWithNulBytesCountsWhatWasLeftOut)
{
    const QByteArray fixture = Fixture();
    const QString text = DecodeCodePage(fixture);
    QByteArray withNul = fixture;
    const qsizetype at = withNul.indexOf(EncodeCodePage(QStringLiteral("{СЛО")));
    ASSERT_GT(at, 0);
    withNul.insert(at + 2, QByteArray(3, '\0'));
    QByteArray nulLine = fixture;
    nulLine.insert(nulLine.indexOf("\r\n") + 2, QByteArray("\0\0\0\r\n", 5));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"UTF-8", text.toUtf8()},
        {"KOI8-R", ToKoi8(text)},
        {"NUL bytes inside a tag", withNul},
        {"a line of NUL bytes", nulLine},
        {"a stray line outside every section", fixture + "stray\r\n"},
        {"a section the format does not know",
         fixture + EncodeCodePage(QStringLiteral("{ЧУЖ\r\n|имя|x\r\n}ЧУЖ\r\n"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(PlanPath(QStringLiteral("damaged.500")), c.bytes);
        Files.Asked.clear();
        M().ReadSkipped = 0;
        const QString raised =
            RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("damaged.500"), true); });
        ASSERT_TRUE(raised.isEmpty()) << raised.toStdString();
        EXPECT_GT(M().ReadSkipped, 0);
    }
}

TEST_F(PlanFileDamage, AFailedReadKeepsTheCountOfThePlanShown)
{
    ASSERT_TRUE(M().ReadDataFromFile(QStringLiteral("full.500"), true));
    WriteBytes(PlanPath(QStringLiteral("cut.500")), Fixture().left(Fixture().size() / 2));
    EXPECT_FALSE(RaisedBy([&] { M().ReadDataFromFile(QStringLiteral("cut.500"), true); }).isEmpty());
    EXPECT_EQ(M().ReadSkipped, 0);
}

}  // namespace
