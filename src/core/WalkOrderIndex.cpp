#include "core/WalkOrderIndex.h"

#include <bit>

namespace korvyn {

void WalkOrderIndex::Clear() {
    for (Bucket& bucket : buckets_)
        bucket = Bucket{};
    size_ = 0;
}

bool WalkOrderIndex::Contains(DWORD n) const {
    const DWORD group = n >> 4;
    const Bucket& bucket = buckets_[group % kBuckets];
    const std::size_t q = group / kBuckets;
    return q < bucket.masks.size() && (bucket.masks[q] >> (n & 15)) & 1;
}

// Appends empty groups; a new Fenwick node covers (i - lowbit(i), i], which is the sum of
// the nodes already there below it.
void WalkOrderIndex::Grow(Bucket& bucket, std::size_t groups) {
    while (bucket.masks.size() < groups) {
        bucket.masks.push_back(0);
        const std::size_t i = bucket.masks.size(); // 1-based index of the new node
        DWORD sum = 0;
        for (std::size_t j = i - 1; j > i - (i & (~i + 1)); j -= j & (~j + 1))
            sum += bucket.tree[j - 1];
        bucket.tree.push_back(sum);
    }
}

void WalkOrderIndex::Add(Bucket& bucket, std::size_t group, int delta) {
    for (std::size_t i = group + 1; i <= bucket.tree.size(); i += i & (~i + 1))
        bucket.tree[i - 1] = static_cast<DWORD>(static_cast<int>(bucket.tree[i - 1]) + delta);
    bucket.count = static_cast<std::size_t>(static_cast<long>(bucket.count) + delta);
    size_ = static_cast<std::size_t>(static_cast<long>(size_) + delta);
}

void WalkOrderIndex::Insert(DWORD n) {
    if (Contains(n))
        return;
    const DWORD group = n >> 4;
    Bucket& bucket = buckets_[group % kBuckets];
    const std::size_t q = group / kBuckets;
    Grow(bucket, q + 1);
    bucket.masks[q] = static_cast<std::uint16_t>(bucket.masks[q] | (1u << (n & 15)));
    Add(bucket, q, 1);
}

void WalkOrderIndex::Erase(DWORD n) {
    if (!Contains(n))
        return;
    const DWORD group = n >> 4;
    Bucket& bucket = buckets_[group % kBuckets];
    const std::size_t q = group / kBuckets;
    bucket.masks[q] = static_cast<std::uint16_t>(bucket.masks[q] & ~(1u << (n & 15)));
    Add(bucket, q, -1);
}

DWORD WalkOrderIndex::Select(std::size_t position) const {
    DWORD b = 0;
    while (b + 1 < kBuckets && position >= buckets_[b].count)
        position -= buckets_[b++].count;
    const Bucket& bucket = buckets_[b];
    // Within the bucket the walk runs from the highest number down: count from the bottom.
    std::size_t rank = bucket.count - 1 - position;
    std::size_t node = 0;
    for (std::size_t step = std::bit_floor(bucket.tree.size()); step; step >>= 1) {
        if (node + step <= bucket.tree.size() && bucket.tree[node + step - 1] <= rank) {
            node += step;
            rank -= bucket.tree[node - 1];
        }
    }
    // node is now the group (0-based) holding the member; rank counts members below it.
    unsigned mask = bucket.masks[node];
    for (; rank; --rank)
        mask &= mask - 1;
    const DWORD bit = static_cast<DWORD>(std::countr_zero(mask));
    return static_cast<DWORD>(((node * kBuckets + b) << 4) | bit);
}

} // namespace korvyn
