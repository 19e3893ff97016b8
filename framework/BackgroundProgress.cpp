#include "framework/BackgroundProgress.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

namespace framework {

namespace {

// Closing the window the work was started from cancels it; minimising it does not.
class CancelOnHide : public QObject {
public:
    CancelOnHide(QWidget* window, quorin::BackgroundWork& work) : m_work(work)
    {
        if (window)
            window->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        // Closing hides the window from the program; minimising it comes from the system.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_work.Cancel();
        return false;
    }

private:
    quorin::BackgroundWork& m_work;
};

} // namespace

void RunWithProgress(QWidget* parent, quorin::BackgroundWork& work)
{
    QProgressDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Quorin"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.setRange(0, std::max(1, work.ProgressTotal()));
    dialog.setValue(0);
    dialog.setLabelText(work.ProgressText());
    dialog.setAccessibleName(QStringLiteral("Progress"));
    // The window behind stays usable: it can be read, scrolled and printed meanwhile.
    dialog.setWindowModality(Qt::NonModal);
    bool cancelled = false;
    const auto cancel = [&] {
        if (cancelled)
            return;
        cancelled = true;
        work.Cancel();
        dialog.setLabelText(QStringLiteral("Cancelling..."));
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, cancel);
    // Escape closes a dialog without a word; here it means Cancel.
    QObject::connect(&dialog, &QDialog::rejected, &dialog, cancel);
    CancelOnHide closing(parent ? parent->window() : nullptr, work);

    std::atomic<bool> done{false};
    std::thread worker([&] {
        work.Run();
        done = true;
    });
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done) {
            loop.quit();
            return;
        }
        if (!cancelled) {
            dialog.setLabelText(work.ProgressText());
            dialog.setValue(std::min(work.ProgressStep(), dialog.maximum()));
        }
    });
    tick.start(30);
    dialog.show();
    loop.exec();
    worker.join();
    dialog.hide();
}

} // namespace framework
