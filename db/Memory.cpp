#include "Memory.h"

#include <malloc.h>

namespace db {

// Datasets keep their rows in many small blocks and free them together when they close. Handed
// back to the system at each close, those pages would be faulted in again by the next dataset,
// which costs more than reading the rows; the process keeps up to 64 MB of freed memory for reuse
// instead, and only blocks of 4 MB and more get pages of their own.
void KeepFreedMemory()
{
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
}

}  // namespace db
