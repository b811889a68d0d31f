#include "foundation/AbstractListControl.h"

#include "foundation/AppGlobalVar.h"

#include <gtest/gtest.h>

namespace {

// A record that owns a sub-list, as sheets own layers and lines own nodes; it counts
// the records alive and notes the order in which they go.
struct RRec;
using TRecs = TCursorList<RRec>;

struct RRec {
    static inline int Alive = 0;
    static inline bool FailNext = false;
    static inline QStringList Freed;

    RRec()
    {
        if (std::exchange(FailNext, false))
            throw Exception(QStringLiteral("no memory"));
        ++Alive;
    }
    ~RRec()
    {
        --Alive;
        Freed << Name;
    }
    QString Name;
    std::unique_ptr<TRecs> Sub;
};

TRecs MakeList() { return TRecs("TRecs", "RRec"); }

QString Names(const TRecs& list)
{
    QStringList names;
    for (const auto& r : list)
        names << r->Name;
    return names.join(QLatin1Char(' '));
}

// One step of a script: the operation, its arguments, what it returns and the list and
// cursor it leaves. A new record (add, ins) is named after the step's name.
struct Step {
    const char* Op;
    int I = 0;
    int J = 0;
    const char* Name = "";
    bool Ok = true;
    const char* List = "";
    int Cursor = -1;
};

bool Do(TRecs& list, const Step& s)
{
    const QString op = QString::fromLatin1(s.Op);
    bool ok = false;
    if (op == "add")
        ok = list.AddItem();
    else if (op == "ins")
        ok = list.InsertItem(s.I);
    else if (op == "del")
        ok = list.DeleteItem();
    else if (op == "delall")
        ok = (list.DeleteAll(), true);
    else if (op == "first")
        ok = list.GoFirstItem();
    else if (op == "last")
        ok = list.GoLastItem();
    else if (op == "next")
        ok = list.GoNextItem();
    else if (op == "prev")
        ok = list.GoPrevItem();
    else if (op == "nextc")
        ok = list.GoNextItemCicle();
    else if (op == "prevc")
        ok = list.GoPrevItemCicle();
    else if (op == "go")
        ok = list.GoItem(s.I);
    else if (op == "swap")
        ok = list.ChangeItems(s.I, s.J);
    else if (op == "save")
        ok = list.SaveIP();
    else if (op == "rest")
        ok = list.RestIP();
    else if (op == "find")
        ok = list.GoFirstItemWhere([&](const RRec& r) { return r.Name == QString::fromUtf8(s.Name); });
    else
        ADD_FAILURE() << "unknown step " << s.Op;
    if (ok && (op == "add" || op == "ins"))
        list.Item->Name = QString::fromUtf8(s.Name);
    return ok;
}

struct Script {
    const char* Title;
    std::vector<Step> Steps;
};

}  // namespace

// Where every operation leaves the cursor, and how the saved cursor follows inserts,
// exchanges and deletes: the contract that commands, readers and fillers rely on.
TEST(ListControl, CursorScripts)
{
    const Script scripts[] = {
        {"empty list",
         {{"first", 0, 0, "", false, "", -1}, {"last", 0, 0, "", false, "", -1},
          {"next", 0, 0, "", false, "", -1}, {"prev", 0, 0, "", false, "", -1},
          {"nextc", 0, 0, "", false, "", -1}, {"prevc", 0, 0, "", false, "", -1},
          {"go", 0, 0, "", false, "", -1}, {"swap", 0, 0, "", false, "", -1},
          {"del", 0, 0, "", false, "", -1}, {"save", 0, 0, "", false, "", -1},
          {"rest", 0, 0, "", false, "", -1}, {"delall", 0, 0, "", true, "", -1},
          {"find", 0, 0, "a", false, "", -1}}},
        {"find: the first match, or the last record when none matches",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "a", true, "a b a", 2}, {"go", 1, 0, "", true, "a b a", 1},
          {"find", 0, 0, "a", true, "a b a", 0}, {"find", 0, 0, "x", false, "a b a", 2}}},
        {"one item: the cyclic moves stay",
         {{"add", 0, 0, "a", true, "a", 0}, {"nextc", 0, 0, "", true, "a", 0},
          {"prevc", 0, 0, "", true, "a", 0}, {"next", 0, 0, "", false, "a", 0},
          {"prev", 0, 0, "", false, "a", 0}}},
        {"moves and failed moves",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"next", 0, 0, "", false, "a b c", 2},
          {"nextc", 0, 0, "", true, "a b c", 0}, {"prev", 0, 0, "", false, "a b c", 0},
          {"prevc", 0, 0, "", true, "a b c", 2}, {"go", 1, 0, "", true, "a b c", 1},
          {"go", 3, 0, "", false, "a b c", 1}, {"go", -1, 0, "", false, "a b c", 1},
          {"first", 0, 0, "", true, "a b c", 0}, {"next", 0, 0, "", true, "a b c", 1},
          {"last", 0, 0, "", true, "a b c", 2}, {"prev", 0, 0, "", true, "a b c", 1}}},
        {"insert at Count appends, outside 0..Count refuses",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"go", 0, 0, "", true, "a b", 0}, {"ins", 2, 0, "c", true, "a b c", 2},
          {"go", 1, 0, "", true, "a b c", 1}, {"ins", -1, 0, "x", false, "a b c", 1},
          {"ins", 4, 0, "x", false, "a b c", 1}, {"ins", 0, 0, "z", true, "z a b c", 0},
          {"ins", 2, 0, "m", true, "z a m b c", 2}}},
        {"delete the first of three",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"go", 0, 0, "", true, "a b c", 0},
          {"del", 0, 0, "", true, "b c", 0}}},
        {"delete the middle of three",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"go", 1, 0, "", true, "a b c", 1},
          {"del", 0, 0, "", true, "a c", 1}}},
        {"delete the last of three, then the rest",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"del", 0, 0, "", true, "a b", 1},
          {"del", 0, 0, "", true, "a", 0}, {"del", 0, 0, "", true, "", -1},
          {"del", 0, 0, "", false, "", -1}}},
        {"exchange 0 and 2 on a, b, c",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"go", 1, 0, "", true, "a b c", 1},
          {"swap", 0, 2, "", true, "c b a", 2}, {"swap", 1, 1, "", true, "c b a", 1},
          {"swap", 0, 3, "", false, "c b a", 1}, {"swap", -1, 0, "", false, "c b a", 1}}},
        {"saved cursor at 3, insert at 1: back at 3 on the former item 2",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"add", 0, 0, "d", true, "a b c d", 3},
          {"add", 0, 0, "e", true, "a b c d e", 4}, {"go", 3, 0, "", true, "a b c d e", 3},
          {"save", 0, 0, "", true, "a b c d e", 3}, {"ins", 1, 0, "x", true, "a x b c d e", 1},
          {"rest", 0, 0, "", true, "a x b c d e", 3}}},
        {"saved cursor keeps its place across an exchange and an append",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"go", 0, 0, "", true, "a b c", 0},
          {"save", 0, 0, "", true, "a b c", 0}, {"swap", 0, 2, "", true, "c b a", 2},
          {"add", 0, 0, "d", true, "c b a d", 3}, {"rest", 0, 0, "", true, "c b a d", 0}}},
        {"saved cursor moves back when a record before it goes",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"add", 0, 0, "d", true, "a b c d", 3},
          {"go", 2, 0, "", true, "a b c d", 2}, {"save", 0, 0, "", true, "a b c d", 2},
          {"go", 0, 0, "", true, "a b c d", 0}, {"del", 0, 0, "", true, "b c d", 0},
          {"last", 0, 0, "", true, "b c d", 2}, {"del", 0, 0, "", true, "b c", 1},
          {"first", 0, 0, "", true, "b c", 0}, {"rest", 0, 0, "", true, "b c", 1}}},
        // Guards following a saved cursor whose record was freed.
        {"saved cursor is cleared when its own record goes",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"add", 0, 0, "c", true, "a b c", 2}, {"go", 1, 0, "", true, "a b c", 1},
          {"save", 0, 0, "", true, "a b c", 1}, {"del", 0, 0, "", true, "a c", 1},
          {"first", 0, 0, "", true, "a c", 0}, {"rest", 0, 0, "", false, "a c", 0}}},
        {"restoring after the list was emptied",
         {{"add", 0, 0, "a", true, "a", 0}, {"add", 0, 0, "b", true, "a b", 1},
          {"save", 0, 0, "", true, "a b", 1}, {"delall", 0, 0, "", true, "", -1},
          {"rest", 0, 0, "", false, "", -1}, {"add", 0, 0, "c", true, "c", 0},
          {"add", 0, 0, "d", true, "c d", 1}, {"rest", 0, 0, "", false, "c d", 1}}},
    };
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.Title);
        TRecs list = MakeList();
        int n = 0;
        for (const Step& s : script.Steps) {
            SCOPED_TRACE(testing::Message() << "step " << n++ << " " << s.Op);
            EXPECT_EQ(Do(list, s), s.Ok);
            EXPECT_EQ(Names(list), QString::fromUtf8(s.List));
            EXPECT_EQ(list.GetIndex(), s.Cursor);
            EXPECT_EQ(list.GetCount(), static_cast<int>(list.end() - list.begin()));
            // Item always mirrors the cursor: null exactly when the list is empty.
            EXPECT_EQ(list.Item, list.At(s.Cursor));
            EXPECT_EQ(list.Item == nullptr, list.GetCount() == 0);
        }
    }
}

TEST(ListControl, RecordAddressesStayWhileTheListChanges)
{
    TRecs list = MakeList();
    ASSERT_TRUE(list.AddItem());
    RRec* first = list.Item;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(list.InsertItem(0));
    ASSERT_TRUE(list.GoLastItem());
    EXPECT_EQ(list.Item, first);
}

TEST(ListControl, DeletesFreeEverySubListRecursively)
{
    RRec::Freed.clear();
    {
        TRecs list = MakeList();
        for (const char* page : {"p1", "p2"}) {
            ASSERT_TRUE(list.AddItem());
            list.Item->Name = QString::fromLatin1(page);
            list.Item->Sub = std::make_unique<TRecs>("TRecs", "RRec");
            TRecs& layers = *list.Item->Sub;
            for (const char* layer : {"l1", "l2", "l3"}) {
                ASSERT_TRUE(layers.AddItem());
                layers.Item->Name = QString::fromLatin1(page) + QString::fromLatin1(layer);
                layers.Item->Sub = std::make_unique<TRecs>("TRecs", "RRec");
                ASSERT_TRUE(layers.Item->Sub->AddItem());
                layers.Item->Sub->Item->Name = layers.Item->Name + QStringLiteral("o");
            }
        }
        EXPECT_EQ(RRec::Alive, 2 + 6 + 6);

        ASSERT_TRUE(list.GoFirstItem());
        ASSERT_TRUE(list.DeleteItem());   // one record with its whole tree
        EXPECT_EQ(RRec::Alive, 7);
        list.DeleteAll();
        EXPECT_EQ(RRec::Alive, 0);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.Item, nullptr);

        // Records go from the tail.
        RRec::Freed.clear();
        for (const char* n : {"a", "b", "c"}) {
            ASSERT_TRUE(list.AddItem());
            list.Item->Name = QString::fromLatin1(n);
        }
        list.DeleteAll();
        EXPECT_EQ(RRec::Freed, QStringList({"c", "b", "a"}));

        ASSERT_TRUE(list.AddItem());
        list.Item->Sub = std::make_unique<TRecs>("TRecs", "RRec");
        ASSERT_TRUE(list.Item->Sub->AddItem());
    }
    EXPECT_EQ(RRec::Alive, 0);   // a list going out of scope frees its tree too
}

TEST(ListControl, ExtractHandsTheRecordOverAndMovesTheCursorAsDelete)
{
    TRecs list = MakeList();
    for (const char* n : {"a", "b", "c"}) {
        ASSERT_TRUE(list.AddItem());
        list.Item->Name = QString::fromLatin1(n);
    }
    ASSERT_TRUE(list.GoItem(1));
    std::unique_ptr<RRec> b = list.Extract();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Name, QStringLiteral("b"));
    EXPECT_EQ(Names(list), QStringLiteral("a c"));
    EXPECT_EQ(list.GetIndex(), 1);
    EXPECT_TRUE(list.AddItem(std::move(b)));
    EXPECT_EQ(Names(list), QStringLiteral("a c b"));
    EXPECT_EQ(list.GetIndex(), 2);
    EXPECT_FALSE(list.AddItem(std::unique_ptr<RRec>()));
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(ListControl, ListOfTheCallersRecordsNeverFreesThem)
{
    RRec::Alive = 0;
    RRec a, b;
    {
        TCursorList<RRec, RRec*> list("TGeoRectList", "PGeoRect");
        EXPECT_TRUE(list.AddItem(&a));
        EXPECT_TRUE(list.AddItem(&b));
        EXPECT_FALSE(list.AddItem(static_cast<RRec*>(nullptr)));
        EXPECT_EQ(list.Item, &b);
        EXPECT_TRUE(list.DeleteItem());
        EXPECT_EQ(list.Item, &a);
        list.AddItem(&b);
    }
    EXPECT_EQ(RRec::Alive, 2);
}

// Guards a half-changed list when a new record cannot be made: the list stays as it
// was and the trail names the list's routine.
TEST(ListControl, FailedAddLeavesTheListAndWritesTheTrail)
{
    ErrorInfo = std::make_unique<QStringList>();
    LogArguments = 1;
    TRecs list = MakeList();
    ASSERT_TRUE(list.AddItem());
    list.Item->Name = QStringLiteral("a");

    RRec::FailNext = true;
    EXPECT_THROW(list.AddItem(), Exception);
    RRec::FailNext = true;
    EXPECT_THROW(list.InsertItem(0), Exception);
    EXPECT_EQ(Names(list), QStringLiteral("a"));
    EXPECT_EQ(list.GetIndex(), 0);
    EXPECT_EQ(*ErrorInfo, QStringList({"Module name: GeoDataObjects",
                                       "Procedure: TRecs.AddItem(const Item:RRec):boolean;",
                                       "Module name: GeoDataObjects",
                                       "Procedure: TRecs.InsertItem(const Item:RRec; const i:Integer):boolean;",
                                       "Arguments", "i=0"}));
    FreeAppGlobalVar();
}
