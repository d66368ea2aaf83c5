#include <gtest/gtest.h>
#include <array>
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

TEST(EventQueue, PriorityThenPostingOrderExactPurgeAndHeapSpill) {
    // Each row: {code, priority} pushed in order, then the codes as drained.
    const std::vector<std::pair<std::vector<std::pair<uint32_t, uint8_t>>, std::vector<uint32_t>>>
        cases = {{{{1, 2}, {2, 0}, {3, 2}}, {2, 1, 3}},
                 {{{10, 2}, {11, 0}}, {11, 10}},  // a later 0 overtakes a queued 2
                 {{{20, 3}, {21, 1}, {22, 3}, {23, 1}}, {21, 23, 20, 22}}};
    EventQueue q;
    for (const auto& [pushed, drained] : cases) {
        for (auto [code, priority] : pushed) q.Push(Ev(code, priority));
        EXPECT_EQ(Drain(q), drained);
    }
    // Purge removes only exact triples, wherever they stand.
    for (TSEvent ev :
         {TSEvent{11, 1, 0, 2}, {11, 2, 0, 2}, {11, 1, 0, 0}, {11, 1, 5, 2}, {12, 1, 0, 2}})
        q.Push(ev);
    q.Purge(11, 1, 0);
    std::vector<std::array<uint32_t, 3>> left;
    for (TSEvent ev; q.Pop(ev);) left.push_back({ev.code, ev.p1, ev.p2});
    EXPECT_EQ(left, (std::vector<std::array<uint32_t, 3>>{{11, 2, 0}, {11, 1, 5}, {12, 1, 0}}));
    EXPECT_TRUE(q.Empty());
    EXPECT_EQ(q.FreePoolNodes(), EventQueue::kPoolSize);
    // A full pool spills to the heap, keeps the order and gives the nodes back.
    for (int i = 0; i < EventQueue::kPoolSize + 5; ++i) q.Push(Ev(uint32_t(i), 2));
    EXPECT_EQ(std::tuple(q.HeapNodes(), q.FreePoolNodes()), std::tuple(5, 0));
    auto codes = Drain(q);
    ASSERT_EQ(codes.size(), size_t(EventQueue::kPoolSize + 5));
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], i) << "order kept across the spill";
    EXPECT_EQ(std::tuple(q.HeapNodes(), q.FreePoolNodes()), std::tuple(0, EventQueue::kPoolSize));
}

}  // namespace

TEST(EventPoint, PositionsOutsideTheWindowKeepTheirSign) {
    // With a button held, the pointer is reported beyond the window's left and top edges.
    for (TSPoint p : {TSPoint{-12, -300}, {1100, -1}, {1023, 767}})
        EXPECT_EQ(UnpackPoint(PackPoint(p)), p);
}
