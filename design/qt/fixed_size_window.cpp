#include "design/qt/fixed_size_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velmora {

namespace {

constexpr Qt::WindowStates enlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

// A compositor that has not answered a maximise request by then has refused it.
constexpr int answerTimeoutMs = 500;

// Qt 6.4 draws a maximise button on its own Wayland title bar whatever the
// window flags say, and squeezes the size a compositor then configures back
// into the window's fixed size; weston answers such a frame with a protocol
// error, which ends the program. So on Wayland the window lets go of its size
// while the request is on its way, shows the configured frame, asks to be
// normal again and takes its size back. Elsewhere it only asks to be normal.
class FixedSizeKeeper : public QObject {
public:
    explicit FixedSizeKeeper(QWidget* window)
        : QObject(window), m_window(window), m_size(window->size()) {
        if (window->windowFlags() & Qt::WindowMaximizeButtonHint)
            window->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        m_answerTimer.setSingleShot(true);
        m_answerTimer.setInterval(answerTimeoutMs);
        connect(&m_answerTimer, &QTimer::timeout, this, [this] {
            leaveEnlarged();  // only Qt's own record says enlarged
            holdSize();
        });
        window->installEventFilter(this);
        watchRequests();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            watchRequests();
            break;
        case QEvent::WindowStateChange:
            // Spontaneous changes come from the window system; QWidget's own
            // announce a state that nothing has configured yet.
            if (event->spontaneous())
                stateConfigured();
            break;
        case QEvent::Paint:
            // Weston ignores a request to leave the state that comes before
            // the configured frame, which is committed after this paint.
            if (m_leaveAfterPaint) {
                m_leaveAfterPaint = false;
                m_leaving = true;
                QMetaObject::invokeMethod(this, &FixedSizeKeeper::leaveEnlarged,
                                          Qt::QueuedConnection);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The native window exists from the first show on.
    void watchRequests() {
        if (QWindow* handle = m_window->windowHandle())
            connect(handle, &QWindow::windowStateChanged, this, &FixedSizeKeeper::stateRequested,
                    Qt::UniqueConnection);
    }

    // For a request Qt emits this before the request leaves, so the configure
    // answering it finds the window free to take the size it demands.
    void stateRequested(Qt::WindowState state) {
        if (!(state & enlarged) || m_free ||
            !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            return;
        m_free = true;
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_answerTimer.start();
    }

    void stateConfigured() {
        if (m_window->windowState() & enlarged) {
            m_answerTimer.stop();
            m_leaveAfterPaint = true;
            m_window->update();
        } else if (m_leaving) {
            holdSize();
        }
    }

    void leaveEnlarged() {
        if (QWindow* handle = m_window->windowHandle())
            handle->setWindowStates(handle->windowStates() & ~enlarged);
    }

    void holdSize() {
        m_free = false;
        m_leaving = false;
        m_window->setFixedSize(m_size);
    }

    QWidget* m_window;
    QSize m_size;
    QTimer m_answerTimer;
    bool m_free = false;
    bool m_leaveAfterPaint = false;
    bool m_leaving = false;
};

}  // namespace

void keepFixedSize(QWidget* window) { new FixedSizeKeeper(window); }

}  // namespace velmora
