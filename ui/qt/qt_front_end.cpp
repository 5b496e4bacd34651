// Qt windows, timers and boxes for the application layer.
#include "ui/qt/qt_front_end.h"

#include "ui/qt/form_window.h"
#include "ui/qt/qt_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QMessageBox::Icon iconOf(app::BoxIcon icon)
{
    switch (icon) {
    case app::BoxIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The platform's message box with one plain OK button: some themes put an icon on it.
void runBox(QMessageBox::Icon icon, std::string_view title, std::string_view text)
{
    QMessageBox box(icon, qText(title), qText(text), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    // Modal to every window of the game, as the platform's message box is.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

class QtTimer final : public app::TimerView {
public:
    QtTimer(const forms::TimerDef& timer, std::function<void()> tick)
    {
        // Gameplay clocks: the default coarse timer may stretch a period by up to 5 %.
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(timer.intervalMs);
        m_timer.setObjectName(qText(timer.name));
        QObject::connect(&m_timer, &QTimer::timeout, std::move(tick));
    }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<app::WindowView> QtFrontEnd::makeWindow(app::FormId id, const forms::FormDef& form, app::Input& input)
{
    return std::make_unique<FormWindow>(id, form, input);
}

std::unique_ptr<app::TimerView> QtFrontEnd::makeTimer(const forms::TimerDef& timer, std::function<void()> tick)
{
    return std::make_unique<QtTimer>(timer, std::move(tick));
}

void QtFrontEnd::messageBox(std::string_view prompt, app::BoxIcon icon, std::string_view title,
                            std::function<void()> closed)
{
    runBox(iconOf(icon), title, prompt);
    closed();
}

void QtFrontEnd::reportError(std::string_view report, std::function<void()> closed)
{
    runBox(iconOf(app::BoxIcon::Stop), app::kProgramName, report);
    closed();
}

void QtFrontEnd::pressEnter()
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    if (!target)
        return;
    // Sent as the keyboard's would be: a key the focused control leaves goes on to its window,
    // where a dialog takes Return for its default button.
    const QPointer<QWidget> alive = target;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    if (alive)
        QCoreApplication::sendEvent(alive, &release);
}

void QtFrontEnd::endProgram(int status)
{
    if (!m_endStatus)
        m_endStatus = status;
    QCoreApplication::exit(status);
}
