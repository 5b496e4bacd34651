// The engine's handlers timed alone, on the null front end with its recording off, so the figures
// are the rules' own cost with no toolkit behind them.
#include "ui/app/app.h"
#include "game/clock_random.h"
#include "game/form1.h"
#include "game/module1.h"
#include "ui/app/null_front_end.h"
#include "game/platform.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace {

class NoKeys final : public game::KeySource {
public:
    std::int16_t GetAsyncKeyState(game::ArrowKey) override { return 0; }
};

// Right on one tick, left on the next: the character paces between the first two cells of the
// top row and every tick takes a step.
class PacingKeys final : public game::KeySource {
public:
    std::int16_t GetAsyncKeyState(game::ArrowKey key) override
    {
        // Down is queried first in every tick.
        if (key == game::ArrowKey::Down)
            m_rightward = !m_rightward;
        return key == (m_rightward ? game::ArrowKey::Right : game::ArrowKey::Left) ? 1 : 0;
    }

private:
    bool m_rightward = false;
};

// No clock and no mixing: what is left of ScoreDirections is the rules themselves.
class TrivialRandom final : public game::RandomSource {
public:
    void reseedFromClock() override {}
    double draw() override
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) * 0x1.0p-53;
    }

private:
    std::uint64_t m_state = 1;
};

// The real generator with a clock that is only a counter: separates the clock read from the mixing.
game::ClockRandom counterClockRandom()
{
    return game::ClockRandom([tick = std::uint64_t{0}]() mutable { return ++tick; });
}

game::Form1& started(app::App& program)
{
    program.start();
    return *program.rules();
}

// The program with its main window loaded; its timers never tick, the benchmarks call the handlers.
struct Game {
    Game(game::KeySource& keys, game::RandomSource& random) : app(frontEnd, random, &keys), form(started(app)) {}
    app::NullFrontEnd frontEnd{app::NullFrontEnd::Recording::Off};
    app::App app;
    game::Form1& form;
    game::Module1& module = app.module();
};

void BM_ComputeCellCode(benchmark::State& state)
{
    // On-grid cells across the table, and positions that miss it in each way the lookup rejects.
    constexpr std::array<std::array<std::int16_t, 2>, 8> kPositions{{
        {50, 50}, {3150, 4390}, {6250, 10590}, {6870, 11830}, {51, 50}, {50, 51}, {7490, 50}, {-570, 50},
    }};
    game::Module1 module;
    std::size_t i = 0;
    for (auto _ : state) {
        module.actorTop = kPositions[i][0];
        module.actorLeft = kPositions[i][1];
        i = (i + 1) % kPositions.size();
        module.ComputeCellCode();
        benchmark::DoNotOptimize(module.cellCode);
    }
}
BENCHMARK(BM_ComputeCellCode);

void BM_Timer1_Idle(benchmark::State& state)
{
    NoKeys keys;
    TrivialRandom random;
    Game game(keys, random);
    for (auto _ : state)
        game.form.Timer1_Timer();
    benchmark::DoNotOptimize(game.module.actorLeft);
}
BENCHMARK(BM_Timer1_Idle);

void BM_Timer1_Step(benchmark::State& state)
{
    PacingKeys keys;
    TrivialRandom random;
    Game game(keys, random);
    for (auto _ : state)
        game.form.Timer1_Timer();
    benchmark::DoNotOptimize(game.module.actorLeft);
}
BENCHMARK(BM_Timer1_Step);

void BM_Timer2(benchmark::State& state)
{
    // The character at its start and the monster at its own: no pellet there and no capture, so
    // every tick rewrites the score label and compares the positions, as most ticks of a game do.
    NoKeys keys;
    TrivialRandom random;
    Game game(keys, random);
    for (auto _ : state)
        game.form.Timer2_Timer();
    if (game.frontEnd.messageBoxes != 0)
        state.SkipWithError("the monster caught the character: the figure includes a message box");
}
BENCHMARK(BM_Timer2);

// The monster wanders; it cannot leave the board, and this handler never tests for a capture.
void BM_Timer3_ClockRandom(benchmark::State& state)
{
    NoKeys keys;
    game::ClockRandom random;
    Game game(keys, random);
    for (auto _ : state)
        game.form.Timer3_Timer();
    benchmark::DoNotOptimize(game.module.monsterLastDir);
}
BENCHMARK(BM_Timer3_ClockRandom);

void BM_Timer3_TrivialRandom(benchmark::State& state)
{
    NoKeys keys;
    TrivialRandom random;
    Game game(keys, random);
    for (auto _ : state)
        game.form.Timer3_Timer();
    benchmark::DoNotOptimize(game.module.monsterLastDir);
}
BENCHMARK(BM_Timer3_TrivialRandom);

template <typename Random>
void scoreDirections(benchmark::State& state, Random random)
{
    game::Module1 module;
    module.cellCode = 1;
    module.monsterLastDir = game::kRight;
    module.monsterChaseDir = game::kLeft;
    for (auto _ : state) {
        module.ScoreDirections(random);
        benchmark::DoNotOptimize(module.scoreDown);
    }
}

void BM_ScoreDirections_ClockRandom(benchmark::State& state) { scoreDirections(state, game::ClockRandom()); }
BENCHMARK(BM_ScoreDirections_ClockRandom);

void BM_ScoreDirections_CounterClock(benchmark::State& state) { scoreDirections(state, counterClockRandom()); }
BENCHMARK(BM_ScoreDirections_CounterClock);

void BM_ScoreDirections_TrivialRandom(benchmark::State& state) { scoreDirections(state, TrivialRandom()); }
BENCHMARK(BM_ScoreDirections_TrivialRandom);

} // namespace

BENCHMARK_MAIN();
