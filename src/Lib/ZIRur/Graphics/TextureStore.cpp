#include "Lib/ZIRur/Graphics/TextureStore.h"

#include "Lib/ZIRur/Util/TSingleton.h"

CTexture* CTextureStore::Acquire(const std::string& key, int type, const uint8_t* data,
                                 size_t size) {
    std::lock_guard lock(m_lock);
    auto it = m_records.find(key);
    if (it != m_records.end()) {
        ++it->second->m_refCount;
        return it->second.get();
    }
    auto record = std::make_unique<CTexture>(key);
    if (!record->CreateFromData(type, data, size)) return nullptr;
    record->m_refCount = 1;
    CTexture* result = record.get();
    m_records.emplace(key, std::move(record));
    return result;
}

CTexture* CTextureStore::AcquireExisting(const std::string& key) {
    std::lock_guard lock(m_lock);
    auto it = m_records.find(key);
    if (it == m_records.end()) return nullptr;
    ++it->second->m_refCount;
    return it->second.get();
}

void CTextureStore::Release(CTexture* texture) {
    if (texture == nullptr) return;
    std::lock_guard lock(m_lock);
    auto it = m_records.find(texture->Name());
    if (it == m_records.end() || it->second.get() != texture) return;
    if (--texture->m_refCount <= 0) m_records.erase(it);
}

size_t CTextureStore::Count() const {
    std::lock_guard lock(m_lock);
    return m_records.size();
}

int CTextureStore::RefCount(const std::string& key) const {
    std::lock_guard lock(m_lock);
    auto it = m_records.find(key);
    return it == m_records.end() ? 0 : it->second->m_refCount;
}

TextureHandle& TextureHandle::operator=(TextureHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        m_texture = other.m_texture;
        other.m_texture = nullptr;
    }
    return *this;
}

void TextureHandle::Reset() {
    if (m_texture != nullptr) TSingleton<CTextureStore>::GetInstance().Release(m_texture);
    m_texture = nullptr;
}
