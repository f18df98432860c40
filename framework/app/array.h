// Fixed-length, zero-initialised arrays whose length belongs to the array. Copies share the
// elements, as the game's tables are shared between the objects that use them.
#pragma once

#include <memory>
#include <new>
#include <type_traits>

#include "framework/app/zero_pages.h"

void vo_array_index_error(int index, int length);

template <class T>
class Array {
public:
    Array() = default;
    explicit Array(int length) : m_length(length > 0 ? length : 0) {
        if (m_length > 0) m_data = std::make_shared<T[]>(static_cast<size_t>(m_length));
    }

    // An array of zeros whose memory is backed only where it is written (zero_pages.h): for a
    // large table of which little is used. vo_pages_Clear empties it.
    static Array ZeroPaged(int length) {
        static_assert(std::is_trivial_v<T>, "zero pages hold plain values only");
        Array array;
        array.m_length = length > 0 ? length : 0;
        if (array.m_length == 0) return array;
        const size_t bytes = static_cast<size_t>(array.m_length) * sizeof(T);
        T* pages = static_cast<T*>(vo_pages_Map(bytes));
        if (!pages) throw std::bad_alloc();
        array.m_data = std::shared_ptr<T[]>(pages, [bytes](T* p) { vo_pages_Unmap(p, bytes); });
        return array;
    }

    int Length() const { return m_length; }
    // Bounds-checked: an index outside the array is a runtime error, never a stray write.
    T& operator[](int i) const {
        if (static_cast<unsigned>(i) >= static_cast<unsigned>(m_length)) vo_array_index_error(i, m_length);
        return m_data[static_cast<size_t>(i)];
    }
    T* Data() const { return m_data.get(); }
    T* begin() const { return m_data.get(); }
    T* end() const { return m_data.get() + m_length; }
    bool SameAs(const Array& other) const { return m_data == other.m_data; }

private:
    std::shared_ptr<T[]> m_data;
    int m_length = 0;
};
