#include "app/thumbnail_loader.h"

#include "catalog/file_source.h"
#include "dialogs/picture_image.h"
#include "document/thumbnail_recipe.h"
#include "platform/file_error.h"

#include <QPainter>
#include <QThread>
#include <algorithm>
#include <exception>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// A worker's nice value: the window's thread, sharing a core with it, gets about nine
// tenths of the core whenever it paints, while the workers still keep up with other
// programs (idle priority would stop them behind any busy program).
constexpr int kWorkerNice = 10;

// Requests beyond this many are the oldest, scrolled past long ago: dropped, and asked
// for again when their items are painted again.
constexpr std::size_t kMaxWaiting = 512;

} // namespace

ThumbnailLoader::ThumbnailLoader(int size, QColor background, QObject* parent)
    : QObject(parent), size_(size), background_(background) {
    // A thread a core: the window's thread only paints and waits meanwhile.
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader() {
    {
        const std::lock_guard lock(queue_->guard);
        queue_->closed = true;
        queue_->waiting.clear();
    }
    pool_.waitForDone();
}

void ThumbnailLoader::request(int row, const tessarin::Location& screenFile) {
    {
        const std::lock_guard lock(queue_->guard);
        if (queue_->busy.contains(row)) {
            return;
        }
        auto& waiting = queue_->waiting;
        if (const auto it = std::ranges::find(waiting, row, &Work::row); it != waiting.end()) {
            waiting.erase(it);
        }
        waiting.push_front({row, screenFile});
        if (waiting.size() > kMaxWaiting) {
            waiting.pop_back();
        }
    }
    startWorkers();
}

void ThumbnailLoader::clear() {
    const std::lock_guard lock(queue_->guard);
    queue_->waiting.clear();
    queue_->busy.clear();
    ++queue_->generation;
}

void ThumbnailLoader::startWorkers() {
    if (running_ < pool_.maxThreadCount()) {
        ++running_;
        pool_.start([this] { work(); });
    }
}

void ThumbnailLoader::work() {
    // Linux gives each thread its own nice value; the pool's threads are reused, so it is
    // set again at every start (a no-op after the first).
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    for (;;) {
        Work next;
        unsigned generation = 0;
        {
            const std::lock_guard lock(queue_->guard);
            if (queue_->closed || queue_->waiting.empty()) {
                break;
            }
            next = std::move(queue_->waiting.front());
            queue_->waiting.pop_front();
            queue_->busy.insert(next.row);
            generation = queue_->generation;
        }
        QString problem;
        const std::optional<tessarin::Stamp> stamp =
            tessarin::stampOf(next.screenFile.path(), tessarin::EntryType::regularFile);
        const QImage thumbnail = thumbnailOf(next.screenFile, problem);
        // Delivered on the loader's thread; dropped with the loader, or when stale.
        QMetaObject::invokeMethod(
            this,
            [this, row = next.row, generation, thumbnail, problem, stamp] {
                {
                    const std::lock_guard lock(queue_->guard);
                    if (generation != queue_->generation) {
                        return;
                    }
                    queue_->busy.erase(row);
                }
                emit made(row, thumbnail, problem, stamp);
            },
            Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            --running_;
            bool more = false;
            {
                const std::lock_guard lock(queue_->guard);
                more = !queue_->waiting.empty();
            }
            if (more) {
                startWorkers(); // asked for while this worker was ending
            }
        },
        Qt::QueuedConnection);
}

QImage ThumbnailLoader::thumbnailOf(const tessarin::Location& screenFile, QString& problem) const {
    // No exception leaves a worker: what cannot be made is told as the item's problem.
    try {
        const tessarin::Picture picture = tessarin::makePicture(tessarin::thumbnailChoices(
            tessarin::fileSource(), screenFile, static_cast<std::int16_t>(size_)));
        if (picture.empty()) {
            problem = QStringLiteral("no picture");
            return {};
        }
        const QImage shown = tessarin::imageOf(picture);
        // Square, so that every item of the grid has one shape and its name one place.
        QImage square(size_, size_, QImage::Format_RGB32);
        square.fill(background_);
        QPainter painter(&square);
        painter.drawImage((size_ - shown.width()) / 2, (size_ - shown.height()) / 2, shown);
        return square;
    } catch (const tessarin::FileError& error) {
        problem = QString::fromLocal8Bit(error.what());
    } catch (const std::exception& error) {
        problem = QString::fromLocal8Bit(screenFile.path().c_str()) + QStringLiteral(": ") +
                  QString::fromLocal8Bit(error.what());
    }
    return {};
}
