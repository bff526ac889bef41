#include "ui/history/MapHistory.h"

#include <QScopedValueRollback>
#include <QUndoCommand>
#include <utility>
#include <vector>

namespace ui {

namespace {

// What Qt keeps around each step besides its cells: the command, its private part,
// the stack's entry, the step itself.
constexpr std::size_t kStepAllowance = 256;

}  // namespace

class MapStep {
public:
    explicit MapStep(std::optional<SizeFieldTexts> textsBefore) : textsBefore_(std::move(textsBefore)) {}

    void add(core::MapRevision revision) {
        revisions_.push_back(std::move(revision));
        revisionBytes_ += revisions_.back().bytes();
    }
    bool empty() const { return revisions_.empty(); }
    bool changesSizeFields() const { return textsBefore_.has_value(); }
    void setTextsAfter(SizeFieldTexts texts) { textsAfter_ = std::move(texts); }
    std::size_t bytes() const { return kStepAllowance + revisionBytes_; }
    // A dropped step keeps only its place on the stack.
    void release() {
        std::vector<core::MapRevision>().swap(revisions_);
        revisionBytes_ = 0;
    }

    // A failure part way takes back what was done, so the document stays as it was.
    void undo(MapHistoryWindows& windows) {
        core::EditorState& document = windows.document();
        const std::size_t count = revisions_.size();
        std::size_t undone = 0;
        try {
            for (; undone < count; ++undone) revisions_[count - 1 - undone].undo(document);
        } catch (...) {
            while (undone > 0) revisions_[count - undone--].redo(document);
            throw;
        }
        if (textsBefore_) windows.restoreSizeFieldTexts(*textsBefore_);
    }

    void redo(MapHistoryWindows& windows) {
        core::EditorState& document = windows.document();
        std::size_t done = 0;
        try {
            for (; done < revisions_.size(); ++done) revisions_[done].redo(document);
        } catch (...) {
            while (done > 0) revisions_[--done].undo(document);
            throw;
        }
        if (textsAfter_) windows.restoreSizeFieldTexts(*textsAfter_);
    }

private:
    std::vector<core::MapRevision> revisions_;  // in the order the edits were made
    std::size_t revisionBytes_ = 0;
    std::optional<SizeFieldTexts> textsBefore_;
    std::optional<SizeFieldTexts> textsAfter_;
};

// The stack's view of a step.
class MapStepCommand : public QUndoCommand {
public:
    MapStepCommand(MapHistory& history, std::shared_ptr<MapStep> step) : history_(history), step_(std::move(step)) {}
    void undo() override { history_.replay(*step_, true); }
    void redo() override { history_.replay(*step_, false); }
    MapStep& step() const { return *step_; }
    const std::shared_ptr<MapStep>& sharedStep() const { return step_; }

private:
    MapHistory& history_;
    std::shared_ptr<MapStep> step_;
};

MapHistory::MapHistory(MapHistoryWindows& windows) : windows_(windows) {}

MapHistory::~MapHistory() = default;

MapStep& MapHistory::stepAt(int index) const {
    return static_cast<const MapStepCommand*>(stack_.command(index))->step();
}

void MapHistory::openStep(std::optional<SizeFieldTexts> textsBefore) {
    if (depth_++ > 0 || paused_ > 0) return;
    open_ = std::make_shared<MapStep>(std::move(textsBefore));
    lost_ = false;
    // Pushing the step will delete the steps that could be redone.
    doomedBytes_ = 0;
    for (int i = stack_.index(); i < stack_.count(); ++i) doomedBytes_ += stepAt(i).bytes();
}

void MapHistory::closeStep() {
    if (depth_ == 0 || --depth_ > 0) return;
    prepared_.reset();
    std::shared_ptr<MapStep> step = std::move(open_);
    if (!step || lost_ || step->empty()) return;
    try {
        if (step->changesSizeFields()) step->setTextsAfter(windows_.sizeFieldTexts());
        push(std::move(step));
    } catch (...) {
        // The edits stand but the history cannot hold them: it no longer leads
        // anywhere the document has been.
        clear();
        stack_.resetClean();
    }
}

void MapHistory::prepare(const core::TileMap& map, const core::MapChange& planned) {
    prepared_.reset();
    if (!open_ || lost_ || paused_ > 0) return;
    prepared_ = core::MapRevision::before(map, planned);
}

void MapHistory::record(const core::MapChange& change) {
    if (change.edit == core::MapEdit::Replace) {
        clear();
        return;
    }
    std::optional<core::MapRevision> revision = std::exchange(prepared_, std::nullopt);
    if (!open_ || lost_ || paused_ > 0) return;
    // An edit nobody prepared for would leave the history describing another map.
    if (!revision || revision->change().edit != change.edit) {
        loseOpenStep();
        return;
    }
    open_->add(std::move(*revision));
    fitLimit();
}

void MapHistory::push(std::shared_ptr<MapStep> step) {
    heldBytes_ -= doomedBytes_;
    doomedBytes_ = 0;
    heldBytes_ += step->bytes();
    {
        // The step's edits are done already.
        const QScopedValueRollback replaying(replaying_, true);
        stack_.push(new MapStepCommand(*this, std::move(step)));
    }
    fitLimit();
    if (dropped_ > 0 && dropped_ >= stack_.count() - dropped_) forgetDropped();
}

void MapHistory::fitLimit() {
    if (open_ && !lost_ && open_->bytes() > byteLimit_) {
        loseOpenStep();
        return;
    }
    const std::size_t open = open_ && !lost_ ? open_->bytes() : 0;
    while (dropped_ < stack_.index() && heldBytes_ - doomedBytes_ + open > byteLimit_) dropOldest();
}

void MapHistory::dropOldest() {
    MapStep& oldest = stepAt(dropped_);
    heldBytes_ -= oldest.bytes();
    oldest.release();
    ++dropped_;
}

// Dropped steps keep a place on the stack, which only a fresh stack gives up: once
// they are as many as the held ones, the held steps move to a fresh stack, at the
// same index and with the same saved state, unless that lay before a dropped step.
void MapHistory::forgetDropped() {
    std::vector<std::shared_ptr<MapStep>> held;
    held.reserve(static_cast<std::size_t>(stack_.count() - dropped_));
    for (int i = dropped_; i < stack_.count(); ++i)
        held.push_back(static_cast<const MapStepCommand*>(stack_.command(i))->sharedStep());
    const int index = stack_.index() - dropped_;
    const int saved = stack_.cleanIndex() < dropped_ ? -1 : stack_.cleanIndex() - dropped_;
    const QScopedValueRollback replaying(replaying_, true);
    stack_.clear();
    dropped_ = 0;
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (static_cast<int>(i) == saved) stack_.setClean();
        stack_.push(new MapStepCommand(*this, std::move(held[i])));
    }
    if (saved == static_cast<int>(held.size()))
        stack_.setClean();
    else if (saved < 0)
        stack_.resetClean();
    stack_.setIndex(index);
}

// The open step cannot be kept (alone it is more than the history may hold, or an
// edit went by unprepared): it goes with every step before it, and its edits go on
// unrecorded until it closes.
void MapHistory::loseOpenStep() {
    if (open_) open_->release();
    lost_ = true;
    prepared_.reset();
    stack_.clear();
    heldBytes_ = doomedBytes_ = 0;
    dropped_ = 0;
    stack_.resetClean();
}

void MapHistory::replay(MapStep& step, bool undo) {
    if (replaying_) return;
    try {
        if (undo)
            step.undo(windows_);
        else
            step.redo(windows_);
    } catch (...) {
        failure_ = std::current_exception();
    }
}

// The stack has moved its index past a step that failed and changed nothing: it
// moves back without touching the step, and the failure goes on to be shown.
void MapHistory::settleFailure(void (QUndoStack::*putBack)()) {
    if (!failure_) return;
    const std::exception_ptr failure = std::exchange(failure_, nullptr);
    {
        const QScopedValueRollback replaying(replaying_, true);
        (stack_.*putBack)();
    }
    std::rethrow_exception(failure);
}

void MapHistory::undo() {
    if (stepOpen() || undoableSteps() <= 0) return;
    stack_.undo();
    settleFailure(&QUndoStack::redo);
    windows_.showRevisitedMap(stack_.isClean());
}

void MapHistory::redo() {
    if (stepOpen() || redoableSteps() <= 0) return;
    stack_.redo();
    settleFailure(&QUndoStack::undo);
    windows_.showRevisitedMap(stack_.isClean());
}

void MapHistory::markSaved() { stack_.setClean(); }

void MapHistory::leaveSaved() { stack_.resetClean(); }

void MapHistory::clear() {
    stack_.clear();
    heldBytes_ = doomedBytes_ = 0;
    dropped_ = 0;
    prepared_.reset();
    // A step open across the clear would take back edits of another document.
    if (open_) {
        open_->release();
        lost_ = true;
    }
}

void MapHistory::setByteLimit(std::size_t bytes) {
    byteLimit_ = bytes;
    fitLimit();
}

std::size_t MapHistory::bytes() const { return heldBytes_ + (open_ && !lost_ ? open_->bytes() : 0); }

}  // namespace ui
