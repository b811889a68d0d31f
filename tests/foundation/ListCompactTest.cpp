// Compact gives back a list's spare room after a read: it must leave the records, the
// cursor, the saved cursor and Item as they were, or the reader's lists would point
// elsewhere after it.
#include "foundation/AbstractListControl.h"

#include <gtest/gtest.h>

namespace {

struct RNode {
    int Value = 0;
};

using TNodes = TCursorList<RNode>;

TEST(ListCompact, KeepsRecordsCursorsAndItem)
{
    for (const int count : {1, 3, 5, 8, 50}) {
        TNodes list("TNodes", "RNode");
        list.Compact();   // no block yet
        EXPECT_EQ(list.GetCount(), 0);
        std::vector<RNode*> records;
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(list.AddItem());
            list.Item->Value = i;
            records.push_back(list.Item);
        }
        ASSERT_TRUE(list.GoItem(count / 2));
        ASSERT_TRUE(list.SaveIP());
        ASSERT_TRUE(list.GoItem(count - 1));
        list.Compact();
        EXPECT_EQ(list.GetCount(), count);
        EXPECT_EQ(list.GetIndex(), count - 1);
        EXPECT_EQ(list.Item, records.back());
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(list.At(i), records[i]);
        ASSERT_TRUE(list.RestIP());
        EXPECT_EQ(list.GetIndex(), count / 2);

        // It grows again as before, and inserts and deletes keep their contract.
        ASSERT_TRUE(list.AddItem());
        EXPECT_EQ(list.GetCount(), count + 1);
        EXPECT_EQ(list.GetIndex(), count);
        ASSERT_TRUE(list.InsertItem(0));
        EXPECT_EQ(list.At(1), records[0]);
        list.Compact();
        ASSERT_TRUE(list.GoItem(1));
        ASSERT_TRUE(list.DeleteItem());
        EXPECT_EQ(list.GetIndex(), 1);   // on the successor
        EXPECT_EQ(list.Item, list.At(1));
        EXPECT_NE(list.Item, records[0]);
        list.DeleteAll();
        list.Compact();
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.Item, nullptr);
    }
}

TEST(ListCompact, ListOfTheCallersRecords)
{
    RNode a, b, c;
    TCursorList<RNode, RNode*> list("TNodeRefs", "PNode");
    for (RNode* p : {&a, &b, &c})
        ASSERT_TRUE(list.AddItem(p));
    list.Compact();
    EXPECT_EQ(list.At(0), &a);
    EXPECT_EQ(list.At(2), &c);
    EXPECT_EQ(list.Item, &c);
}

}  // namespace
