#include "recovery/KeptCopyKeeper.h"

#include <chrono>
#include <cstdio>

#include "FileError.h"

namespace mosaikon {

KeptCopyKeeper::KeptCopyKeeper(IconCanvas& canvas, std::string folder, QObject* parent)
    : QObject(parent),
      m_canvas(canvas),
      m_folder(std::move(folder)),
      m_seenRevision(canvas.SmallPicture.revision()) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_unkept) {
            handOver();
        }
    });
    if (m_folder.empty()) {
        m_failure = tr("no home folder is set");
    }
}

KeptCopyKeeper::~KeptCopyKeeper() {
    if (m_unkept && m_writer) {
        m_writer->keep(m_canvas.SmallPicture.pixels());
    }
    m_writer.reset();  // waits for the last write, within its bound
}

void KeptCopyKeeper::noticeChanges() {
    const std::uint64_t revision = m_canvas.SmallPicture.revision();
    if (revision == m_seenRevision) {
        return;
    }
    m_seenRevision = revision;
    m_unkept = true;
    const auto now = KeptCopySchedule::Clock::now();
    const auto due = m_schedule.changed(now);
    if (due <= now) {
        handOver();
    } else if (!m_timer.isActive()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now);
        m_timer.start(static_cast<int>(wait.count()));
    }
}

void KeptCopyKeeper::handOver() {
    m_schedule.handedOver(KeptCopySchedule::Clock::now());
    m_unkept = false;
    if (!m_failure.isEmpty()) {
        return;
    }
    try {
        if (!m_writer) {
            m_writer = std::make_unique<KeptCopyWriter>(m_folder);
        }
    } catch (const FileError& error) {
        return fail(error.what());
    }
    // A write that failed since the last hand-over is seen here, on the event thread.
    const std::string failed = m_writer->failure();
    if (!failed.empty()) {
        return fail(failed);
    }
    m_writer->keep(m_canvas.SmallPicture.pixels());
}

void KeptCopyKeeper::fail(const std::string& reason) {
    m_failure = QString::fromStdString(reason);
    std::fprintf(stderr, "mosaikon: the icon is not being kept: %s\n", reason.c_str());
    if (m_onFailure) {
        m_onFailure(m_failure);
    }
}

}  // namespace mosaikon
