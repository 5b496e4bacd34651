#include "bench/play_probe.h"

#include "bench/stats.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/resource.h>

namespace bench {
namespace {

std::int64_t microseconds(const timeval& t) { return std::int64_t{t.tv_sec} * 1'000'000 + t.tv_usec; }

// Area of the union of a widget's rectangle before and after a move.
std::int64_t movedArea(QPoint from, QPoint to, QSize size)
{
    return regionArea(QRegion(QRect(from, size)).united(QRect(to, size)));
}

} // namespace

std::optional<ProbeOptions> parseProbeOptions(int argc, char** argv)
{
    ProbeOptions options;
    for (int i = 1; i < argc; ++i) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        char* end = nullptr;
        if (std::strcmp(argv[i], "--t0") == 0 && value)
            options.parentStartNs = std::strtoll(value, &end, 10);
        else if (std::strcmp(argv[i], "--warmup") == 0 && value)
            options.warmupS = std::strtod(value, &end);
        else if (std::strcmp(argv[i], "--seconds") == 0 && value)
            options.playS = std::strtod(value, &end);
        if (!end || *end != '\0' || end == value) {
            std::fprintf(stderr, "usage: %s [--t0 MONOTONIC_NS] [--warmup SECONDS] [--seconds SECONDS]\n", argv[0]);
            return std::nullopt;
        }
        ++i;
    }
    if (options.warmupS < 0 || options.playS < 0) {
        std::fprintf(stderr, "%s: durations cannot be negative\n", argv[0]);
        return std::nullopt;
    }
    return options;
}

std::int64_t regionArea(const QRegion& region)
{
    std::int64_t area = 0;
    for (const QRect& rect : region)
        area += std::int64_t{rect.width()} * rect.height();
    return area;
}

PlayProbe::PlayProbe(QWidget& window, QWidget& client, ProbeOptions options, TickHook onTick)
    : m_window(window), m_client(client), m_options(options), m_onTick(std::move(onTick))
{
    QCoreApplication::instance()->installEventFilter(this);
}

PlayProbe::~PlayProbe() { QCoreApplication::instance()->removeEventFilter(this); }

int PlayProbe::timerIndex(QObject* object)
{
    const auto found = m_timerIndex.constFind(object);
    if (found != m_timerIndex.constEnd())
        return *found;
    int index = 0;
    if (qobject_cast<QTimer*>(object)) {
        const QString name = object->objectName();
        for (int i = 1; i <= 3; ++i)
            if (name == QStringLiteral("Timer%1").arg(i))
                index = i;
    }
    m_timerIndex.insert(object, index);
    return index;
}

bool PlayProbe::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Timer:
        if (const int timer = timerIndex(watched)) {
            if (m_playing)
                m_ticks[static_cast<std::size_t>(timer - 1)].push_back(monotonicNs());
            if (m_onTick)
                m_onTick(timer);
        }
        break;
    case QEvent::Paint: {
        if (!watched->isWidgetType())
            break;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != &m_window)
            break;
        const std::int64_t now = monotonicNs();
        if (!m_painted && widget == &m_client)
            firstPaint(now);
        const QRegion& region = static_cast<QPaintEvent*>(event)->region();
        if (auto* label = qobject_cast<QLabel*>(widget))
            onLabelPaint(*label, region);
        if (m_playing)
            onPaint(*widget, region, now);
        break;
    }
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide: {
        if (!m_playing || !watched->isWidgetType())
            break;
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() || widget->window() != &m_window)
            break;
        if (event->type() != QEvent::Move)
            m_changedArea += std::int64_t{widget->width()} * widget->height();
        else if (widget->isVisible()) {
            const auto* move = static_cast<QMoveEvent*>(event);
            m_changedArea += movedArea(move->oldPos(), move->pos(), widget->size());
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void PlayProbe::firstPaint(std::int64_t now)
{
    m_painted = true;
    if (m_options.parentStartNs > 0)
        m_startupNs = now - m_options.parentStartNs;
    if (m_options.playS <= 0) {
        emitReport();
        QCoreApplication::exit(0);
        return;
    }
    QTimer::singleShot(static_cast<int>(m_options.warmupS * 1000), Qt::PreciseTimer, this, [this] { startPlay(); });
}

void PlayProbe::startPlay()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    m_cpuStartUs[0] = microseconds(usage.ru_utime);
    m_cpuStartUs[1] = microseconds(usage.ru_stime);
    m_switchesStart = usage.ru_nvcsw + usage.ru_nivcsw;
    m_playStartNs = monotonicNs();
    m_playing = true;
    QTimer::singleShot(static_cast<int>(m_options.playS * 1000), Qt::PreciseTimer, this, [this] { endPlay(); });
}

void PlayProbe::endPlay()
{
    m_playing = false;
    m_playEndNs = monotonicNs();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    m_cpuUs[0] = microseconds(usage.ru_utime) - m_cpuStartUs[0];
    m_cpuUs[1] = microseconds(usage.ru_stime) - m_cpuStartUs[1];
    m_switches = usage.ru_nvcsw + usage.ru_nivcsw - m_switchesStart;
    flushFrame();
    emitReport();
    QCoreApplication::exit(0);
}

void PlayProbe::emitReport() const
{
    if (!m_options.output)
        return;
    std::fputs(report().c_str(), m_options.output);
    std::fflush(m_options.output);
}

void PlayProbe::onPaint(QWidget& widget, const QRegion& region, std::int64_t now)
{
    ++m_paintEvents;
    m_paintedArea += regionArea(region);
    if (now - m_lastPaintNs > kFrameGapNs)
        flushFrame();
    m_lastPaintNs = now;
    // Children paint in their own coordinates; a frame is the union on the window.
    m_frame += region.translated(widget.mapTo(&m_window, QPoint(0, 0)));
}

void PlayProbe::onLabelPaint(QLabel& label, const QRegion& region)
{
    const QString text = label.text();
    const auto found = m_labelTexts.constFind(&label);
    const bool sameText = found != m_labelTexts.constEnd() && *found == text;
    m_labelTexts.insert(&label, text);
    if (!m_playing)
        return;
    m_labelArea += regionArea(region);
    ++(sameText ? m_labelSameTextPaints : m_labelTextChanges);
}

void PlayProbe::flushFrame()
{
    if (m_frame.isEmpty())
        return;
    const std::int64_t area = regionArea(m_frame);
    ++m_frames;
    m_frameArea += area;
    m_largestFrame = std::max(m_largestFrame, area);
    if (area * 10 >= std::int64_t{m_client.width()} * m_client.height() * 9)
        ++m_fullFrames;
    m_frame = QRegion();
}

std::string PlayProbe::report() const
{
    std::ostringstream out;
    out.precision(9);
    out << "startup_ns " << m_startupNs << '\n';
    if (m_playEndNs == 0)
        return out.str();
    out << "play_ns " << (m_playEndNs - m_playStartNs) << '\n'
        << "cpu_user_us " << m_cpuUs[0] << '\n'
        << "cpu_sys_us " << m_cpuUs[1] << '\n'
        << "context_switches " << m_switches << '\n'
        << "client_px " << std::int64_t{m_client.width()} * m_client.height() << '\n'
        << "paint_events " << m_paintEvents << '\n'
        << "painted_px " << m_paintedArea << '\n'
        << "frames " << m_frames << '\n'
        << "frame_px " << m_frameArea << '\n'
        << "largest_frame_px " << m_largestFrame << '\n'
        << "full_frames " << m_fullFrames << '\n'
        << "changed_px " << m_changedArea << '\n'
        << "label_px " << m_labelArea << '\n'
        << "label_text_changes " << m_labelTextChanges << '\n'
        << "label_same_text_paints " << m_labelSameTextPaints << '\n';
    for (std::size_t i = 0; i < m_ticks.size(); ++i) {
        const PeriodStats stats = periodStats(m_ticks[i], kNominalMs[i]);
        const std::string key = "timer" + std::to_string(i + 1) + "_";
        out << key << "periods " << stats.periods << '\n'
            << key << "mean_ms " << stats.meanMs << '\n'
            << key << "p50_ms " << stats.p50Ms << '\n'
            << key << "p99dev_ms " << stats.p99DeviationMs << '\n'
            << key << "maxdev_ms " << stats.maxDeviationMs << '\n';
    }
    return out.str();
}

} // namespace bench
