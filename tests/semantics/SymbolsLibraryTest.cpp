// The sign library of a scale: loading the kind folders, the fall-backs, a broken file
// among good ones, the missing-sign list across scales, choosing a sign by the matching
// rules, the questions about a missing sign, and the caption properties.
#include "SignTestSupport.h"

#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"
#include "support/TestRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>

namespace {

const QByteArray EmptyPoint = EncodeCodePage(QStringLiteral("#Условный знак\r\n#Точечный\r\n"));
const QByteArray EmptyLine = EncodeCodePage(QStringLiteral("#Условный знак\r\n#Линейный\r\n"));
const QByteArray EmptyPolygon = EncodeCodePage(QStringLiteral("#Условный знак\r\n#Площадной\r\n"));

QStringList Codes(const TVpGPoints& list)
{
    QStringList codes;
    for (const auto& sign : list)
        codes << sign->Code;
    return codes;
}

class SymbolsLibrary : public SignFixture {
protected:
    QString Write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = Dir.path() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString Signs(int scale, const QString& kind, const QString& name)
    {
        return QStringLiteral("Условные знаки/%1/%2/%3").arg(scale).arg(kind, name);
    }
    // Point signs made in memory, in this order.
    void AddPointSigns(const QStringList& names)
    {
        for (const QString& name : names) {
            Symbols.VpGPoints.AddItem();
            Symbols.VpGPoints.Item->Code = name;
        }
    }
    QString Selected(const QString& name, TLmode lm = lmPoint)
    {
        if (!Symbols.SelectSymbol(name, lm))
            return QStringLiteral("<none>");
        return lm == lmPoint ? Symbols.VpGPoints.Item->Code
               : lm == lmLine ? Symbols.VpGLines.Item->Code
                              : Symbols.VpGPolygons.Item->Code;
    }

    TSeparatorScope Separators{u'.'};
};

}  // namespace

TEST_F(SymbolsLibrary, KindFoldersLoadSortedIgnoringCaseWithTheFallbackLast)
{
    const QString points = QStringLiteral("Точечные");
    Write(Signs(500, points, QStringLiteral("в.wri")), EmptyPoint);
    Write(Signs(500, points, QStringLiteral("НЕОПРЕДЕЛЕННЫЙ.WRI")), EmptyPoint);
    Write(Signs(500, points, QStringLiteral("Б.WRI")), EmptyPoint);
    Write(Signs(500, points, QStringLiteral("а.wri")), EmptyPoint);
    Write(Signs(500, points, QStringLiteral("заметки.txt")), EmptyPoint);
    Write(Signs(500, QStringLiteral("линейные"), QStringLiteral("ЛИН.wri")), EmptyLine);
    Write(Signs(500, QStringLiteral("Площадные"), QStringLiteral("неопределенный.wri")), EmptyPolygon);

    Symbols.LoadSymbols(500);
    EXPECT_EQ(Codes(Symbols.VpGPoints), QStringList({QStringLiteral("а"), QStringLiteral("Б"),
                                                      QStringLiteral("в"), QStringLiteral("неопределенный")}));
    ASSERT_EQ(Symbols.VpGLines.GetCount(), 1);
    EXPECT_EQ(Symbols.VpGLines.At(0)->Code, QStringLiteral("ЛИН"));
    ASSERT_EQ(Symbols.VpGPolygons.GetCount(), 1);
    EXPECT_EQ(Symbols.VpGPolygons.At(0)->Code, QStringLiteral("неопределенный"));
    EXPECT_EQ(Symbols.GetScale(), 500);
    EXPECT_TRUE(Symbols.LoadErrors.isEmpty());
}

TEST_F(SymbolsLibrary, BrokenSignFilesAreReportedOnceAndTheRestStillLoads)
{
    const QString points = QStringLiteral("Точечные");
    Write(Signs(1000, points, QStringLiteral("А.wri")), EmptyPoint);
    QByteArray randomBytes;
    for (int i = 0; i < 4096; ++i)
        randomBytes += static_cast<char>((i * 7919 + 13) % 251);
    const QByteArray badWidth =
        FileBytes(QStringLiteral(VELMORA_TEST_FIXTURES "/signs/point_bad_width.wri"));
    const QByteArray full = FileBytes(QStringLiteral(VELMORA_TEST_FIXTURES "/signs/point_full.wri"));
    const QByteArray broken[] = {
        badWidth,                 // a value that is no number
        randomBytes,              // stray bytes
        QByteArray(),             // an empty file
        EmptyLine,                // a sign of another kind
        full.left(full.indexOf("CIRCLE") + 29),   // cut off inside the centre point
        EncodeCodePage(QStringLiteral("#Условный знак\r\n#Точечный\r\n[Рисунок]\r\n*\r\nCIRCLE\r\n"
                                      "0\r\n0.10\r\n1\r\n0\r\n0.00 0.00\r\n"
                                      "1000000000000000000000000000000000000000e999999\r\n")),
    };
    QStringList brokenPaths;
    for (std::size_t i = 0; i < std::size(broken); ++i)
        brokenPaths << Write(Signs(1000, points, QStringLiteral("Б%1.wri").arg(i)), broken[i]);
    Write(Signs(1000, points, QStringLiteral("В.wri")), EmptyPoint);
    Write(Signs(1000, points, QStringLiteral("неопределенный.wri")), EmptyPoint);
    Write(Signs(1000, QStringLiteral("Линейные"), QStringLiteral("неопределенный.wri")), EmptyLine);
    Write(QStringLiteral("Шрифты/1000/Стили.wri"),
          EncodeCodePage(QStringLiteral("*\r\n>ОСНОВНОЙ\r\n0\r\n2.5\r\n0\r\nLiberation Sans\r\nосновной\r\n")));

    ErrorInfo = std::make_unique<QStringList>();
    QStringList said;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString& caption, const QString& text) {
        said << caption << text;
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);
    EXPECT_NO_THROW(Symbols.LoadSymbols(1000));

    EXPECT_EQ(Codes(Symbols.VpGPoints),
              QStringList({QStringLiteral("А"), QStringLiteral("В"), QStringLiteral("неопределенный")}));
    EXPECT_EQ(Symbols.VpGLines.GetCount(), 1);
    EXPECT_EQ(Symbols.TextStyles.GetCount(), 1);
    ASSERT_EQ(Symbols.LoadErrors.size(), brokenPaths.size());
    for (int i = 0; i < brokenPaths.size(); ++i)
        EXPECT_TRUE(Symbols.LoadErrors[i].contains(brokenPaths[i])) << Symbols.LoadErrors[i].toStdString();
    ASSERT_EQ(said.size(), 2);   // one window for the whole load
    for (const QString& path : brokenPaths)
        EXPECT_TRUE(said[1].contains(path));
    EXPECT_TRUE(ErrorInfo->isEmpty());   // the failure stopped here and left no trail
    ErrorInfo.reset();

    // Every undo and redo loads the library again; the same errors are not said again,
    // but a new one is.
    Symbols.LoadSymbols(1000);
    EXPECT_EQ(said.size(), 2);
    EXPECT_EQ(Symbols.LoadErrors.size(), brokenPaths.size());
    Write(Signs(1000, points, QStringLiteral("Г.wri")), EmptyPolygon);
    Symbols.LoadSymbols(1000);
    EXPECT_EQ(said.size(), 4);
}

// The list of 1:1000 ends its lines in a lone CR: read as one key holding a CR, it
// could never be written again (guarded here too).
TEST_F(SymbolsLibrary, MissingSignListIsWrittenForTheScaleLeftAndReadForTheNewOne)
{
    Write(Signs(500, QStringLiteral("Точечные"), QStringLiteral("неопределенный.wri")), EmptyPoint);
    Symbols.LoadSymbols(500);
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф001;М002;С01;ИВ5")), QStringLiteral("неопределенный"));
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЗНК/Ф001;")}));

    Write(QStringLiteral("Условные знаки/1000/неизвестные знаки.wri"),
          EncodeCodePage(QStringLiteral("ЛЕС/Ф001;\rОЗЕ/\r")));
    Symbols.LoadSymbols(1000);
    EXPECT_EQ(FileBytes(Dir.path() + QStringLiteral("/Условные знаки/500/неизвестные знаки.wri")),
              EncodeCodePage(QStringLiteral("ЗНК/Ф001;\r\n")));
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЛЕС/Ф001;"), QStringLiteral("ОЗЕ/")}));

    // A scale without a list of its own keeps the entries; its folder is made to write them.
    Symbols.LoadSymbols(2000);
    EXPECT_EQ(Symbols.UnknownSymbols.size(), 2);
    Symbols.LoadSymbols(500);
    EXPECT_TRUE(Symbols.LoadErrors.isEmpty()) << Symbols.LoadErrors.join(u'\n').toStdString();
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЗНК/Ф001;")}));
    EXPECT_EQ(FileBytes(Dir.path() + QStringLiteral("/Условные знаки/2000/неизвестные знаки.wri")),
              EncodeCodePage(QStringLiteral("ЛЕС/Ф001;\r\nОЗЕ/\r\n")));
}

// Guards the false "signs with errors were skipped" message of an installed program,
// whose folder takes no writes: the missing-sign list goes below the user's data root.
TEST_F(SymbolsLibrary, MissingSignListOfAnInstalledProgramGoesBelowTheUsersDataRoot)
{
    QTemporaryDir dataRoot;
    ASSERT_TRUE(dataRoot.isValid());
    const QString oldRoot = std::exchange(DataRootFolder, dataRoot.path() + u'/');
    Write(Signs(500, QStringLiteral("Точечные"), QStringLiteral("неопределенный.wri")), EmptyPoint);
    Write(QStringLiteral("Условные знаки/500/неизвестные знаки.wri"),
          EncodeCodePage(QStringLiteral("ЛЕС/Ф001;\r\n")));
    QStringList said;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString& caption, const QString& text) {
        said << caption << text;
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);

    Symbols.LoadSymbols(500);   // the list shipped beside the signs, while the user has none
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЛЕС/Ф001;")}));
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф001;М002")), QStringLiteral("неопределенный"));
    Symbols.LoadSymbols(1000);
    const QString users = dataRoot.path() + QStringLiteral("/Условные знаки/500/неизвестные знаки.wri");
    EXPECT_EQ(FileBytes(users), EncodeCodePage(QStringLiteral("ЛЕС/Ф001;\r\nЗНК/Ф001;\r\n")));
    EXPECT_EQ(FileBytes(Dir.path() + QStringLiteral("/Условные знаки/500/неизвестные знаки.wri")),
              EncodeCodePage(QStringLiteral("ЛЕС/Ф001;\r\n")))
        << "the program folder is not written";
    Symbols.LoadSymbols(500);   // the user's own list now
    EXPECT_EQ(Symbols.UnknownSymbols.size(), 2);
    EXPECT_TRUE(said.isEmpty()) << said.join(u'|').toStdString();

    // A list that cannot be written at all is said as that, not as signs with errors.
    Write(QStringLiteral("blocker"), QByteArray());
    DataRootFolder = Dir.path() + QStringLiteral("/blocker/");
    Symbols.LoadSymbols(1000);
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[1].startsWith(QStringLiteral("Не удалось записать список неизвестных знаков:")))
        << said[1].toStdString();
    EXPECT_TRUE(Symbols.LoadErrors.isEmpty());
    DataRootFolder = oldRoot;
}

TEST_F(SymbolsLibrary, MatchingTable)
{
    AddPointSigns({QStringLiteral("ЗНК-Ф001;М"), QStringLiteral("ЗНК-Ф001;К002"),
                   QStringLiteral("ЗНК-Ф001;Ф002"), QStringLiteral("ЗНК-Ф003;М001;С"),
                   QStringLiteral("ЗНК-Ф003;М;С"), QStringLiteral("ЗНК-Ф003;М;С"),
                   QStringLiteral("ДРГ-Ф001;М"), QStringLiteral("неопределенный")});
    struct Case {
        const char* object;
        const char* sign;
    };
    const Case cases[] = {
        {"ЗНК/Ф001;М005", "ЗНК-Ф001;М"},          // any material
        {"ЗНК/Ф001", "ЗНК-Ф001;М"},               // no material at all
        {"ЗНК/Ф001;М002;М005", "ЗНК-Ф001;М"},
        {"ЗНК/Ф001;С01", "неопределенный"},       // states must then match, and the sign has none
        {"ЗНК/К002;Ф001", "ЗНК-Ф001;К002"},       // items are grouped by letter first
        {"ЗНК/Ф001;Ф002", "ЗНК-Ф001;Ф002"},
        {"ЗНК/Ф002;Ф001", "неопределенный"},      // the order within one letter counts
        {"ЗНК/Ф003;М001;С05", "ЗНК-Ф003;М001;С"},  // the first match wins
        {"ЗНК/Ф003;М002;С05", "ЗНК-Ф003;М;С"},
        {"ЗНК/Ф003", "ЗНК-Ф003;М;С"},
        {"ЗНК/Ф001;ИВ12", "ЗНК-Ф001;М"},          // extended items take no part
        {"ЗНК/Ф001;ИИ:03;ГВ5", "ЗНК-Ф001;М"},
        {"ДРГ-Ф001", "ДРГ-Ф001;М"},               // the separator character is not read
        {"ДРГ/Ф001 ", "ДРГ-Ф001;М"},              // a last blank ends the name
        {"ЗНК", "неопределенный"},
        {"ЗН", "неопределенный"},
        {"", "неопределенный"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        EXPECT_EQ(Selected(QString::fromUtf8(c.object)), QString::fromUtf8(c.sign));
    }
    // The same sign twice: the first of the list is current.
    Selected(QStringLiteral("ЗНК/Ф003;М003"));
    EXPECT_EQ(Symbols.VpGPoints.GetIndex(), 4);
}

TEST_F(SymbolsLibrary, KindWithoutSignsLeavesNothingCurrent)
{
    EXPECT_FALSE(Symbols.SelectSymbol(QStringLiteral("ЗНК/Ф001"), lmLine));
    EXPECT_EQ(Symbols.VpGLines.Item, nullptr);
}

TEST_F(SymbolsLibrary, ListChangesAreSeenByTheIndex)
{
    AddPointSigns({QStringLiteral("ЗНК-Ф001"), QStringLiteral("неопределенный")});
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф002")), QStringLiteral("неопределенный"));
    EXPECT_EQ(Selected(QStringLiteral("ОЗЕ/Ф002")), QStringLiteral("неопределенный"));
    Symbols.VpGPoints.GoFirstItem();
    Symbols.VpGPoints.Item->Code = QStringLiteral("ОЗЕ-Ф002");   // renamed in place
    EXPECT_EQ(Selected(QStringLiteral("ОЗЕ/Ф002")), QStringLiteral("ОЗЕ-Ф002"));
    Symbols.VpGPoints.Item->Code = QStringLiteral("ЗНК-Ф002");   // renamed again
    EXPECT_EQ(Selected(QStringLiteral("ОЗЕ/Ф002")), QStringLiteral("неопределенный"));
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф003")), QStringLiteral("неопределенный"));
    EXPECT_TRUE(Symbols.FindSymbol(QStringLiteral("ЗНК-Ф002"), lmPoint));
    EXPECT_FALSE(Symbols.FindSymbol(QStringLiteral("ЗНК-Ф001"), lmPoint));
    Symbols.VpGPoints.GoFirstItem();
    Symbols.VpGPoints.DeleteItem();
    Symbols.VpGPoints.GoFirstItem();
    Symbols.VpGPoints.InsertItem(0);
    Symbols.VpGPoints.Item->Code = QStringLiteral("ЗНК-Ф004");
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф004")), QStringLiteral("ЗНК-Ф004"));
    EXPECT_FALSE(Symbols.FindSymbol(QStringLiteral("ЗНК-Ф002"), lmPoint));
    // Emptied and filled again with as many signs, as the sign windows do with theirs.
    Symbols.VpGPoints.DeleteAll();
    AddPointSigns({QStringLiteral("ЗНК-Ф009"), QStringLiteral("ЗНК-Ф004")});
    EXPECT_FALSE(Symbols.FindSymbol(QStringLiteral("неопределенный"), lmPoint));
    EXPECT_EQ(Selected(QStringLiteral("ЗНК/Ф004")), QStringLiteral("ЗНК-Ф004"));
    EXPECT_EQ(Symbols.VpGPoints.GetIndex(), 1);
    EXPECT_TRUE(Symbols.FindSymbol(QStringLiteral("ЗНК-Ф009"), lmPoint));
    EXPECT_EQ(Symbols.VpGPoints.GetIndex(), 0);
}

TEST_F(SymbolsLibrary, FindSymbolTakesTheExactNameAndLeavesTheCursorOnIt)
{
    AddPointSigns({QStringLiteral("А-Ф001"), QStringLiteral("Б-Ф001"), QStringLiteral("Б-Ф001")});
    EXPECT_TRUE(Symbols.FindSymbol(QStringLiteral("Б-Ф001"), lmPoint));
    EXPECT_EQ(Symbols.VpGPoints.GetIndex(), 1);
    EXPECT_FALSE(Symbols.FindSymbol(QStringLiteral("б-Ф001"), lmPoint));
    EXPECT_FALSE(Symbols.FindSymbol(QStringLiteral("А-Ф001"), lmLine));
}

// Guards the missing-sign list keyed by object code with material and state: such a list
// differed from other installations' and asked again about an object for every new
// material or state. It holds and looks up the short key (code, Ф, К and Н items).
TEST_F(SymbolsLibrary, MissingSignIsNotedUnderItsShortKeyAndAskedAboutOnce)
{
    AddPointSigns({QStringLiteral("ЗНК-Ф001"), QStringLiteral("ЗНК-Ф009;М005"), QStringLiteral("неопределенный")});
    Symbols.AskUnknownSymbol = 1;
    QStringList asked;
    TDialogHooks hooks;
    hooks.ShowQ = [&](const QString& caption, const QString& text) {
        asked << caption << text;
        return mrNo;
    };
    TScopedDialogHooks scope(hooks);
    const QString object = QStringLiteral("ЗНК/Ф009;М002;С01;ИВ3");
    EXPECT_EQ(Selected(object), QStringLiteral("неопределенный"));
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], QStringLiteral("Для точечного объекта не найден условный знак"));
    EXPECT_EQ(asked[1], QStringLiteral("Объект: ") + object + QChar(13) + QStringLiteral("Выбрать условный знак?"));
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЗНК/Ф009;")}));
    struct Case {
        const char* object;
        const char* sign;
    };
    const Case cases[] = {
        {"ЗНК/Ф009;М002;С01;ИВ3", "неопределенный"},   // the same object again
        {"ЗНК/Ф009;М002;С01;ИВ7", "неопределенный"},   // another extended value
        {"ЗНК/Ф009;М003", "неопределенный"},           // another material
        {"ЗНК/Ф009;С02", "неопределенный"},            // another state
        {"ЗНК/Ф009", "неопределенный"},
        {"ЗНК/Ф009;М005", "ЗНК-Ф009;М005"},            // a sign that matches is still taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        EXPECT_EQ(Selected(QString::fromUtf8(c.object)), QString::fromUtf8(c.sign));
    }
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЗНК/Ф009;")}));
    // A list emptied from outside is looked up as it now is.
    Symbols.UnknownSymbols.clear();
    EXPECT_EQ(Selected(object), QStringLiteral("неопределенный"));
    EXPECT_EQ(asked.size(), 4);
}

// A short key read from the file, as another installation writes it, silences the
// question for every material and state of the object.
TEST_F(SymbolsLibrary, ShortKeyReadFromTheFileCoversEveryMaterialAndState)
{
    Write(Signs(500, QStringLiteral("Точечные"), QStringLiteral("неопределенный.wri")), EmptyPoint);
    Write(QStringLiteral("Условные знаки/500/неизвестные знаки.wri"),
          EncodeCodePage(QStringLiteral("ЛЕС/Ф002;К001;\r\n")));
    Symbols.LoadSymbols(500);
    Symbols.AskUnknownSymbol = 1;
    int asked = 0;
    TDialogHooks hooks;
    hooks.ShowQ = [&](const QString&, const QString&) { return ++asked, mrNo; };
    TScopedDialogHooks scope(hooks);
    EXPECT_EQ(Selected(QStringLiteral("ЛЕС/Ф002;К001;М004;С02")), QStringLiteral("неопределенный"));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Selected(QStringLiteral("ЛЕС/Ф002;К001;С05;ИИ:02")), QStringLiteral("неопределенный"));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Selected(QStringLiteral("ЛЕС/Ф002;М004")), QStringLiteral("неопределенный"));   // another short key
    EXPECT_EQ(asked, 1);
}

TEST_F(SymbolsLibrary, WithoutTheQuestionAMissingSignIsNotedSilently)
{
    AddPointSigns({QStringLiteral("неопределенный")});
    int asked = 0;
    TDialogHooks hooks;
    hooks.ShowQ = [&](const QString&, const QString&) { return ++asked, mrYes; };
    TScopedDialogHooks scope(hooks);
    EXPECT_EQ(Selected(QStringLiteral("ОЗЕ/Ф001"), lmPoint), QStringLiteral("неопределенный"));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ОЗЕ/Ф001;")}));
}

TEST_F(SymbolsLibrary, SignChosenInTheAddWindowIsCopiedLoadedAndFoundNextTime)
{
    Write(Signs(500, QStringLiteral("Линейные"), QStringLiteral("неопределенный.wri")), EmptyLine);
    const QString source = Write(QStringLiteral("образцы/забор.wri"),
                                 FileBytes(QStringLiteral(VELMORA_TEST_FIXTURES "/signs/line_full.wri")));
    Symbols.LoadSymbols(500);
    Symbols.AskUnknownSymbol = 1;

    QStringList received;
    TDialogHooks hooks;
    hooks.ShowQ = [](const QString&, const QString&) { return mrYes; };
    TScopedDialogHooks scope(hooks);
    TSemDialogHooks semHooks;
    semHooks.AddSymbolDlg = [&](const QString& caption, int lm, const QString& key, const QString& materials,
                                const QString& states, int scale, QString& sourcepath, QString& filename) {
        received << caption << QString::number(lm) << key << materials << states << QString::number(scale);
        sourcepath = source;
        filename = QStringLiteral("ОГР-Ф001;К001;М;С.wri");
        return 1;
    };
    TScopedSemDialogHooks semScope(semHooks);

    EXPECT_EQ(Selected(QStringLiteral("ОГР/Ф001;К001;М002;М004;С01;ГВ2"), lmLine),
              QStringLiteral("ОГР-Ф001;К001;М;С"));
    EXPECT_EQ(received, QStringList({QStringLiteral("Не найден условный знак -добавление"), QStringLiteral("1"),
                                     QStringLiteral("ОГР/Ф001;К001;"), QStringLiteral("002\r\n004\r\n"),
                                     QStringLiteral("01\r\n"), QStringLiteral("500")}));
    const QString copied = Dir.path() + u'/' + Signs(500, QStringLiteral("Линейные"),
                                                      QStringLiteral("ОГР-Ф001;К001;М;С.wri"));
    EXPECT_EQ(FileBytes(copied), FileBytes(source));
    EXPECT_EQ(Symbols.VpGLines.GetIndex(), Symbols.VpGLines.GetCount() - 1);
    EXPECT_TRUE(Symbols.UnknownSymbols.isEmpty());

    received.clear();
    EXPECT_EQ(Selected(QStringLiteral("ОГР/Ф001;К001;М003"), lmLine), QStringLiteral("ОГР-Ф001;К001;М;С"));
    EXPECT_TRUE(received.isEmpty());
}

TEST_F(SymbolsLibrary, CancelledAddWindowGivesTheFallbackAndNotesTheObject)
{
    Write(Signs(500, QStringLiteral("Площадные"), QStringLiteral("неопределенный.wri")), EmptyPolygon);
    Symbols.LoadSymbols(500);
    Symbols.AskUnknownSymbol = 1;
    TDialogHooks hooks;
    hooks.ShowQ = [](const QString&, const QString&) { return mrYes; };
    TScopedDialogHooks scope(hooks);
    TScopedSemDialogHooks noWindow;   // the add-sign window answers cancel
    EXPECT_EQ(Selected(QStringLiteral("ЛЕС/Ф002"), lmPolygon), QStringLiteral("неопределенный"));
    EXPECT_EQ(Symbols.UnknownSymbols, QStringList({QStringLiteral("ЛЕС/Ф002;")}));
}

TEST(SymbolsSynonyms, SynonymChoosesTheSignOnceAndIsNotAskedAgainForItsOwnName)
{
    TTestRun run({QStringLiteral("Семантика")});
    TSemServices services;
    services.Open();
    QFile synonyms(run.Folder() + QStringLiteral("Семантика/ТОЧСИН.wri"));
    ASSERT_TRUE(synonyms.open(QIODevice::WriteOnly));
    synonyms.write(EncodeCodePage(QStringLiteral("@ПУН/Ф011;Н021\r\n$ТОЧ/Ф010\r\n@ПУН/Ф012;Н021\r\n$ТОЧ/Ф500\r\n")));
    synonyms.close();

    TSymbols symbols;
    for (const char* code : {"ПУН-Ф011;Н021", "неопределенный"}) {
        symbols.VpGPoints.AddItem();
        symbols.VpGPoints.Item->Code = QString::fromUtf8(code);
    }
    symbols.AskUnknownSymbol = 1;
    symbols.UseSynonyms = 1;
    QStringList asked;
    TDialogHooks hooks;
    hooks.ShowQ = [&](const QString&, const QString& text) {
        asked << text;
        return mrNo;
    };
    TScopedDialogHooks scope(hooks);

    ASSERT_TRUE(symbols.SelectSymbol(QStringLiteral("ТОЧ/Ф010;ИН5"), lmPoint));
    EXPECT_EQ(symbols.VpGPoints.Item->Code, QStringLiteral("ПУН-Ф011;Н021"));
    EXPECT_TRUE(asked.isEmpty());

    // The synonym's own sign is missing: asked about once, under the synonym's name, and
    // the synonyms are not consulted again for it.
    ASSERT_TRUE(symbols.SelectSymbol(QStringLiteral("ТОЧ/Ф500"), lmPoint));
    EXPECT_EQ(symbols.VpGPoints.Item->Code, QStringLiteral("неопределенный"));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(symbols.UnknownSymbols, QStringList({QStringLiteral("ПУН/Ф012;Н021;")}));
}

TEST_F(SymbolsLibrary, FoundPropertiesOfASemanticsString)
{
    struct Case {
        const char* sem;
        const char* expected;   // Key|Value|Code per property, ";" between
    };
    const Case cases[] = {
        {"ТОЧ/Ф01;ГВ12:5", "ГВ|12|5"},
        {"ЗДН/Ф001;К012;Н003;М001;С01;ТК5;ИИ12а", "Ф||001;К||012;Н||003;М||001;С||01;ТК|5|00;ИИ|12а|00"},
        {"ОТА/ИВ125.4:01;ИД", "ИВ|125.4|01"},   // "ИД" is too short
        {"ОТА/ИВ12:", "ИВ|12:|00"},             // ":" last is part of the value
        {"ОТА/ИТ:07", "ИТ||07"},
        {"ОТА/С1;М0012;ХХ1", ""},
        {"ОТА/ИВ5 ", "ИВ|5|00"},
        {"ОТА/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sem);
        const bool found = Symbols.FindSemProps(QString::fromUtf8(c.sem));
        QStringList got;
        for (const auto& p : Symbols.FindedSemProps) {
            got << p->Key + u'|' + p->Value + u'|' + p->Code;
            EXPECT_EQ(p->RuleIndex, -1);
        }
        EXPECT_EQ(got.join(u';'), QString::fromUtf8(c.expected));
        EXPECT_EQ(found, !got.isEmpty());
    }
}

TEST_F(SymbolsLibrary, CaptionRulesAreMatchedLaterRuleWinning)
{
    TSemTexts rules;
    const auto add = [&](const char* key, const char* code) {
        rules.AddItem();
        rules.Item->PropKey = QString::fromUtf8(key);
        rules.Item->PropCode = QString::fromUtf8(code);
    };
    add("М", "001");   // 0
    add("ИВ", "-1");   // 1
    add("М", "-1");    // 2: any material, after the exact one
    add("ГВ", "02");   // 3
    ASSERT_TRUE(Symbols.FindSemProps(QStringLiteral("ЗДН/М001;М005;ИВ12;ГВ3:01")));
    int maxOrder = -5;
    Symbols.OrderingSemProps(rules, maxOrder);
    QList<int> indexes;
    for (const auto& p : Symbols.FindedSemProps)
        indexes << p->RuleIndex;
    EXPECT_EQ(indexes, QList<int>({2, 2, 1, -1}));
    EXPECT_EQ(maxOrder, 2);

    ASSERT_TRUE(Symbols.FindSemProps(QStringLiteral("ЗДН/ТК2")));
    Symbols.OrderingSemProps(rules, maxOrder);
    EXPECT_EQ(maxOrder, 0);
}

TEST_F(SymbolsLibrary, ScaleFactors)
{
    EXPECT_EQ(Symbols.DotsPerMM, 0);
    Symbols.SetScale(500, 254);
    EXPECT_EQ(Symbols.GetScale(), 500);
    EXPECT_EQ(Symbols.MapMMPerMetre, 2);
    EXPECT_EQ(Symbols.MetresPerMapMM, 0.5L);
    EXPECT_EQ(Symbols.DotsPerMM, 10);
    EXPECT_EQ(Symbols.MMPerDot, 0.1L);
    EXPECT_EQ(Symbols.DotsPerMetre, 20);
    EXPECT_NEAR(double(Symbols.MetresPerDot), 0.05, 1e-15);
    Symbols.SetScale(0, 96);   // no scale: the factors stay
    EXPECT_EQ(Symbols.GetScale(), 0);
    EXPECT_EQ(Symbols.DotsPerMM, 10);
    Symbols.SetScaleFactor(0.25L);
    EXPECT_EQ(Symbols.MetresPerDot, 0.25L);
}
