// Deferred reclamation of objects whose last reference was dropped.
#include "framework/app/object.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace {

std::mutex& PendingLock() {
    static std::mutex lock;
    return lock;
}

std::vector<Object*>& Pending() {
    static auto* pending = new std::vector<Object*>();
    return *pending;
}

}  // namespace

String Object::debug() {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Object@%p", static_cast<void*>(this));
    return String(buf);
}

void Object::gc_release() {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        std::lock_guard<std::mutex> guard(PendingLock());
        if (!m_queued) {
            m_queued = true;
            Pending().push_back(this);
        }
    }
}

void gc_collect() {
    std::vector<Object*> batch;
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(PendingLock());
            if (Pending().empty()) return;
            batch.swap(Pending());
            for (Object* object : batch) object->m_queued = false;
        }
        for (Object* object : batch) {
            // A Ref taken again from a plain pointer revives the object; it is queued anew
            // when that reference goes.
            if (object->RefCount() == 0) delete object;
        }
        batch.clear();
    }
}

int gc_pending() {
    std::lock_guard<std::mutex> guard(PendingLock());
    return static_cast<int>(Pending().size());
}
