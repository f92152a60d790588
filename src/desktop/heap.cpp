// The heap kept between frames: llvmpipe frees megabytes after every swap,
// and glibc would hand them back to the kernel and fault them in again.
#include "desktop/heap.h"

#include <malloc.h>

void keepFrameHeap()
{
    // Setting it also stops glibc from moving the threshold itself, which
    // it does only once a large block has gone back to the kernel.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}
