#include "ui/toolkit/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <utility>

namespace ui {
namespace {

// The file dialog's type column names folders with texts that Qt's Japanese catalogue
// does not hold yet ("File Folder" on Windows, as Explorer says).
class FileTypeTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        static const std::pair<const char*, const char16_t*> texts[] = {
            {"Folder", u"フォルダー"}, {"File Folder", u"ファイル フォルダー"}, {"Drive", u"ドライブ"},
            {"Shortcut", u"ショートカット"}, {"Unknown", u"不明"}};
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        for (const auto& [english, japanese] : texts)
            if (qstrcmp(sourceText, english) == 0) return QString::fromUtf16(japanese);
        return {};
    }
};

}  // namespace

bool useJapaneseQtTexts(QCoreApplication& app) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    // File types and dates in the dialogs follow the default locale.
    QLocale::setDefault(japanese);
    QCoreApplication::installTranslator(new FileTypeTexts(&app));
    auto* translator = new QTranslator(&app);
    // Built into the program where Qt comes with none (the Windows build), else Qt's own.
    for (const QString& folder : {QStringLiteral(":/i18n"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(translator);
    delete translator;
    return false;
}

}  // namespace ui
