// Heap.h — how the process's heap treats large blocks.
#pragma once

// Blocks from 64 KiB up always come straight from the system and go back to
// it when freed, whatever was freed before. By default the C library raises
// that limit to the size of each large block freed, so that after one long
// text has come and gone (a file read whole, a text built for export) the
// next ones are carved out of the heap, where a block that grows is copied
// instead of remapped and the space freed around the long-lived ones stays
// in the process: a long document then took far more memory than its
// stages hold at once. Called once, early in main.
void KeepLargeBlocksOutOfTheHeap();
