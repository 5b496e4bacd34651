// What the benchmark measures inside a program: when its window's client first paints, how the
// timers named Timer1..Timer3 tick, how much of the window repaints, what moved, and the CPU spent.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QRegion>

#include <array>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace bench {

struct ProbeOptions {
    // The runner's monotonic stamp taken just before it started this process; 0 when run by hand.
    std::int64_t parentStartNs = 0;
    // Time from the first paint to the start of the measured play, and the play's length.
    // A play of 0 s ends the program at its first paint: a start-up run.
    double warmupS = 1.0;
    double playS = 30.0;
    // Where the figures go; the runner reads them from the program's standard output.
    std::FILE* output = stdout;
};

// --t0 NS, --warmup S, --seconds S; std::nullopt with a message on stderr for anything else.
std::optional<ProbeOptions> parseProbeOptions(int argc, char** argv);

// Sum of the areas of a region's rectangles, which never overlap.
std::int64_t regionArea(const QRegion& region);

class PlayProbe final : public QObject {
public:
    static constexpr std::array<double, 3> kNominalMs{250, 50, 200};
    // Paints closer than this to the previous one belong to the same frame.
    static constexpr std::int64_t kFrameGapNs = 5'000'000;

    // Called before a timer's own slots, with 1 for Timer1 and so on.
    using TickHook = std::function<void(int timer)>;

    // Watches every object of the application; the window and its client must outlive the probe.
    PlayProbe(QWidget& window, QWidget& client, ProbeOptions options, TickHook onTick = {});
    ~PlayProbe() override;

    // The figures of the play so far, as "key value" lines.
    std::string report() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void firstPaint(std::int64_t now);
    void startPlay();
    void endPlay();
    void emitReport() const;
    void onPaint(QWidget& widget, const QRegion& region, std::int64_t now);
    void onLabelPaint(QLabel& label, const QRegion& region);
    void flushFrame();
    int timerIndex(QObject* object);

    QWidget& m_window;
    QWidget& m_client;
    ProbeOptions m_options;
    TickHook m_onTick;

    bool m_painted = false;
    bool m_playing = false;
    std::int64_t m_startupNs = -1;
    std::int64_t m_playStartNs = 0;
    std::int64_t m_playEndNs = 0;
    // User and system CPU, and context switches of all threads (X11 reader included).
    std::int64_t m_cpuStartUs[2]{};
    std::int64_t m_cpuUs[2]{};
    std::int64_t m_switchesStart = 0;
    std::int64_t m_switches = 0;

    QHash<QObject*, int> m_timerIndex;
    std::array<std::vector<std::int64_t>, 3> m_ticks;

    QRegion m_frame;
    std::int64_t m_lastPaintNs = 0;
    std::int64_t m_paintEvents = 0;
    std::int64_t m_paintedArea = 0;
    std::int64_t m_frames = 0;
    std::int64_t m_frameArea = 0;
    std::int64_t m_largestFrame = 0;
    std::int64_t m_fullFrames = 0;
    std::int64_t m_changedArea = 0;

    // Labels by the text they last painted: a repaint with the same text is wasted.
    QHash<QWidget*, QString> m_labelTexts;
    std::int64_t m_labelArea = 0;
    std::int64_t m_labelTextChanges = 0;
    std::int64_t m_labelSameTextPaints = 0;
};

} // namespace bench
