#include "ui/history/HistoryKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace ui {

QList<QKeySequence> undoKeys() { return {QKeySequence(Qt::CTRL | Qt::Key_Z)}; }

QList<QKeySequence> redoKeys() {
    return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

HistoryKey historyKeyOf(const QKeyEvent& event) {
    const QKeySequence pressed(QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
    if (undoKeys().contains(pressed) || event.matches(QKeySequence::Undo)) return HistoryKey::Undo;
    if (redoKeys().contains(pressed) || event.matches(QKeySequence::Redo)) return HistoryKey::Redo;
    return HistoryKey::None;
}

HistoryKeys::HistoryKeys(QWidget* field, std::function<void()> undo, std::function<void()> redo)
    : QObject(field), undo_(std::move(undo)), redo_(std::move(redo)) {
    field->installEventFilter(this);
}

// Accepting the shortcut override keeps the key from the window's shortcuts and
// brings it here as a key press.
bool HistoryKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const HistoryKey key = historyKeyOf(*static_cast<QKeyEvent*>(event));
    if (key == HistoryKey::None) return QObject::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        if (key == HistoryKey::Undo)
            undo_();
        else
            redo_();
    }
    return true;
}

}  // namespace ui
