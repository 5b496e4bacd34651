// Glouto in the browser: the game with the monster's clock-seeded dice.
#include "ui/app/clock_random.h"
#include "ui/web/program.h"

int main()
{
    web::runProgram(std::make_unique<app::ClockRandom>());
    // The page's events run the program from here on.
    return 0;
}
