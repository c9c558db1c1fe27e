#pragma once

#include "storage/location.h"
#include "storage/stamp.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

// Makes the thumbnails of a grid's files on worker threads, the one most lately asked for
// first: a grid asks for the items it paints, so what is on screen now comes before what
// was scrolled past. The made thumbnails come back on the thread that owns the loader,
// as the signal made; nothing of the model runs on the workers but the picture recipe.
class ThumbnailLoader : public QObject {
    Q_OBJECT

public:
    // Thumbnails fit into size x size, centred on a square of background.
    ThumbnailLoader(int size, QColor background, QObject* parent = nullptr);
    // Takes no more work and waits for the thumbnails being made (one file each).
    ~ThumbnailLoader() override;
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // Asks for the thumbnail of the item row, the screen file; again moves it first.
    // Nothing while it is being made.
    void request(int row, const tessarin::Location& screenFile);
    // Forgets every request: the items are another folder's now. What is being made is
    // dropped when it comes.
    void clear();

signals:
    // The thumbnail of row, or a null image and why it could not be made; stamp is its
    // file's as it was before being read (nothing inside a disk image or archive).
    void made(int row, const QImage& thumbnail, const QString& problem,
              const std::optional<tessarin::Stamp>& stamp);

private:
    struct Work {
        int row = 0;
        tessarin::Location screenFile;
    };
    // What the workers share with the loader.
    struct Queue {
        std::mutex guard;
        std::deque<Work> waiting; // the next one at the front
        std::unordered_set<int> busy;
        unsigned generation = 0;
        bool closed = false;
    };
    // Starts a worker when there is work and a thread free.
    void startWorkers();
    // One worker: makes thumbnails until none waits.
    void work();
    [[nodiscard]] QImage thumbnailOf(const tessarin::Location& screenFile, QString& problem) const;

    int size_;
    QColor background_;
    std::shared_ptr<Queue> queue_ = std::make_shared<Queue>();
    int running_ = 0; // workers started, touched only on the loader's thread
    QThreadPool pool_;
};
