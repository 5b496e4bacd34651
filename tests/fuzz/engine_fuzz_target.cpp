// Engine fuzz target: plays a game from a byte string of timer ticks, key reports, random draws and
// monster placements, and checks after every event what must hold whatever the input.
//
// Input, one event after another (see make_seeds.py for the same format in writing):
//   0 player tick   then 4 x int16 (little-endian): the key reports for down, right, up, left
//   1 pellet tick
//   2 monster tick  then, per random draw the tick asks for: one kind byte; kind < 0xF0 takes a
//                   uint32 fraction in [0, 1), any other kind a raw double (NaN, 1e9, -3 ...)
//   3 place monster then a mode byte and its operands (placeMonster below)
//   4 monster onto the character, for captures
// Opcodes are taken modulo 5. A missing byte reads as zero, so every input is a valid game. A
// capture ends the game (the window that showed it is unloaded): the rest of the input is unread.
#include "game/controls.h"
#include "game/form1.h"
#include "game/module1.h"
#include "game/runtime_error.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <string>

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "engine fuzz: invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

void check(bool ok, const char* what, const std::string& detail = {})
{
    if (!ok)
        fail(what, detail);
}

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }
    std::uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    template <typename T>
    T raw()
    {
        std::array<std::uint8_t, sizeof(T)> bytes{};
        for (auto& b : bytes)
            b = u8();
        T value;
        std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

using game::ControlId;

constexpr std::array kPellets{ControlId::Image3,  ControlId::Image4,  ControlId::Image5,  ControlId::Image6,
                              ControlId::Image7,  ControlId::Image8,  ControlId::Image9,  ControlId::Image10,
                              ControlId::Image11, ControlId::Image12, ControlId::Image13, ControlId::Image14,
                              ControlId::Image15, ControlId::Image16, ControlId::Image17};
constexpr std::array kFacings{ControlId::Picture1, ControlId::Picture2, ControlId::Picture3, ControlId::Picture4};
constexpr std::array kTimers{ControlId::Timer1, ControlId::Timer2, ControlId::Timer3};

class Keys final : public game::KeySource {
public:
    // Filled per tick from the input; a query consumes its report.
    std::map<game::ArrowKey, std::int16_t> next;
    std::int16_t GetAsyncKeyState(game::ArrowKey key) override
    {
        const std::int16_t bits = next[key];
        next[key] = 0;
        return bits;
    }
};

class Dice final : public game::RandomSource {
public:
    explicit Dice(Bytes& in) : m_in(in) {}
    void reseedFromClock() override {}
    double draw() override
    {
        const std::uint8_t kind = m_in.u8();
        if (kind < 0xF0)
            return m_in.raw<std::uint32_t>() * 0x1.0p-32;
        const double any = m_in.raw<double>();
        if (!(any >= 0.0 && any < 1.0))
            outOfContract = true;
        return any;
    }
    bool outOfContract = false;

private:
    Bytes& m_in;
};

bool onGrid(int value, int lastIndex)
{
    return value >= 50 && value <= 50 + 620 * lastIndex && (value - 50) % 620 == 0;
}

// Whether the runtime's float-to-16-bit conversion (round half to even) fits.
bool fits16(float value)
{
    if (!std::isfinite(value))
        return false;
    const double v = value;
    return (v > -32768.5 && v < 32767.5) || v == -32768.5;
}

bool insidePlayArea(float top, float left) { return top >= 50 && top <= 6250 && left >= 50 && left <= 10590; }

// The controls before the load: everything shown, the timers running. Where the pictures start
// does not matter, the load places them.
game::Form1Controls designTime()
{
    game::Form1Controls controls;
    for (game::ControlState& state : controls.states)
        state = {0, 0, true, true};
    return controls;
}

// Whoever shows the window follows the writes alone: they must account for every change.
void checkWrites(const game::Form1Controls& before, const game::Form1Controls& after, const game::Writes& writes)
{
    game::Form1Controls shown = before;
    for (const game::Write& w : writes)
        check(game::store(shown, w.control, w.value) == w.changed, "a write that says wrongly whether it changed",
              game::describe(w));
    // NaN positions never compare equal: compare the bits.
    for (std::size_t i = 0; i < game::kControlCount; ++i) {
        const game::ControlState& a = shown.states[i];
        const game::ControlState& b = after.states[i];
        check(std::memcmp(&a.top, &b.top, sizeof a.top) == 0 && std::memcmp(&a.left, &b.left, sizeof a.left) == 0 &&
                  a.visible == b.visible && a.enabled == b.enabled,
              "a change the writes do not report", std::string(game::controlName(game::controlAt(i))));
    }
    check(shown.label2Caption == after.label2Caption, "a caption change the writes do not report");
}

// The main window's rules after their load. The fuzzer runs the handlers itself, so that a
// runtime error reaches it.
struct Game {
    explicit Game(Bytes& in) : in(in), dice(in) { (void)form.Form_Load(); }

    game::ControlState& monster() { return form.controls[ControlId::Picture5]; }

    void checkInvariants()
    {
        check(onGrid(module.actorTop, 10) && onGrid(module.actorLeft, 17), "character off the board",
              std::to_string(module.actorTop) + "," + std::to_string(module.actorLeft));
        check(module.cellCode <= 12, "cell code out of range");

        int hidden = 0;
        for (const ControlId pellet : kPellets)
            hidden += form.controls[pellet].visible ? 0 : 1;
        check(form.points == hidden, "score differs from the pellets eaten");

        if (captured) {
            for (const ControlId facing : kFacings)
                check(!form.controls[facing].visible, "character still shown after the capture");
            for (const ControlId timer : kTimers)
                check(!form.controls[timer].enabled, "a timer still runs after the capture");
            return;
        }
        int shown = 0;
        for (const ControlId facing : kFacings) {
            const game::ControlState& picture = form.controls[facing];
            if (!picture.visible)
                continue;
            ++shown;
            check(picture.top == module.actorTop && picture.left == module.actorLeft,
                  "visible facing away from the character");
        }
        check(shown == 1, "not exactly one facing shown");
        for (const ControlId timer : kTimers)
            check(form.controls[timer].enabled, "a timer stopped before any capture");
    }

    // Runs one tick of a timer the way the toolkit does: only while the timer is enabled.
    void tick(int which)
    {
        if (!form.controls[kTimers[static_cast<std::size_t>(which)]].enabled)
            return;
        const game::Form1Controls before = form.controls;
        switch (which) {
        case 0: checkWrites(before, form.controls, playerTick()); break;
        case 1: checkWrites(before, form.controls, pelletTick()); break;
        default: checkWrites(before, form.controls, monsterTick()); break;
        }
    }

    game::Writes playerTick()
    {
        keys.next[game::ArrowKey::Down] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Right] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Up] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Left] = in.raw<std::int16_t>();
        // Confinement keeps the character on the board, so no step can overflow.
        try {
            return form.Timer1_Timer(keys);
        } catch (const game::RuntimeError& error) {
            fail("player tick raised", error.what());
        }
    }

    game::Writes pelletTick()
    {
        const bool capture = monster().left == static_cast<float>(module.actorLeft) &&
                             monster().top == static_cast<float>(module.actorTop);
        game::PelletTick tick;
        // At most fifteen points: the score cannot overflow.
        try {
            tick = form.Timer2_Timer();
        } catch (const game::RuntimeError& error) {
            fail("pellet tick raised", error.what());
        }
        check(form.controls.label2Caption == "nombres de points: " + std::to_string(form.points),
              "score label out of step");
        check(tick.capture.has_value() == capture, "a capture reported without the monster on the character, or missed");
        if (capture) {
            check(tick.capture->prompt == "Niark Niark !!!!!! GAME OVER !!!!!!    points:" + std::to_string(form.points),
                  "game-over prompt", tick.capture->prompt);
            // One capture, one box: every timer stopped, then the character hidden, last of the writes.
            check(tick.writes.size() >= kTimers.size() + kFacings.size(), "capture writes missing");
            const game::Write* w = tick.writes.end() - kTimers.size() - kFacings.size();
            for (const ControlId timer : kTimers) {
                check(w->control == timer && w->value == game::PropertyValue{game::Enabled{false}},
                      "capture did not stop the timers in order");
                ++w;
            }
            for (const ControlId facing : kFacings) {
                check(w->control == facing && w->value == game::PropertyValue{game::Visible{false}},
                      "capture did not hide the character in order");
                ++w;
            }
            captured = true;
        }
        return tick.writes;
    }

    game::Writes monsterTick()
    {
        const std::int16_t top = module.actorTop;
        const std::int16_t left = module.actorLeft;
        const float monsterTop = monster().top;
        const float monsterLeft = monster().left;
        dice.outOfContract = false;

        game::Writes writes;
        try {
            writes = form.Timer3_Timer(dice);
        } catch (const game::RuntimeError&) {
            // The runtime error ends the program: judge it and carry it on up.
            if (!dice.outOfContract)
                check(expectOverflow(top, left, monsterTop, monsterLeft), "overflow raised on a position that fits");
            throw;
        }

        check(module.actorTop == top && module.actorLeft == left, "shared position not given back");
        if (dice.outOfContract)
            return writes;
        check(!expectOverflow(top, left, monsterTop, monsterLeft), "position beyond 16 bits went through");
        for (const std::int16_t w : {module.scoreRight, module.scoreLeft, module.scoreUp, module.scoreDown})
            check(w >= 0 && w <= 16, "weight outside 0..16");
        const float dTop = monster().top - monsterTop;
        const float dLeft = monster().left - monsterLeft;
        const bool horizontal = dTop == 0 && std::fabs(std::fabs(dLeft) - 620.0f) < 0.01f;
        const bool vertical = dLeft == 0 && std::fabs(std::fabs(dTop) - 620.0f) < 0.01f;
        check(horizontal != vertical, "monster did not make exactly one step");
        const std::uint8_t expectedDir = horizontal ? (dLeft > 0 ? game::kRight : game::kLeft)
                                                    : (dTop > 0 ? game::kDown : game::kUp);
        check(module.monsterLastDir == expectedDir, "last direction does not match the step");
        if (insidePlayArea(monsterTop, monsterLeft))
            check(insidePlayArea(monster().top, monster().left), "monster left the playing area");
        return writes;
    }

    // The tick converts both coordinates, then the two gaps it measures, each to 16 bits.
    static bool expectOverflow(std::int16_t top, std::int16_t left, float monsterTop, float monsterLeft)
    {
        if (!fits16(monsterTop) || !fits16(monsterLeft))
            return true;
        const float gapTop = static_cast<float>(top) - monsterTop;
        const float gapLeft = static_cast<float>(left) - monsterLeft;
        return !fits16(std::fabs(gapTop)) || !fits16(std::fabs(gapLeft));
    }

    void placeMonster()
    {
        const std::uint8_t mode = in.u8();
        float top = 0;
        float left = 0;
        switch (mode % 4) {
        case 0: { // any grid cell, far off the board included
            top = 50.0f + 620.0f * static_cast<std::int8_t>(in.u8());
            left = 50.0f + 620.0f * static_cast<std::int8_t>(in.u8());
            break;
        }
        case 1: // anything a float can hold
            top = in.raw<float>();
            left = in.raw<float>();
            break;
        case 2: { // near the 16-bit limit, on either side and either axis, in half-twip steps
            const float limit = (mode & 0x10) ? -32768.5f : 32767.5f;
            const float offset = in.u8() * 0.5f;
            const float nearLimit = limit + ((mode & 0x10) ? offset : -offset);
            const float onBoard = 50.0f + 620.0f * (in.u8() % 11);
            top = (mode & 0x20) ? nearLimit : onBoard;
            left = (mode & 0x20) ? onBoard : nearLimit;
            break;
        }
        default: // a cell of the playing area
            top = 50.0f + 620.0f * (in.u8() % 11);
            left = 50.0f + 620.0f * (in.u8() % 18);
            break;
        }
        monster().top = top;
        monster().left = left;
    }

    void event()
    {
        switch (in.u8() % 5) {
        case 0: tick(0); break;
        case 1: tick(1); break;
        case 2: tick(2); break;
        case 3: placeMonster(); break;
        default:
            monster().top = module.actorTop;
            monster().left = module.actorLeft;
            break;
        }
    }

    Bytes& in;
    Keys keys;
    Dice dice;
    game::Form1 form{designTime()};
    game::Module1& module = form.module;
    bool captured = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    Game g(in);
    g.checkInvariants();
    try {
        while (!in.empty() && !g.captured) {
            g.event();
            g.checkInvariants();
        }
    } catch (const game::RuntimeError& error) {
        // A runtime error ends the program with its report; overflow is the only one the rules can raise.
        check(error.number() == game::ErrorNumber::Overflow, "runtime error other than overflow", error.what());
        const std::string report = error.report();
        check(report.find("Erreur d'exécution '6'") != std::string::npos &&
                  report.find("Dépassement de capacité") != std::string::npos,
              "overflow report", report);
    } catch (const std::exception& error) {
        fail("unexpected exception", error.what());
    }
    return 0;
}
