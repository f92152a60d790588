// The desktop process's heap, tuned for the GL driver's frames.
#pragma once

// Mesa's llvmpipe allocates some megabytes while it bins a frame and frees
// them after the swap. glibc then gives the freed top of the heap back to
// the kernel and takes it again, zero-filled page by page, the next frame:
// about as much CPU as the frame's own drawing. This keeps up to 64 MiB of
// free heap for the next frame instead. Call before anything allocates much.
void keepFrameHeap();
