// Starting a measured program: what reaches it, what comes back, and every way a run can go wrong.
#include "bench/runner.h"
#include "bench/stats.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class Runner : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/glouto-runner-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    bench::Launch script(const std::string& name, const std::string& body)
    {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body << '\n';
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return {name, path, {}};
    }

    std::optional<bench::Sample> quietly(const bench::Launch& launch, double seconds, double graceS = 60)
    {
        ::testing::internal::CaptureStderr();
        auto sample = bench::runOnce(launch, seconds, 0, -1, graceS);
        m_stderr = ::testing::internal::GetCapturedStderr();
        return sample;
    }

    std::string m_dir;
    std::string m_stderr;
};

TEST_F(Runner, PassesItsStampAndArgumentsAndReadsTheReport)
{
    bench::Launch launch = script("program", R"(
[ "$1" = --t0 ] && [ "$3" = --warmup ] && [ "$5" = --seconds ] || exit 9
echo "t0_seen $2"
echo "seconds_seen $6"
[ "$7" = --sprites ] && echo "extra_seen 1"
echo "startup_ns 1000"
echo "play_ns 2000000000")");
    launch.extraArgs = {"--sprites"};
    const std::int64_t before = bench::monotonicNs();
    const auto sample = quietly(launch, 2.5);
    ASSERT_TRUE(sample) << m_stderr;
    EXPECT_GE(sample->at("t0_seen"), static_cast<double>(before));
    EXPECT_LE(sample->at("t0_seen"), static_cast<double>(bench::monotonicNs()));
    EXPECT_EQ(sample->at("seconds_seen"), 2.5);
    EXPECT_EQ(sample->count("extra_seen"), 1u);
    EXPECT_EQ(sample->at("startup_ns"), 1000);
    EXPECT_GT(sample->at("maxrss_kb"), 0);
}

TEST_F(Runner, RefusesFailedSilentIncompleteAndHungRuns)
{
    EXPECT_FALSE(quietly(script("fails", "echo startup_ns 5; exit 3"), 0));
    EXPECT_NE(m_stderr.find("fails: failed"), std::string::npos) << m_stderr;
    EXPECT_FALSE(quietly(script("silent", "true"), 0));
    EXPECT_NE(m_stderr.find("incomplete"), std::string::npos) << m_stderr;

    // A start-up run needs no play; a play run does.
    const bench::Launch startupOnly = script("startup", "echo startup_ns 5");
    EXPECT_TRUE(quietly(startupOnly, 0));
    EXPECT_FALSE(quietly(startupOnly, 1));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(quietly(script("hangs", "exec sleep 30"), 0, 0.3));
    EXPECT_NE(m_stderr.find("hangs: timed out"), std::string::npos) << m_stderr;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(Derive, FiguresInTheTablesUnits)
{
    bench::Sample s{{"startup_ns", 150e6},  {"maxrss_kb", 2048},   {"play_ns", 30e9},         {"cpu_user_us", 100'000},
                    {"cpu_sys_us", 50'000}, {"context_switches", 900}, {"frame_px", 600'000}, {"label_px", 150'000},
                    {"changed_px", 900'000}, {"frames", 240},      {"client_px", 400'000}, {"largest_frame_px", 40'000}};
    bench::derive(s);
    EXPECT_DOUBLE_EQ(s.at("startup_ms"), 150);
    EXPECT_DOUBLE_EQ(s.at("maxrss_mib"), 2);
    EXPECT_DOUBLE_EQ(s.at("cpu_ms"), 150);
    EXPECT_DOUBLE_EQ(s.at("cpu_share_pct"), 0.5);
    EXPECT_DOUBLE_EQ(s.at("switches_ps"), 30);
    EXPECT_DOUBLE_EQ(s.at("repaint_pxps"), 20'000);
    EXPECT_DOUBLE_EQ(s.at("repaint_client_pct"), 5);
    EXPECT_DOUBLE_EQ(s.at("frames_ps"), 8);
    // The label's own repaints are set aside: they are new scores, not moves.
    EXPECT_DOUBLE_EQ(s.at("repaint_over_changed"), 0.5);
    EXPECT_DOUBLE_EQ(s.at("largest_frame_pct"), 10);

    // Nothing moved: no ratio rather than a division by zero.
    bench::Sample still{{"startup_ns", 1}, {"play_ns", 1e9}, {"changed_px", 0}, {"client_px", 1}};
    bench::derive(still);
    EXPECT_TRUE(std::isnan(still.at("repaint_over_changed")));
    // A start-up run has no play figures at all.
    bench::Sample startup{{"startup_ns", 2e6}};
    bench::derive(startup);
    EXPECT_EQ(startup.count("cpu_ms"), 0u);
}

} // namespace
