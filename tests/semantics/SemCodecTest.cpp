#include "SemTestSupport.h"

#include "semantics/codec/SemCodec.h"

namespace {

struct TForms {
    QString Full, Standard, Symbol, Ext;
};

TForms Build(TSemCodec& c, const QString& sem)
{
    c.Split(sem);
    TForms f;
    c.Code(f.Full, true);
    c.Code(f.Standard, false);
    c.SymbolSemCode(f.Symbol);
    c.ExtLessMSCode(f.Ext);
    return f;
}

}  // namespace

TEST(SemCodec, ParseThenBuild)
{
    struct Case {
        const char16_t* In;
        const char16_t* Full;
        const char16_t* Standard;
        const char16_t* Symbol;
        const char16_t* Ext;
    };
    const Case cases[] = {
        {u"ТОЧ", u"ТОЧ", u"ТОЧ", u"ТОЧ", u""},
        {u"ТОЧ/", u"ТОЧ", u"ТОЧ", u"ТОЧ", u""},
        {u"ТОЧ/Ф", u"ТОЧ", u"ТОЧ", u"ТОЧ", u""},                       // one-character item
        {u"ТОЧ/Ф001;;К002;", u"ТОЧ/Ф001;К002", u"ТОЧ/Ф001;К002", u"ТОЧ/Ф001;К002", u""},
        {u"ТОЧ/М005;Ф001", u"ТОЧ/Ф001;М005", u"ТОЧ/Ф001", u"ТОЧ/Ф001;М005", u""},
        {u"ТОЧ/С05;М001;Н002;К003;Ф004;ИН1;ГВ2", u"ТОЧ/Ф004;К003;Н002;М001;С05;ИН1;ГВ2",
         u"ТОЧ/Ф004;К003;Н002", u"ТОЧ/Ф004;К003;Н002;М001;С05", u"ИН1;ГВ2"},
        {u"ТОЧ/Ф0123", u"ТОЧ/Ф012", u"ТОЧ/Ф012", u"ТОЧ/Ф012", u""},     // fifth character ignored
        {u"ЛИН/ИВ12.5:00", u"ЛИН/ИВ12.5", u"ЛИН", u"ЛИН", u"ИВ12.5"},  // ":00" dropped
        {u"ЛИН/ИН7:03", u"ЛИН/ИН7:03", u"ЛИН", u"ЛИН", u"ИН7:03"},
        {u"ЛИН/ИН7:03 #", u"ЛИН/ИН7:03", u"ЛИН", u"ЛИН", u"ИН7:03"},
        {u"ПОЛ/ГВ", u"ПОЛ/ГВ", u"ПОЛ", u"ПОЛ", u"ГВ"},                  // empty value kept
        {u"ТОЧ/Ф001 ", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u""},     // trailing blank
        {u"ТОЧ/ИТа б", u"ТОЧ/ИТа б", u"ТОЧ", u"ТОЧ", u"ИТа б"},         // inner blank stays
        {u"ТОЧ/ХХ1;Ф001;ГЯ5;И", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u""},
        {u"ТОЧ-Ф001", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u"ТОЧ/Ф001", u""},      // fourth char not read
        {u"ОТА/ИВ125.3;", u"ОТА/ИВ125.3", u"ОТА", u"ОТА", u"ИВ125.3"},
        {u"ПКТ/ИН12;ИВ101.25", u"ПКТ/ИН12;ИВ101.25", u"ПКТ", u"ПКТ", u"ИН12;ИВ101.25"},
        {u"ЗДН/Ф001;К012;Н003;М005;С01;ИВ125.40;ИИСадовая:03",
         u"ЗДН/Ф001;К012;Н003;М005;С01;ИВ125.40;ИИСадовая:03", u"ЗДН/Ф001;К012;Н003",
         u"ЗДН/Ф001;К012;Н003;М005;С01", u"ИВ125.40;ИИСадовая:03"},
        {u"ТО", u"ТО", u"ТО", u"ТО", u""},
        {u"", u"", u"", u"", u""},
    };
    TSemCodec c;
    for (const Case& k : cases) {
        const QString in = QString::fromUtf16(k.In);
        SCOPED_TRACE(in.toStdString());
        const TForms f = Build(c, in);
        EXPECT_EQ(f.Full, QString::fromUtf16(k.Full));
        EXPECT_EQ(f.Standard, QString::fromUtf16(k.Standard));
        EXPECT_EQ(f.Symbol, QString::fromUtf16(k.Symbol));
        EXPECT_EQ(f.Ext, QString::fromUtf16(k.Ext));
    }
}

TEST(SemCodec, ParsedFieldsHoldCodesAndIndexes)
{
    TSemCodec c;
    c.Split(QStringLiteral("ЛИН/ИН7:03 #;С07;ИИ:12"));
    EXPECT_EQ(c.ObjCode, QStringLiteral("ЛИН"));
    ASSERT_EQ(c.EList.GetCount(), 2);
    EXPECT_EQ(c.EList.At(0)->Kind, seIN);
    EXPECT_EQ(c.EList.At(0)->Value, QStringLiteral("7"));
    EXPECT_EQ(c.EList.At(0)->ListIndex, 3);
    EXPECT_EQ(c.EList.At(1)->Kind, seII);
    EXPECT_EQ(c.EList.At(1)->Value, QString());
    EXPECT_EQ(c.EList.At(1)->ListIndex, 12);
    ASSERT_EQ(c.SList.GetCount(), 1);
    EXPECT_EQ(c.SList.At(0)->Code, 7);
}

// A code of the wrong length or with a letter is asked for until it is valid; the
// window starts with the text as it stands and hands back what was typed.
TEST(SemCodec, CheckvalAsksUntilTheCodeIsValid)
{
    QStringList shown;
    QStringList captions;
    QStringList prompts;
    QStringList answers = {QStringLiteral("1x2"), QStringLiteral("12"), QStringLiteral("012")};
    TDialogHooks hooks;
    hooks.InpStr = [&](QString& value, const QString& caption, const QString& text) {
        shown << value;
        captions << caption;
        prompts << text;
        value = answers.takeFirst();
        return mrOk;
    };
    TScopedDialogHooks scoped(hooks);
    TSemCodec c;
    c.Split(QStringLiteral("ТОЧ/Ф12;К001"));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("12"), QStringLiteral("1x2"), QStringLiteral("12")}));
    EXPECT_EQ(captions.size(), 3);
    EXPECT_EQ(captions[0], QStringLiteral("Неверный код свойства Ф семантики объекта"));
    EXPECT_EQ(prompts[0], QStringLiteral("код должен быть числом в диапазоне 000-999"));
    QString built;
    c.Code(built, true);
    EXPECT_EQ(built, QStringLiteral("ТОЧ/Ф012;К001"));
}

TEST(SemCodec, CheckvalNamesTheKindAndRangeOfAnIndex)
{
    QString caption, prompt;
    TDialogHooks hooks;
    hooks.InpStr = [&](QString& value, const QString& c, const QString& t) {
        caption = c;
        prompt = t;
        value = QStringLiteral("04");
        return mrOk;
    };
    TScopedDialogHooks scoped(hooks);
    TSemCodec c;
    c.Split(QStringLiteral("ЛИН/ИН7:4"));
    EXPECT_EQ(caption, QStringLiteral("Неверный код свойства ИН семантики объекта"));
    EXPECT_EQ(prompt, QStringLiteral("код должен быть числом в диапазоне 00-99"));
    EXPECT_EQ(c.EList.At(0)->ListIndex, 4);
}

// Guards against a headless run (or a cancelled question) waiting for ever: the parse
// ends with a clear error and leaves no half-parsed semantics behind.
TEST(SemCodec, CancelledCodeQuestionFailsTheParse)
{
    TScopedDialogHooks none;
    TSemCodec c;
    c.Split(QStringLiteral("ЗДН/Ф001"));
    try {
        c.Split(QStringLiteral("ТОЧ/К001;Ф1"));
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("Неверный код свойства Ф семантики объекта")));
    }
    EXPECT_TRUE(c.ObjCode.isEmpty());
    EXPECT_EQ(c.KList.GetCount(), 0);
}

TEST(SemCodec, HeightsAndNumbersAreTheValidReals)
{
    TSemCodec c;
    c.Split(QStringLiteral("ТОЧ/ИВ12,5;ИВабв;ИН3;ИВ7;ИВ;ИН-1.25"));
    TArrayFloats h, n;
    c.GetIVval(h);
    c.GetINval(n);
    EXPECT_EQ(h, (TArrayFloats{12.5L, 7.0L}));
    EXPECT_EQ(n, (TArrayFloats{3.0L, -1.25L}));
    c.Split(QStringLiteral("ТОЧ/Ф001"));
    c.GetIVval(h);
    EXPECT_TRUE(h.empty());
}

// Guards against a value that passes the character check but is no number ("-.", a
// real beyond range) failing the whole read-out instead of being skipped.
TEST(SemCodec, ValuesThatAreNoRealsAreSkipped)
{
    const QString huge = QStringLiteral("1") + QString(5000, u'0');
    TSemCodec c;
    c.Split(QStringLiteral("ТОЧ/ИВ-.;ИВ+,;ИВ5.;ИВ") + huge + QStringLiteral(";ИВ,5;ИН-.;ИН2"));
    TArrayFloats h, n;
    EXPECT_NO_THROW(c.GetIVval(h));
    EXPECT_NO_THROW(c.GetINval(n));
    EXPECT_EQ(h, (TArrayFloats{5.0L, 0.5L}));
    EXPECT_EQ(n, TArrayFloats{2.0L});

    QString out;
    {
        const TSeparatorScope point(u'.');
        EXPECT_NO_THROW(c.ShiftHeights(QStringLiteral("ОТА/ИВ-.;ИВ5."), out, 1));
    }
    EXPECT_EQ(out, QStringLiteral("ОТА/ИВ-.;ИВ6.00"));
}

TEST(SemCodec, BuildersWriteThreeCharactersOfTheCode)
{
    TSemCodec c;
    c.ObjCode = QStringLiteral("ТОЧК");
    QString sem;
    c.Code(sem, true);
    EXPECT_EQ(sem, QStringLiteral("ТОЧ"));
    c.FList.AddItem();
    c.FList.Item->Code = 1;
    c.SymbolSemCode(sem);
    EXPECT_EQ(sem, QStringLiteral("ТОЧ/Ф001"));
}

// What a record holds before anything is given: no code (−1, the byte 255), so that
// the writers skip or refuse it rather than write a code nobody chose.
TEST(SemTables, NewRecordsHoldNoCode)
{
    EXPECT_EQ(RSemFKN().Code, -1);
    EXPECT_TRUE(RSemFKN().Caption.isEmpty());
    EXPECT_EQ(RSemM().Code, -1);
    EXPECT_EQ(static_cast<std::uint8_t>(RSemS().Code), 255);
    EXPECT_EQ(static_cast<std::uint8_t>(RSemE().ListIndex), 255);
    EXPECT_TRUE(RSemE().Value.isEmpty());
}

TEST(SemCodec, ShiftHeightsWritesTwoDecimalsWithTheLocaleSeparator)
{
    struct Case {
        const char16_t* In;
        Extended Increment;
        char16_t Separator;
        const char16_t* Out;
    };
    const Case cases[] = {
        {u"ТОЧ/ИВ10", 1.5L, u'.', u"ТОЧ/ИВ11.50"},
        {u"ТОЧ/ИВ10", 1.5L, u',', u"ТОЧ/ИВ11,50"},
        {u"ОТА/ИВ12,5;ИН3;ИВх:02;М001", -0.25L, u'.', u"ОТА/М001;ИВ12.25;ИН3;ИВх:02"},
        {u"ПКТ/ИН4;ИВ99.995;", 0, u'.', u"ПКТ/ИН4;ИВ100.00"},
    };
    TSemCodec c;
    for (const Case& k : cases) {
        SCOPED_TRACE(QString::fromUtf16(k.In).toStdString());
        const TSeparatorScope separator{QChar(k.Separator)};
        QString out;
        c.ShiftHeights(QString::fromUtf16(k.In), out, k.Increment);
        EXPECT_EQ(out, QString::fromUtf16(k.Out));
    }
}

TEST_F(SemFixture, WorkNamesAndStandardSemantics)
{
    QString wrk;
    EXPECT_TRUE(Codec().SemToWrkName(lmPolygon, QStringLiteral("ЗДН/Ф001;К012;Н003;М005;ИВ1"), wrk));
    EXPECT_EQ(wrk, QStringLiteral("Здание жилое"));
    EXPECT_EQ(Codec().SemWorks[lmPolygon].Item->WorkName, wrk);   // cursor on the match
    // The same standard semantics under another kind has no work name.
    EXPECT_FALSE(Codec().SemToWrkName(lmPoint, QStringLiteral("ЗДН/Ф001;К012;Н003;М005;ИВ1"), wrk));
    EXPECT_EQ(wrk, QStringLiteral("ЗДН/Ф001;К012;Н003"));

    EXPECT_TRUE(Codec().WorkToStd(lmLine, QStringLiteral("Горизонталь утолщенная")));
    QString sem;
    Codec().Code(sem, true);
    EXPECT_EQ(sem, QStringLiteral("ГОР/Ф021"));
    EXPECT_FALSE(Codec().WorkToStd(lmLine, QStringLiteral("горизонталь утолщенная")));
    Codec().Code(sem, true);
    EXPECT_EQ(sem, QStringLiteral("ГОР/Ф021"));   // left as it was
}

TEST_F(SemFixture, FindRoutinesLeaveTheCursorOnTheObject)
{
    EXPECT_TRUE(Codec().findObj(QStringLiteral("ОФО")));
    EXPECT_EQ(Codec().SemStandarts.Item->ObjName, QStringLiteral("Оформление листа"));
    EXPECT_TRUE(Codec().findKsv(110));
    EXPECT_TRUE(Codec().findKsv(313));
    EXPECT_TRUE(Codec().findKsv(310));
    EXPECT_FALSE(Codec().findFsv(110));
    EXPECT_FALSE(Codec().findObj(QStringLiteral("ОФ")));
}

TEST_F(SemFixture, CheckWrkPropReportsTheRange)
{
    TMessageLog log;
    TScopedDialogHooks scoped(log.Hooks());
    EXPECT_TRUE(Codec().CheckWrkProp(seM, 8, QString()));
    EXPECT_FALSE(Codec().CheckWrkProp(seM, 9, QStringLiteral("Здание")));
    EXPECT_TRUE(Codec().CheckWrkProp(seGS, 0, QString()));    // only the reserved line
    EXPECT_FALSE(Codec().CheckWrkProp(seGS, 1, QString()));
    ASSERT_EQ(log.Texts.size(), 2);
    EXPECT_EQ(log.Captions[0], QStringLiteral("Свойство рабочей семантики вне диапазона!"));
    EXPECT_EQ(log.Texts[0],
              QStringLiteral("Код свойства \"Материал\" = 9 объекта рабочей семантики \"Здание\" "
                             "находится вне диапазона определенных свойств (0-8); свойство будет "
                             "игнорировано"));
}
