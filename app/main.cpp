// The game's entry point. Everything else lives in the game library.
#include <allegro.h>

#include "app/startup.h"

// No options: the data is found beside the real executable, not through argv[0].
int main(int, char**)
{
    return run_game();
}
END_OF_MAIN()
