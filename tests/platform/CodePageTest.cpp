#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, AllCyrillicLettersRoundTripInBothCodePages)
{
    QString letters;
    for (char16_t c = 0x0410; c <= 0x044F; ++c)
        letters += QChar(c);
    letters += QChar(0x0401);   // Ё
    letters += QChar(0x0451);   // ё
    ASSERT_EQ(letters.size(), 66);
    for (TCodePage cp : {TCodePage::Cp1251, TCodePage::Cp866}) {
        qsizetype bad = 0;
        const QByteArray bytes = EncodeCodePage(letters, cp, &bad);
        EXPECT_EQ(bad, -1);
        EXPECT_EQ(bytes.size(), 66);
        for (char b : bytes)
            EXPECT_GE(static_cast<unsigned char>(b), 0x80);
        EXPECT_EQ(DecodeCodePage(bytes, cp), letters);
    }
}

TEST(CodePage, KnownBytes)
{
    struct Case { TCodePage cp; unsigned char byte; char16_t ch; };
    const Case cases[] = {
        {TCodePage::Cp1251, 0xC0, u'А'}, {TCodePage::Cp1251, 0xFF, u'я'},
        {TCodePage::Cp1251, 0xA8, u'Ё'}, {TCodePage::Cp1251, 0xB8, u'ё'},
        {TCodePage::Cp1251, 0xB9, u'№'}, {TCodePage::Cp866, 0x80, u'А'},
        {TCodePage::Cp866, 0xA0, u'а'}, {TCodePage::Cp866, 0xE0, u'р'},
        {TCodePage::Cp866, 0xF0, u'Ё'}, {TCodePage::Cp866, 0xF1, u'ё'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte));
        const QByteArray b(1, static_cast<char>(c.byte));
        EXPECT_EQ(DecodeCodePage(b, c.cp), QString(QChar(c.ch)));
        EXPECT_EQ(EncodeCodePage(QString(QChar(c.ch)), c.cp), b);
    }
}

TEST(CodePage, CharacterWithoutPlaceIsReported)
{
    qsizetype bad = -1;
    const QByteArray b = EncodeCodePage(QStringLiteral("ab\u4E2D"), TCodePage::Cp1251, &bad);
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(b, QByteArray("ab?"));
    EXPECT_FALSE(IsEncodable(QStringLiteral("\u4E2D")));
}

TEST(CodePage, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    for (TCodePage cp : {TCodePage::Cp1251, TCodePage::Cp866})
        EXPECT_EQ(EncodeCodePage(DecodeCodePage(all, cp), cp), all);
}

TEST(CodePage, LineSplitting)
{
    struct Case { const char* text; bool loneCr; QStringList lines; };
    const Case cases[] = {
        {"", false, {}},
        {"a\r\nb\r\n", false, {"a", "b"}},
        {"a\r\nb", false, {"a", "b"}},
        {"a\nb", false, {"a", "b"}},
        {"a\rb\r\n", false, {"a\rb"}},
        {"a\rb\r\n", true, {"a", "b"}},
        {"\r\n\r\n", false, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitLines(QString::fromLatin1(c.text), c.loneCr), c.lines);
    }
    EXPECT_EQ(JoinLinesCrLf({"a", ""}), QStringLiteral("a\r\n\r\n"));
}
