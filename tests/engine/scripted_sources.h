// Scripted stand-ins for the platform's key state and dice, so a test decides every report and draw.
#pragma once

#include "game/sources.h"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace scripted {

// Key reports scripted per key; an empty script reports nothing. Records every query in order.
class ScriptedKeys final : public game::KeySource {
public:
    // One tick's worth: bit 0 set for the listed keys, clear for the others.
    void nextTick(std::initializer_list<game::ArrowKey> pressed)
    {
        for (const game::ArrowKey key : kAll) {
            bool isPressed = false;
            for (const game::ArrowKey p : pressed)
                isPressed = isPressed || p == key;
            push(key, isPressed ? 1 : 0);
        }
    }

    void push(game::ArrowKey key, std::int16_t bits) { m_script[static_cast<int>(key)].push_back(bits); }

    std::int16_t GetAsyncKeyState(game::ArrowKey key) override
    {
        queries.push_back(key);
        std::deque<std::int16_t>& script = m_script[static_cast<int>(key)];
        if (script.empty())
            return 0;
        const std::int16_t bits = script.front();
        script.pop_front();
        return bits;
    }

    std::vector<game::ArrowKey> queries;

    static constexpr game::ArrowKey kAll[] = {game::ArrowKey::Down, game::ArrowKey::Right, game::ArrowKey::Up,
                                              game::ArrowKey::Left};

private:
    std::map<int, std::deque<std::int16_t>> m_script;
};

// A draw r whose floor(10 r) is the given weight, well clear of rounding trouble.
inline double drawFor(int weight) { return weight / 10.0 + 0.05; }

// Draws handed out in the given order. Running out is a test bug, so it throws rather than guess.
class ScriptedRandom final : public game::RandomSource {
public:
    void add(std::initializer_list<double> draws) { m_draws.insert(m_draws.end(), draws); }
    // The four draws of one scoring, in the order right, left, up, down.
    void addWeights(int right, int left, int up, int down)
    {
        add({drawFor(right), drawFor(left), drawFor(up), drawFor(down)});
    }

    void reseedFromClock() override
    {
        ++reseeds;
        events += 'S';
    }

    double draw() override
    {
        if (m_draws.empty())
            throw std::logic_error("ScriptedRandom: the test scripted too few draws");
        ++draws;
        events += 'D';
        const double r = m_draws.front();
        m_draws.pop_front();
        return r;
    }

    std::size_t remaining() const { return m_draws.size(); }

    int reseeds = 0;
    int draws = 0;
    std::string events; // 'S' per reseed, 'D' per draw

private:
    std::deque<double> m_draws;
};

} // namespace scripted
