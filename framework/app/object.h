// The root object class and the one ownership scheme of the framework and the game.
//
// Ownership: every object derives from Object and is held through Ref<T>, an intrusive
// reference count (atomic, so worker threads may hold and drop references). When the last
// Ref goes, the object is not deleted on the spot: it is queued, and gc_collect() deletes the
// queue. The host runs gc_collect() after every event it forwards, so an object whose method
// is still on the stack is never freed under it. Plain pointers are borrowed references.
// References must not form cycles; an owner that needs a back pointer keeps a plain one.
#pragma once

#include <atomic>
#include <utility>

#include "framework/app/string.h"

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // Identity by default; value classes override.
    virtual bool Equals(Object* other) { return this == other; }
    virtual int Compare(Object* other) { return this < other ? -1 : (this > other ? 1 : 0); }
    // A line describing the object for the debugger handshake and logs.
    virtual String debug();

    void gc_retain() { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void gc_release();
    int RefCount() const { return m_refs.load(std::memory_order_relaxed); }

private:
    friend void gc_collect();
    std::atomic<int> m_refs{0};
    bool m_queued = false;  // waiting in the reclamation queue; guarded by its lock
};

// Deletes every object whose last reference was dropped; runs until nothing more is released.
void gc_collect();
// Objects waiting for gc_collect (for tests and diagnostics).
int gc_pending();

template <class T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    Ref(T* object) : m_object(object) { Acquire(); }
    Ref(const Ref& other) : m_object(other.m_object) { Acquire(); }
    Ref(Ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U>
    Ref(const Ref<U>& other) : m_object(other.Get()) { Acquire(); }
    ~Ref() { Drop(); }

    Ref& operator=(const Ref& other) {
        if (other.m_object) other.m_object->gc_retain();
        Drop();
        m_object = other.m_object;
        return *this;
    }
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Drop();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool operator==(const Ref& other) const { return m_object == other.m_object; }
    bool operator==(const T* other) const { return m_object == other; }

private:
    void Acquire() {
        if (m_object) m_object->gc_retain();
    }
    void Drop() {
        if (m_object) std::exchange(m_object, nullptr)->gc_release();
    }

    T* m_object = nullptr;
};

// Makes a new object held by a Ref.
template <class T, class... Args>
Ref<T> New(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// What the game and the framework throw for an error that the host reports and dies of.
class ThrowableObject : public Object {};
