// The game's entry point. Everything else lives in the game library.
#include <allegro.h>

#include "app/command_line.h"

// The data is found beside the real executable, not through argv[0].
int main(int argc, char** argv)
{
    return run_from_command_line(argc, argv);
}
END_OF_MAIN()
