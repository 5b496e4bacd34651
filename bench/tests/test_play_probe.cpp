// The probe inside both measured programs: its flags, its area sums, and what it counts during a
// short play on the offscreen platform.
#include "bench/play_probe.h"
#include "bench/report.h"
#include "bench/stats.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

std::optional<bench::ProbeOptions> parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "program");
    return bench::parseProbeOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()));
}

TEST(ProbeOptions, ReadsTheRunnersFlagsAndRefusesTheRest)
{
    const auto options = parse({"--t0", "123456789", "--seconds", "2.5", "--warmup", "0"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->parentStartNs, 123456789);
    EXPECT_EQ(options->playS, 2.5);
    EXPECT_EQ(options->warmupS, 0);

    const auto defaults = parse({});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->parentStartNs, 0);
    EXPECT_EQ(defaults->playS, 30);

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(parse({"--seconds"}));
    EXPECT_FALSE(parse({"--seconds", "abc"}));
    EXPECT_FALSE(parse({"--seconds", "3s"}));
    EXPECT_FALSE(parse({"--frames", "3"}));
    EXPECT_FALSE(parse({"--warmup", "-1"}));
    ::testing::internal::GetCapturedStderr();
}

TEST(RegionArea, CountsOverlapOnce)
{
    EXPECT_EQ(bench::regionArea(QRegion(0, 0, 10, 10).united(QRect(5, 5, 10, 10))), 175);
    EXPECT_EQ(bench::regionArea(QRegion()), 0);
}

class Square final : public QWidget {
public:
    explicit Square(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(10, 10);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::yellow); }
};

TEST(PlayProbe, CountsTicksPaintsMovesAndLabelRepaintsOfItsWindowOnly)
{
    QWidget window;
    auto* client = new QWidget(&window);
    client->setGeometry(0, 20, 200, 100);
    auto* label = new QLabel(QStringLiteral("score 0"), client);
    label->setGeometry(0, 80, 200, 20);
    auto* sprite = new Square(client);
    sprite->move(0, 0);
    QLabel elsewhere(QStringLiteral("another window"));

    QTimer named;
    named.setObjectName(QStringLiteral("Timer2"));
    named.setTimerType(Qt::PreciseTimer);
    named.setInterval(20);
    QTimer anonymous;
    anonymous.setInterval(20);
    std::array<int, 4> hooked{};

    bench::ProbeOptions options;
    options.parentStartNs = bench::monotonicNs();
    options.warmupS = 0.05;
    options.playS = 0.6;
    options.output = nullptr;
    bench::PlayProbe probe(window, *client, options, [&hooked](int timer) { ++hooked[static_cast<std::size_t>(timer)]; });

    window.show();
    elsewhere.show();
    named.start();
    anonymous.start();
    // Inside the play: one move of 20 px, a new score, the same score repainted, another window.
    QTimer::singleShot(250, [&] {
        sprite->move(20, 0);
        label->setText(QStringLiteral("score 1"));
    });
    QTimer::singleShot(400, [&] {
        label->repaint();
        elsewhere.repaint();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    ASSERT_EQ(QApplication::exec(), 0) << "the probe never ended its play";

    const bench::Sample s = bench::parseSample(probe.report());
    EXPECT_GT(s.at("startup_ns"), 0);
    EXPECT_NEAR(s.at("play_ns") / 1e9, 0.6, 0.3);
    // Only the named timer is measured and hooked.
    EXPECT_GE(s.at("timer2_periods"), 10);
    EXPECT_NEAR(s.at("timer2_mean_ms"), 20, 10);
    EXPECT_EQ(s.at("timer1_periods"), 0);
    EXPECT_EQ(hooked[1] + hooked[3], 0);
    EXPECT_GT(hooked[2], s.at("timer2_periods"));
    // The two 10x10 squares the sprite covered, once each.
    EXPECT_EQ(s.at("changed_px"), 200);
    EXPECT_GE(s.at("frames"), 2);
    EXPECT_GE(s.at("frame_px"), 200);
    EXPECT_LE(s.at("largest_frame_px"), s.at("client_px") + 200 * 20);
    EXPECT_EQ(s.at("client_px"), 200 * 100);
    EXPECT_EQ(s.at("label_text_changes"), 1);
    EXPECT_EQ(s.at("label_same_text_paints"), 1);
    EXPECT_EQ(s.at("full_frames"), 0);
}

} // namespace
