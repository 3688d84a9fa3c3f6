#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "IconCanvas.h"
#include "KeptCopies.h"
#include "KeptCopySchedule.h"

namespace mosaikon {

// Decides when the icon goes to its kept copy: after every handler it looks whether the icon
// surface has changed and hands it to the copy's writer as the schedule says, a timer taking
// the hand-over that must wait. The writer does the disk work on its own thread; the folder and
// the lock are made with the first change, so an editor that changes nothing leaves nothing.
// A failure is said once on standard error and through `onFailure`; painting goes on.
class KeptCopyKeeper : public QObject {
    Q_OBJECT
public:
    KeptCopyKeeper(IconCanvas& canvas, std::string folder, QObject* parent = nullptr);
    // Hands over a change not yet kept and waits for the writer, less than a second.
    ~KeptCopyKeeper() override;

    // The window's hook after every handler.
    void noticeChanges();
    // Called once with the reason when the copy cannot be kept.
    void setFailureHandler(std::function<void(const QString&)> handler) {
        m_onFailure = std::move(handler);
    }
    // Why the copy cannot be kept; empty while it can.
    const QString& failure() const { return m_failure; }
    const std::string& folder() const { return m_folder; }

private:
    void handOver();
    void fail(const std::string& reason);

    IconCanvas& m_canvas;
    std::string m_folder;
    std::unique_ptr<KeptCopyWriter> m_writer;
    KeptCopySchedule m_schedule;
    QTimer m_timer;
    std::uint64_t m_seenRevision;
    bool m_unkept = false;
    QString m_failure;
    std::function<void(const QString&)> m_onFailure;
};

}  // namespace mosaikon
