#include "platform/ui/qt_translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/lang.h"

namespace win {

QString QtLanguageName(int language) {
    static const char* const kNames[lang::kCount] = {"zh_CN", "en", "th", "vi", "id"};
    return QString::fromLatin1(kNames[lang::Clamp(language)]);
}

QString QtTranslationFile(int language) {
    const QString path = QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_%1.qm").arg(QtLanguageName(language));
    return QFileInfo(path).isFile() ? path : QString();
}

QtTranslation::QtTranslation() = default;

// The translator removes itself from the application when it goes.
QtTranslation::~QtTranslation() = default;

bool QtTranslation::Use(int language) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    const QString file = QtTranslationFile(language);
    if (file.isEmpty()) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get())) return false;
    translator_ = std::move(translator);
    return true;
}

}  // namespace win
