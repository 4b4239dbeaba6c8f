#pragma once
// An append-only list that keeps every element at its address, like a deque, but allocates in
// chunks of many elements: a sheet may hold millions of ranges, and a deque of objects this
// size would allocate every second one separately. A chunk is a large block of 2 MiB.
#include "export/xls/XlsLargeBlock.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kestrane::xls {

template <typename T, size_t ChunkSize = (size_t(2) << 20) / sizeof(T)> class XlsChunkedList {
public:
    XlsChunkedList() = default;
    XlsChunkedList(const XlsChunkedList&) = delete;
    XlsChunkedList& operator=(const XlsChunkedList&) = delete;
    ~XlsChunkedList() { clear(); }

    template <typename... Args> T& emplace_back(Args&&... args) {
        if (m_size % ChunkSize == 0 && m_size / ChunkSize == m_chunks.size())
            m_chunks.push_back(makeLargeBlock<Slot>(ChunkSize));
        T* p = new (m_chunks[m_size / ChunkSize][m_size % ChunkSize].bytes)
            T(std::forward<Args>(args)...);
        ++m_size;
        return *p;
    }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](size_t i) { return *ptr(i); }
    const T& operator[](size_t i) const { return *ptr(i); }
    T& back() { return *ptr(m_size - 1); }
    const T& back() const { return *ptr(m_size - 1); }

    void clear() {
        for (size_t i = 0; i < m_size; ++i)
            ptr(i)->~T();
        m_size = 0;
        m_chunks.clear();
    }

    template <typename L, typename V> class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = V*;
        using reference = V&;
        Iterator(L* list, size_t i) : m_list(list), m_i(i) {}
        V& operator*() const { return (*m_list)[m_i]; }
        V* operator->() const { return &(*m_list)[m_i]; }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++m_i;
            return old;
        }
        bool operator==(const Iterator& o) const { return m_i == o.m_i; }
        bool operator!=(const Iterator& o) const { return m_i != o.m_i; }

    private:
        L* m_list;
        size_t m_i;
    };
    using iterator = Iterator<XlsChunkedList, T>;
    using const_iterator = Iterator<const XlsChunkedList, const T>;
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, m_size}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }

private:
    struct Slot {
        alignas(T) unsigned char bytes[sizeof(T)];
    };
    T* ptr(size_t i) const {
        return std::launder(reinterpret_cast<T*>(m_chunks[i / ChunkSize][i % ChunkSize].bytes));
    }

    std::vector<std::unique_ptr<Slot[], LargeBlockDeleter>> m_chunks;
    size_t m_size = 0;
};

} // namespace kestrane::xls
