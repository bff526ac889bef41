#include "ui/recovery/RecoveryKeeper.h"

#include <QMetaObject>
#include <exception>
#include <utility>

#include "core/platform/user_folders.h"
#include "core/text/failures.h"
#include "ui/convert/Cp932.h"
#include "ui/toolkit/Dialogs.h"

namespace ui {
RecoveryKeeper::RecoveryKeeper(Dialogs& dialogs, Source source, std::optional<std::string> folder, Timing timing)
    : dialogs_(dialogs), source_(std::move(source)), folder_(std::move(folder)) {
    quiet_.setSingleShot(true);
    longest_.setSingleShot(true);
    setTiming(timing);
    connect(&quiet_, &QTimer::timeout, this, [this] { writeCopy(); });
    connect(&longest_, &QTimer::timeout, this, [this] { writeCopy(); });
    worker_ = std::thread([this] { workerLoop(); });
}

RecoveryKeeper::~RecoveryKeeper() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

std::optional<std::string> RecoveryKeeper::folderFromEnvironment() {
    return core::recoveryFolder(core::userStateFolder());
}

void RecoveryKeeper::setTiming(Timing timing) {
    quiet_.setInterval(timing.quietMs);
    longest_.setInterval(timing.longestMs);
}

std::optional<std::string> RecoveryKeeper::copyPathFor(const std::string& projectKey) const {
    if (!folder_) return std::nullopt;
    return *folder_ + core::folderSeparator() + core::recoveryFileName(projectKey);
}

void RecoveryKeeper::documentChanged() {
    if (!folder_ || ended_) return;
    quiet_.start();
    if (!longest_.isActive()) longest_.start();
}

void RecoveryKeeper::documentSettled() {
    if (ended_) return;
    quiet_.stop();
    longest_.stop();
    const auto path = copyPathFor(source_.projectKey());
    if (!path) return;
    // Behind any copy still being written, so that none comes back after it. A copy
    // that cannot be removed is shown as a copy that cannot be written is.
    enqueue([this, path = *path] { report([&] { core::removeRecoveryCopy(path); }); });
}

void RecoveryKeeper::report(const std::function<void()>& fileWork) {
    bool succeeded = true;
    QString failure;
    try {
        fileWork();
    } catch (const std::exception& escaped) {
        succeeded = false;
        failure = fromCp932(core::failureText(escaped));
    }
    QMetaObject::invokeMethod(
        this, [this, succeeded, failure] { copyFinished(succeeded, failure); }, Qt::QueuedConnection);
}

// The snapshot is taken here, on the user-interface thread; the worker writes it.
void RecoveryKeeper::writeCopy() {
    quiet_.stop();
    longest_.stop();
    if (!folder_ || !source_.modified()) return;
    auto snapshot = std::make_shared<core::RecoverySnapshot>(source_.snapshot());
    const std::string fileName = core::recoveryFileName(source_.projectKey());
    enqueue([this, snapshot, fileName, folder = *folder_] {
        report([&] { core::writeRecoveryCopy(folder, fileName, *snapshot); });
    });
}

bool RecoveryKeeper::endSession() {
    ended_ = true;
    quiet_.stop();
    longest_.stop();
    waitForWorker();
    if (!folder_ || !source_.modified()) return true;
    try {
        core::writeRecoveryCopy(*folder_, core::recoveryFileName(source_.projectKey()), source_.snapshot());
        return true;
    } catch (const std::exception&) {
        // The session ends either way; the caller says so where it still can.
        return false;
    }
}

void RecoveryKeeper::copyFinished(bool succeeded, const QString& failure) {
    if (succeeded) {
        failureShown_ = false;
        return;
    }
    if (failureShown_) return;
    failureShown_ = true;
    dialogs_.showFailure(failure);
}

void RecoveryKeeper::enqueue(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void RecoveryKeeper::waitForWorker() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void RecoveryKeeper::workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) return;  // stopping, with nothing left to do
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        task();
        lock.lock();
        busy_ = false;
        if (tasks_.empty()) idle_.notify_all();
    }
}

}  // namespace ui
