// Test doubles for the engine's platform: a recording main window, scripted keys and scripted dice.
#pragma once

#include "platform.h"
#include "runtime_error.h"

#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fakes {

// Whole twips print as integers so that logs read like the window's own property sheet.
inline std::string twips(float value)
{
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e9f)
        return std::to_string(static_cast<long long>(value));
    std::ostringstream out;
    out.precision(9);
    out << value;
    return out.str();
}

inline const char* boolText(bool value) { return value ? "True" : "False"; }

// One control of the main window. Writes through the game interface are logged as
// "Name.Property=Value"; the test-side setters arrange a scene without logging.
class FakeControl final : public game::Control {
public:
    FakeControl(std::string name, std::vector<std::string>& log, float left, float top)
        : m_name(std::move(name)), m_log(log), m_left(left), m_top(top)
    {
    }

    float top() const override { return m_top; }
    float left() const override { return m_left; }
    void setTop(float twipsValue) override { m_top = twipsValue; record("Top", twips(twipsValue)); }
    void setLeft(float twipsValue) override { m_left = twipsValue; record("Left", twips(twipsValue)); }
    bool visible() const override { return m_visible; }
    void setVisible(bool value) override { m_visible = value; record("Visible", boolText(value)); }
    void setCaption(std::string_view text) override
    {
        m_caption = text;
        record("Caption", m_caption);
    }
    void setEnabled(bool value) override { m_enabled = value; record("Enabled", boolText(value)); }

    void place(float top, float left) { m_top = top; m_left = left; }
    void show(bool value) { m_visible = value; }
    const std::string& caption() const { return m_caption; }
    bool enabled() const { return m_enabled; }

private:
    void record(const char* property, const std::string& value) { m_log.push_back(m_name + "." + property + "=" + value); }

    std::string m_name;
    std::vector<std::string>& m_log;
    float m_left;
    float m_top;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_caption;
};

// The main window with its design-time controls: every picture, image and the label visible,
// the label's caption empty, the three timers enabled.
class FakeForm1Host final : public game::Form1Host {
public:
    FakeForm1Host()
    {
        struct Design { const char* name; float left; float top; };
        static constexpr Design kDesign[] = {
            {"Picture4", 50, 50}, {"Picture3", 2070, 1860}, {"Picture1", 2070, 3060},
            {"Picture2", 2880, 3030}, {"Picture5", 4650, 1230}, {"Timer3", 0, 0}, {"Timer2", 0, 0},
            {"Timer1", 0, 0}, {"Image20", 2910, 5460}, {"Image19", 4440, 3870}, {"Image18", 2700, 2460},
            {"Label2", 0, 7170}, {"Image17", 2230, 5325}, {"Image16", 1610, 5325}, {"Image15", 990, 5325},
            {"Image14", 370, 5325}, {"Image13", 370, 4710}, {"Image12", 370, 4095}, {"Image11", 375, 3465},
            {"Image10", 370, 2850}, {"Image9", 370, 2230}, {"Image8", 370, 1610}, {"Image7", 2850, 330},
            {"Image6", 370, 990}, {"Image5", 2230, 330}, {"Image3", 1610, 330}, {"Image4", 990, 330},
            {"Image2", 690, 5580}, {"Image1", -210, 630},
        };
        for (const Design& d : kDesign)
            m_controls.emplace(d.name, std::make_unique<FakeControl>(d.name, log, d.left, d.top));
    }

    game::Control& control(std::string_view name) override { return at(name); }

    FakeControl& at(std::string_view name)
    {
        const auto found = m_controls.find(name);
        if (found == m_controls.end())
            throw game::RuntimeError::objectRequired(std::string(name));
        return *found->second;
    }

    void messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        log.push_back("MsgBox(" + std::string(prompt) + "|" + std::to_string(style) + "|" + std::string(title) + ")");
        ++messageBoxes;
        if (whileBoxIsOpen)
            whileBoxIsOpen();
    }

    void unloadForm1() override
    {
        log.push_back("Unload Form1");
        unloaded = true;
    }

    std::vector<std::string> log;
    int messageBoxes = 0;
    bool unloaded = false;
    // Runs inside the modal box, as the event loop would while the player reads it.
    std::function<void()> whileBoxIsOpen;

private:
    std::map<std::string, std::unique_ptr<FakeControl>, std::less<>> m_controls;
};

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

} // namespace fakes
