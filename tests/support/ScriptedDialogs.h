#pragma once
// A Dialogs double for tests: every dialog takes its answer from a queue and every
// call is recorded with what it showed. An empty queue answers Cancel / No.
#include <deque>
#include <vector>

#include "ui/toolkit/Dialogs.h"

namespace ui {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { OpenFile, SaveFile, OpenPicture, Failure, YesNo, Cell };

    struct Call {
        Kind kind;
        FileDialogOptions options;  // file dialogs only
        QString caption;      // Yes/No only
        QString text;         // failure box and Yes/No
        bool answered = true; // false when the queue was empty
    };

    std::deque<std::optional<QString>> openFileAnswers;
    std::deque<std::optional<QString>> saveFileAnswers;
    std::deque<std::optional<QString>> openPictureAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::pair<QString, QString>>> cellAnswers;
    std::vector<Call> calls;

    std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> openPicture(QWidget* parent, const FileDialogOptions& options) override;
    void showFailure(const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text) override;
    std::optional<std::pair<QString, QString>> askCell(QWidget* parent) override;

    // The texts of the failure boxes shown so far, in order.
    QStringList failures() const;
    std::vector<Call> callsOf(Kind kind) const;
    void clear();

private:
    std::optional<QString> answerFile(Kind kind, std::deque<std::optional<QString>>& answers,
                                      const FileDialogOptions& options);
};

}  // namespace ui
