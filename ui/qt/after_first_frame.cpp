// Watching every event until the first paint, then running the deferred work.
#include "ui/qt/after_first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {

class FirstFrameWatch final : public QObject {
public:
    FirstFrameWatch(QObject* context, std::function<void()> work) : QObject(context), m_work(std::move(work))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, parent(), std::move(m_work));
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
};

} // namespace

void afterFirstFrame(QObject* context, std::function<void()> work) { new FirstFrameWatch(context, std::move(work)); }
