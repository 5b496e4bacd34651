// Glouto in the browser: the game with the monster's clock-seeded dice.
#include "game/clock_random.h"
#include "ui/web/program.h"

int main()
{
    web::runProgram(std::make_unique<game::ClockRandom>());
    // The page's events run the program from here on.
    return 0;
}
