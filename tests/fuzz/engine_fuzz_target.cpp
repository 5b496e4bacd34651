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
// Opcodes are taken modulo 5. A missing byte reads as zero, so every input is a valid game.
// While the game-over box is open, the next (byte % 4) events arrive as nested timer ticks, the way
// a modal box's event loop would deliver them.
#include "ui/app/app.h"
#include "game/form1.h"
#include "game/module1.h"
#include "ui/app/null_front_end.h"
#include "game/runtime_error.h"
#include "ui/app/stored_control.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>

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

constexpr std::array<const char*, 15> kPellets{"Image4",  "Image3",  "Image5",  "Image7",  "Image6",
                                               "Image8",  "Image9",  "Image10", "Image11", "Image12",
                                               "Image13", "Image14", "Image15", "Image16", "Image17"};
constexpr std::array<const char*, 4> kFacings{"Picture1", "Picture2", "Picture3", "Picture4"};

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

// The program on the null front end. The fuzzer runs the handlers itself, so that a runtime error
// reaches it instead of the program's error box.
struct Game {
    explicit Game(Bytes& in) : in(in), dice(in), app(frontEnd, dice, &keys), module(app.module())
    {
        frontEnd.whileBoxIsOpen = [this] { whileBoxIsOpen(); };
        app.start();
        check(frontEnd.errors.empty(), "the main window did not load", frontEnd.errors.empty() ? "" : frontEnd.errors[0]);
        // Bound once, as the rules bind them. After a capture they outlive the unloading until the
        // program's next event, and the fuzzer sends none.
        form = app.rules();
        app::LoadedWindow& form1 = *app.window(app::FormId::Form1);
        for (std::size_t i = 0; i < kPellets.size(); ++i)
            pellets[i] = &form1.control(kPellets[i]);
        for (std::size_t i = 0; i < kFacings.size(); ++i)
            facings[i] = &form1.control(kFacings[i]);
        monsterControl = &form1.control("Picture5");
        label = &form1.control("Label2");
    }

    app::StoredControl& monster() { return *monsterControl; }
    bool unloaded() const { return !app.loaded(app::FormId::Form1); }

    void checkInvariants()
    {
        check(onGrid(module.actorTop, 10) && onGrid(module.actorLeft, 17), "character off the board",
              std::to_string(module.actorTop) + "," + std::to_string(module.actorLeft));
        check(module.cellCode <= 12, "cell code out of range");

        int hidden = 0;
        for (const app::StoredControl* pellet : pellets)
            hidden += pellet->visible() ? 0 : 1;
        check(form->points == hidden, "score differs from the pellets eaten");
        checkShownMonster();

        if (frontEnd.messageBoxes == 0) {
            int shown = 0;
            for (const app::StoredControl* facing : facings) {
                if (!facing->visible())
                    continue;
                ++shown;
                check(facing->top() == module.actorTop && facing->left() == module.actorLeft,
                      "visible facing away from the character");
            }
            check(shown == 1, "not exactly one facing shown");
        }
    }

    // Where a front end would put the monster's picture: within half a pixel of its twips and
    // within reach of any window system, or nowhere when it is beyond that. NaN and huge values
    // included, never undefined behaviour.
    void checkShownMonster()
    {
        const std::optional<app::PixelPoint> shown = monster().pixelPosition();
        const double x = monster().left() / 15.0;
        const double y = monster().top() / 15.0;
        if (!shown) {
            check(!(std::fabs(x) < 29999.0 && std::fabs(y) < 29999.0), "a placeable monster has no pixel position");
            return;
        }
        check(std::abs(shown->x) < 30000 && std::abs(shown->y) < 30000, "pixel position beyond window systems");
        check(std::fabs(shown->x - x) <= 0.5 && std::fabs(shown->y - y) <= 0.5, "pixel position off its twips",
              std::to_string(shown->x) + "," + std::to_string(shown->y));
    }

    // Runs one tick of a timer the way the toolkit does: only while the timer is enabled.
    void tick(int which)
    {
        const char* timer = which == 0 ? "Timer1" : which == 1 ? "Timer2" : "Timer3";
        if (!frontEnd.running(timer))
            return;
        switch (which) {
        case 0: playerTick(); break;
        case 1: pelletTick(); break;
        default: monsterTick(); break;
        }
    }

    void playerTick()
    {
        keys.next[game::ArrowKey::Down] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Right] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Up] = in.raw<std::int16_t>();
        keys.next[game::ArrowKey::Left] = in.raw<std::int16_t>();
        // Confinement keeps the character on the board, so no step can overflow.
        try {
            form->Timer1_Timer();
        } catch (const game::RuntimeError& error) {
            fail("player tick raised", error.what());
        }
    }

    void pelletTick()
    {
        const bool capture = monster().left() == static_cast<float>(module.actorLeft) &&
                             monster().top() == static_cast<float>(module.actorTop);
        const int boxesBefore = frontEnd.messageBoxes;
        // At most fifteen points: the score cannot overflow.
        try {
            form->Timer2_Timer();
        } catch (const game::RuntimeError& error) {
            fail("pellet tick raised", error.what());
        }
        check(label->caption() == "nombres de points: " + std::to_string(form->points),
              "score label out of step");
        if (boxesBefore > 0)
            return; // a nested tick inside the box: judged by the box itself
        check((frontEnd.messageBoxes == 1) == capture, "game-over box without a capture, or a capture without one");
        check(frontEnd.messageBoxes <= 1, "more than one game-over box for one capture");
        check(unloaded() == capture, "main window not unloaded exactly after the game-over box");
        if (capture)
            check(frontEnd.endStatus == 0, "the program did not end with its last window");
    }

    void monsterTick()
    {
        const std::int16_t top = module.actorTop;
        const std::int16_t left = module.actorLeft;
        const float monsterTop = monster().top();
        const float monsterLeft = monster().left();
        dice.outOfContract = false;

        try {
            form->Timer3_Timer();
        } catch (const game::RuntimeError&) {
            // The runtime error ends the program: judge it and carry it on up.
            if (!dice.outOfContract)
                check(expectOverflow(top, left, monsterTop, monsterLeft), "overflow raised on a position that fits");
            throw;
        }

        check(module.actorTop == top && module.actorLeft == left, "shared position not given back");
        if (dice.outOfContract)
            return;
        check(!expectOverflow(top, left, monsterTop, monsterLeft), "position beyond 16 bits went through");
        for (const std::int16_t w : {module.scoreRight, module.scoreLeft, module.scoreUp, module.scoreDown})
            check(w >= 0 && w <= 16, "weight outside 0..16");
        const float dTop = monster().top() - monsterTop;
        const float dLeft = monster().left() - monsterLeft;
        const bool horizontal = dTop == 0 && std::fabs(std::fabs(dLeft) - 620.0f) < 0.01f;
        const bool vertical = dLeft == 0 && std::fabs(std::fabs(dTop) - 620.0f) < 0.01f;
        check(horizontal != vertical, "monster did not make exactly one step");
        const std::uint8_t expectedDir = horizontal ? (dLeft > 0 ? game::kRight : game::kLeft)
                                                    : (dTop > 0 ? game::kDown : game::kUp);
        check(module.monsterLastDir == expectedDir, "last direction does not match the step");
        if (insidePlayArea(monsterTop, monsterLeft))
            check(insidePlayArea(monster().top(), monster().left()), "monster left the playing area");
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
        monster().setTop(top);
        monster().setLeft(left);
    }

    void event()
    {
        switch (in.u8() % 5) {
        case 0: tick(0); break;
        case 1: tick(1); break;
        case 2: tick(2); break;
        case 3: placeMonster(); break;
        default:
            monster().setTop(module.actorTop);
            monster().setLeft(module.actorLeft);
            break;
        }
    }

    void whileBoxIsOpen()
    {
        check(frontEnd.messageBoxes == 1, "second game-over box");
        const app::NullFrontEnd::Box& box = frontEnd.boxes.back();
        check(box.prompt == "Niark Niark !!!!!! GAME OVER !!!!!!    points:" + std::to_string(form->points),
              "game-over prompt", box.prompt);
        check(box.style == 16 && box.title == "Tu t'est fait manger ^^", "game-over box style or title");
        for (const app::StoredControl* facing : facings)
            check(!facing->visible(), "character still shown under the game-over box");
        // The modal box runs an event loop: whatever ticks are still enabled arrive now.
        for (int nested = in.u8() % 4; nested > 0; --nested)
            tick(in.u8() % 3);
    }

    Bytes& in;
    Keys keys;
    Dice dice;
    app::NullFrontEnd frontEnd{app::NullFrontEnd::Recording::Off};
    app::App app;
    game::Module1& module;
    game::Form1* form = nullptr;
    std::array<app::StoredControl*, 15> pellets{};
    std::array<app::StoredControl*, 4> facings{};
    app::StoredControl* monsterControl = nullptr;
    app::StoredControl* label = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    Game g(in);
    g.checkInvariants();
    try {
        while (!in.empty() && !g.unloaded()) {
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
