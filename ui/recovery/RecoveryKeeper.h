#pragma once
// Keeps the recovery copy of the open document while it has unsaved changes: written
// at most 2 seconds after the editing stops and at least every 10 seconds while it
// goes on, by a worker thread from a snapshot the user-interface thread takes, so a
// copy of the largest map never holds the editing up. A copy that cannot be written
// or removed is shown once; later failures stay quiet until one succeeds again.
#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <deque>
#include <memory>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/recovery/recovery_copy.h"

namespace ui {

class Dialogs;

struct RecoveryTiming {
    int quietMs = 2000;     // after the last change
    int longestMs = 10000;  // after the first change not yet in a copy
};

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    using Timing = RecoveryTiming;
    // What a copy is taken from: the document's snapshot and its project's absolute
    // path ("" for a document never saved), at the moment of the call.
    struct Source {
        std::function<bool()> modified;
        std::function<core::RecoverySnapshot()> snapshot;
        std::function<std::string()> projectKey;
    };

    // No folder: the copies are off (a user without a home folder).
    RecoveryKeeper(Dialogs& dialogs, Source source, std::optional<std::string> folder, Timing timing = RecoveryTiming());
    ~RecoveryKeeper() override;

    static std::optional<std::string> folderFromEnvironment();

    // An edit left unsaved changes: a copy follows.
    void documentChanged();
    // The changes were saved, given up or taken back: the document's copy goes.
    void documentSettled();
    // The end of the session: writes the copy now and waits for it; nothing after this
    // removes or replaces it. False when it could not be written.
    bool endSession();

    std::optional<std::string> copyPathFor(const std::string& projectKey) const;
    void setTiming(Timing timing);
    // Waits until every copy and removal handed to the worker is done (for tests).
    void waitForWorker();
    // Whether a copy is due but not yet taken (its timers run).
    bool copyDue() const { return quiet_.isActive() || longest_.isActive(); }

private:
    void writeCopy();
    void enqueue(std::function<void()> task);
    void workerLoop();
    // On the worker: runs a copy's or a removal's file work and hands its outcome to
    // the user-interface thread.
    void report(const std::function<void()>& fileWork);
    void copyFinished(bool succeeded, const QString& failure);

    Dialogs& dialogs_;
    Source source_;
    std::optional<std::string> folder_;
    QTimer quiet_;
    QTimer longest_;
    bool failureShown_ = false;
    bool ended_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace ui
