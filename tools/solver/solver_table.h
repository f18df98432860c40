// The states the solver has searched through without finding a way on, in memory shared by
// every process of one search, so that one worker's proof spares the others the same work.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "tools/solver/solver_game.h"

// From a state with this much on the level timer, every way with this many skill uses or fewer
// was searched and none wins. While such a way went on, it was at least as good as won (enough
// penguins home, the level running) only between `m_first` and `m_last` steps after the state
// (none when m_first > m_last): with less time, the same ways can end in time out while it is so.
struct c_Proven {
    int m_uses = 0;
    int m_timer = 0;
    int m_first = 1, m_last = 0;

    // Whether the same state with this many uses left and this much on the timer needs no search
    // of its own: no more uses and no more time, and, with less time, its clock runs out only
    // after the last step at which the ways from here were as good as won. `outOfTime` is the
    // timer reading at which a level runs out of time; unknown, less time never spares.
    bool p_Spares(int uses, int timer, const int* outOfTime) const;
};

class c_ProvenTable {
public:
    // The bytes a table of about this size takes, and the table over such memory (zeroed, and
    // shared before any worker starts).
    static size_t p_BytesFor(size_t bytes);
    c_ProvenTable(void* memory, size_t bytes);

    bool p_Find(const c_StateKey& key, c_Proven& found);
    // Keeps the proof that reaches further: more uses, or as many with more time left.
    void p_Store(const c_StateKey& key, const c_Proven& proven);

private:
    struct Entry {
        uint64_t m_a, m_b;
        int32_t m_timer;
        int16_t m_first, m_last;
        int8_t m_uses;
        uint8_t m_used;
        uint16_t m_spare;
    };
    static constexpr int kWays = 4;
    struct Bucket {
        std::atomic<uint32_t> m_lock;
        uint32_t m_spare;
        Entry m_entries[kWays];
    };

    Bucket& p_BucketOf(const c_StateKey& key);

    Bucket* m_buckets;
    size_t m_count;
};
