#include "SemTestSupport.h"

#include "semantics/codec/SemDialogs.h"

#include <map>

namespace {

QStringList Listing(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A snapshot of the tables a load may change, to show that a failed load changed none.
QString TablesText(TSemCodec& c)
{
    QString out;
    for (const auto& r : c.SemStandarts) {
        out += r->ObjCode + u'|' + r->ObjName;
        for (const TSemFKNs* g : {&r->FList, &r->KList, &r->NList})
            for (const auto& p : *g)
                out += u'|' + QString::number(p->Code) + p->Caption;
        out += u'\n';
    }
    for (const auto& works : c.SemWorks)
        for (const auto& w : works) {
            out += w->WorkName + u'|' + w->Semantics;
            for (const auto& m : w->MList)
                out += QStringLiteral("|М") + QString::number(m->Code);
            for (const auto& s : w->SList)
                out += QStringLiteral("|С") + QString::number(s->Code);
            for (const auto& e : w->EList)
                out += u'|' + QString::number(e->Kind) + u':' + QString::number(e->ListIndex);
            out += u'\n';
        }
    for (const QStringList& sl : c.SL)
        out += sl.join(u'#') + u'\n';
    return out + c.TopoCodeObj;
}

}  // namespace

// Every classifier file our data ships is written back byte for byte, the synonyms
// into the files they were read from (one file serves both spellings).
TEST_F(SemFixture, EveryClassifierFileRoundTrips)
{
    const QString source = QStringLiteral(VELMORA_SOURCE_DATA "/Семантика/");
    const QStringList files = Listing(source);
    Services->LoadSynonyms();
    for (const QString& name : files)   // so that each save has to write its file
        WriteBytes(Folder() + name, QByteArray("garbage"));
    Codec().SaveStandartBase();
    Codec().SaveWorkBase();
    Codec().SaveSynonyms();
    Services->Close();
    EXPECT_EQ(Listing(Folder()), files);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        if (name == TSemCodec::TopoCodesFileName)
            continue;   // read only: nothing writes it
        EXPECT_EQ(FileBytes(Folder() + name), FileBytes(source + name));
    }
}

// Guards files whose lines end in a lone CR: read as one long line each, they loaded
// with the CR inside the values, and then every save of the classifier (and closing its
// window) was refused. A lone CR ends a line in every classifier file.
TEST_F(SemFixture, LoneCrEndsALineInEveryClassifierFile)
{
    WriteBytes(Folder() + TSemCodec::ExcludeFileNames[0],
               Cp1251({QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ/Ф500")}));
    const auto reopen = [&] {
        Services.reset();
        Services = std::make_unique<TSemServices>();
        Services->Open();
        Services->LoadSynonyms();
    };
    reopen();
    const QString tables = TablesText(Codec());
    const QString font = Services->FontName;
    ASSERT_EQ(Codec().SL[TSemCodec::slExcludes].size(), 2);
    std::map<QString, QByteArray> original;
    for (const QString& name : Listing(Folder())) {
        QByteArray bytes = FileBytes(Folder() + name);
        original[name] = bytes;
        WriteBytes(Folder() + name, bytes.replace("\r\n", "\r"));
    }
    reopen();
    EXPECT_EQ(TablesText(Codec()), tables);
    EXPECT_EQ(Services->FontName, font);
    ASSERT_NO_THROW(Codec().SaveStandartBase());
    ASSERT_NO_THROW(Codec().SaveWorkBase());
    ASSERT_NO_THROW(Codec().SaveSynonyms());
    ASSERT_NO_THROW(Services->Close());
    for (const auto& [name, bytes] : original) {
        SCOPED_TRACE(name.toStdString());
        if (name != TSemCodec::TopoCodesFileName)   // read only: nothing writes it
            EXPECT_EQ(FileBytes(Folder() + name), bytes);
    }
}

TEST_F(SemFixture, OurClassifierKnowsEveryCodeTheProgramComposes)
{
    const char16_t* const composed[] = {
        u"ОТА/ИВ125.40;", u"ПКТ/ИН12;ИВ101.25", u"ТОЧ/Ф500;", u"ТОЧ/Ф010;ИН5", u"ПУН/Ф011;Н021;ИН7",
        u"ГОР/Ф021;ИВ120", u"ГОР/Ф011;ИВ121", u"ОФО/К110", u"ОФО/К313", u"ОФО/К310", u"ОТТ", u"БРД",
        u"ТОЧ", u"ЛИН", u"ПОЛ", u"ЗДН/Ф001;К012;Н003;М005;С01", u"КЛД/Ф001;Н001;М002;С03",
        u"ОГР/Ф001;К001;М004", u"ДОР/Ф001;К010;М006", u"ГРН/Ф001", u"ОЗЕ/Ф001", u"ЛЕС/Ф003"};
    for (const char16_t* s : composed) {
        const QString sem = QString::fromUtf16(s);
        SCOPED_TRACE(sem.toStdString());
        Codec().Split(sem);
        QString text;
        Codec().STDdecode(text);
        EXPECT_FALSE(text.contains(QStringLiteral("Неизвестн"))) << text.toStdString();
    }
    for (int k = 0; k < SemExtCount; ++k) {
        ASSERT_FALSE(Codec().SL[k].isEmpty()) << k;
        EXPECT_TRUE(Codec().SL[k][0].isEmpty()) << k;
    }
    EXPECT_EQ(Codec().TopoCodeObj, QStringLiteral("ТПК"));
    EXPECT_EQ(Services->FontName, QStringLiteral("Liberation Sans"));
    for (int lm = 0; lm < 3; ++lm)
        EXPECT_GT(Codec().SemWorks[lm].GetCount(), 3);
}

// Every record of our classifier is one the program can use as it stands: work
// semantics in the form the codec builds (or no work name would ever be found), of
// known objects and properties, with material, state and value codes inside their
// lists; synonyms keyed by sign-selecting forms of known objects.
TEST_F(SemFixture, OurClassifierIsConsistent)
{
    TMessageLog log;
    TScopedDialogHooks scoped(log.Hooks());
    auto expectKnown = [&](const QString& sem) {
        Codec().Split(sem);
        QString text;
        Codec().STDdecode(text);
        EXPECT_FALSE(text.isEmpty()) << sem.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Неизвестн"))) << text.toStdString();
    };
    for (int lm = 0; lm < 3; ++lm)
        for (const auto& w : Codec().SemWorks[lm]) {
            SCOPED_TRACE(w->WorkName.toStdString());
            expectKnown(w->Semantics);
            QString built;
            Codec().Code(built, false);
            EXPECT_EQ(built, w->Semantics);
            for (const auto& m : w->MList)
                EXPECT_TRUE(Codec().CheckWrkProp(seM, m->Code, w->WorkName));
            for (const auto& st : w->SList)
                EXPECT_TRUE(Codec().CheckWrkProp(seS, st->Code, w->WorkName));
            for (const auto& e : w->EList)
                EXPECT_TRUE(Codec().CheckWrkProp(e->Kind, e->ListIndex, w->WorkName));
        }
    Codec().LoadSynonyms();
    for (int lm = 0; lm < 3; ++lm) {
        ASSERT_EQ(Codec().Synonyms[lm].GetCount(), 1) << lm;
        for (const auto& r : Codec().Synonyms[lm]) {
            expectKnown(r->SignName);
            for (const QString& code : r->Codes) {
                expectKnown(code);
                QString form;
                Codec().SymbolSemCode(form);
                EXPECT_EQ(form, code);
            }
        }
    }
    // Each topocode line is followed by its text.
    const QStringList& topo = Codec().SL[TSemCodec::slTopoCodes];
    EXPECT_EQ(topo.size() % 2, 0);
    expectKnown(Codec().TopoCodeObj);
    EXPECT_TRUE(log.Texts.isEmpty()) << log.Texts.join(u'\n').toStdString();
}

// A broken or truncated file is refused as a whole: the tables keep what they held,
// and the table is not saved over the broken file afterwards.
TEST_F(SemFixture, BrokenStandardFileLeavesTheTablesIntact)
{
    struct Case {
        const char* Why;
        QStringList Lines;
    };
    const QStringList head = {QStringLiteral("*"), QStringLiteral("Здание"), QStringLiteral("ЗДН"),
                              QStringLiteral("/Ф"), QStringLiteral("001"), QStringLiteral("жилое")};
    const Case cases[] = {
        {"cut after the record mark", head + QStringList{QStringLiteral("*")}},
        {"cut after the description", head + QStringList{QStringLiteral("*"), QStringLiteral("Колодец")}},
        {"cut after a property code", head + QStringList{QStringLiteral("002")}},
        {"a code that is no number", head + QStringList{QStringLiteral("00x"), QStringLiteral("нежилое")}},
        {"a code above 999", head + QStringList{QStringLiteral("1000"), QStringLiteral("нежилое")}},
        {"a negative code", head + QStringList{QStringLiteral("-1"), QStringLiteral("нежилое")}},
    };
    const QString path = Folder() + TSemCodec::StandartFileName;
    const QString before = TablesText(Codec());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        const QByteArray broken = Cp1251(c.Lines);
        WriteBytes(path, broken);
        EXPECT_THROW(Codec().LoadStandartBase(), Exception);
        EXPECT_EQ(TablesText(Codec()), before);
        EXPECT_THROW(Codec().SaveStandartBase(), Exception);
        EXPECT_EQ(FileBytes(path), broken);
    }
    WriteBytes(path, FileBytes(QStringLiteral(VELMORA_SOURCE_DATA "/Семантика/ФКН.wri")));
    Codec().LoadStandartBase();
    EXPECT_NO_THROW(Codec().SaveStandartBase());
}

TEST_F(SemFixture, BrokenWorkBaseLeavesTheTablesIntact)
{
    struct Case {
        const char* Why;
        QString File;
        QStringList Lines;
    };
    const QStringList head = {QStringLiteral("*"), QStringLiteral("Забор"), QStringLiteral("ОГР/Ф001"),
                              QStringLiteral("М"), QStringLiteral("001")};
    const Case cases[] = {
        {"cut after a kind line", TSemCodec::WorkFileNames[1], head + QStringList{QStringLiteral("С")}},
        {"cut after the record mark", TSemCodec::WorkFileNames[1], head + QStringList{QStringLiteral("*")}},
        {"cut after the work name", TSemCodec::WorkFileNames[1],
         head + QStringList{QStringLiteral("*"), QStringLiteral("Изгородь")}},
        {"a number that is no number", TSemCodec::WorkFileNames[2],
         head + QStringList{QStringLiteral("С"), QStringLiteral("x1")}},
        {"a state above 99", TSemCodec::WorkFileNames[0],
         head + QStringList{QStringLiteral("С"), QStringLiteral("100")}},
        {"an index above 99", TSemCodec::WorkFileNames[0],
         head + QStringList{QStringLiteral("ИВ"), QStringLiteral("100")}},
        {"a material above 999", TSemCodec::WorkFileNames[0],
         head + QStringList{QStringLiteral("М"), QStringLiteral("1000")}},
    };
    const QString before = TablesText(Codec());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Why);
        const QString path = Folder() + c.File;
        const QByteArray good = FileBytes(path);
        const QByteArray broken = Cp1251(c.Lines);
        WriteBytes(path, broken);
        EXPECT_THROW(Codec().LoadWorkBase(), Exception);
        EXPECT_EQ(TablesText(Codec()), before);
        const QByteArray materials = FileBytes(Folder() + QStringLiteral("М.wri"));
        EXPECT_THROW(Codec().SaveWorkBase(), Exception);
        EXPECT_EQ(FileBytes(path), broken);
        EXPECT_EQ(FileBytes(Folder() + QStringLiteral("М.wri")), materials);
        WriteBytes(path, good);
    }
    Codec().LoadWorkBase();
    EXPECT_EQ(TablesText(Codec()), before);
    EXPECT_NO_THROW(Codec().SaveWorkBase());
}

TEST_F(SemFixture, MissingFilesAreNamed)
{
    struct Case {
        QString File;
        QString Message;
        bool Standard;
    };
    const Case cases[] = {
        {QStringLiteral("ФКН.wri"), QStringLiteral("Не найден файл  ФКН.wri"), true},
        {QStringLiteral("ГШ.wri"), QStringLiteral("Не найден файл ") + Folder() + QStringLiteral("ГШ.wri"), false},
        {QStringLiteral("ЛИНСЕМ.wri"), QStringLiteral("Не найден файл  ") + Folder() + QStringLiteral("ЛИНСЕМ.wri"), false},
        {QStringLiteral("топокоды.wri"), QStringLiteral("Не найден файл ") + Folder() + QStringLiteral("топокоды.wri"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File.toStdString());
        const QString path = Folder() + c.File;
        const QByteArray bytes = FileBytes(path);
        QFile::remove(path);
        try {
            c.Standard ? Codec().LoadStandartBase() : Codec().LoadWorkBase();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, c.Message);
        }
        WriteBytes(path, bytes);
    }
}

TEST_F(SemFixture, ReadersFollowTheirGroupAndKindRules)
{
    WriteBytes(Folder() + TSemCodec::StandartFileName,
               Cp1251({QStringLiteral("*"), QStringLiteral("Объект"), QStringLiteral("ОБЪ"), QStringLiteral("/Ф"),
                       QStringLiteral("001"), QStringLiteral("первый"), QStringLiteral("/Х"),
                       QStringLiteral("002"), QStringLiteral("второй"), QStringLiteral("/К"),
                       QStringLiteral("003"), QStringLiteral("третий")}));
    Codec().LoadStandartBase();
    ASSERT_EQ(Codec().SemStandarts.GetCount(), 1);
    const RSemStandart& r = *Codec().SemStandarts.At(0);
    EXPECT_EQ(r.FList.GetCount(), 2);   // "/Х" left the Ф group current
    EXPECT_EQ(r.KList.GetCount(), 1);
    EXPECT_EQ(r.FList.At(1)->Caption, QStringLiteral("второй"));

    // An entry without a code is not written; a record without properties keeps its
    // three group lines.
    Codec().SemStandarts.AddItem();
    Codec().SemStandarts.Item->ObjCode = QStringLiteral("ПУС");
    Codec().SemStandarts.Item->ObjName = QStringLiteral("Пустой");
    Codec().SemStandarts.Item->NList.AddItem();
    Codec().SemStandarts.Item->NList.Item->Caption = QStringLiteral("без кода");
    Codec().SaveStandartBase();
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::StandartFileName),
              Cp1251({QStringLiteral("*"), QStringLiteral("Объект"), QStringLiteral("ОБЪ"), QStringLiteral("/Ф"),
                      QStringLiteral("001"), QStringLiteral("первый"), QStringLiteral("002"),
                      QStringLiteral("второй"), QStringLiteral("/К"), QStringLiteral("003"),
                      QStringLiteral("третий"), QStringLiteral("/Н"), QStringLiteral("*"),
                      QStringLiteral("Пустой"), QStringLiteral("ПУС"), QStringLiteral("/Ф"),
                      QStringLiteral("/К"), QStringLiteral("/Н")}));

    WriteBytes(Folder() + TSemCodec::WorkFileNames[0],
               Cp1251({QStringLiteral("*"), QStringLiteral("Имя"), QStringLiteral("ТОЧ/Ф010"),
                       QStringLiteral("М"), QStringLiteral("002"), QStringLiteral("ЯЯ"),
                       QStringLiteral("05"), QStringLiteral("С"), QStringLiteral("03"),
                       QStringLiteral("ИН"), QStringLiteral("02")}));
    Codec().LoadWorkBase();
    ASSERT_EQ(Codec().SemWorks[0].GetCount(), 1);
    const RSemWork& w = *Codec().SemWorks[0].At(0);
    EXPECT_EQ(w.MList.GetCount(), 1);
    EXPECT_EQ(w.SList.GetCount(), 1);   // the pair of the unknown kind line is dropped
    ASSERT_EQ(w.EList.GetCount(), 1);
    EXPECT_EQ(w.EList.At(0)->Kind, seIN);
    EXPECT_EQ(w.EList.At(0)->ListIndex, 2);
    EXPECT_TRUE(w.EList.At(0)->Value.isEmpty());
}

// Guards against a save that writes a code it cannot read back as it was: an extended
// kind without a chosen index would come back as index 1, a code of 1000 as 100.
TEST_F(SemFixture, SavesRefuseCodesTheyCannotWrite)
{
    const QByteArray before = FileBytes(Folder() + TSemCodec::WorkFileNames[0]);
    RSemWork& w = *Codec().SemWorks[0].At(0);
    w.EList.AddItem();
    w.EList.Item->Kind = seIV;   // ListIndex stays -1
    EXPECT_THROW(Codec().SaveWorkBase(), Exception);
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::WorkFileNames[0]), before);

    const QByteArray standard = FileBytes(Folder() + TSemCodec::StandartFileName);
    Codec().SemStandarts.At(0)->FList.AddItem();
    Codec().SemStandarts.At(0)->FList.Item->Code = 1000;   // would be written as "100"
    EXPECT_THROW(Codec().SaveStandartBase(), Exception);
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::StandartFileName), standard);
}

TEST_F(SemFixture, SynonymsAreReadAndWrittenInTheirOwnFiles)
{
    Codec().LoadSynonyms();
    ASSERT_EQ(Codec().Synonyms[lmPolygon].GetCount(), 1);
    EXPECT_EQ(Codec().Synonyms[lmPolygon].At(0)->SignName, QStringLiteral("ЛЕС/Ф003"));
    EXPECT_EQ(Codec().Synonyms[lmPolygon].At(0)->Codes,
              (QStringList{QStringLiteral("ЛЕС/Ф001"), QStringLiteral("ЛЕС/Ф002")}));

    // A code before the first sign is dropped; a missing file leaves its list.
    WriteBytes(Folder() + QStringLiteral("ТОЧСИН.wri"),
               Cp1251({QStringLiteral("$ТОЧ"), QString(), QStringLiteral("@ЗНК"), QStringLiteral("просто строка"),
                       QStringLiteral("$ТОЧ/Ф001")}));
    QFile::remove(Folder() + QStringLiteral("ЛИНСИН.wri"));
    Codec().LoadSynonyms();
    ASSERT_EQ(Codec().Synonyms[lmPoint].GetCount(), 1);
    EXPECT_EQ(Codec().Synonyms[lmPoint].At(0)->Codes, QStringList{QStringLiteral("ТОЧ/Ф001")});
    EXPECT_EQ(Codec().Synonyms[lmLine].GetCount(), 1);
    Codec().SaveSynonyms();
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("ТОЧСИН.wri")),
              Cp1251({QStringLiteral("@ЗНК"), QStringLiteral("$ТОЧ/Ф001")}));
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("ЛИНСин.wri")));   // a new file: the written spelling
}

// Guards against the two spellings naming two files: the synonyms were read from
// "ТОЧСИН.wri" and written into "ТОЧСин.wri", so every change was lost on the next read.
TEST_F(SemFixture, SynonymsGoBackIntoTheFileTheyCameFrom)
{
    const QByteArray other = Cp1251({QStringLiteral("@СТАРЫЙ"), QStringLiteral("$ТОЧ")});
    WriteBytes(Folder() + QStringLiteral("ТОЧСин.wri"), other);
    Codec().LoadSynonyms();
    ASSERT_EQ(Codec().Synonyms[lmPoint].GetCount(), 1);
    Codec().Synonyms[lmPoint].At(0)->Codes << QStringLiteral("ТОЧ/Ф500");
    Codec().SaveSynonyms();
    Codec().Synonyms[lmPoint].DeleteAll();
    Codec().LoadSynonyms();
    ASSERT_EQ(Codec().Synonyms[lmPoint].GetCount(), 1);
    EXPECT_EQ(Codec().Synonyms[lmPoint].At(0)->Codes,
              (QStringList{QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ/Ф500")}));
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("ТОЧСин.wri")), other);
}

// A synonym file that exists but cannot be read leaves the lists as they were and is
// not written over afterwards.
TEST_F(SemFixture, UnreadableSynonymFileIsNotSavedOver)
{
    Codec().LoadSynonyms();
    const QString before = Codec().Synonyms[lmLine].At(0)->SignName;
    const QByteArray points = FileBytes(Folder() + QStringLiteral("ТОЧСИН.wri"));
    const QString path = Folder() + QStringLiteral("ЛИНСИН.wri");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));   // exists, but no file can be read from it
    Codec().Synonyms[lmPoint].DeleteAll();
    EXPECT_THROW(Codec().LoadSynonyms(), Exception);
    EXPECT_EQ(Codec().Synonyms[lmPoint].GetCount(), 0);
    EXPECT_EQ(Codec().Synonyms[lmLine].At(0)->SignName, before);
    EXPECT_THROW(Codec().SaveSynonyms(), Exception);
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("ТОЧСИН.wri")), points);
    ASSERT_TRUE(QDir().rmdir(path));
    Codec().LoadSynonyms();
    EXPECT_NO_THROW(Codec().SaveSynonyms());
}

TEST_F(SemFixture, SignNameThroughTheSynonyms)
{
    struct Case {
        const char16_t* SignName;
        const char16_t* Sem;
        const char16_t* Name;
    };
    const Case cases[] = {
        {u"ЗНК/Ф005", u"ТОЧ/Ф001;ИВ12", u"ЗНК/Ф005;ИВ12"},
        {u"ЗНК", u"ТОЧ/Ф001;ИВ12", u"ЗНК/ИВ12"},
        {u"ЗНК", u"ТОЧ/Ф001", u"ЗНК/"},
        {u"ЗНК/Ф005", u"ТОЧ/Ф001", u"ЗНК/Ф005"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Sem).toStdString());
        TSynonyms& list = Codec().Synonyms[lmPoint];
        list.DeleteAll();
        list.AddItem();
        list.Item->SignName = QString::fromUtf16(c.SignName);
        list.Item->Codes << QStringLiteral("ТОЧ/Ф002") << QStringLiteral("ТОЧ/Ф001");
        QString name = QStringLiteral("старое");
        EXPECT_TRUE(Codec().SemToSymbolName(QString::fromUtf16(c.Sem), lmPoint, name, 500));
        EXPECT_EQ(name, QString::fromUtf16(c.Name));
    }
}

TEST_F(SemFixture, UnmatchedSignNameAsksTheAddSynonymWindow)
{
    QDir(ProgramPath()).mkpath(QStringLiteral("условные знаки/500/Линейные"));
    QString seenFolder;
    bool answer = false;
    TSemDialogHooks hooks;
    hooks.AddSynDlg = [&](TSemCodec& codec, const QString& folder, int lm, QString& name) {
        seenFolder = folder;
        codec.Split(QStringLiteral("ЛИН"));   // the window decodes other names meanwhile
        if (!answer)
            return false;
        codec.Synonyms[lm].AddItem();
        codec.Synonyms[lm].Item->SignName = QStringLiteral("ОГР/Ф001");
        codec.Synonyms[lm].Item->Codes << QStringLiteral("ОГР/Ф002;М003");
        name = QStringLiteral("ОГР/Ф001");
        return true;
    };
    TScopedSemDialogHooks scoped(hooks);
    const QByteArray before = FileBytes(Folder() + QStringLiteral("ЛИНСИН.wri"));
    QString name = QStringLiteral("старое");
    // Codes are compared exactly: a lower-case letter does not match.
    EXPECT_FALSE(Services->SemToSymbolName(QStringLiteral("гОР/Ф031"), lmLine, name, 500));
    EXPECT_TRUE(name.isEmpty());
    EXPECT_EQ(seenFolder, ProgramPath() + QStringLiteral("условные знаки/500/Линейные/"));
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("ЛИНСИН.wri")), before);   // nothing found, nothing written

    answer = true;
    EXPECT_TRUE(Services->SemToSymbolName(QStringLiteral("ОГР/Ф002;М003;ГВ2"), lmLine, name, 500));
    EXPECT_EQ(name, QStringLiteral("ОГР/Ф001;ГВ2"));
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("ЛИНСИН.wri")),
              Cp1251({QStringLiteral("@ГОР/Ф011"), QStringLiteral("$ГОР/Ф031"), QStringLiteral("@ОГР/Ф001"),
                      QStringLiteral("$ОГР/Ф002;М003")}));

    // An answer from an existing synonym writes the files as well.
    answer = false;
    WriteBytes(Folder() + QStringLiteral("ПОЛСИН.wri"), Cp1251({QStringLiteral("@ЛЕС/Ф003"), QStringLiteral("$ЛЕС/Ф001")}));
    QFile::remove(Folder() + QStringLiteral("ТОЧСИН.wri"));
    EXPECT_TRUE(Services->SemToSymbolName(QStringLiteral("ЛЕС/Ф001"), lmPolygon, name, 500));
    EXPECT_EQ(name, QStringLiteral("ЛЕС/Ф003"));
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("ТОЧСин.wri")));
}

TEST_F(SemFixture, ExclusionFilesAtStartAndOnRequest)
{
    QFile::remove(Folder() + TSemCodec::ExcludeFileNames[1]);
    WriteBytes(Folder() + TSemCodec::ExcludeFileNames[0], Cp1251({QStringLiteral("ТОЧ/Ф010")}));
    Services.reset();
    Services = std::make_unique<TSemServices>();
    EXPECT_NO_THROW(Services->Open());   // a missing exclusion file is skipped at start
    EXPECT_EQ(Codec().SL[TSemCodec::slExcludes], QStringList{QStringLiteral("ТОЧ/Ф010")});
    Codec().SL[TSemCodec::slExcludes].append(QStringLiteral("ТОЧ/Ф500"));
    EXPECT_THROW(Services->LoadExcludes(), Exception);   // on request each file must exist
    EXPECT_EQ(Codec().SL[TSemCodec::slExcludes].size(), 2);
    Services->Close();
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::ExcludeFileNames[0]),
              Cp1251({QStringLiteral("ТОЧ/Ф010"), QStringLiteral("ТОЧ/Ф500")}));
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::ExcludeFileNames[1]), QByteArray());
    EXPECT_NO_THROW(Services->LoadExcludes());
}

TEST_F(SemFixture, FontFileGivesTheWindowFont)
{
    QFile::remove(Folder() + QStringLiteral("шрифт.wri"));
    Services->ReadFontFile();
    EXPECT_EQ(Services->FontName, QStringLiteral("MS Sans Serif"));
    Services->FontName = QStringLiteral("DejaVu Sans");
    Services->Close();
    EXPECT_EQ(FileBytes(Folder() + QStringLiteral("шрифт.wri")), Cp1251({QStringLiteral("DejaVu Sans")}));
}

// Guards against a character that code page 1251 cannot hold being written as "?".
TEST_F(SemFixture, TextOutsideTheCodePageIsRefused)
{
    const QByteArray before = FileBytes(Folder() + TSemCodec::StandartFileName);
    Codec().SemStandarts.At(0)->ObjName = QStringLiteral("Точка ✓");
    EXPECT_THROW(Codec().SaveStandartBase(), Exception);
    EXPECT_EQ(FileBytes(Folder() + TSemCodec::StandartFileName), before);
}
