#include "foundation/ErrorTrail.h"

#include "foundation/AppGlobalVar.h"

#include <gtest/gtest.h>

namespace {

// Two nested routines of the kind every core routine is: one guard over the whole body.
void Inner(int i, const QString& name, bool fail)
{
    TTrailGuard guard("StringNum", "Function: Inner(const i:Integer; const name:string):boolean;",
                      TrailArg("i", i), TrailArg("name", name));
    if (fail)
        throw Exception(QStringLiteral("Неверное число"));
}

void Outer(long double x, bool flag, bool fail)
{
    TTrailGuard guard("GeoServ", "Procedure: Outer(const x:Extended);", TrailArg("x", x));
    Inner(7, QStringLiteral("Ёж"), fail);
    (void)flag;
}

void Quiet(const void* p)
{
    TTrailGuard guard("ModuleName: SemCodec", "procedure Quiet;", TrailArg("p", p),
                      TrailArg("ok", true));
    throw Exception(QStringLiteral("quiet"));
}

// A guarded routine that returns normally while another exception unwinds the stack.
struct TCleanup {
    ~TCleanup() { Inner(1, QStringLiteral("cleanup"), false); }
};

class ErrorTrailTest : public ::testing::Test {
protected:
    void SetUp() override { InitTrail(); }
    void TearDown() override { FreeAppGlobalVar(); }
    static void InitTrail()
    {
        ErrorInfo = std::make_unique<QStringList>();
        LogArguments = 1;
    }
};

}  // namespace

TEST_F(ErrorTrailTest, TrailReadsLikeACallStack)
{
    try {
        Outer(2.5L, true, true);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Неверное число"));
    }
    const QStringList expected = {
        "Module name: StringNum",
        "Function: Inner(const i:Integer; const name:string):boolean;",
        "Arguments:",
        "i=7",
        "name=Ёж",
        "Module name: GeoServ",
        "Procedure: Outer(const x:Extended);",
        "Argument x=2.5",
    };
    EXPECT_EQ(*ErrorInfo, expected);
}

TEST_F(ErrorTrailTest, NothingIsWrittenOnSuccessOrWhileAnotherExceptionUnwinds)
{
    Outer(1.0L, false, false);
    EXPECT_TRUE(ErrorInfo->isEmpty());

    // Guards the fault of a guard that tests "an exception is in flight" instead of "an
    // exception left my routine": the cleanup's guard must stay silent.
    try {
        TCleanup cleanup;
        throw Exception(QStringLiteral("outer"));
    } catch (const Exception&) {
    }
    EXPECT_TRUE(ErrorInfo->isEmpty());
}

TEST_F(ErrorTrailTest, ArgumentsFollowLogArgumentsAndTheirTypes)
{
    LogArguments = 0;
    EXPECT_THROW(Outer(1.0L, false, true), Exception);
    EXPECT_EQ(*ErrorInfo, QStringList({"Module name: StringNum",
                                       "Function: Inner(const i:Integer; const name:string):boolean;",
                                       "Module name: GeoServ", "Procedure: Outer(const x:Extended);"}));

    ErrorInfo->clear();
    LogArguments = 1;
    int record = 0;
    EXPECT_THROW(Quiet(&record), Exception);
    EXPECT_EQ(*ErrorInfo, QStringList({"ModuleName: SemCodec", "procedure Quiet;", "Arguments:",
                                       "p=" + QString::number(reinterpret_cast<quintptr>(&record)),
                                       "ok=True"}));
}

// Guards the trail that was never cleared after a handled failure: a later report showed
// the earlier failure's lines, and many handled failures piled up without bound.
TEST_F(ErrorTrailTest, AHandledFailureGivesWayToTheNextOne)
{
    for (int i = 0; i < 100000; ++i) {
        try {
            Quiet(nullptr);
        } catch (const Exception&) {
            // handled without a report
        }
    }
    EXPECT_EQ(ErrorInfo->size(), 5) << "only the last handled failure's lines";
    EXPECT_THROW(Outer(3.0L, false, true), Exception);
    const QStringList& trail = *ErrorInfo;
    EXPECT_EQ(trail.count(QStringLiteral("procedure Quiet;")), 0);
    EXPECT_EQ(trail.first(), QStringLiteral("Module name: StringNum"));
    EXPECT_EQ(trail.last(), QStringLiteral("Argument x=3"));

    // A failure passed on with a plain rethrow is the same failure: its lines stay.
    try {
        try {
            Outer(4.0L, false, true);
        } catch (const Exception&) {
            ErrorInfo->append(QStringLiteral("procedure Caller;"));
            throw;
        }
    } catch (const Exception&) {
    }
    EXPECT_EQ(ErrorInfo->size(), 9);
    EXPECT_EQ(ErrorInfo->last(), QStringLiteral("procedure Caller;"));

    ClearErrorTrail();
    EXPECT_TRUE(ErrorInfo->isEmpty());
}

TEST_F(ErrorTrailTest, AfterFreeTheExceptionPassesUntouched)
{
    FreeAppGlobalVar();
    try {
        Outer(1.0L, false, true);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Неверное число"));
    }
    EXPECT_EQ(ErrorInfo, nullptr);
}

TEST(ErrorTrail, ExceptionMessageOfAnyException)
{
    EXPECT_EQ(ExceptionMessage(Exception(QStringLiteral("Нет файла"))), QStringLiteral("Нет файла"));
    EXPECT_STREQ(Exception(QStringLiteral("Нет")).what(), "Нет");
    EXPECT_EQ(ExceptionMessage(std::runtime_error("disk full")), QStringLiteral("disk full"));
}
