// A runtime error, end to end: the real windows run until the monster's position overflows, and
// the program shows its report and ends with a failure status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct ChildRun {
    int status = -1; // exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ChildRun runChild(const std::string& mode)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("glouto_error_path_" + mode + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string command = "QT_QPA_PLATFORM=offscreen '" OVERFLOW_CHILD "' " + mode + " >'" +
                                (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    ChildRun run;
    if (raw != -1 && WIFEXITED(raw))
        run.status = WEXITSTATUS(raw);
    run.out = slurp(dir / "out");
    run.err = slurp(dir / "err");
    std::filesystem::remove_all(dir);
    return run;
}

int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

struct Case {
    const char* mode;
    // Where the monster stood when its tick raised the error.
    const char* monsterLeft;
};

class ErrorPath : public testing::TestWithParam<Case> {};

TEST_P(ErrorPath, OverflowShowsTheReportAndEndsTheProgramWithFailure)
{
    const ChildRun run = runChild(GetParam().mode);
    SCOPED_TRACE("stdout:\n" + run.out + "\nstderr:\n" + run.err);

    EXPECT_EQ(run.status, 1) << "the runtime-error exit status (124: no error within 20 s)";
    // One report on stderr, one box: the error stops the game, nothing runs on to raise another.
    EXPECT_EQ(count(run.err, "glouto: "), 1);
    EXPECT_NE(run.err.find("glouto: Erreur d'exécution '6'"), std::string::npos);
    EXPECT_NE(run.err.find("Dépassement de capacité"), std::string::npos);
    EXPECT_NE(run.out.find("boxes: 1\n"), std::string::npos);
    EXPECT_NE(run.out.find("box icon: critical"), std::string::npos);
    EXPECT_NE(run.out.find("box text: Erreur d'exécution '6'"), std::string::npos);
    EXPECT_NE(run.out.find("Dépassement de capacité"), std::string::npos);
    EXPECT_NE(run.out.find(std::string("monster left: ") + GetParam().monsterLeft + "\n"), std::string::npos);
    // Nothing undefined on the way, when built with the sanitizers.
    EXPECT_EQ(run.err.find("runtime error:"), std::string::npos);
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Monster, ErrorPath,
                         testing::Values(
                             // Off the board every direction ranks alike and right wins the tie: three
                             // steps from 31000 reach 32860, which the next tick cannot convert.
                             Case{"position", "32860"},
                             // Both coordinates fit, but the gap to the character (Left 50) does not.
                             Case{"gap", "-32720"}),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.mode); });

} // namespace
