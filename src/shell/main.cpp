// Process entry: hands the command line to the program's own entry.
#include "app/frame.h"

int main(int argc, char *argv[])
{
    return SDL_main(argc, argv);
}
