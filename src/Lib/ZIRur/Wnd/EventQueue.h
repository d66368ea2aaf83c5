#pragma once

#include <array>
#include <cstdint>

#include "Lib/ZIRur/Wnd/TSEvent.h"

// Priority queue of events: ascending priority, equal priorities in posting order. Nodes come
// from a pool of 1000; when it is empty they spill to the heap and are freed on removal.
class EventQueue {
public:
    static constexpr int kPoolSize = 1000;

    EventQueue();
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    void Push(const TSEvent& ev);
    // Takes the head; false when empty.
    bool Pop(TSEvent& ev);
    bool Empty() const { return m_pHead == nullptr; }
    // Removes every event whose code and both parameters equal the triple.
    void Purge(uint32_t code, uint32_t p1, uint32_t p2);
    void Clear();

    int Size() const;
    // Nodes currently taken from the heap (tests watch the spill and its return).
    int HeapNodes() const { return m_heapNodes; }
    int FreePoolNodes() const;

private:
    enum Origin : uint16_t { kFree = 0, kPool = 1, kHeap = 2 };
    struct Node {
        uint16_t origin = kFree;
        TSEvent ev;
        Node* pPrev = nullptr;
        Node* pNext = nullptr;
    };

    Node* Take();
    void Give(Node* node);
    void Unlink(Node* node);

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    // Singly linked through pNext.
    Node* m_pFree = nullptr;
    std::array<Node, kPoolSize> m_pool;
    int m_heapNodes = 0;
};
