#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Lib/ZIRur/Graphics/Texture.h"

// Decoded textures shared by name with reference counts (process-wide:
// TSingleton<CTextureStore>). Thread-safe.
class CTextureStore {
public:
    // The record stored under `key` with its count raised, or a new one decoded from the
    // bytes. Null when the bytes do not decode (nothing is stored then).
    CTexture* Acquire(const std::string& key, int type, const uint8_t* data, size_t size);
    // The record under `key` with its count raised, or null when none is stored.
    CTexture* AcquireExisting(const std::string& key);
    // Drops one reference; the last one removes and frees the record.
    void Release(CTexture* texture);

    // Number of distinct records stored.
    size_t Count() const;
    // Current reference count of `key`, 0 when not stored.
    int RefCount(const std::string& key) const;

private:
    mutable std::mutex m_lock;
    std::map<std::string, std::unique_ptr<CTexture>> m_records;
};

// One reference to a stored texture, released when the handle goes.
class TextureHandle {
public:
    TextureHandle() = default;
    explicit TextureHandle(CTexture* texture) : m_texture(texture) {}
    ~TextureHandle() { Reset(); }
    TextureHandle(TextureHandle&& other) noexcept : m_texture(other.m_texture) {
        other.m_texture = nullptr;
    }
    TextureHandle& operator=(TextureHandle&& other) noexcept;
    TextureHandle(const TextureHandle&) = delete;
    TextureHandle& operator=(const TextureHandle&) = delete;

    void Reset();
    CTexture* get() const { return m_texture; }
    CTexture* operator->() const { return m_texture; }
    explicit operator bool() const { return m_texture != nullptr; }

private:
    CTexture* m_texture = nullptr;
};
