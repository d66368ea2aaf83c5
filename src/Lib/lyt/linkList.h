#pragma once

#include <cstddef>

#include "Lib/lyt/lytAlloc.h"

namespace LYRALib::lytmgr::detail {

// Intrusive doubly linked list node. A node unlinks itself when destroyed, so an owner may
// be destroyed before or after the list that holds it.
class LinkNode : public LytObject {
public:
    LinkNode() = default;
    LinkNode(const LinkNode&) = delete;
    LinkNode& operator=(const LinkNode&) = delete;
    ~LinkNode() { Unlink(); }

    // True while the node is in a list.
    bool IsLinked() const { return mpNext != nullptr; }
    // Removes the node from whatever list holds it; harmless when it is in none.
    void Unlink() {
        if (mpNext == nullptr) return;
        mpPrev->mpNext = mpNext;
        mpNext->mpPrev = mpPrev;
        mpPrev = mpNext = nullptr;
    }

private:
    template <class T>
    friend class LinkList;
    LinkNode* mpPrev = nullptr;
    LinkNode* mpNext = nullptr;
};

// List of T (derived from LinkNode) in insertion order; it never owns its elements.
template <class T>
class LinkList {
public:
    LinkList() { mHead.mpPrev = mHead.mpNext = &mHead; }
    LinkList(const LinkList&) = delete;
    LinkList& operator=(const LinkList&) = delete;
    ~LinkList() { Clear(); }

    bool IsEmpty() const { return mHead.mpNext == &mHead; }
    size_t Size() const {
        size_t n = 0;
        for (const LinkNode* p = mHead.mpNext; p != &mHead; p = p->mpNext) ++n;
        return n;
    }
    // First element or null.
    T* Front() const { return IsEmpty() ? nullptr : static_cast<T*>(mHead.mpNext); }
    // Element after `item` in this list, or null at the end.
    T* Next(const T* item) const {
        const LinkNode* n = static_cast<const LinkNode*>(item)->mpNext;
        return n == &mHead ? nullptr : static_cast<T*>(const_cast<LinkNode*>(n));
    }
    // Appends `item`, first taking it out of any list it is in.
    void PushBack(T* item) {
        LinkNode* node = item;
        node->Unlink();
        node->mpPrev = mHead.mpPrev;
        node->mpNext = &mHead;
        mHead.mpPrev->mpNext = node;
        mHead.mpPrev = node;
    }
    // Unlinks every element (none is destroyed).
    void Clear() {
        while (!IsEmpty()) mHead.mpNext->Unlink();
    }

private:
    LinkNode mHead;
};

}  // namespace LYRALib::lytmgr::detail
