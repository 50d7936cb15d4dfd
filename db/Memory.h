#pragma once

namespace db {

// Sets how the process keeps freed memory for datasets' row blocks; call once at program start,
// before the first dataset. It applies to the whole process, so the library leaves it to the
// program.
void KeepFreedMemory();

}  // namespace db
