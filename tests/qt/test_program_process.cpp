// The real program, started as players and headless test machines start it.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

TEST(ProgramProcess, StartsAndKeepsRunningOnTheOffscreenPlatform)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // The platform's default flavour offers an X11 interface with no server behind it: the window
    // code must cope without a display.
    environment.remove("QT_QPA_OFFSCREEN_NO_GLX");
    environment.remove("DISPLAY");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(GLOUTO_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForStarted(5000)) << program.errorString().toStdString();

    // The game runs until its windows are closed: after a couple of seconds it must still be there.
    const bool ended = program.waitForFinished(2000);
    const QByteArray errors = program.readAllStandardError();
    EXPECT_FALSE(ended) << "the program ended by itself: "
                        << (program.exitStatus() == QProcess::CrashExit ? "crashed" : "exited")
                        << " with status " << program.exitCode() << "\n"
                        << errors.toStdString();
    if (!ended) {
        program.kill();
        program.waitForFinished(5000);
    }
}

} // namespace
