// The shared table of proven states: buckets of a few entries, each bucket behind a spin lock
// that works across processes (a lock-free atomic in shared memory).
#include "tools/solver/solver_table.h"

#include <algorithm>
#include <limits>
#include <thread>

namespace {

// Windows are kept in 16 bits; a level's clock is far shorter.
constexpr int kMostSteps = std::numeric_limits<int16_t>::max();

int16_t Narrow(int v) { return static_cast<int16_t>(std::clamp(v, -kMostSteps, kMostSteps)); }

class c_BucketLock {
public:
    explicit c_BucketLock(std::atomic<uint32_t>& lock) : m_lock(lock) {
        while (m_lock.exchange(1, std::memory_order_acquire) != 0) std::this_thread::yield();
    }
    ~c_BucketLock() { m_lock.store(0, std::memory_order_release); }
    c_BucketLock(const c_BucketLock&) = delete;
    c_BucketLock& operator=(const c_BucketLock&) = delete;

private:
    std::atomic<uint32_t>& m_lock;
};

}  // namespace

bool c_Proven::p_Spares(int uses, int timer, const int* outOfTime) const {
    if (uses > m_uses || timer > m_timer) return false;
    if (timer == m_timer || m_first > m_last) return true;
    return outOfTime && timer - *outOfTime > m_last;
}

size_t c_ProvenTable::p_BytesFor(size_t bytes) { return std::max(bytes / sizeof(Bucket), size_t{1}) * sizeof(Bucket); }

c_ProvenTable::c_ProvenTable(void* memory, size_t bytes)
    : m_buckets(static_cast<Bucket*>(memory)), m_count(std::max(bytes / sizeof(Bucket), size_t{1})) {
    static_assert(std::atomic<uint32_t>::is_always_lock_free, "the bucket lock must work across processes");
}

c_ProvenTable::Bucket& c_ProvenTable::p_BucketOf(const c_StateKey& key) { return m_buckets[key.m_a % m_count]; }

bool c_ProvenTable::p_Find(const c_StateKey& key, c_Proven& found) {
    Bucket& bucket = p_BucketOf(key);
    c_BucketLock lock(bucket.m_lock);
    for (const Entry& e : bucket.m_entries) {
        if (e.m_used == 0 || e.m_a != key.m_a || e.m_b != key.m_b) continue;
        found = {e.m_uses, e.m_timer, e.m_first, e.m_last};
        return true;
    }
    return false;
}

void c_ProvenTable::p_Store(const c_StateKey& key, const c_Proven& proven) {
    Bucket& bucket = p_BucketOf(key);
    c_BucketLock lock(bucket.m_lock);
    Entry* slot = nullptr;
    for (Entry& e : bucket.m_entries) {
        if (e.m_used != 0 && e.m_a == key.m_a && e.m_b == key.m_b) {
            if (e.m_uses > proven.m_uses || (e.m_uses == proven.m_uses && e.m_timer >= proven.m_timer)) return;
            slot = &e;
            break;
        }
    }
    // Else a free entry, else the one that proves least: fewest uses, then least time.
    for (Entry& e : bucket.m_entries) {
        if (slot) break;
        if (e.m_used == 0) slot = &e;
    }
    if (!slot) {
        slot = std::min_element(std::begin(bucket.m_entries), std::end(bucket.m_entries), [](const Entry& x, const Entry& y) {
            return x.m_uses != y.m_uses ? x.m_uses < y.m_uses : x.m_timer < y.m_timer;
        });
        if (slot->m_uses > proven.m_uses) return;
    }
    slot->m_a = key.m_a;
    slot->m_b = key.m_b;
    slot->m_timer = proven.m_timer;
    slot->m_first = Narrow(proven.m_first);
    slot->m_last = Narrow(proven.m_last);
    slot->m_uses = static_cast<int8_t>(std::min(proven.m_uses, int{std::numeric_limits<int8_t>::max()}));
    slot->m_used = 1;
}
