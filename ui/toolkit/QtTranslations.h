#pragma once
// Qt's own dialogs and buttons in Japanese, whatever the system's language, since
// every text of the editor is Japanese.
class QCoreApplication;

namespace ui {

// Installs Qt's Japanese translations; false when they are not installed on this
// system (Qt's texts then stay in English).
bool useJapaneseQtTexts(QCoreApplication& app);

}  // namespace ui
