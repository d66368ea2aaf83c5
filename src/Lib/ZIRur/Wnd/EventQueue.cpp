#include "Lib/ZIRur/Wnd/EventQueue.h"

EventQueue::EventQueue() {
    for (int i = kPoolSize - 1; i >= 0; --i) {
        m_pool[i].pNext = m_pFree;
        m_pFree = &m_pool[i];
    }
}

EventQueue::~EventQueue() {
    Clear();
}

EventQueue::Node* EventQueue::Take() {
    Node* node;
    if (m_pFree != nullptr) {
        node = m_pFree;
        m_pFree = node->pNext;
        node->origin = kPool;
    } else {
        node = new Node;
        node->origin = kHeap;
        ++m_heapNodes;
    }
    node->pPrev = node->pNext = nullptr;
    return node;
}

void EventQueue::Give(Node* node) {
    if (node->origin == kHeap) {
        delete node;
        --m_heapNodes;
        return;
    }
    node->origin = kFree;
    node->pPrev = nullptr;
    node->pNext = m_pFree;
    m_pFree = node;
}

void EventQueue::Push(const TSEvent& ev) {
    Node* node = Take();
    node->ev = ev;
    // Before the first node with a greater priority value, else at the tail.
    Node* at = m_pHead;
    while (at != nullptr && at->ev.priority <= ev.priority) at = at->pNext;
    if (at == nullptr) {
        node->pPrev = m_pTail;
        if (m_pTail != nullptr) m_pTail->pNext = node;
        m_pTail = node;
        if (m_pHead == nullptr) m_pHead = node;
    } else {
        node->pNext = at;
        node->pPrev = at->pPrev;
        if (at->pPrev != nullptr)
            at->pPrev->pNext = node;
        else
            m_pHead = node;
        at->pPrev = node;
    }
}

void EventQueue::Unlink(Node* node) {
    if (node->pPrev != nullptr)
        node->pPrev->pNext = node->pNext;
    else
        m_pHead = node->pNext;
    if (node->pNext != nullptr)
        node->pNext->pPrev = node->pPrev;
    else
        m_pTail = node->pPrev;
}

bool EventQueue::Pop(TSEvent& ev) {
    Node* node = m_pHead;
    if (node == nullptr) return false;
    ev = node->ev;
    Unlink(node);
    Give(node);
    return true;
}

void EventQueue::Purge(uint32_t code, uint32_t p1, uint32_t p2) {
    for (Node* node = m_pHead; node != nullptr;) {
        Node* next = node->pNext;
        if (node->ev.code == code && node->ev.p1 == p1 && node->ev.p2 == p2) {
            Unlink(node);
            Give(node);
        }
        node = next;
    }
}

void EventQueue::Clear() {
    TSEvent ev;
    while (Pop(ev)) {
    }
}

int EventQueue::Size() const {
    int n = 0;
    for (Node* node = m_pHead; node != nullptr; node = node->pNext) ++n;
    return n;
}

int EventQueue::FreePoolNodes() const {
    int n = 0;
    for (Node* node = m_pFree; node != nullptr; node = node->pNext) ++n;
    return n;
}
