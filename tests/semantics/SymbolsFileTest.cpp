// The sign file: byte-exact round trips of every sign kind, the other spellings of the
// sections, the older format's conversion, and the files that must not load.
#include "SignTestSupport.h"

#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString FixturePath(const QString& name)
{
    return QStringLiteral(VELMORA_TEST_FIXTURES) + QStringLiteral("/signs/") + name;
}

class SymbolsFile : public SignFixture {
protected:
    // A copy of the fixture in the temporary folder, since loading may rewrite it.
    QString Copy(const QString& name, const QString& as = QString())
    {
        const QString target = Dir.path() + u'/' + (as.isEmpty() ? name : as);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(FixturePath(name), target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    QString Out(const QString& name) const { return Dir.path() + QStringLiteral("/out-") + name; }

    TSeparatorScope Separators{u'.'};
};

}  // namespace

TEST_F(SymbolsFile, EverySignKindComesBackByteForByte)
{
    struct Case {
        const char* file;
        TLmode lm;
    };
    const Case cases[] = {
        {"point_full.wri", lmPoint},           {"point_empty.wri", lmPoint},
        {"point_polyline_last.wri", lmPoint},  {"line_full.wri", lmLine},
        {"line_textout_only.wri", lmLine},     {"polygon_full.wri", lmPolygon},
        {"polygon_ownline.wri", lmPolygon},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.file);
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(Symbols.LoadSymbol(Copy(name), QStringLiteral("x"), c.lm));
        ASSERT_TRUE(Symbols.SaveSymbol(Out(name), c.lm));
        EXPECT_EQ(FileBytes(Out(name)), FileBytes(FixturePath(name)));
    }
}

TEST_F(SymbolsFile, PointSignFieldsAreReadWhereTheyBelong)
{
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("point_full.wri")), QStringLiteral("ЗНК"), lmPoint));
    const RVpGPoint& g = *Symbols.VpGPoints.Item;
    EXPECT_EQ(g.Code, QStringLiteral("ЗНК"));
    EXPECT_EQ(g.LeaderLineDefault, 1);
    ASSERT_EQ(g.Picture.GetCount(), 6);   // one element per primitive
    const RVpPolygon& polygon = *g.Picture.At(0)->Polygons.At(0);
    EXPECT_EQ(polygon.FillStyle, vfNone);
    EXPECT_EQ(polygon.PenColor, 255);
    EXPECT_EQ(polygon.Points.GetCount(), 3);
    const RVpCircle& circle = *g.Picture.At(1)->Circles.At(0);
    EXPECT_EQ(circle.FillStyle, vfBackdrop);
    EXPECT_EQ(circle.FillColor, 65535);
    EXPECT_EQ(circle.Radius, 0.8L);
    const RVpLine& line = *g.Picture.At(2)->Lines.At(0);
    EXPECT_EQ(line.P1.X, -1.0L);
    EXPECT_EQ(line.P2.X, 1.0L);
    EXPECT_EQ(line.PenWidth, 0.25L);
    // The middle of the Y extent of the points, X 0.
    const RVpPolyline& polyline = *g.Picture.At(3)->Polylines.At(0);
    EXPECT_EQ(polyline.RefPoint.Y, 0.5L);
    EXPECT_EQ(polyline.RefPoint.X, 0.0L);

    const RVpText& named = *g.Picture.At(4)->Texts.At(0);
    EXPECT_EQ(named.Text, QStringLiteral("*"));
    EXPECT_EQ(named.StyleName, QStringLiteral(">ОСНОВНОЙ"));
    EXPECT_FALSE(named.OwnStyle);
    const RVpText& own = *g.Picture.At(5)->Texts.At(0);
    EXPECT_EQ(own.Text, QStringLiteral("[Надписи]"));
    EXPECT_EQ(own.Angle, 45.5L);
    ASSERT_TRUE(own.OwnStyle);
    EXPECT_EQ(own.OwnStyle->FontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(own.OwnStyle->Size, 1.5L);
    EXPECT_EQ(own.OwnStyle->FontStyle, fsBoldBit | fsUnderlineBit);

    ASSERT_EQ(g.Captions.GetCount(), 2);
    const RSemText& rule1 = *g.Captions.At(0);
    EXPECT_EQ(rule1.TextStart, QStringLiteral("№"));
    EXPECT_EQ(rule1.Separator1, QStringLiteral(" "));
    EXPECT_EQ(rule1.PropKey, QStringLiteral("ИН"));
    EXPECT_EQ(rule1.StyleName, QStringLiteral(">НОМЕРА"));
    EXPECT_FALSE(rule1.OwnStyle);
    EXPECT_EQ(rule1.Dx, 1.5L);
    EXPECT_EQ(rule1.Dy, -2.0L);
    EXPECT_EQ(rule1.Step, 3.0L);
    const RSemText& rule2 = *g.Captions.At(1);
    ASSERT_TRUE(rule2.OwnStyle);
    EXPECT_EQ(rule2.OwnStyle->Color, 32768);
    EXPECT_EQ(rule2.OwnStyle->FontStyle, fsItalicBit);
    EXPECT_EQ(rule2.Dy, 0.5L);
    EXPECT_EQ(rule2.Mode, 1);
}

TEST_F(SymbolsFile, AreaSignNumbersGoToTheirFields)
{
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("polygon_full.wri")), QStringLiteral("x"), lmPolygon));
    const RVpGPolygon& g = *Symbols.VpGPolygons.Item;
    struct Case {
        const char* field;
        Extended value;
        Extended expected;
    };
    const Case cases[] = {
        {"CenterOrientation", Extended(g.CenterOrientation), 2}, {"CornerShift", g.CornerShift, 0.75L},
        {"Piece1Length", g.Piece1Length, 3},                     {"Piece2Length", g.Piece2Length, 4.5L},
        {"Fill1Kind", Extended(g.Fill1Kind), 1},                 {"Fill1StepX", g.Fill1StepX, 6},
        {"Fill1StepY", g.Fill1StepY, 4},                         {"Fill2Kind", Extended(g.Fill2Kind), 2},
        {"Fill2StepX", g.Fill2StepX, 7},                         {"Fill2StepY", g.Fill2StepY, 5},
        {"Fill3StepX", g.Fill3StepX, 8},                         {"Fill3StepY", g.Fill3StepY, 9},
        {"MarginA", g.MarginA, 1.25L},                           {"MarginB", g.MarginB, 0.5L},
        {"Diagonals1Style", Extended(g.Diagonals1Style), 2},     {"Diagonals1Length", g.Diagonals1Length, 1.5L},
        {"Diagonals2Style", Extended(g.Diagonals2Style), 1},     {"Diagonals2Length", g.Diagonals2Length, 2.5L},
        {"Cross1Style", Extended(g.Cross1Style), 3},             {"Cross1Length", g.Cross1Length, 10},
        {"Cross1Step", g.Cross1Step, 2},                         {"Cross1Size", g.Cross1Size, 0.3L},
        {"Cross2Style", Extended(g.Cross2Style), 1},             {"Cross2Length", g.Cross2Length, 11},
        {"Cross2Size", g.Cross2Size, 1.75L},                     {"FillOn", Extended(g.FillOn), 1},
        {"FillColor", Extended(g.FillColor), 16770760},          {"TextStepKind", Extended(g.TextStepKind), 2},
        {"TextStepX", g.TextStepX, 40},                          {"TextStepY", g.TextStepY, 35},
        {"Piece1.HasOwnLine", Extended(g.Piece1.HasOwnLine), 1}, {"Piece1.OwnLineWidth", g.Piece1.OwnLineWidth, 0.25L},
        {"Piece2.HasOwnLine", Extended(g.Piece2.HasOwnLine), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(c.value, c.expected);
    }
}

TEST_F(SymbolsFile, OtherSpellingsOfTheSectionsAreReadAndWrittenTheUsualWay)
{
    struct Case {
        const char* file;
        const char* expected;
        TLmode lm;
    };
    const Case cases[] = {
        {"line_aliases.wri", "line_aliases.expected", lmLine},
        {"polygon_aliases.wri", "polygon_aliases.expected", lmPolygon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString name = QString::fromUtf8(c.file);
        ASSERT_TRUE(Symbols.LoadSymbol(Copy(name), QStringLiteral("x"), c.lm));
        ASSERT_TRUE(Symbols.SaveSymbol(Out(name), c.lm));
        EXPECT_EQ(FileBytes(Out(name)), FileBytes(FixturePath(QString::fromUtf8(c.expected))));
    }
    // "[Шаг поперечные2]" is read and ignored: the second group has no step.
    EXPECT_EQ(Symbols.VpGPolygons.Item->Cross2Size, 0.75L);
}

TEST_F(SymbolsFile, OlderFileIsConvertedAndRewrittenAfterTheQuestion)
{
    struct Case {
        const char* file;
        const char* expected;
        TLmode lm;
    };
    const Case cases[] = {
        {"point_old.wri", "point_old.expected", lmPoint},
        {"line_old.wri", "line_old.expected", lmLine},
        {"polygon_old.wri", "polygon_old.expected", lmPolygon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = Copy(QString::fromUtf8(c.file));
        QStringList asked;
        TDialogHooks hooks;
        hooks.InpStr = [&](QString& value, const QString& caption, const QString& text) {
            asked << caption << text << value;
            return mrOk;   // overwrite under the same name
        };
        TScopedDialogHooks scope(hooks);
        ASSERT_TRUE(Symbols.LoadSymbol(path, QStringLiteral("x"), c.lm));
        ASSERT_EQ(asked.size(), 3);
        EXPECT_EQ(asked[0], QStringLiteral("Файл уже существует!"));
        EXPECT_EQ(asked[1], QStringLiteral("Попытка перезаписать существующий файл:") + path +
                                QChar(13) + QStringLiteral("Варианты: перезаписать,изменить имя, отказаться"));
        EXPECT_EQ(asked[2], path);
        EXPECT_EQ(FileBytes(path), FileBytes(FixturePath(QString::fromUtf8(c.expected))));
    }
}

TEST_F(SymbolsFile, OlderFileStaysWhenTheRewriteIsDeclinedButTheSignLoads)
{
    const QString path = Copy(QStringLiteral("point_old.wri"));
    const QByteArray before = FileBytes(path);
    TScopedDialogHooks none;   // no window: the question answers cancel
    ASSERT_TRUE(Symbols.LoadSymbol(path, QStringLiteral("x"), lmPoint));
    EXPECT_EQ(FileBytes(path), before);
    const RVpGPoint& g = *Symbols.VpGPoints.Item;
    // Screen tenths (x right, y down) become sign millimetres (X up, Y right).
    EXPECT_EQ(g.Picture.At(0)->Circles.At(0)->Center.X, 2.0L);
    EXPECT_EQ(g.Picture.At(0)->Circles.At(0)->Center.Y, 1.0L);
    EXPECT_EQ(g.Picture.At(1)->Texts.At(0)->Angle, 90.0L);
    EXPECT_FALSE(g.Picture.At(2)->Texts.At(0)->OwnStyle);
    EXPECT_EQ(g.Captions.At(1)->Mode, 1);
}

TEST_F(SymbolsFile, RenamedRewriteLeavesTheOlderFileAlone)
{
    const QString path = Copy(QStringLiteral("line_old.wri"));
    const QString renamed = Dir.path() + QStringLiteral("/новое имя.wri");
    TDialogHooks hooks;
    hooks.InpStr = [&](QString& value, const QString&, const QString&) {
        value = renamed;
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);
    ASSERT_TRUE(Symbols.LoadSymbol(path, QStringLiteral("x"), lmLine));
    EXPECT_EQ(FileBytes(path), FileBytes(FixturePath(QStringLiteral("line_old.wri"))));
    EXPECT_EQ(FileBytes(renamed), FileBytes(FixturePath(QStringLiteral("line_old.expected"))));
}

TEST_F(SymbolsFile, FileOfAnotherKindOrStartIsNotLoadedAndNotReported)
{
    int messages = 0;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString&, const QString&) { return ++messages, mrOk; };
    TScopedDialogHooks scope(hooks);
    struct Case {
        const char* file;
        TLmode lm;
    };
    const Case cases[] = {
        {"line_full.wri", lmPoint},      // wrong kind line
        {"point_full.wri", lmPolygon},
        {"line_old.wri", lmPoint},       // older file of another kind
        {"polygon_old.wri", lmLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_FALSE(Symbols.LoadSymbol(Copy(QString::fromUtf8(c.file)), QStringLiteral("x"), c.lm));
    }
    EXPECT_EQ(Symbols.VpGPoints.GetCount(), 0);
    EXPECT_EQ(Symbols.VpGLines.GetCount(), 0);
    EXPECT_EQ(Symbols.VpGPolygons.GetCount(), 0);
    EXPECT_EQ(messages, 0);
}

TEST_F(SymbolsFile, MissingFileIsSaidAndAddsNothing)
{
    QStringList said;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString& caption, const QString& text) {
        said << caption << text;
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);
    const QString path = Dir.path() + QStringLiteral("/нет.wri");
    EXPECT_FALSE(Symbols.LoadSymbol(path, QStringLiteral("x"), lmPoint));
    EXPECT_EQ(said, QStringList({QStringLiteral("Не найден файл!"),
                                 QStringLiteral("При попытке загрузить условный знак не найден файл:") + path}));
    EXPECT_EQ(Symbols.VpGPoints.GetCount(), 0);
}

TEST_F(SymbolsFile, BadNumberThrowsWithTheLineAndLeavesNoHalfReadSign)
{
    ErrorInfo = std::make_unique<QStringList>();
    const std::uint8_t savedArguments = LogArguments;
    LogArguments = 1;
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("point_empty.wri")), QStringLiteral("good"), lmPoint));
    const QString path = Copy(QStringLiteral("point_bad_width.wri"));
    try {
        Symbols.LoadSymbol(path, QStringLiteral("bad"), lmPoint);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message.contains(path)) << e.Message.toStdString();
        EXPECT_TRUE(e.Message.contains(QStringLiteral("строка 7"))) << e.Message.toStdString();
    }
    ASSERT_EQ(Symbols.VpGPoints.GetCount(), 1);
    EXPECT_EQ(Symbols.VpGPoints.At(0)->Code, QStringLiteral("good"));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("Module name: Symbols")));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("Arguments: filename:") + path));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("Arguments: workname:bad")));
    EXPECT_TRUE(ErrorInfo->contains(QStringLiteral("Arguments: NewStyle: true")));
    ErrorInfo.reset();
    LogArguments = savedArguments;
}

// Guards the trail of a failed write: its arguments stood under a bare "Arguments:" line
// instead of "Arguments: filename=…" and "Arguments: lm=…" as the reports read them.
TEST_F(SymbolsFile, WriteErrorNamesFileAndKindInTheTrail)
{
    ErrorInfo = std::make_unique<QStringList>();
    const std::uint8_t savedArguments = LogArguments;
    LogArguments = 1;
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("line_full.wri")), QStringLiteral("x"), lmLine));
    const QString target = Dir.path() + QStringLiteral("/нет такой папки/забор.wri");
    EXPECT_THROW(Symbols.SaveSymbol(target, lmLine), Exception);
    EXPECT_FALSE(QFile::exists(target));
    const QStringList expected = {QStringLiteral("Module name: Symbols"),
                                  QStringLiteral("procedure TSymbols.SaveSymbol(const filename:string; const lm:TLmode);"),
                                  QStringLiteral("Arguments: filename=") + target, QStringLiteral("Arguments: lm=1")};
    EXPECT_EQ(ErrorInfo->mid(ErrorInfo->size() - expected.size()), expected);
    ErrorInfo.reset();
    LogArguments = savedArguments;
}

TEST_F(SymbolsFile, SaveAsksBeforeOverwritingAndCancelWritesNothing)
{
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("line_full.wri")), QStringLiteral("x"), lmLine));
    const QString target = Copy(QStringLiteral("point_empty.wri"), QStringLiteral("занят.wri"));
    TScopedDialogHooks none;
    EXPECT_FALSE(Symbols.SaveSymbol(target, lmLine));
    EXPECT_EQ(FileBytes(target), FileBytes(FixturePath(QStringLiteral("point_empty.wri"))));
}

// A text holding a line break would split into two lines and shift every later value of
// the file, and so would an own font named like a style; the writer refuses them and
// leaves the file as it was.
TEST_F(SymbolsFile, ValueThatWouldShiftTheLinesIsRefusedAndNothingIsWritten)
{
    const std::function<void(RVpGPoint&)> damages[] = {
        [](RVpGPoint& g) { g.Captions.At(0)->TextEnd = QStringLiteral("a\r\nb"); },
        [](RVpGPoint& g) { g.Captions.At(0)->StyleName = QStringLiteral(">А\rБ"); },
        [](RVpGPoint& g) { g.Captions.At(1)->OwnStyle->FontName = QStringLiteral("Liberation\nSans"); },
        [](RVpGPoint& g) { g.Captions.At(1)->OwnStyle->FontName = QStringLiteral(">ОСНОВНОЙ"); },
        [](RVpGPoint& g) { g.Picture.At(5)->Texts.At(0)->OwnStyle->FontName = QStringLiteral(">ОСНОВНОЙ"); },
        [](RVpGPoint& g) { g.Picture.At(4)->Texts.At(0)->Text = QStringLiteral("\n"); },
    };
    const QString source = Copy(QStringLiteral("point_full.wri"));
    const QString target = Out(QStringLiteral("broken.wri"));
    for (std::size_t i = 0; i < std::size(damages); ++i) {
        SCOPED_TRACE(i);
        TSymbols symbols;
        ASSERT_TRUE(symbols.LoadSymbol(source, QStringLiteral("x"), lmPoint));
        damages[i](*symbols.VpGPoints.Item);
        EXPECT_THROW(symbols.SaveSymbol(target, lmPoint), Exception);
        EXPECT_FALSE(QFile::exists(target));
    }
}

// A named style written without its ">" would read back as the font of an own style and
// the three lines after it as colour, size and flags: the file would no longer load.
TEST_F(SymbolsFile, NamedStyleWithoutItsMarkIsWrittenReadably)
{
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("point_full.wri")), QStringLiteral("x"), lmPoint));
    Symbols.VpGPoints.Item->Captions.At(0)->StyleName = QStringLiteral("НОМЕРА");
    const QString target = Out(QStringLiteral("named.wri"));
    ASSERT_TRUE(Symbols.SaveSymbol(target, lmPoint));
    TSymbols again;
    ASSERT_TRUE(again.LoadSymbol(target, QStringLiteral("x"), lmPoint));
    EXPECT_EQ(again.VpGPoints.Item->Captions.At(0)->StyleName, QStringLiteral(">НОМЕРА"));
    EXPECT_EQ(again.VpGPoints.Item->Captions.At(0)->Dx, 1.5L);
}

TEST_F(SymbolsFile, DecimalCommaOfTheLocaleIsWrittenAndReadBack)
{
    DecimalSeparator = u',';
    ASSERT_TRUE(Symbols.LoadSymbol(Copy(QStringLiteral("line_full.wri")), QStringLiteral("x"), lmLine));
    const QString target = Out(QStringLiteral("comma.wri"));
    ASSERT_TRUE(Symbols.SaveSymbol(target, lmLine));
    const QStringList lines = SplitLines(DecodeCodePage(FileBytes(target)));
    EXPECT_TRUE(lines.contains(QStringLiteral("6,50")));
    EXPECT_TRUE(lines.contains(QStringLiteral("0.35")));   // the simple line's width keeps "."
    TSymbols again;
    ASSERT_TRUE(again.LoadSymbol(target, QStringLiteral("x"), lmLine));
    EXPECT_EQ(again.VpGLines.Item->PieceLength, 6.5L);
    EXPECT_EQ(again.VpGLines.Item->TextPoint.X, 0.75L);
}

// Cut and damaged files: each either loads or throws, never leaves a half-read sign, and
// every sign that loads can be written back. A lone CR inside a value once loaded as
// part of the value, and the sign could then not be written (nor an older one converted).
TEST_F(SymbolsFile, DamagedFilesLoadOrFailCleanly)
{
    struct Case {
        const char* file;
        TLmode lm;
    };
    const Case cases[] = {
        {"point_full.wri", lmPoint}, {"line_full.wri", lmLine}, {"polygon_full.wri", lmPolygon},
        {"point_old.wri", lmPoint},  {"line_old.wri", lmLine},  {"polygon_old.wri", lmPolygon},
    };
    TScopedDialogHooks none;   // older files are not rewritten
    const QString path = Dir.path() + QStringLiteral("/damaged.wri");
    int loaded = 0;
    int failed = 0;
    for (const Case& c : cases) {
        const QByteArray bytes = FileBytes(FixturePath(QString::fromUtf8(c.file)));
        // Every line start, the middle of every line, and the end.
        QList<qsizetype> places;
        for (qsizetype start = 0; start < bytes.size();) {
            places << start;
            const qsizetype end = bytes.indexOf('\n', start);
            if (end < 0)
                break;
            places << (start + end) / 2;
            start = end + 1;
        }
        places << bytes.size();
        for (const qsizetype at : places) {
            for (int damage = 0; damage < 3; ++damage) {
                QByteArray damaged = bytes.left(at);
                if (damage == 1 && at < bytes.size())
                    damaged = bytes.left(at) + '\r' + bytes.mid(at + 1);
                else if (damage == 2 && at < bytes.size())
                    damaged = bytes.left(at) + char(0xFF ^ bytes[at]) + bytes.mid(at + 1);
                SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(at) + " damage " + std::to_string(damage));
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(damaged);
                file.close();
                TSymbols symbols;
                try {
                    if (symbols.LoadSymbol(path, QStringLiteral("x"), c.lm)) {
                        ++loaded;
                        EXPECT_NO_THROW(symbols.SymbolLines(c.lm));
                    }
                } catch (const Exception&) {
                    ++failed;
                    EXPECT_EQ(symbols.WithList(c.lm, [](auto& list) { return list.GetCount(); }), 0);
                }
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(failed, 0);
}
