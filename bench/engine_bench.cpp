// The engine's handlers timed alone on a Form1 value, so the figures are the rules' own cost with
// no application layer or toolkit behind them.
#include "game/controls.h"
#include "game/form1.h"
#include "game/module1.h"
#include "game/sources.h"

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

// The rules after their load, everything shown and the timers running; the benchmarks call the
// handlers.
game::Form1 started()
{
    game::Form1Controls controls;
    for (game::ControlState& state : controls.states)
        state = {0, 0, true, true};
    game::Form1 form(controls);
    (void)form.Form_Load();
    return form;
}

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
    game::Form1 form = started();
    for (auto _ : state) {
        const game::Writes writes = form.Timer1_Timer(keys);
        benchmark::DoNotOptimize(writes);
    }
    benchmark::DoNotOptimize(form.module.actorLeft);
}
BENCHMARK(BM_Timer1_Idle);

void BM_Timer1_Step(benchmark::State& state)
{
    PacingKeys keys;
    game::Form1 form = started();
    for (auto _ : state) {
        const game::Writes writes = form.Timer1_Timer(keys);
        benchmark::DoNotOptimize(writes);
    }
    benchmark::DoNotOptimize(form.module.actorLeft);
}
BENCHMARK(BM_Timer1_Step);

void BM_Timer2(benchmark::State& state)
{
    // The character at its start and the monster at its own: no pellet there and no capture, so
    // every tick rewrites the score label and compares the positions, as most ticks of a game do.
    game::Form1 form = started();
    bool captured = false;
    for (auto _ : state) {
        const game::PelletTick tick = form.Timer2_Timer();
        captured = captured || tick.capture.has_value();
        benchmark::DoNotOptimize(tick);
    }
    if (captured)
        state.SkipWithError("the monster caught the character: the figure includes the capture");
}
BENCHMARK(BM_Timer2);

// The monster wanders; it cannot leave the board, and this handler never tests for a capture.
void BM_Timer3_TrivialRandom(benchmark::State& state)
{
    TrivialRandom random;
    game::Form1 form = started();
    for (auto _ : state) {
        const game::Writes writes = form.Timer3_Timer(random);
        benchmark::DoNotOptimize(writes);
    }
    benchmark::DoNotOptimize(form.module.monsterLastDir);
}
BENCHMARK(BM_Timer3_TrivialRandom);

void BM_ScoreDirections_TrivialRandom(benchmark::State& state)
{
    game::Module1 module;
    module.cellCode = 1;
    module.monsterLastDir = game::kRight;
    module.monsterChaseDir = game::kLeft;
    TrivialRandom random;
    for (auto _ : state) {
        module.ScoreDirections(random);
        benchmark::DoNotOptimize(module.scoreDown);
    }
}
BENCHMARK(BM_ScoreDirections_TrivialRandom);

} // namespace

BENCHMARK_MAIN();
