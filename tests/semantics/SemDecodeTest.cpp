#include "SemTestSupport.h"

#include "semantics/codec/SemDialogs.h"

namespace {

QString Decode2(TSemServices& s, TLmode lm, const QString& sem)
{
    QString res = QStringLiteral("старое");
    s.decode2(lm, sem, res);
    return res;
}

QString Decode3(TSemServices& s, const QString& sem)
{
    QString res = QStringLiteral("старое");
    s.decode3(lmPoint, sem, res);
    return res;
}

}  // namespace

TEST_F(SemFixture, ReadableTextsAndTheirPunctuation)
{
    struct Case {
        TLmode Lm;
        const char16_t* Sem;
        const char16_t* Decode2;
        const char16_t* Decode3;
    };
    const Case cases[] = {
        {lmPolygon, u"ЗДН/Ф001;К012;Н003;М005;С01;ИВ125.40;ИИСадовая:03",
         u"Здание жилое; Материал : камень; Состояние : хорошее; Отметка: 125.40; Имя;  улица: Садовая",
         u",жилое,капитальное,огнестойкоеМатериал : каменьСостояние : хорошееОтметка: 125.40Имя;  улица: Садовая"},
        // No work name for this kind: the standard description, properties after ",".
        {lmPoint, u"ЗДН/Ф001;К012;Н003;М005", u"Здание,жилое,капитальное,огнестойкое; Материал : камень",
         u",жилое,капитальное,огнестойкоеМатериал : камень"},
        // Unknown properties are named, without a comma before them.
        {lmPoint, u"ЗДН/Ф009;К012;Н777",
         u"ЗданиеНеизвестное свойство Ф 009,капитальноеНеизвестное свойство Н 777",
         u"Неизвестное свойство Ф 009,капитальноеНеизвестное свойство Н 777"},
        {lmLine, u"ХЯЗ/Ф001;М001", u"Неизвестный объект стандартной семантики ХЯЗ; Материал : кирпич",
         u"Неизвестный объект стандартной семантики ХЯЗМатериал : кирпич"},
        // An empty value: ": " after the kind in the full text, nothing in the compact one.
        {lmPolygon, u"ПОЛ/ГВ", u"Полигон; Высота: ", u"Высота"},
        {lmPolygon, u"ПОЛ/ГВ:01", u"Полигон; Высота;  высота над землей: ", u"Высота;  высота над землей"},
        {lmPolygon, u"ПОЛ/ГВ2.5:01;ГС", u"Полигон; Высота;  высота над землей: 2.5; Сечение: ",
         u"Высота;  высота над землей: 2.5Сечение"},
        // Topocodes: every part of the value cut at "." adds the text after its code line.
        {lmPoint, u"ТПК/ИИ1.11", u"Точка по топокоду; Имя;  столб опора линии связи : 1.11", u"Имя: 1.11"},
        {lmPoint, u"ТПК/ИИ9", u"Точка по топокоду; Имя: 9", u"Имя: 9"},
        {lmPoint, u"", u"", u""},
    };
    TMessageLog log;
    TScopedDialogHooks scoped(log.Hooks());
    for (const Case& c : cases) {
        const QString sem = QString::fromUtf16(c.Sem);
        SCOPED_TRACE(sem.toStdString());
        EXPECT_EQ(Decode2(*Services, c.Lm, sem), QString::fromUtf16(c.Decode2));
        EXPECT_EQ(Decode3(*Services, sem), QString::fromUtf16(c.Decode3));
    }
    EXPECT_TRUE(log.Texts.isEmpty());
}

TEST_F(SemFixture, OutOfRangeCodesReadAsSuchAfterTheirMessage)
{
    TMessageLog log;
    TScopedDialogHooks scoped(log.Hooks());
    EXPECT_EQ(Decode2(*Services, lmPoint, QStringLiteral("ТОЧ/М009;С01;ИН5:07")),
              QStringLiteral("Точка; Материал : Вне диапазона; Состояние : хорошее; Номер;  Вне диапазона: 5"));
    ASSERT_EQ(log.Texts.size(), 2);   // once per item out of range
    EXPECT_EQ(log.Captions[0], QStringLiteral("Свойство рабочей семантики вне диапазона!"));
    EXPECT_TRUE(log.Texts[0].startsWith(QStringLiteral("Код свойства \"Материал\" = 9 объекта рабочей семантики \"\"")));
    EXPECT_TRUE(log.Texts[1].contains(QStringLiteral("(0-2)")));
}

// Guards against reading past a value list: an index that passes the range check of
// an empty list names nothing.
TEST_F(SemFixture, IndexIntoAnEmptyValueListNamesNothing)
{
    Codec().SL[seGS].clear();
    EXPECT_EQ(Decode2(*Services, lmPolygon, QStringLiteral("ПОЛ/ГС5")), QStringLiteral("Полигон; Сечение: 5"));
}

TEST_F(SemFixture, CompactTopocodesComeFromTheListedName)
{
    Codec().SL[seII].append(QStringLiteral("1.2"));   // line 5
    EXPECT_EQ(Decode3(*Services, QStringLiteral("ТПК/ИИх:05")), QStringLiteral("Имя;  1.2столб дерево : х"));
}

namespace {

// The question about an unknown work semantics and the classifier window behind it.
struct TQuestionScript {
    TMessageLog Log;
    int SemDlgCalls = 0;
    int Refreshes = 0;
    QList<int> SemDlgAnswers;
    std::function<void()> OnSemDlg;

    TDialogHooks Dialogs() { return Log.Hooks(); }
    TSemDialogHooks SemHooks()
    {
        TSemDialogHooks h;
        h.LoadFKNs02 = [this] { ++Refreshes; };
        h.SemDlg = [this](int smode, int& lmode, QString&) {
            EXPECT_EQ(smode, 5);
            ++SemDlgCalls;
            if (OnSemDlg)
                OnSemDlg();
            return SemDlgAnswers.isEmpty() ? 2 : SemDlgAnswers.takeFirst();
        };
        return h;
    }
};

}  // namespace

TEST_F(SemFixture, DecodeAsksOnlyWhenTheOptionIsOnAndTheObjectIsNotExcluded)
{
    TQuestionScript script;
    script.Log.Answer = mrCancel;
    TScopedDialogHooks dialogs(script.Dialogs());
    TScopedSemDialogHooks semDialogs(script.SemHooks());
    const QString sem = QStringLiteral("ЗДН/Ф001;М001");
    QString res;

    Services->decode(lmPoint, sem, res);   // no sign library bound: never asks
    EXPECT_EQ(res, QStringLiteral("Здание,жилое; Материал : кирпич"));
    std::uint8_t ask = 0;
    Services->AskUnknownWorkSem = &ask;
    Services->decode(lmPoint, sem, res);
    EXPECT_TRUE(script.Log.Texts.isEmpty());
    EXPECT_TRUE(Codec().SL[TSemCodec::slExcludes].isEmpty());

    ask = 1;
    Codec().SL[TSemCodec::slExcludes] << QStringLiteral("ЗДН/Ф001");
    Services->decode(lmPoint, sem, res);
    EXPECT_TRUE(script.Log.Texts.isEmpty());   // excluded for points
    Services->decode(lmLine, sem, res);        // but asked about for lines
    ASSERT_EQ(script.Log.Texts.size(), 1);
    EXPECT_EQ(script.Log.Captions[0], QStringLiteral("Неизвестный объект рабочей семантики"));
    EXPECT_EQ(script.Log.Texts[0], QStringLiteral("Добавить объект (Здание,жилое) в классификатор?"));
    EXPECT_EQ(res, QStringLiteral("Здание,жилое; Материал : кирпич"));
    EXPECT_EQ(Codec().SL[TSemCodec::slExcludes + lmLine], QStringList{QStringLiteral("ЗДН/Ф001")});
    Services->decode(lmLine, sem, res);        // declined once: not asked again
    EXPECT_EQ(script.Log.Texts.size(), 1);
    EXPECT_EQ(script.SemDlgCalls, 0);
    // A known work name never asks.
    Services->decode(lmPolygon, QStringLiteral("ЗДН/Ф002;К013;С05"), res);
    EXPECT_EQ(res, QStringLiteral("Здание нежилое; Состояние : строящееся"));
    EXPECT_EQ(script.Log.Texts.size(), 1);
}

TEST_F(SemFixture, DecodeOpensTheClassifierUntilAWorkNameExists)
{
    TQuestionScript script;
    script.Log.Answer = mrOk;
    script.SemDlgAnswers = {1, 1};
    script.OnSemDlg = [&] {
        if (script.SemDlgCalls == 2) {   // the user makes the work semantics the second time
            TSemWorks& works = Codec().SemWorks[lmLine];
            works.AddItem();
            works.Item->WorkName = QStringLiteral("Забор изгородь");
            works.Item->Semantics = QStringLiteral("ОГР/Ф002;К001");
        }
    };
    TScopedDialogHooks dialogs(script.Dialogs());
    TScopedSemDialogHooks semDialogs(script.SemHooks());
    std::uint8_t ask = 1;
    Services->AskUnknownWorkSem = &ask;
    QString res;
    Services->decode(lmLine, QStringLiteral("ОГР/Ф002;К001;М003;ГВ1.5:01"), res);
    EXPECT_EQ(res, QStringLiteral("Забор изгородь; Материал : дерево; Высота;  высота над землей: 1.5"));
    EXPECT_EQ(script.SemDlgCalls, 2);
    EXPECT_EQ(script.Refreshes, 2);
    EXPECT_TRUE(Codec().SL[TSemCodec::slExcludes + lmLine].isEmpty());

    // Cancelling the classifier window gives the standard text and excludes nothing.
    script.SemDlgAnswers = {2};
    Services->decode(lmLine, QStringLiteral("ОГР/Ф001;М004"), res);
    EXPECT_EQ(res, QStringLiteral("Ограждение,забор; Материал : металл"));
    EXPECT_EQ(script.SemDlgCalls, 3);
    EXPECT_TRUE(Codec().SL[TSemCodec::slExcludes + lmLine].isEmpty());
}

TEST_F(SemFixture, PlainRoutinesForTheEngine)
{
    QString sem = QStringLiteral("ЗДН/Ф001;М005;С01;ИВ125.4");
    SemToSTD(sem);
    EXPECT_EQ(sem, QStringLiteral("ЗДН/Ф001"));
    sem.clear();
    SemToSTD(sem);
    EXPECT_TRUE(sem.isEmpty());

    TArrayFloats h, n;
    GetH(QStringLiteral("ПКТ/ИН12;ИВ101,25"), h);
    GetN(QStringLiteral("ПКТ/ИН12;ИВ101,25"), n);
    EXPECT_EQ(h, TArrayFloats{101.25L});
    EXPECT_EQ(n, TArrayFloats{12.0L});
    GetH(QStringLiteral("ПКТ/ИН12"), h);
    EXPECT_TRUE(h.empty());

    QString shifted;
    ShiftHeights(QStringLiteral("ОТА/ИВ125.4;"), shifted, 0.6L);
    EXPECT_EQ(shifted, QStringLiteral("ОТА/ИВ126.00"));

    QString text;
    DecodeSem(lmPoint, QStringLiteral("ОТА/ИВ125.4"), text);
    EXPECT_EQ(text, QStringLiteral("Отметка высоты; Отметка: 125.4"));
    // Guards against the result overwriting the semantics while it is still being read.
    QString same = QStringLiteral("ОТА/ИВ125.4");
    DecodeSem(lmPoint, same, same);
    EXPECT_EQ(same, text);

    struct Case { int Code; const char16_t* Name; };
    const Case materials[] = {{0, u""}, {1, u"кирпич"}, {8, u"железобетон"},
                              {9, u"код вне диапазона"}, {-1, u"код вне диапазона"}};
    for (const Case& c : materials) {
        QString m = QStringLiteral("старое");
        decodeM(c.Code, m);
        EXPECT_EQ(m, QString::fromUtf16(c.Name)) << c.Code;
    }
}

TEST(SemServices, PlainRoutinesNeedAnInstance)
{
    QString text;
    EXPECT_THROW(DecodeSem(lmPoint, QStringLiteral("ТОЧ"), text), Exception);
}

TEST_F(SemFixture, FailuresLeaveTheTrailOfCodecAndServices)
{
    auto savedTrail = std::move(ErrorInfo);
    const auto savedArguments = LogArguments;
    ErrorInfo = std::make_unique<QStringList>();
    LogArguments = 1;
    TScopedDialogHooks none;
    QString sem = QStringLiteral("ТОЧ/Ф1");
    EXPECT_THROW(SemToSTD(sem), Exception);
    const QStringList trail = *ErrorInfo;
    ErrorInfo = std::move(savedTrail);
    LogArguments = savedArguments;

    EXPECT_EQ(sem, QStringLiteral("ТОЧ/Ф1"));
    ASSERT_GE(trail.size(), 4);
    EXPECT_EQ(trail[0], QStringLiteral("ModuleName: SemCodec"));
    EXPECT_TRUE(trail[1].startsWith(QStringLiteral("procedure TSemCodec.checkval(")));
    EXPECT_EQ(trail.mid(trail.size() - 3),
              (QStringList{QStringLiteral("Module name: UnitSemDialog"),
                           QStringLiteral("procedure SemToSTD(var sem:string);"),
                           QStringLiteral("Argument sem=ТОЧ/Ф1")}));
    EXPECT_TRUE(trail.contains(QStringLiteral("procedure TSemCodec.Split(sem:string);")));
}
