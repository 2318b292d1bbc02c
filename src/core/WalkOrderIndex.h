#pragma once
// A set of station numbers kept in the table's walk order, with the k-th member found in
// logarithmic time. The walk order visits 17 buckets, the bucket of number n being
// ((n >> 4) mod 17), from 0 to 16, and within a bucket the newest (highest) number first.
//
// Numbers fall into groups of 16 (n >> 4); a bucket holds every 17th group. Each group is
// a 16-bit mask of members, and a Fenwick tree per bucket counts members over its groups.
#include "platform/WinTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvyn {

class WalkOrderIndex {
public:
    static constexpr DWORD kBuckets = 17;

    // True when a comes before b in the walk order.
    static bool WalkBefore(DWORD a, DWORD b) {
        const DWORD ba = (a >> 4) % kBuckets;
        const DWORD bb = (b >> 4) % kBuckets;
        return ba != bb ? ba < bb : a > b;
    }

    void Clear(); // also releases the storage
    bool Contains(DWORD n) const;
    void Insert(DWORD n);
    void Erase(DWORD n);
    std::size_t Size() const { return size_; }

    // The member at this position of the walk order; position must be below Size().
    DWORD Select(std::size_t position) const;

private:
    struct Bucket {
        std::vector<std::uint16_t> masks; // group q of the bucket is group 17q + bucket
        std::vector<DWORD> tree;          // Fenwick tree over the masks' member counts
        std::size_t count = 0;
    };

    void Add(Bucket& bucket, std::size_t group, int delta);
    void Grow(Bucket& bucket, std::size_t groups);

    std::array<Bucket, kBuckets> buckets_;
    std::size_t size_ = 0;
};

} // namespace korvyn
