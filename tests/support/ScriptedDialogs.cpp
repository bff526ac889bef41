#include "support/ScriptedDialogs.h"

namespace ui {

std::optional<QString> ScriptedDialogs::answerFile(Kind kind, std::deque<std::optional<QString>>& answers,
                                                   const FileDialogOptions& options) {
    Call call{kind, options, {}, {}, !answers.empty()};
    calls.push_back(call);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const FileDialogOptions& options) {
    return answerFile(Kind::OpenFile, openFileAnswers, options);
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const FileDialogOptions& options) {
    return answerFile(Kind::SaveFile, saveFileAnswers, options);
}

std::optional<QString> ScriptedDialogs::openPicture(QWidget*, const FileDialogOptions& options) {
    return answerFile(Kind::OpenPicture, openPictureAnswers, options);
}

void ScriptedDialogs::showFailure(const QString& text) { calls.push_back({Kind::Failure, {}, {}, text, true}); }

bool ScriptedDialogs::askYesNo(const QString& caption, const QString& text) {
    calls.push_back({Kind::YesNo, {}, caption, text, !yesNoAnswers.empty()});
    if (yesNoAnswers.empty()) return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

std::optional<std::pair<QString, QString>> ScriptedDialogs::askCell(QWidget*) {
    calls.push_back({Kind::Cell, {}, {}, {}, !cellAnswers.empty()});
    if (cellAnswers.empty()) return std::nullopt;
    auto answer = cellAnswers.front();
    cellAnswers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::failures() const {
    QStringList texts;
    for (const auto& call : calls)
        if (call.kind == Kind::Failure) texts << call.text;
    return texts;
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::callsOf(Kind kind) const {
    std::vector<Call> out;
    for (const auto& call : calls)
        if (call.kind == kind) out.push_back(call);
    return out;
}

void ScriptedDialogs::clear() {
    openFileAnswers.clear();
    saveFileAnswers.clear();
    openPictureAnswers.clear();
    yesNoAnswers.clear();
    calls.clear();
}

}  // namespace ui
