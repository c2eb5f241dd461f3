// Large buffers the engine fills at once (a mesh's points, an array a deformer works on).
// Fresh memory costs a page fault per 4 KiB page on first touch, which on this kind of
// machine is slower than the copy that fills it: 32 MB of points took 100 ms to touch and
// 2 ms to write again. Asking for transparent huge pages turns those faults into one per
// 2 MiB where the system allows it (where it does not, the advice is ignored).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <sys/mman.h>

namespace hx {

// Below this a buffer holds no whole huge page worth asking for.
constexpr std::size_t kHugePageAdviceMin = std::size_t(4) << 20;

// Advises huge pages for the whole pages inside [data, data + bytes), before anything
// touches them.
inline void adviseHugePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    if (!data || bytes < kHugePageAdviceMin) return;
    const std::uintptr_t page = 4096;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

// Makes room for `count` elements in an empty or too small vector, advising huge pages for
// the fresh storage before any element is written to it. The vector keeps its elements.
template <class T>
void reserveFresh(std::vector<T>& values, std::size_t count) {
    if (values.capacity() >= count) return;
    if (values.empty()) {
        std::vector<T>().swap(values);  // give the old storage back before taking the new
        values.reserve(count);
        adviseHugePages(values.data(), count * sizeof(T));
        return;
    }
    std::vector<T> fresh;
    fresh.reserve(count);
    adviseHugePages(fresh.data(), count * sizeof(T));
    fresh.insert(fresh.end(), values.begin(), values.end());
    values.swap(fresh);
}

}  // namespace hx
