#include "platform/Platform.h"

#include <malloc.h>

namespace platform {

// glibc keeps freed heap pages for later allocations; malloc_trim gives the
// unused ones at the top of each arena and the whole free pages inside back
// to the system.
void ReturnFreedMemory() { malloc_trim(0); }

} // namespace platform
