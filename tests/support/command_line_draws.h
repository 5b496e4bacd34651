// The monster's draws given on a test program's command line, cycled, so a test knows where it walks.
#pragma once

#include "game/sources.h"

#include <cstdlib>
#include <vector>

namespace support {

class CommandLineDraws final : public game::RandomSource {
public:
    // Each argument after the program's name is one draw in [0, 1).
    CommandLineDraws(int argc, char* const argv[])
    {
        for (int i = 1; i < argc; ++i)
            m_draws.push_back(std::atof(argv[i]));
    }
    bool empty() const { return m_draws.empty(); }

    void reseedFromClock() override {}
    double draw() override { return m_draws[m_next++ % m_draws.size()]; }

private:
    std::vector<double> m_draws;
    std::size_t m_next = 0;
};

} // namespace support
