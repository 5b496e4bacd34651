// A front end with no window at all, for tests, fuzzing and benchmarks: it records, and time is stepped.
#pragma once

#include "ui/app/front_end.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class NullFrontEnd final : public FrontEnd {
public:
    enum class Recording { On, Off };
    explicit NullFrontEnd(Recording recording = Recording::On) : m_recording(recording == Recording::On) {}

    std::unique_ptr<WindowView> makeWindow(FormId id, const forms::FormDef& form, Input& input) override;
    std::unique_ptr<TimerView> makeTimer(const forms::TimerDef& timer, std::function<void()> tick) override;
    void messageBox(std::string_view prompt, BoxIcon icon, std::string_view title,
                    std::function<void()> closed) override;
    void reportError(std::string_view report, std::function<void()> closed) override;
    void pressEnter() override;
    void endProgram(int status) override;

    // Steps the clock: every tick due within `ms` milliseconds runs, in time order (timers due at
    // the same moment in the order they were made).
    void advance(std::int64_t ms);
    // Runs one tick of the named timer now, whether it is running or not; false if there is none.
    bool tick(std::string_view timer);
    bool running(std::string_view timer) const;

    // Whether that window is on the screen (shown and not unloaded).
    bool shown(std::string_view form) const;

    // One line per event: "Picture1.Top=670", "Label2.Caption=...",
    // "Show Form2", "Unload Form1", "MsgBox(prompt|16|title)", "Error(report)", "Enter".
    std::vector<std::string> log;
    int messageBoxes = 0;
    struct Box {
        std::string prompt;
        int style;
        std::string title;
    };
    // Every message box shown, kept even with the recording off, as the errors are.
    std::vector<Box> boxes;
    std::vector<std::string> errors;
    std::optional<int> endStatus;
    // Runs inside the modal box, as the event loop would while the player reads it.
    std::function<void()> whileBoxIsOpen;
    // Boxes are closed later, by calling what they left here, as a platform that must first let a
    // menu go closes them.
    bool holdBoxes = false;
    std::vector<std::function<void()>> heldBoxes;

private:
    class Window;
    class Timer;
    friend class Window;
    friend class Timer;

    void record(std::string line);

    bool m_recording;
    std::int64_t m_now = 0;
    std::uint64_t m_madeTimers = 0;
    std::vector<Window*> m_windows;
    std::vector<Timer*> m_timers;
};

} // namespace app
