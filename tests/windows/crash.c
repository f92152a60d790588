/* A program that crashes, for the Windows test: a write through a null
   pointer, which the compiler cannot prove away. */
#include <stdlib.h>

int main(int argc, char **argv)
{
    (void)argv;
    volatile int *nowhere = argc > 100 ? malloc(sizeof *nowhere) : NULL;
    *nowhere = 1;
    return 0;
}
