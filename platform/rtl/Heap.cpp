#include "platform/rtl/Heap.h"

#include <malloc.h>

void KeepLargeBlocksOutOfTheHeap() {
  // Setting the threshold also ends its adjustment to the blocks freed.
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
}
