// The game's entry point. Everything else lives in the game library.
#include <allegro.h>

#include "app/startup.h"

int main(int argc, char** argv)
{
    return run_game(argc > 0 ? argv[0] : "");
}
END_OF_MAIN()
