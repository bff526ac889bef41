#pragma once
// The keys of the map's history: Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo. A text
// field reached by them takes them before its window's shortcuts and its own text
// handling, so the same keys do the same thing whatever the desktop's key scheme.
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace ui {

QList<QKeySequence> undoKeys();
QList<QKeySequence> redoKeys();

enum class HistoryKey { None, Undo, Redo };
// Also the platform's own undo and redo keys, which a text field would otherwise take.
HistoryKey historyKeyOf(const QKeyEvent& event);

// Gives the history keys pressed in `field` to `undo` and `redo`.
class HistoryKeys : public QObject {
    Q_OBJECT
public:
    HistoryKeys(QWidget* field, std::function<void()> undo, std::function<void()> redo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> undo_;
    std::function<void()> redo_;
};

}  // namespace ui
