#pragma once
// The map's history of edits, on Qt's undo stack. A step groups the edits made
// between its opening and its closing: a stamping drag, one stamp by a key or the
// wheel, a fill, one change of a size field with the nested runs it causes. Each
// edit is kept as the revision made just before it, and a step holds nothing else
// but, for a size field, the texts it found and left. The steps hold at most
// byteLimit() bytes; beyond that the oldest are dropped.
#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "core/map/map_revision.h"

namespace ui {

// The settings window's size texts and the size they stand for.
struct SizeFieldTexts {
    QString width, height, pixelWidth, pixelHeight, arraySize, dimension;
    std::int32_t mapWidth = 0;
    std::int32_t mapHeight = 0;
};

// What undoing and redoing reach in the windows.
class MapHistoryWindows {
public:
    virtual ~MapHistoryWindows() = default;
    virtual core::EditorState& document() = 0;
    virtual SizeFieldTexts sizeFieldTexts() const = 0;
    // Puts the texts back without running the fields' change handling.
    virtual void restoreSizeFieldTexts(const SizeFieldTexts& texts) = 0;
    // An undo or a redo changed the map; `saved`: it is now as last saved or opened.
    virtual void showRevisitedMap(bool saved) = 0;
};

class MapStep;

class MapHistory {
public:
    static constexpr std::size_t kDefaultByteLimit = std::size_t{256} << 20;

    explicit MapHistory(MapHistoryWindows& windows);
    ~MapHistory();
    MapHistory(const MapHistory&) = delete;
    MapHistory& operator=(const MapHistory&) = delete;

    // Opens a step, or joins the one already open; the outermost close pushes it
    // when it holds an edit. A step that changes a size field is given the texts
    // as they were before the change.
    void openStep(std::optional<SizeFieldTexts> textsBefore = std::nullopt);
    void closeStep();
    bool stepOpen() const { return depth_ > 0; }

    // A step for the length of a scope.
    class Step {
    public:
        explicit Step(MapHistory& history, std::optional<SizeFieldTexts> textsBefore = std::nullopt)
            : history_(history) {
            history_.openStep(std::move(textsBefore));
        }
        ~Step() { history_.closeStep(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        MapHistory& history_;
    };

    // While a project is opened nothing is recorded; the open starts a new history.
    class Pause {
    public:
        explicit Pause(MapHistory& history) : history_(history) { ++history_.paused_; }
        ~Pause() { --history_.paused_; }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        MapHistory& history_;
    };

    // Around every edit of the map: the revision made just before it, which the
    // open step keeps once the edit has gone through. A replaced document drops
    // the whole history.
    void prepare(const core::TileMap& map, const core::MapChange& planned);
    void record(const core::MapChange& change);

    // Nothing happens while a step is open or when there is nothing to undo or
    // redo. A failure (out of memory growing the map back) leaves the document and
    // the history as they were and is raised.
    void undo();
    void redo();

    // The document was saved or opened: the present state is the saved one.
    void markSaved();
    // Something that is not a step changed the document (the label, the sheet):
    // no undo can bring back the saved state.
    void leaveSaved();
    void clear();

    void setByteLimit(std::size_t bytes);
    std::size_t byteLimit() const { return byteLimit_; }
    // The bytes the steps hold, the open one included.
    std::size_t bytes() const;
    int undoableSteps() const { return stack_.index() - dropped_; }
    int redoableSteps() const { return stack_.count() - stack_.index(); }
    // The stack's own count, dropped steps that still keep their place included.
    int stackedSteps() const { return stack_.count(); }

private:
    friend class MapStepCommand;

    MapStep& stepAt(int index) const;
    void push(std::shared_ptr<MapStep> step);
    void fitLimit();
    void dropOldest();
    void forgetDropped();
    void loseOpenStep();
    void replay(MapStep& step, bool undo);
    void settleFailure(void (QUndoStack::*putBack)());

    MapHistoryWindows& windows_;
    QUndoStack stack_;
    std::size_t byteLimit_ = kDefaultByteLimit;
    std::size_t heldBytes_ = 0;     // of the stacked steps that are not dropped
    std::size_t doomedBytes_ = 0;   // of the redo steps the open step will push away
    int dropped_ = 0;               // the oldest steps, kept as empty places on the stack
    int depth_ = 0;
    int paused_ = 0;
    std::shared_ptr<MapStep> open_;
    bool lost_ = false;             // the open step outgrew the limit and keeps nothing
    std::optional<core::MapRevision> prepared_;
    bool replaying_ = false;        // the stack calls a step that needs nothing done
    std::exception_ptr failure_;
};

}  // namespace ui
