#include <gtest/gtest.h>

#include "Lib/ZIRur/Wnd/EventQueue.h"

namespace {

TSEvent Ev(uint32_t code, uint8_t priority, uint32_t p1 = 0) {
    return TSEvent{code, p1, 0, priority};
}

std::vector<uint32_t> Drain(EventQueue& q) {
    std::vector<uint32_t> codes;
    TSEvent ev;
    while (q.Pop(ev)) codes.push_back(ev.code);
    return codes;
}

TEST(EventQueue, LowerPriorityValueFirstAndEqualPrioritiesInPostingOrder) {
    EventQueue q;
    q.Push(Ev(1, 2));
    q.Push(Ev(2, 0));
    q.Push(Ev(3, 2));
    EXPECT_EQ(Drain(q), (std::vector<uint32_t>{2, 1, 3}));

    q.Push(Ev(10, 2));
    q.Push(Ev(11, 0));
    EXPECT_EQ(Drain(q), (std::vector<uint32_t>{11, 10})) << "a later 0 overtakes a queued 2";

    q.Push(Ev(20, 3));
    q.Push(Ev(21, 1));
    q.Push(Ev(22, 3));
    q.Push(Ev(23, 1));
    EXPECT_EQ(Drain(q), (std::vector<uint32_t>{21, 23, 20, 22}));
}

TEST(EventQueue, SpillsToTheHeapWhenThePoolIsEmptyAndGivesBack) {
    EventQueue q;
    for (int i = 0; i < EventQueue::kPoolSize + 5; ++i) q.Push(Ev(uint32_t(i), 2));
    EXPECT_EQ(q.HeapNodes(), 5);
    EXPECT_EQ(q.FreePoolNodes(), 0);
    auto codes = Drain(q);
    ASSERT_EQ(codes.size(), size_t(EventQueue::kPoolSize + 5));
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], i) << "order kept across the spill";
    EXPECT_EQ(q.HeapNodes(), 0);
    EXPECT_EQ(q.FreePoolNodes(), EventQueue::kPoolSize);
}

TEST(EventQueue, PurgeRemovesOnlyExactTriplesWherever_TheyStand) {
    EventQueue q;
    q.Push(TSEvent{11, 1, 0, 2});
    q.Push(TSEvent{11, 2, 0, 2});
    q.Push(TSEvent{11, 1, 0, 0});
    q.Push(TSEvent{11, 1, 5, 2});
    q.Push(TSEvent{12, 1, 0, 2});
    q.Purge(11, 1, 0);
    EXPECT_EQ(q.Size(), 3);
    TSEvent ev;
    ASSERT_TRUE(q.Pop(ev));
    EXPECT_EQ(ev.p1, 2u);
    ASSERT_TRUE(q.Pop(ev));
    EXPECT_EQ(ev.p2, 5u);
    ASSERT_TRUE(q.Pop(ev));
    EXPECT_EQ(ev.code, 12u);
    EXPECT_TRUE(q.Empty());
    EXPECT_EQ(q.FreePoolNodes(), EventQueue::kPoolSize);
}

}  // namespace

TEST(EventPoint, PositionsOutsideTheWindowKeepTheirSign) {
    // With a button held, the pointer is reported beyond the window's left and top edges.
    EXPECT_EQ(UnpackPoint(PackPoint(TSPoint{-12, -300})), (TSPoint{-12, -300}));
    EXPECT_EQ(UnpackPoint(PackPoint(TSPoint{1100, -1})), (TSPoint{1100, -1}));
    EXPECT_EQ(UnpackPoint(PackPoint(TSPoint{1023, 767})), (TSPoint{1023, 767}));
}
